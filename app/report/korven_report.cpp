// korven-report: writes the printable PDF report of a project without
// opening a window.
//
//   korven-report PROJECT.kv3d [-o OUT.pdf]
//
// The report goes beside the project (PROJECT.pdf) unless -o names another
// file. When the project's plot data file is missing or older than the
// project, the engine runs first (it is loaded from this program's folder).
#include "AnalysisRun.h"
#include "MainGraphs.h"
#include "ProgramData.h"
#include "ProjectReport.h"

#include <QApplication>
#include <QFileInfo>

#include <clocale>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr const char* Usage = "usage: korven-report PROJECT.kv3d [-o OUT.pdf]\n";

// The project's results: the plot data file when it is newer than the
// project, else those of a run made now; empty with a message when the run
// could not be made or failed.
std::optional<TPlotData> Results(const TRunFiles& files, const fs::path& programFolder)
{
    std::error_code error;
    const auto project = fs::last_write_time(files.Input, error);
    const auto plot = fs::last_write_time(files.Plot, error);
    std::string unread;
    if (!error && plot >= project) {
        if (auto results = ReadRunResults(files.Plot, unread))
            return results;
        std::cerr << "korven-report: " << files.Plot.string() << ": " << unread << "; running the engine\n";
    }
    TAnalysisRun run(EngineLibraryIn(programFolder));
    TRunOutcome outcome = run.Run(files.Input);
    if (outcome.Step != TRunStep::Ran) {
        std::cerr << "korven-report: the engine could not run: " << outcome.Error << '\n';
        return std::nullopt;
    }
    if (outcome.Status != 0) {
        std::cerr << "korven-report: the engine returned status " << outcome.Status << " ("
                  << EngineStatusMeaning(outcome.Status) << "); see " << files.Report.string() << '\n';
        return std::nullopt;
    }
    if (!outcome.Results)
        std::cerr << "korven-report: " << files.Plot.string() << ": " << outcome.ReadError << '\n';
    return std::move(outcome.Results);
}

}  // namespace

int main(int argc, char** argv)
{
    // No display is needed: the pages are drawn offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");

    const QStringList arguments = QApplication::arguments().mid(1);
    QString projectPath, output;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("-o") && i + 1 < arguments.size())
            output = arguments[++i];
        else if (arguments[i] == QLatin1String("--help") || arguments[i] == QLatin1String("-h")) {
            std::cout << Usage;
            return 0;
        } else if (arguments[i].startsWith(QLatin1Char('-')) || !projectPath.isEmpty()) {
            std::cerr << Usage;
            return 2;
        } else
            projectPath = arguments[i];
    }
    if (projectPath.isEmpty()) {
        std::cerr << Usage;
        return 2;
    }
    const fs::path input = fs::absolute(projectPath.toStdString());
    if (output.isEmpty())
        output = QString::fromStdString(fs::path(input).replace_extension(".pdf").string());

    TProjectTables tables;
    std::string error;
    const bool fullFormat = input.extension() != ".kvd";
    auto project = TProgramData::CreateFromFile(tables, input.string(), fullFormat, error);
    if (!error.empty()) {
        std::cerr << "korven-report: " << input.string() << ": " << error << '\n';
        return 1;
    }
    const TRunFiles files = TRunFiles::ForProject(input);
    const std::optional<TPlotData> results = Results(files, QApplication::applicationDirPath().toStdString());

    TMainGraphs graphs;
    if (results)
        FillGraphs(graphs, *results, project->Units());
    QString failure;
    int pages = 0;
    if (!WriteProjectReport({project.get(), &graphs, results ? &*results : nullptr, {}, {}}, output, failure, &pages)) {
        std::cerr << "korven-report: " << failure.toStdString() << '\n';
        return 1;
    }
    std::cout << output.toStdString() << ": " << pages << " pages\n";
    return results ? 0 : 1;
}
