#pragma once

// What the status returned by the analysis engine means, for the message
// at the end of a run.

#include <cstdint>
#include <string>

// One line naming a status the engine returned and its meaning; empty for
// 0, the completed run.
std::string EngineStatusText(int32_t status);
