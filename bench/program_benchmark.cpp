// Times the desktop program with its real engine library:
//   - start-up: from starting the program's process to its main window shown
//     (first painted) with the example project open, beside the same for a
//     process showing an empty main window (what Qt itself takes); on the X
//     display named by DISPLAY when there is one (run it under a window
//     manager), and offscreen;
//   - opening the largest project the engine accepts together with its plot
//     data file;
//   - Run Analysis on the example end to end: save, run, read the plot data
//     file, graphs ready;
//   - painting the load-distribution graph of the largest project (50 curves
//     of 900 points) into an image of the plot window's size.
// All but start-up run offscreen.
// Prints the median of each with the machine's core count.
//
//   program_benchmark [runs]     (default 7)
//
// Settings go to a temporary folder, so the user's own stay untouched.

#include "LargestProject.h"
#include "MainForm.h"
#include "PlotForm.h"
#include "ScriptedPrompts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMainWindow>
#include <QMdiArea>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

const char* const StartUpMode = "--start-up";
const char* const EmptyWindowMode = "--empty-window";
const QSize WindowSize(1280, 800);

long long Now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// Processes events until the widget was painted once.
void WaitForFirstPaint(QWidget& widget)
{
    struct PaintSeen : QObject {
        bool Seen = false;
        bool eventFilter(QObject*, QEvent* event) override
        {
            Seen = Seen || event->type() == QEvent::Paint;
            return false;
        }
    } filter;
    widget.installEventFilter(&filter);
    QElapsedTimer waited;
    waited.start();
    while (!filter.Seen && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    widget.removeEventFilter(&filter);
}

// The program as main.cpp starts it, with the example named on its command
// line, or a bare main window; prints the moment its window was first painted.
int StartUp(int argc, char** argv, bool empty)
{
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::unique_ptr<QMainWindow> window;
    if (empty) {
        window = std::make_unique<QMainWindow>();
    } else {
        TMainForm::SetUpApplication();
        window = std::make_unique<TMainForm>(QApplication::arguments().mid(2));
    }
    window->resize(WindowSize);
    window->show();
    WaitForFirstPaint(*window);
    std::printf("%lld\n", Now());
    return 0;
}

// Milliseconds from starting a process of this program in `mode` to its
// window's first paint, `runs` times; empty when a start failed.
std::vector<double> StartUpTimes(const char* self, const char* mode, const QString& project, const QString& platform,
                                 int runs)
{
    std::vector<double> times;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    for (int r = 0; r < runs; ++r) {
        QProcess program;
        program.setProcessEnvironment(environment);
        const long long start = Now();
        program.start(QString::fromLocal8Bit(self), {QString::fromLatin1(mode), project});
        if (!program.waitForFinished(30000) || program.exitCode() != 0)
            return {};
        times.push_back((program.readAllStandardOutput().trimmed().toLongLong() - start) / 1.0e6);
    }
    return times;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Print(const char* what, const std::vector<double>& milliseconds)
{
    std::fprintf(stderr, "%-96s median %8.1f ms (fastest %.1f, slowest %.1f) over %zu\n", what, Median(milliseconds),
                 *std::min_element(milliseconds.begin(), milliseconds.end()),
                 *std::max_element(milliseconds.begin(), milliseconds.end()), milliseconds.size());
}

double Milliseconds(const std::function<void()>& step)
{
    const long long start = Now();
    step();
    return (Now() - start) / 1.0e6;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && (std::string(argv[1]) == StartUpMode || std::string(argv[1]) == EmptyWindowMode))
        return StartUp(argc, argv, std::string(argv[1]) == EmptyWindowMode);
    const bool display = !qgetenv("DISPLAY").isEmpty();
    qputenv("QT_QPA_PLATFORM", "offscreen");

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("settings")).toLocal8Bit());
    const QString example = folder.filePath(QStringLiteral("example.kv3d"));
    const QString largest = folder.filePath(QStringLiteral("largest.kv3d"));
    QFile::copy(QStringLiteral(KORVEN_EXAMPLE_PROJECT), example);
    QFile::setPermissions(example, QFile::ReadOwner | QFile::WriteOwner);
    std::ofstream(largest.toStdString()) << LargestProject();

    // Start-up: a process of its own each time, the program and the empty
    // window taking turns platform by platform.
    struct StartUpFigures {
        QString platform;
        std::vector<double> program, empty;
    };
    std::vector<StartUpFigures> startUps;
    if (display)
        startUps.push_back({QStringLiteral("xcb"), {}, {}});
    startUps.push_back({QStringLiteral("offscreen"), {}, {}});
    for (StartUpFigures& figures : startUps) {
        for (int r = 0; r < runs; ++r) {
            const auto program = StartUpTimes(argv[0], StartUpMode, example, figures.platform, 1);
            const auto empty = StartUpTimes(argv[0], EmptyWindowMode, example, figures.platform, 1);
            if (program.empty() || empty.empty()) {
                std::fprintf(stderr, "the program did not start on the platform %s\n", qPrintable(figures.platform));
                return 1;
            }
            figures.program.push_back(program.front());
            figures.empty.push_back(empty.front());
        }
    }

    // The engine's console lines would drown the figures.
    std::fflush(stdout);
    if (!std::freopen("/dev/null", "w", stdout))
        return 1;
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ScriptedPrompts prompts;  // every message is answered at once
    TMainForm form;
    form.resize(WindowSize);
    form.show();
    WaitForFirstPaint(form);

    // The largest project's plot data file comes from one run.
    form.DropFiles({largest});
    form.CompRunClick();
    std::vector<double> opening;
    for (int r = 0; r < runs; ++r) {
        form.DropFiles({example});
        opening.push_back(Milliseconds([&] { form.DropFiles({largest}); }));
    }
    if (QString::fromStdString(form.Project().FileName) != QFileInfo(largest).absoluteFilePath() ||
        !form.GraphsAvailable()) {
        std::fprintf(stderr, "the largest project's plot data could not be read\n");
        return 1;
    }

    form.ShowGraph(form.Graphs().pltLoad);
    auto* plot = form.Area().findChild<TPlotForm*>();
    if (plot == nullptr) {
        std::fprintf(stderr, "no load-distribution plot window\n");
        return 1;
    }
    QCoreApplication::processEvents();
    QImage image(plot->size(), QImage::Format_ARGB32_Premultiplied);
    std::vector<double> painting;
    for (int r = 0; r < runs; ++r)
        painting.push_back(Milliseconds([&] {
            QPainter painter(&image);
            plot->Paint(painter, plot->ScreenCanvas());
        }));
    const int curves = form.Graphs().pltLoad.LineCount();
    const std::size_t points = curves > 0 ? form.Graphs().pltLoad.Line(0).Points.size() : 0;

    form.DropFiles({example});
    std::vector<double> running;
    for (int r = 0; r < runs; ++r)
        running.push_back(Milliseconds([&] { form.CompRunClick(); }));
    if (!form.GraphsAvailable()) {
        std::fprintf(stderr, "Run Analysis made no graphs\n");
        return 1;
    }

    std::fprintf(stderr, "machine: %ld cores online\n", sysconf(_SC_NPROCESSORS_ONLN));
    for (const StartUpFigures& figures : startUps) {
        const QString where = figures.platform == QLatin1String("xcb")
                                  ? QStringLiteral("under X on ") + QString::fromLocal8Bit(qgetenv("DISPLAY"))
                                  : QStringLiteral("offscreen");
        Print(qPrintable(QStringLiteral("whole process to the main window shown with the example open, ") + where),
              figures.program);
        Print(qPrintable(QStringLiteral("  baseline: whole process to an empty main window shown, ") + where),
              figures.empty);
        std::fprintf(stderr, "  the program's own share: %.1f ms (target: whole process under 100 ms)\n",
                     Median(figures.program) - Median(figures.empty));
    }
    Print("opening the largest project with its plot data file", opening);
    Print("Run Analysis on the example (save, run, read the plot data file, graphs ready)", running);
    char what[160];
    std::snprintf(what, sizeof what,
                  "painting the load-distribution graph of the largest project (%d curves of %zu points, %dx%d)",
                  curves, points, image.width(), image.height());
    Print(what, painting);
    return 0;
}
