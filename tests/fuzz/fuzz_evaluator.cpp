// libFuzzer target: any text as a numeric entry. The evaluator returns a
// finite value or throws EAssignError, nothing else.
#include "Evaluator.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        if (!std::isfinite(Evaluate(text)))
            std::abort();
    } catch (const EAssignError&) {
    }
    return 0;
}
