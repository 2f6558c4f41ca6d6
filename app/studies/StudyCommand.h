#pragma once

// korven-run --study STUDY.json PROJECT.kv3d: runs the study of STUDY.json
// over the project and writes its results beside the study file, as
// STUDY.results.json and STUDY.<table>.csv (see StudyOutput.h).

#include <filesystem>
#include <iosfwd>

// Exit codes: 0 when every analysis of the study completed, 1 when some
// were refused (the results, with the refusals, are written all the same)
// or the project cannot be read, analysed or its results written, 2 for a
// study file that cannot be used. Progress and errors go to `log`, the paths
// written and a short summary to `out`. `threads` 0: one per core.
int RunStudyCommand(const std::filesystem::path& studyFile, const std::filesystem::path& project, int threads,
                    std::ostream& out, std::ostream& log);
