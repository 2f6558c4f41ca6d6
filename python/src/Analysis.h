#pragma once

// The analysis in memory for the Python package: the engine's reader and
// its analysis over the text of an input data file (a project file), and
// the program's capacity read-outs, run without the interpreter lock so
// that threads analyse in parallel.
//
// The answer is a dict: status, meaning, message (the report's error line),
// warnings [(status, depth, input)] and, unless the input was refused,
// units, load_settlement and load_cases (arrays of rows: head load, head
// movement, tip movement, tip load, signed as the report prints them),
// distributions (a dict of arrays per assumed tip movement), the t-z and
// Q-w curves used and the read-outs. With `writeFiles`, also the text of
// the report and of the plot data file (bytes, else None) that a run of the
// input data file `inputPath` writes.

#include <pybind11/pybind11.h>

#include <string>

pybind11::dict AnalyzeText(const std::string& text, bool writeFiles, const std::string& inputPath);
