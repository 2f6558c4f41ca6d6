// libFuzzer target: any bytes as a load test's CSV text after a first byte
// choosing the project's unit system ('S': SI, anything else: English) and,
// with 'U', columns without units read in the other system. A read
// either gives a test the fit can use or refuses the text with ELoadTestError;
// a test read goes through its section of the extras file and comes back the
// same.
#include "LoadTest.h"

#include <cstdlib>
#include <optional>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const UnitSystem units = data[0] == 'S' ? UnitSystem::SI : UnitSystem::English;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    TLoadTest test;
    try {
        LoadTestColumnsWithoutUnits(text);
        test = ReadLoadTestCsv(text, units,
                               data[0] == 'U' ? std::optional(UnitSystem::SI) : std::optional<UnitSystem>());
    } catch (const ELoadTestError&) {
        return 0;
    }
    if (test.Units != units)
        std::abort();
    try {
        test.Check();
        const TLoadTest back = LoadTestFromJson(LoadTestJson(test));
        if (back.Units != test.Units || back.Points.size() != test.Points.size())
            std::abort();
        for (std::size_t k = 0; k < test.Points.size(); ++k) {
            const TLoadTestPoint& a = test.Points[k];
            const TLoadTestPoint& b = back.Points[k];
            if (a.HeadLoad != b.HeadLoad || a.HeadSettlement != b.HeadSettlement ||
                a.ToeMovement.has_value() != b.ToeMovement.has_value() || a.Gauges.size() != b.Gauges.size())
                std::abort();  // the section loses or changes a reading
        }
    } catch (const ELoadTestError&) {
        std::abort();  // a test that was read and then refused
    }
    return 0;
}
