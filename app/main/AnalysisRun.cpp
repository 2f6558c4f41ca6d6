#include "AnalysisRun.h"

#include "DynamicLibrary.h"
#include "MainForm.h"
#include "PlotWindows.h"
#include "UserPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <clocale>
#include <cstdint>
#include <filesystem>
#include <fstream>

TPointDecimalSeparator::TPointDecimalSeparator() : FPrevious(std::setlocale(LC_NUMERIC, nullptr))
{
    std::setlocale(LC_NUMERIC, "C");
}

TPointDecimalSeparator::~TPointDecimalSeparator()
{
    std::setlocale(LC_NUMERIC, FPrevious.c_str());
}

bool WriteNamesFile(const std::string& path, const std::string& projectFile)
{
    const auto sibling = [&](const char* extension) {
        return std::filesystem::path(projectFile).replace_extension(extension).string();
    };
    std::ofstream names(path);
    names << "2014.3.3\n\n\n0\n"
          << projectFile << '\n'
          << sibling(".kv3o") << '\n'
          << sibling(".kv3p") << '\n'
          << sibling(".kv3r") << '\n';
    names.close();
    return !names.fail();
}

std::string EngineStatusText(int32_t status)
{
    struct TStatus {
        int32_t Code;
        const char* Meaning;
        bool Reported;  // the report ends with the engine's warning or error
    };
    static const TStatus Statuses[] = {
        {1, "the entry was called with a key other than 3; no file was touched", false},
        {4, "a depth lies beyond the unit weight input", true},
        {5, "a depth lies beyond the undrained strength input", true},
        {6, "a depth lies beyond the side friction input", true},
        {7, "a depth lies beyond the tip resistance input", true},
        {8, "a depth lies beyond the friction angle input", true},
        {10, "names.dat is missing from the current folder or its first four lines cannot be read", false},
        {11, "a file named in names.dat cannot be opened: the output report, the input data file, the plot "
             "data file or the run-notes file", false},
        {12, "the input data file is short or holds a malformed value (a word where a number belongs, or an "
             "integer written with a decimal point such as 3.0)", true},
        {13, "a count or code lies outside what the engine accepts: increments 1 to 900, unit code 1 or 2, 1 to "
             "100 t-z curves of 1 to 100 points, 1 to 20 soil layers of soil model 1 to 6, 1 to 50 AE points, at "
             "most 50 Q-w points, at most 50 tip movements, 50 pile-head loads, 100 settlement points, 1 to 50 "
             "t-z factor rows", true},
        {14, "the pile tip lies below the bottom of every soil layer", true},
        {15, "an axial stiffness AE of zero", true},
        {16, "a Q-w curve of fewer than two points", true},
        {17, "the pile reaches above the first t-z curve (an increment's mid-depth lies above it)", true},
        {18, "a Q-w curve of 50 points with a tip movement beyond its last point", true},
        {19, "a Q-w modification factor out of range (w-multiplier zero or below, or Q-multiplier below zero)",
         true},
    };
    if (status == 0)
        return {};
    std::string text = "The engine returned status " + std::to_string(status);
    for (const TStatus& known : Statuses) {
        if (known.Code == status) {
            text += std::string(": ") + known.Meaning + ".";
            if (known.Reported)
                text += " The output file holds the details.";
            return text;
        }
    }
    return text + ".";
}

namespace {

using TEngineEntry = int32_t (*)(int32_t);

// Shows the wait cursor for its lifetime.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

}  // namespace

void TMainForm::CompRunClick()
{
    bool saved = true;
    try {
        saved = Save();
    } catch (const std::exception&) {
        // The run goes on with the file on disk.
        Prompts().Inform(this, QStringLiteral("An error occured during saving"), PromptIcon::None);
    }
    if (!saved || Project().FileName == TProgramData::DefaultFileName)
        return;

    const TPointDecimalSeparator point;
    // The names file goes into a folder of this run's own, which is the
    // current folder only during the call; otherwise the project's folder is.
    const QString projectFolder = QFileInfo(QString::fromStdString(Project().FileName)).absolutePath();
    QDir::setCurrent(projectFolder);
    const QTemporaryDir runFolder(QDir::tempPath() + QStringLiteral("/korven-XXXXXX"));
    const QString namesFile = runFolder.filePath(QStringLiteral("names.dat"));
    if (!runFolder.isValid() || !WriteNamesFile(namesFile.toStdString(), Project().FileName)) {
        Prompts().Inform(this, QStringLiteral("An error occured while writing file names"), PromptIcon::None);
        // Without a folder of its own the engine would find no names file or
        // another run's one.
        if (!runFolder.isValid())
            return;
    }

    if (FLibrary) {
        Prompts().Inform(this, QStringLiteral("Attempt to reinitialize DLL"));
        return;
    }
    TEngineEntry entry = nullptr;
    try {
        FLibrary = std::make_unique<TDynamicLibrary>(EngineLibraryPath.toStdString());
        FLibrary->Open();
        entry = reinterpret_cast<TEngineEntry>(FLibrary->Lookup("_IKORVEN"));
    } catch (const ELibraryError&) {
        FLibrary.reset();
        Prompts().Inform(this, QStringLiteral("Attempt to initialize DLL failed"));
        return;
    }

    int32_t status = 0;
    {
        const TWaitCursor wait;
        QDir::setCurrent(runFolder.path());
        status = entry(3);
        QDir::setCurrent(projectFolder);
    }
    QString completed =
        QStringLiteral("Computations are completed. Please, check output file for results or error messages.");
    // A refusal must not read as success.
    if (status != 0)
        completed += QLatin1Char('\n') + QString::fromStdString(EngineStatusText(status));
    Prompts().Inform(this, completed);

    const QString plotFile = ProjectFilePath(".kv3p");
    if (QFileInfo::exists(plotFile))
        ReadPlotFile(FGraphs, plotFile.toStdString(), Project().Units(), true, this);
    UpdateToolBar();
    CloseChildWindows();
    FLibrary.reset();
}
