// libFuzzer target: any bytes as a file read word by word. The first byte
// chooses the order of line, number and integer reads; every read returns
// or throws EInOutError.
#include "FuzzFile.h"
#include "WordReader.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t pattern = data[0];
    const std::string path = FuzzFolder().Write("in.txt", data + 1, size - 1);
    TWordReader reader(path);
    // The reads go on until several in a row fail: past the end of the
    // file, or held at an empty line where a word is due.
    for (std::size_t i = 0, failures = 0; i <= size + 1 && failures < 4; ++i) {
        ++failures;
        try {
            switch ((pattern >> (2 * (i % 4))) & 3) {
            case 0: reader.ReadLine(); break;
            case 1:
            case 3:
                if (std::isnan(reader.ReadFloat()))
                    std::abort();
                break;
            default: reader.ReadInteger();
            }
            failures = 0;
        } catch (const EInOutError&) {
        }
    }
    return 0;
}
