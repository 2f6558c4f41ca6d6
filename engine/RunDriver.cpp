// Entry point, names file, files of a run and the report header.
#include <cstdio>
#include <ctime>
#include <memory>

#include "Analysis.h"
#include "Korven.h"

namespace korven {

const fio::Layout kBlankLine("(\" \")");
const fio::Layout kTitle("(1X, A72)");
const fio::Layout kPair("(E18.4, E19.4)");

namespace {

using fio::Layout;

const Layout kBanner(
    "(5X, 73(\"=\"), /, /, 20X, \"  KORVEN for Windows, Version \", A12, /, /, "
    "20X, \"   A Program for Computing Load Vs Settlement \", /, "
    "20X, \"           For an Axially Loaded Pile \", /, /, 5X, 73(\"=\"), /, /)");
const Layout
    kFileBlock("(5X, \"Path to file locations      : \", A, A, /, 5X, \"Name of input data file     : \", A, A)");
const Layout kOutputName("(5X, \"Name of output file         : \", A, A)");
const Layout kPlotName("(5X, \"Name of plot output file    : \", A, A)");
const Layout kTimeHeading("(5X, 73(\"-\"), /, 26X, \"Time and Date of Analysis\", /, 5X, 73(\"-\"), /)");
const Layout kTimeLine("(15X, \"Date:  \", A, I2.2, \", \", I4, 5X, \"Time:  \", I2.2, \":\", I2.2, \":\", I2.2)");
const Layout kErrorLine("(/, 5X, \"**** ERROR ****  \", A)");

const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

std::string TrimRight(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// Splits a path into drive, folder (with its trailing separator), name and
// extension (with its dot). A path on this platform has no drive.
struct PathParts {
    std::string drive, folder, name, extension;
};

PathParts SplitPath(const std::string& path) {
    PathParts parts;
    std::size_t slash = path.find_last_of('/');
    std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    parts.folder = path.substr(0, nameStart);
    std::string file = path.substr(nameStart);
    std::size_t dot = file.find_last_of('.');
    if (dot == std::string::npos) dot = file.size();
    parts.name = file.substr(0, dot);
    parts.extension = file.substr(dot);
    return parts;
}

}  // namespace

void Analysis::Fail(int32_t status, const std::string& message) {
    throw RunStop{status, message};
}

void Analysis::ReadNamesFile() {
    fio::LineReader names("names.dat");
    if (!names.IsOpen()) Fail(kNamesFileUnreadable, "");
    std::string skipped;
    int32_t reserved = 0;
    if (names.ReadText(12, version_) != fio::ReadStatus::Ok || names.ReadText(256, skipped) != fio::ReadStatus::Ok ||
        names.ReadText(256, skipped) != fio::ReadStatus::Ok || names.ReadList({&reserved}) != fio::ReadStatus::Ok)
        Fail(kNamesFileUnreadable, "");
    // A path longer than its line would name another file when cut: refused.
    for (std::string& path : paths_) {
        if (names.ReadText(255, path, true) != fio::ReadStatus::Ok) {
            path.clear();
            std::printf("  FILE ERRORS!\n");
            break;
        }
        path = TrimRight(path);
    }
}

void Analysis::WriteHeader() {
    report_.Write(kBanner, {version_});
    PathParts input = SplitPath(paths_[0]);
    PathParts output = SplitPath(paths_[1]);
    PathParts plot = SplitPath(paths_[2]);
    report_.Write(kFileBlock,
                  {TrimRight(input.drive), TrimRight(input.folder), TrimRight(input.name), TrimRight(input.extension)});
    report_.Write(kOutputName, {TrimRight(output.name), TrimRight(output.extension)});
    report_.Write(kPlotName, {TrimRight(plot.name), TrimRight(plot.extension)});
    report_.WriteLine("");
    report_.Write(kTimeHeading);
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    report_.Write(kTimeLine,
                  {std::string(kMonths[local.tm_mon]) + " ", int32_t{local.tm_mday}, int32_t{local.tm_year + 1900},
                   int32_t{local.tm_hour}, int32_t{local.tm_min}, int32_t{local.tm_sec}});
}

void Analysis::OpenFiles() {
    input_ = std::make_unique<fio::LineReader>(paths_[0]);
    if (!input_->IsOpen()) Fail(kFileNotOpened, "THE INPUT DATA FILE CANNOT BE OPENED: " + paths_[0]);
    if (!plot_.Open(paths_[2])) Fail(kFileNotOpened, "THE PLOT OUTPUT FILE CANNOT BE OPENED: " + paths_[2]);
    // The fourth file is only opened (created when missing) and closed.
    fourth_ = std::fopen(paths_[3].c_str(), "a");
    if (!fourth_) Fail(kFileNotOpened, "THE FOURTH FILE CANNOT BE OPENED: " + paths_[3]);
}

bool Analysis::CloseFiles() {
    input_.reset();
    const bool reportWritten = report_.Close();
    if (fourth_) std::fclose(fourth_);
    fourth_ = nullptr;
    const bool plotWritten = plot_.Close();
    return reportWritten && plotWritten;
}

int32_t Analysis::Run() {
    std::printf(" KORVEN\n A program for computing load vs settlement\n for an axially loaded pile\n");
    int32_t status = kCompleted;
    try {
        ReadNamesFile();
        if (!report_.Open(paths_[1])) Fail(kFileNotOpened, "");
        WriteHeader();
        OpenFiles();
        std::printf("\n\n\n         COMPUTATION IS PROCEEDING.......\n");
        ReadProblem();
        SolveTipMovements();
        if (problem_.headLoadCount > 0) SolveHeadLoads();
    } catch (const RunStop& stop) {
        status = stop.status;
        if (!stop.message.empty()) report_.Write(kErrorLine, {stop.message});
    }
    if (!CloseFiles()) status = kOutputNotWritten;
    std::fflush(stdout);
    return status;
}

}  // namespace korven

extern "C" int32_t _IKORVEN(int32_t key) {
    if (key != 3) return korven::kWrongKey;
    auto analysis = std::make_unique<korven::Analysis>();
    return analysis->Run();
}

extern "C" int32_t IKORVEN(int32_t key) {
    return _IKORVEN(key);
}
