// The extension module behind the Python package korven: the program's
// project reader and writer, the engine's entry over a project file, and the
// analysis in memory. The package's Python code turns the plain values
// exchanged here into its classes and exceptions.

#include "Analysis.h"
#include "ProjectExchange.h"

#include "EngineRun.h"
#include "ProgramData.h"
#include "WordReader.h"

#include "Korven.h"

#include <pybind11/stl.h>

#include <dlfcn.h>

#include <filesystem>
#include <tuple>
#include <vector>

namespace py = pybind11;
namespace fs = std::filesystem;

namespace {

// The folder of the engine library this module is linked with: the build
// folder's bin/, or the package's own folder once installed.
fs::path EngineFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&_IKORVEN), &info) == 0 || !info.dli_fname)
        throw std::runtime_error("the engine library was not found");
    return fs::path(info.dli_fname).parent_path();
}

// A project read by the program's reader: its values and what the user is
// to be told about a file opened all the same (a damaged extras file), or
// None and the reader's message.
std::tuple<py::object, std::string, std::vector<std::string>> ReadProjectFile(const std::string& fileName)
{
    std::string error;
    const auto project = ReadProject(fileName, error);
    if (!project)
        return {py::none(), error, {}};
    return {ProjectValues(*project), std::string(), project->ReadNotices};
}

// Writes the project file and its companion as the program saves them; the
// writer's message, or an empty text.
std::string WriteProjectFile(const py::dict& values, const std::string& fileName)
{
    const auto project = ProjectFromValues(values);
    project->FileName = fileName;
    try {
        project->SaveToFile();
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

py::dict ConvertUnits(const py::dict& values, int32_t units)
{
    if (units != UnitSystemCode(UnitSystem::English) && units != UnitSystemCode(UnitSystem::SI))
        throw py::value_error("units must be 1 (English) or 2 (SI)");
    const auto project = ProjectFromValues(values);
    project->SetUnits(UnitSystemFromCode(units));
    return ProjectValues(*project);
}

py::bytes ProjectText(const py::dict& values) { return ProjectFromValues(values)->FileText(); }

// One run of the engine's entry over a project file and the report, plot
// data and run-notes files beside it, as korven-run makes it: the status and
// the paths. The run changes the process's current folder for its duration,
// so it keeps the interpreter lock.
py::dict RunProject(const std::string& fileName)
{
    const TRunFiles files = TRunFiles::ForProject(fs::absolute(fileName));
    const TPointDecimalSeparator point;
    TDynamicLibrary library(EngineLibraryIn(EngineFolder()).string());
    int32_t status;
    try {
        status = RunEngine(OpenEngine(library), files);
    } catch (const std::exception& error) {
        throw std::runtime_error(std::string("the run could not be set up: ") + error.what());
    }
    py::dict result;
    result["status"] = status;
    result["meaning"] = EngineStatusMeaning(status);
    result["input"] = files.Input.string();
    result["report"] = files.Report.string();
    result["plot"] = files.Plot.string();
    return result;
}

}  // namespace

PYBIND11_MODULE(_korven, m)
{
    m.doc() = "The engine and the project file behind the korven package (use the package, not this module).";
    m.def("new_project", &NewProjectValues,
          "The values of a new project, as the program starts one.");
    m.def("read_project", &ReadProjectFile, py::arg("path"),
          "Reads a project file: (values, '', notices) or (None, the reader's message, []).");
    m.def("write_project", &WriteProjectFile, py::arg("values"), py::arg("path"),
          "Writes a project file and its companion: '' or the writer's message.");
    m.def("convert_units", &ConvertUnits, py::arg("values"), py::arg("units"),
          "The values converted to the unit system (1 English, 2 SI).");
    m.def("project_text", &ProjectText, py::arg("values"), "The text of the project file.");
    m.def("status_meaning", &EngineStatusMeaning, py::arg("status"), "What an engine status means.");
    m.def("run", &RunProject, py::arg("path"), "Runs the engine's entry over a project file.");
    m.def("analyze", &AnalyzeText, py::arg("text"), py::arg("write_files") = false, py::arg("input_path") = "",
          "Analyses the text of an input data file in memory, without the interpreter lock; with write_files "
          "also the report and plot data texts a run of input_path writes.");
}
