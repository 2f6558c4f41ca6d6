// The analysis engine's one entry point, exported under two names.
//
// The caller writes "names.dat" into the current folder (version text, three
// reserved lines, then the paths of the input data file, the output report,
// the plot data file and the run-notes file) and calls the entry with the key
// 3. The return value is the run's status; see the README for its values.
// The entry reads the names file from the current folder and prints its
// progress on standard output, so two runs at once need two processes; the
// functions of korven/Core.h do the same work for any number of threads.
#pragma once

#include <cstdint>

#include "korven/Core.h"

extern "C" {
KORVEN_API int32_t _IKORVEN(int32_t key);
KORVEN_API int32_t IKORVEN(int32_t key);
}
