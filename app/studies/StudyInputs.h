#pragma once

// The inputs a study changes, applied to the engine's problem in memory.

#include "StudyDefinition.h"
#include "UnitStrings.h"

#include "korven/Core.h"

#include <string>

// Throws EStudyError when the input does not fit the project: a soil-layer
// value of a project with curves of its own or of a layer it lacks, an AE
// row or a pile-head load it does not have, a factor on a diameter of 0.
void CheckInput(const TStudyInput& input, const korven::Problem& problem, const std::string& field);

// Sets the input to `value` (or multiplies the project's value by it) in
// `problem`. Answers an empty text when done, or why the value cannot be
// analysed (a pile length of 0, a negative side friction, ...), and then
// `problem` may be partly changed.
std::string ApplyInput(const TStudyInput& input, double value, korven::Problem& problem);

// "Pile length (in)", "Side friction, layer 2 top (kPa)", "Q-multiplier",
// "Pile-head load 1, factor", ... in the project's unit system.
std::string InputLabel(const TStudyInput& input, UnitSystem units);
