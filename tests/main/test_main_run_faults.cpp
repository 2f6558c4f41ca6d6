// The analysis run of the program when its results cannot be written: the
// report and plot data file over a file size limit, and a project folder
// that may not be written. The run ends with the completion message, the
// previous run's files and graphs stay, and the project is as it was. A plot
// data file left cut short by an earlier run is refused when the project is
// opened, and the graphs stay unavailable.
//
// Its own executable: the file size limit is the whole process's.

#include "EngineStatus.h"
#include "MainForm.h"
#include "MainFormDriving.h"
#include "ScriptedPrompts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <memory>

namespace {

const QString CompletedMessage =
    QStringLiteral("Computations are completed. Please, check output file for results or error messages.");

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// While it lives, files may be no larger than `bytes`; a write beyond that
// fails with EFBIG instead of ending the process.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes)
    {
        FHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &FPrevious);
        rlimit limit = FPrevious;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FPrevious);
        std::signal(SIGXFSZ, FHandler);
    }

private:
    rlimit FPrevious{};
    void (*FHandler)(int) = nullptr;
};

// While it lives, no file can be made in the folder or renamed into it:
// for an ordinary user its permissions say so; root, whom permissions do not
// stop, is stopped by the folder's immutable attribute.
class TUnwritableFolder {
public:
    explicit TUnwritableFolder(const QString& folder) : FPath(QFile::encodeName(folder))
    {
        if (geteuid() != 0) {
            FMade = chmod(FPath.constData(), 0555) == 0;
            return;
        }
        SetImmutable(true);
    }
    ~TUnwritableFolder()
    {
        if (geteuid() != 0)
            chmod(FPath.constData(), 0755);
        else if (FMade)
            SetImmutable(false);
    }
    bool Made() const { return FMade; }

private:
    void SetImmutable(bool on)
    {
        const int fd = open(FPath.constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return;
        int flags = 0;
        if (ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            FMade = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0 && on;
        }
        close(fd);
    }

    QByteArray FPath;
    bool FMade = false;
};

}  // namespace

class TestMainRunFaults : public QObject, protected TMainFormFixture {
    Q_OBJECT

private:
    QString PathOf(const QString& name) const { return FFolder->filePath(name); }

    // Opens a copy of the example project and runs it once.
    void OpenAndRun()
    {
        const QString project = PathOf(QStringLiteral("pile.kv3d"));
        QVERIFY(QFile::copy(QStringLiteral(KORVEN_EXAMPLES "/example.kv3d"), project));
        QFile::setPermissions(project, QFile::ReadOwner | QFile::WriteOwner);
        FPrompts->Files.push_back({project, 0});
        Trigger(*FForm, QStringLiteral("&Open..."));
        Trigger(*FForm, QStringLiteral("Run Analysis"));
        QCOMPARE(FPrompts->Messages(), QStringList{CompletedMessage});
        QVERIFY(FForm->GraphsAvailable());
    }

    // The previous run's files byte for byte, its graphs, the project as it
    // was, and no file of the failed run beside them.
    void ExpectPreviousRunKept(const QByteArray& report, const QByteArray& plot, int tzCurves)
    {
        QCOMPARE(ReadAll(PathOf(QStringLiteral("pile.kv3o"))), report);
        QCOMPARE(ReadAll(PathOf(QStringLiteral("pile.kv3p"))), plot);
        QCOMPARE(QDir(FFolder->path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"pile.gwi", "pile.kv3d", "pile.kv3o", "pile.kv3p", "pile.kv3r", "pile.kv3x"}));
        QVERIFY(FForm->GraphsAvailable());
        QCOMPARE(FForm->Graphs().pltTZcurves.LineCount(), tzCurves);
        QCOMPARE(FForm->Project().Title, std::string("changed before the failed run"));
    }

