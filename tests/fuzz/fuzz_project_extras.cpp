// libFuzzer target: any bytes as a project extras file. The file is read or
// refused with a message naming it; one read writes text that reads back to
// the same sections and is written again to the same text. The sections the
// program reads give their text members or nothing.
#include "FuzzFile.h"
#include "ProjectExtras.h"
#include "WordReader.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = FuzzFolder().Write("in.kv3x", data, size);
    TProjectExtras extras;
    try {
        extras = TProjectExtras::Read(path);
    } catch (const EInOutError& error) {
        if (std::string(error.what()).find(path) == std::string::npos)
            std::abort();  // a refusal that does not name the file
        return 0;
    }
    for (const char* name : {"project", "loadTest", "studies", "cpt"}) {
        const nlohmann::json section = extras.Section(name);
        if (!section.is_object())
            std::abort();
        TProjectExtras::Text(section, "designer");
        TProjectExtras::Text(section, "date");
    }

    const std::string text = extras.Text();
    const std::string written = FuzzFolder().PathOf("written.kv3x");
    extras.Write(written);
    TProjectExtras again;
    try {
        again = TProjectExtras::Read(written);
    } catch (const EInOutError&) {
        std::abort();  // what was written does not read back
    }
    if (again.Text() != text)
        std::abort();  // the sections change on their way through the file
    return 0;
}
