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

// "shaft,tip", "layers", "tip", and one of a pair: "shaft-t", "tip-Q", ...
bool ParseParameters(const std::string& text, TFitOptions& options)
{
    options.Shaft = TShaftFit::None;
    options.Tip = false;
    options.FitT = options.FitZ = options.FitQ = options.FitW = false;
    std::istringstream words(text);
    for (std::string word; std::getline(words, word, ',');) {
        const size_t dash = word.find('-');
        const std::string part = word.substr(0, dash), which = dash == std::string::npos ? "" : word.substr(dash + 1);
        if (part == "shaft" || part == "layers") {
            const TShaftFit shaft = part == "shaft" ? TShaftFit::Whole : TShaftFit::Layers;
            if (options.Shaft != TShaftFit::None && options.Shaft != shaft)
                return false;
            options.Shaft = shaft;
            if (which != "" && which != "t" && which != "z")
                return false;
            options.FitT = options.FitT || which != "z";
            options.FitZ = options.FitZ || which != "t";
        } else if (part == "tip") {
            options.Tip = true;
            if (which != "" && which != "Q" && which != "q" && which != "w")
                return false;
            options.FitQ = options.FitQ || which != "w";
            options.FitW = options.FitW || (which == "" || which == "w");
        } else {
            return false;
        }
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
                err << "korven-run: --params takes shaft or layers, and tip (or shaft-t, tip-Q, ...), separated by "
                       "commas; not \""
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
            SetProjectLoadTest(*project, calibration.Test());
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
