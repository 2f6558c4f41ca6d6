// libFuzzer target: any bytes as the input data file of a run. The run must
// end with a status, never crash or touch memory it does not own.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "EngineRun.h"
#include "Korven.h"

namespace {

// The files of every run, in a private folder that also holds the names file.
struct FuzzRun {
    TPrivateFolder folder{"korven-fuzz"};
    TRunFiles files = TRunFiles::ForProject(folder.Path() / "in.kv3d");

    FuzzRun() {
        if (!std::freopen("/dev/null", "w", stdout)) std::abort();
        if (!WriteNamesFile(folder.Path(), files)) std::abort();
    }
};

const FuzzRun& Run() {
    static const FuzzRun run;
    return run;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const FuzzRun& run = Run();
    std::ofstream(run.files.Input, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const int32_t status = CallInFolder(&_IKORVEN, run.folder.Path());
    if (status < 0 || status > 20) std::abort();  // only documented statuses
    return 0;
}
