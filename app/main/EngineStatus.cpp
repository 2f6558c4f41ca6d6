#include "EngineStatus.h"

#include "EngineRun.h"

std::string EngineStatusText(int32_t code)
{
    if (code == 0)
        return {};
    std::string text = "The engine returned status " + std::to_string(code);
    const TEngineStatus* status = FindEngineStatus(code);
    if (!status)
        return text + ".";
    text += std::string(": ") + status->Meaning + ".";
    if (status->Reported)
        text += " The output file holds the details.";
    return text;
}
