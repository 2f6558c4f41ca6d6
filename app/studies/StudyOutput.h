#pragma once

// The results of a study as one JSON document and a few CSV tables, in the
// project's units. Values a curve does not reach are null in JSON and empty
// cells in CSV; so are the values of an analysis that was refused, whose
// status and message say why.

#include "StudyStatistics.h"

#include <nlohmann/json.hpp>

#include <string>
#include <utility>
#include <vector>

nlohmann::json ParametricJson(const TStudy& study, const TParametricResult& result, UnitSystem units);
nlohmann::json ProbabilisticJson(const TStudy& study, const TProbabilisticResult& result,
                                 const TProbabilisticSummary& summary, UnitSystem units);

// CSV tables by name: parametric "steps" (read-outs per value) and "curves"
// (the load-settlement points of every value); probabilistic "samples" (the
// draws and read-outs of every realisation), "bands", "readouts",
// "sensitivity" and, with a settlement limit, "exceedance".
using TCsvTables = std::vector<std::pair<std::string, std::string>>;
TCsvTables ParametricCsv(const TParametricStudy& study, const TParametricResult& result, UnitSystem units);
// The cells of a line of these tables (text quoted, quotes doubled).
std::vector<std::string> CsvCells(const std::string& line);

TCsvTables ProbabilisticCsv(const TProbabilisticStudy& study, const TProbabilisticResult& result,
                            const TProbabilisticSummary& summary, UnitSystem units);

// A study run through: its results, their statistics and tables.
struct TStudyOutcome {
    TStudy Study;
    UnitSystem Units = UnitSystem::English;
    bool Cancelled = false;
    int Analyses = 0;
    int Refused = 0;
    TParametricResult Parametric;
    TProbabilisticResult Probabilistic;
    TProbabilisticSummary Summary;
    nlohmann::json Document;  // the results as one JSON document
    TCsvTables Tables;
};

// Runs the study over `problem` (CheckStudy passed); a cancelled run has
// neither statistics nor document nor tables.
TStudyOutcome RunStudy(const TStudy& study, const korven::Problem& problem, const TRunControl& control);

// The settlement percentiles under the study load and the exceedance
// probability of a probabilistic study, one line each ("settlement under
// 150000 lb: 5 % 0.04884, 50 % 0.08153, 95 % 0.1782 in"); none for a
// parametric study.
std::vector<std::string> SummaryLines(const TStudyOutcome& outcome);
