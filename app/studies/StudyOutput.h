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
TCsvTables ProbabilisticCsv(const TProbabilisticStudy& study, const TProbabilisticResult& result,
                            const TProbabilisticSummary& summary, UnitSystem units);
