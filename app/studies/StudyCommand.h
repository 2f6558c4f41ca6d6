#pragma once

// korven-run --study STUDY.json PROJECT.kv3d: runs the study of STUDY.json
// over the project and writes its results beside the study file, as
// STUDY.results.json and STUDY.<table>.csv (see StudyOutput.h).
//
// korven-run --study NAME PROJECT.kv3d: runs the study called NAME that the
// project keeps in its extras file, and writes its results beside the
// project as PROJECT.NAME.results.json and PROJECT.NAME.<table>.csv (NAME
// with every character but letters, digits, "-" and "_" as "_").

#include <filesystem>
#include <iosfwd>
#include <string>

// `study` is read as a study file when it names a file or ends in ".json",
// else as the name of a study of the project. Exit codes: 0 when every
// analysis of the study completed, 1 when some were refused (the results,
// with the refusals, are written all the same) or the project cannot be
// read, analysed or its results written, 2 for a study file or name that
// cannot be used. Progress and errors go to `log`, the paths
// written and a short summary to `out`. `threads` 0: one per core.
int RunStudyCommand(const std::string& study, const std::filesystem::path& project, int threads,
                    std::ostream& out, std::ostream& log);
