#pragma once

// The studies of a project, kept in its extras file (NAME.kv3x) under the
// section "studies": {"definitions": [study, ...]}, each study as
// StudyToJson writes it, so that a study can be run again after the project
// has changed. The section names the unit system its values are in
// ("units": "English" or "SI"); studies kept before it did are taken in the
// project's.

#include "ProgramData.h"
#include "ProjectExtras.h"
#include "StudyDefinition.h"

#include <vector>

inline const std::string StudiesSection = "studies";

// The project's studies, for a project in `units`; EStudyError naming the
// study that cannot be used, or saying that the studies' values are in the
// other unit system (they are not converted: a length typed in inches must
// not be read as metres).
std::vector<TStudy> StudiesOf(const TProjectExtras& extras, UnitSystem units);

// Replaces the project's studies, their values in `units` (none: the section
// is removed).
void StoreStudies(TProjectExtras& extras, const std::vector<TStudy>& studies, UnitSystem units);

// Keeps the studies with the project, in its extras file at the next save;
// the project is marked changed when they differ from those it kept.
void KeepStudies(TProgramData& project, const std::vector<TStudy>& studies);
