// The analysis engine's one entry point, exported under two names.
//
// The caller writes "names.dat" into the current folder (version text, three
// reserved lines, then the paths of the input data file, the output report,
// the plot data file and the run-notes file) and calls the entry with the key
// 3. The return value is the run's status; see the README for its values.
#pragma once

#include <cstdint>

#define KORVEN_EXPORT __attribute__((visibility("default")))

extern "C" {
KORVEN_EXPORT int32_t _IKORVEN(int32_t key);
KORVEN_EXPORT int32_t IKORVEN(int32_t key);
}
