// The entry point, its names file, and the files of a run.
#include <cstdio>
#include <ctime>

#include "Engine.h"
#include "Korven.h"

namespace korven {
namespace {

constexpr std::string_view kBanner = " KORVEN\n A program for computing load vs settlement\n for an axially loaded pile\n";

std::string TrimRight(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::tm LocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

// Reads "names.dat" in the current folder: the version text, two reserved
// lines, a reserved number and the four paths. A path that cannot be read is
// left empty, and so are those after it (`complete` false).
int32_t ReadNamesFile(std::string& version, RunPaths& paths, bool& complete) {
    std::string text;
    if (!fio::ReadWholeFile("names.dat", text)) return kNamesFileUnreadable;
    fio::LineReader names(text);
    std::string skipped;
    int32_t reserved = 0;
    if (names.ReadText(12, version) != fio::ReadStatus::Ok || names.ReadText(256, skipped) != fio::ReadStatus::Ok ||
        names.ReadText(256, skipped) != fio::ReadStatus::Ok || names.ReadList({&reserved}) != fio::ReadStatus::Ok)
        return kNamesFileUnreadable;
    // A path longer than its line would name another file when cut: refused.
    for (std::string* path : {&paths.input, &paths.report, &paths.plot, &paths.notes}) {
        if (names.ReadText(255, *path, true) != fio::ReadStatus::Ok) {
            path->clear();
            complete = false;
            break;
        }
        *path = TrimRight(*path);
    }
    return kCompleted;
}

}  // namespace

FileRun RunFiles(const RunPaths& paths, std::string_view version) {
    FileRun run;
    run.console = kBanner;
    fio::RecordWriter report;
    fio::RecordWriter plot;
    if (!report.Open(paths.report)) {
        run.status = kFileNotOpened;
        return run;
    }
    const RunLabels labels{std::string(version), paths.input, paths.report, paths.plot, LocalTime()};
    Written written;
    std::string input;
    std::FILE* notes = nullptr;
    auto refuse = [&](const std::string& message) {
        run.status = kFileNotOpened;
        WriteHeader(labels, written.report);
        WriteErrorLine(message, written.report);
    };
    // The files open in this order, and the run stops at the first that
    // does not; the run-notes file is only opened (created when missing).
    if (!fio::ReadWholeFile(paths.input, input)) {
        refuse("THE INPUT DATA FILE CANNOT BE OPENED: " + paths.input);
    } else if (!plot.Open(paths.plot)) {
        refuse("THE PLOT OUTPUT FILE CANNOT BE OPENED: " + paths.plot);
    } else if (!(notes = std::fopen(paths.notes.c_str(), "a"))) {
        refuse("THE FOURTH FILE CANNOT BE OPENED: " + paths.notes);
    } else {
        run.console += "\n\n\n         COMPUTATION IS PROCEEDING.......\n";
        const ReadResult read = Read(input);
        const Outcome outcome = read.status == kCompleted ? Analyse(read.problem) : Outcome{};
        written = Write(labels, read, outcome);
        run.status = read.status == kCompleted ? outcome.status : read.status;
    }
    report.Write(written.report);
    const bool reportWritten = report.Close();
    if (notes) std::fclose(notes);
    plot.Write(written.plot);
    const bool plotWritten = plot.Close();
    if (!reportWritten || !plotWritten) run.status = kOutputNotWritten;
    return run;
}

}  // namespace korven

extern "C" int32_t _IKORVEN(int32_t key) {
    if (key != 3) return korven::kWrongKey;
    std::string version;
    korven::RunPaths paths;
    bool complete = true;
    std::string console;
    int32_t status = korven::ReadNamesFile(version, paths, complete);
    if (status == korven::kCompleted) {
        const korven::FileRun run = korven::RunFiles(paths, version);
        console = run.console;
        // A names file without every path stops the run before it proceeds.
        if (!complete) console.insert(korven::kBanner.size(), "  FILE ERRORS!\n");
        status = run.status;
    } else {
        console = korven::kBanner;
    }
    std::fputs(console.c_str(), stdout);
    std::fflush(stdout);
    return status;
}

extern "C" int32_t IKORVEN(int32_t key) {
    return _IKORVEN(key);
}
