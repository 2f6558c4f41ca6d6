// libFuzzer target: any bytes as the input data file of a run. The run must
// end with a status, never crash or touch memory it does not own. Runs change
// the current folder, so give the corpus folders as absolute paths.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "Korven.h"
#include "KorvenVersion.h"

namespace {

// A private folder that is the current folder of every run.
const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern = "/tmp/korven-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()) || chdir(pattern.c_str()) != 0) std::abort();
        if (!std::freopen("/dev/null", "w", stdout)) std::abort();
        std::ofstream names("names.dat");
        names << kKorvenVersion << "\n\n\n0\n"
              << pattern << "/in.kv3d\n"
              << pattern << "/out.kv3o\n"
              << pattern << "/out.kv3p\n"
              << pattern << "/out.kv3r\n";
        return pattern;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::ofstream(Folder() + "/in.kv3d", std::ios::binary).write(reinterpret_cast<const char*>(data),
                                                                    static_cast<std::streamsize>(size));
    const int32_t status = _IKORVEN(3);
    if (status < 0 || status > 19) std::abort();  // only documented statuses
    return 0;
}