private slots:
    void init()
    {
        Start();
        FForm->show();
    }

    void cleanup() { Finish(); }

    void resultsOverAFileSizeLimitKeepThePreviousRun()
    {
        OpenAndRun();
        const QByteArray report = ReadAll(PathOf(QStringLiteral("pile.kv3o")));
        const QByteArray plot = ReadAll(PathOf(QStringLiteral("pile.kv3p")));
        QVERIFY(report.size() > 4096);
        const int tzCurves = FForm->Graphs().pltTZcurves.LineCount();
        FForm->Project().Title = "changed before the failed run";
        // First the plot data file fits and the report does not; then neither fits.
        for (const rlim_t bytes : {rlim_t{4096}, rlim_t{512}}) {
            const qsizetype shown = FPrompts->Messages().size();
            {
                const TFileSizeLimit limit(bytes);
                Trigger(*FForm, QStringLiteral("Run Analysis"));
            }
            const QStringList messages = FPrompts->Messages();
            // One warning names the files that were kept.
            QCOMPARE(messages.size(), shown + 1);
            QCOMPARE(FPrompts->Asked.back().Icon, PromptIcon::Warning);
            QVERIFY2(messages.back().contains(PathOf(QStringLiteral("pile.kv3o"))) &&
                         messages.back().contains(QStringLiteral("could not be written whole")),
                     qPrintable(messages.back()));
            ExpectPreviousRunKept(report, plot, tzCurves);
        }
        // The project itself was saved before the run.
        QVERIFY(ReadAll(PathOf(QStringLiteral("pile.kv3d"))).startsWith("changed before the failed run\n"));
    }

    void runInAFolderThatMayNotBeWrittenKeepsThePreviousRun()
    {
        OpenAndRun();
        const QByteArray report = ReadAll(PathOf(QStringLiteral("pile.kv3o")));
        const QByteArray plot = ReadAll(PathOf(QStringLiteral("pile.kv3p")));
        const QByteArray project = ReadAll(PathOf(QStringLiteral("pile.kv3d")));
        const int tzCurves = FForm->Graphs().pltTZcurves.LineCount();
        FForm->Project().Title = "changed before the failed run";
        FForm->Project().SetChanged(true);
        {
            const TUnwritableFolder unwritable(FFolder->path());
            if (!unwritable.Made())
                QSKIP("the folder cannot be made unwritable here (no permissions, no immutable attribute)");
            Trigger(*FForm, QStringLiteral("Run Analysis"));
        }
        // The save fails, the run goes on with the file on disk and cannot
        // open its report.
        QCOMPARE(FPrompts->Messages().mid(1),
                 (QStringList{QStringLiteral("An error occured during saving"),
                              QStringLiteral("The analysis was not completed.\n") +
                                  QString::fromStdString(EngineStatusText(11))}));
        QCOMPARE(ReadAll(PathOf(QStringLiteral("pile.kv3d"))), project);
        QVERIFY(FForm->Project().Changed());
        ExpectPreviousRunKept(report, plot, tzCurves);
    }

    void plotFileCutShortByAnEarlierRunIsRefusedOnOpen()
    {
        OpenAndRun();
        const QByteArray plot = ReadAll(PathOf(QStringLiteral("pile.kv3p")));
        QFile cut(PathOf(QStringLiteral("pile.kv3p")));
        QVERIFY(cut.open(QIODevice::WriteOnly | QIODevice::Truncate));
        cut.write(plot.left(plot.size() / 2));
        cut.close();
        Trigger(*FForm, QStringLiteral("&New"));
        FPrompts->Files.push_back({PathOf(QStringLiteral("pile.kv3d")), 0});
        Trigger(*FForm, QStringLiteral("&Open..."));
        // Opening reads the plot data silently: no message, no graphs.
        QCOMPARE(FPrompts->Messages().size(), 1);
        QVERIFY(!FForm->GraphsAvailable());
        for (TGraphPlot* graph : {&FForm->Graphs().pltTZcurves, &FForm->Graphs().PltQW, &FForm->Graphs().pltLoad,
                                  &FForm->Graphs().pltAxial})
            QCOMPARE(graph->LineCount(), 0);
    }
};

QTEST_MAIN(TestMainRunFaults)
#include "test_main_run_faults.moc"
