// The engine's in-memory core timed without files: analyse only, read and
// analyse, write, on one thread and on every core, against the targets.
#pragma once

#include <string>

// Processor time of the calling thread in seconds: on a machine busy with
// other work it shows what a call costs where the wall clock shows what it
// waited.
double ThreadSeconds();

// Prints the figures of `project` (named `name`) on standard error.
// `analyseTarget` is the target time of one analysis in seconds, 0 for none;
// `rateTarget` the target of analyses per second on all cores, 0 for none.
void PrintInMemoryFigures(const char* name, const std::string& project, int rounds, double analyseTarget,
                          double rateTarget);
