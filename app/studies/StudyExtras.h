#pragma once

// The studies of a project, kept in its extras file (NAME.kv3x) under the
// section "studies": {"definitions": [study, ...]}, each study as
// StudyToJson writes it, so that a study can be run again after the project
// has changed.

#include "ProgramData.h"
#include "ProjectExtras.h"
#include "StudyDefinition.h"

#include <vector>

inline const std::string StudiesSection = "studies";

// The project's studies; EStudyError naming the study that cannot be used.
std::vector<TStudy> StudiesOf(const TProjectExtras& extras);

// Replaces the project's studies (none: the section is removed).
void StoreStudies(TProjectExtras& extras, const std::vector<TStudy>& studies);

// Keeps the studies with the project, in its extras file at the next save;
// the project is marked changed when they differ from those it kept.
void KeepStudies(TProgramData& project, const std::vector<TStudy>& studies);
