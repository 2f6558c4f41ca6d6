// libFuzzer target: any bytes as a sounding for the reader that
// KORVEN_SOUNDING_READER names (one target per format). The reader returns a
// whole sounding (at least two rows, depths increasing, values
// finite) or refuses with ESoundingError; nothing else escapes it.
#include "Sounding.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        const TSounding sounding = KORVEN_SOUNDING_READER(std::string_view(reinterpret_cast<const char*>(data), size));
        if (sounding.Rows.size() < 2)
            std::abort();
        for (std::size_t i = 0; i < sounding.Rows.size(); ++i) {
            const TSoundingRow& row = sounding.Rows[i];
            if (!std::isfinite(row.Depth) || !std::isfinite(row.Qc) || (i > 0 && !(row.Depth > sounding.Rows[i - 1].Depth)))
                std::abort();
        }
    } catch (const ESoundingError&) {
    }
    return 0;
}
