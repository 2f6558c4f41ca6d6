// libFuzzer target: any bytes as a study definition, as korven-run reads a
// study file. Text that is not JSON, or JSON that is not a definition it can
// use, is refused (EStudyError, nothing else escapes); a definition read goes
// through its JSON and comes back the same, and gives its sweep values.
#include "StudyDefinition.h"

#include <cstdlib>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const nlohmann::json document = nlohmann::json::parse(data, data + size, nullptr, false);
    if (document.is_discarded())
        return 0;
    TStudy study;
    try {
        study = StudyFromJson(document);
    } catch (const EStudyError&) {
        return 0;
    }
    try {
        if (!(StudyFromJson(StudyToJson(study)) == study))
            std::abort();  // a definition that changes on its way through JSON
    } catch (const EStudyError&) {
        std::abort();  // a definition read, written and then refused
    }
    if (const auto* parametric = std::get_if<TParametricStudy>(&study.Definition))
        if (parametric->Sweep.Values().size() > static_cast<std::size_t>(MaxSweepValues))
            std::abort();
    return 0;
}
