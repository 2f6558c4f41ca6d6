#pragma once

// The command-line calibration of korven-run:
//
//   korven-run --fit TEST.csv PROJECT.kv3d [--params shaft,tip|layers,tip]
//              [--apply NEW.kv3d]
//
// --params: shaft or layers (their t and z), tip (Q and w), or one of a
// pair (shaft-t, layers-z, tip-Q, tip-w, ...), separated by commas.
//
// prints the fit as JSON on standard output and writes nothing, unless
// --apply names a project file to write with the fitted factors applied (and
// the load test kept in its extras file).

#include <iosfwd>
#include <string>
#include <vector>

// True when the arguments ask for a fit.
bool IsFitCommand(const std::vector<std::string>& arguments);

// Runs the fit; the exit code: 0 done, 1 the data or the project refused,
// 2 a usage error.
int RunFitCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

extern const char* const FitUsage;
