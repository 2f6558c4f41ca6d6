#include "FitCommand.h"

#include "Calibration.h"
#include "ProgramData.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

const char* const FitUsage =
    "korven-run --fit TEST.csv PROJECT.kv3d [--params shaft,tip|layers,tip] [--apply NEW.kv3d]\n";

namespace {

struct TFitArguments {
    std::string Test;
    std::string Project;
    std::string Apply;
    TFitOptions Options;
};

// "shaft,tip", "layers", "tip", ...
bool ParseParameters(const std::string& text, TFitOptions& options)
{
    options.Shaft = TShaftFit::None;
    options.Tip = false;
    std::istringstream words(text);
    for (std::string word; std::getline(words, word, ',');) {
        if (word == "shaft" && options.Shaft == TShaftFit::None)
            options.Shaft = TShaftFit::Whole;
        else if (word == "layers" && options.Shaft == TShaftFit::None)
            options.Shaft = TShaftFit::Layers;
        else if (word == "tip")
            options.Tip = true;
        else
            return false;
    }
    return options.Shaft != TShaftFit::None || options.Tip;
}

}  // namespace

bool IsFitCommand(const std::vector<std::string>& arguments)
{
    return std::find(arguments.begin(), arguments.end(), "--fit") != arguments.end();
}

int RunFitCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    TFitArguments fit;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (arg == "--fit" && hasValue)
            fit.Test = arguments[++i];
        else if (arg == "--params" && hasValue) {
            if (!ParseParameters(arguments[++i], fit.Options)) {
                err << "korven-run: --params takes shaft or layers, and tip, separated by commas; not \""
                    << arguments[i] << "\"\n";
                return 2;
            }
        } else if (arg == "--apply" && hasValue)
            fit.Apply = arguments[++i];
        else if (arg.size() > 1 && arg[0] == '-') {
            err << "korven-run: " << arg << (hasValue ? " is not an option of --fit\n" : " needs a value\n")
                << "usage: " << FitUsage;
            return 2;
        } else if (fit.Project.empty())
            fit.Project = arg;
        else {
            err << "korven-run: --fit takes one project, not also " << arg << '\n';
            return 2;
        }
    }
    if (fit.Test.empty() || fit.Project.empty()) {
        err << "usage: " << FitUsage;
        return 2;
    }

    TProjectTables tables;
    std::string error;
    const bool fullFormat = fs::path(fit.Project).extension() != ".kvd";
    const std::unique_ptr<TProgramData> project = TProgramData::CreateFromFile(tables, fit.Project, fullFormat, error);
    if (!project) {
        err << "korven-run: " << fit.Project << ": " << error << '\n';
        return 1;
    }
    try {
        const TLoadTest test = ReadLoadTestCsvFile(fit.Test, project->Units());
        const TCalibration calibration(*project, test, fit.Options);
        const TFitResult result = calibration.Fit();
        out << FitResultJson(result, calibration.Test()).dump(2) << '\n';
        if (!fit.Apply.empty()) {
            ApplyFit(result, *project);
            project->FileName = fit.Apply;
            project->SaveToFile();
            err << "korven-run: the fitted factors were written to " << fit.Apply << '\n';
        }
    } catch (const ELoadTestError& refused) {
        err << "korven-run: " << refused.what() << '\n';
        return 1;
    } catch (const std::exception& failure) {
        err << "korven-run: " << failure.what() << '\n';
        return 1;
    }
    return 0;
}
