#include "AnalysisRun.h"

#include "DynamicLibrary.h"
#include "KorvenVersion.h"
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
    names << kKorvenVersion << "\n\n\n0\n"
          << projectFile << '\n'
          << sibling(".kv3o") << '\n'
          << sibling(".kv3p") << '\n'
          << sibling(".kv3r") << '\n';
    names.close();
    return !names.fail();
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

    {
        const TWaitCursor wait;
        QDir::setCurrent(runFolder.path());
        entry(3);
        QDir::setCurrent(projectFolder);
    }
    Prompts().Inform(this, QStringLiteral(
                               "Computations are completed. Please, check output file for results or error messages."));

    const QString plotFile = ProjectFilePath(".kv3p");
    if (QFileInfo::exists(plotFile))
        ReadPlotFile(FGraphs, plotFile.toStdString(), Project().Units(), true, this);
    UpdateToolBar();
    CloseChildWindows();
    FLibrary.reset();
}
