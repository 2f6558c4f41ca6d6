#include "StudyCommand.h"

#include "ProgramData.h"
#include "StudyExtras.h"
#include "StudyOutput.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// Thrown for a project or a results file that cannot be read or written.
class ECommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

TStudy ReadStudy(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw EStudyError("cannot be opened");
    try {
        return StudyFromJson(json::parse(in));
    } catch (const json::parse_error& error) {
        throw EStudyError(std::string("not JSON: ") + error.what());
    }
}

// The project as the program opens it.
std::unique_ptr<TProgramData> ReadProject(TProjectTables& tables, const fs::path& file)
{
    std::string error;
    auto data = TProgramData::CreateFromFile(tables, file.string(), file.extension() != ".kvd", error);
    if (!data)
        throw ECommandError(error);
    return data;
}

// The project written back to the engine's input text and read by the engine.
korven::Problem ProjectProblem(TProgramData& data)
{
    try {
        return StudyProblem(data.FileText());
    } catch (const EStudyError& refused) {
        throw ECommandError(refused.what());
    }
}

// The study the project keeps under `name`.
TStudy NamedStudy(const TProgramData& data, const std::string& name)
{
    std::string names;
    for (TStudy& study : StudiesOf(data.Extras, data.Units())) {
        if (study.Name == name)
            return study;
        names += (names.empty() ? "" : ", ") + ("\"" + study.Name + "\"");
    }
    throw EStudyError("the project keeps no study called \"" + name + "\"" +
                      (names.empty() ? std::string(" (it keeps none)") : " (its studies: " + names + ")"));
}

// A study's name as part of a file name.
std::string FileNamePart(const std::string& name)
{
    std::string part = name;
    for (char& c : part)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_')
            c = '_';
    return part;
}

void WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (file.fail())
        throw ECommandError(path.string() + ": cannot be written");
}

// Progress in steps of a tenth.
TRunControl Control(int threads, std::ostream& log)
{
    TRunControl control;
    control.Threads = threads;
    control.OnProgress = [&log, tenth = 0](int done, int total) mutable {
        const int now = 10 * done / total;
        if (now > tenth) {
            tenth = now;
            log << "korven-run: study " << 10 * now << " % (" << done << " of " << total << " analyses)\n";
        }
    };
    return control;
}

}  // namespace

int RunStudyCommand(const std::string& studyArgument, const fs::path& project, int threads, std::ostream& out,
                    std::ostream& log)
{
    const fs::path studyFile = studyArgument;
    const bool fromFile = fs::is_regular_file(studyFile) || studyFile.extension() == ".json";
    // Where errors of the definition are reported, and the stem of the files written.
    const std::string studyLabel = fromFile ? studyFile.string() : project.string();
    TStudy study;
    if (fromFile) {
        try {
            study = ReadStudy(studyFile);
        } catch (const EStudyError& error) {
            log << "korven-run: " << studyLabel << ": " << error.what() << '\n';
            return 2;
        }
    }
    TProjectTables projectTables;
    korven::Problem problem;
    try {
        const auto data = ReadProject(projectTables, project);
        if (!fromFile)
            study = NamedStudy(*data, studyArgument);
        problem = ProjectProblem(*data);
        CheckStudy(study, problem);
    } catch (const ECommandError& error) {
        log << "korven-run: " << project.string() << ": " << error.what() << '\n';
        return 1;
    } catch (const EStudyError& error) {
        log << "korven-run: " << studyLabel << ": " << error.what() << '\n';
        return 2;
    }
    const fs::path stem = fromFile ? fs::path(studyFile).replace_extension()
                                   : fs::path(fs::path(project).replace_extension().string() + "." + FileNamePart(study.Name));

    const TStudyOutcome outcome = RunStudy(study, problem, Control(threads, log));
    const int analyses = outcome.Analyses, refused = outcome.Refused;
    out << (fromFile ? studyLabel : "study \"" + study.Name + "\"") << ": " << analyses - refused << " of "
        << analyses << " analyses completed";
    out << (refused > 0 ? ", " + std::to_string(refused) + " refused (see the results)\n" : "\n");
    for (const std::string& line : SummaryLines(outcome))
        out << "  " << line << '\n';
    try {
        const fs::path jsonFile = stem.string() + ".results.json";
        WriteFile(jsonFile, outcome.Document.dump(2) + "\n");
        out << "  json: " << jsonFile.string() << '\n';
        for (const auto& [name, text] : outcome.Tables) {
            const fs::path csvFile = stem.string() + "." + name + ".csv";
            WriteFile(csvFile, text);
            out << "  csv: " << csvFile.string() << '\n';
        }
    } catch (const ECommandError& error) {
        log << "korven-run: " << error.what() << '\n';
        return 1;
    }
    return refused > 0 ? 1 : 0;
}
