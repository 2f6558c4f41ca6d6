// libFuzzer target: any bytes as a plot data file. The read either fills the
// graphs and makes them available, or returns the reader's message and leaves
// them unavailable.
#include "FuzzFile.h"
#include "MainGraphs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = FuzzFolder().Write("in.kv3p", data, size);
    for (const UnitSystem units : {UnitSystem::English, UnitSystem::SI}) {
        TMainGraphs graphs;
        std::string error;
        const bool read = ReadPlotFile(graphs, path, units, &error);
        if (read != graphs.PlotsAvailable)
            std::abort();
        if (!read && error.empty())
            std::abort();  // a refusal without a message
    }
    return 0;
}
