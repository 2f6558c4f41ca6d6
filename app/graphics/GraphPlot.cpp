#include "GraphPlot.h"

#include "NumberText.h"
#include "UnitStrings.h"

#include <algorithm>

TLine::TLine(TGraphPlot& graph, int number, std::size_t pointCount) : Points(pointCount), Number(number), FGraph(&graph)
{}

void TGraphPlot::SetUnits(UnitSystem units) { FUnits = units; }

void TGraphPlot::SetLineCount(int count)
{
    const std::size_t wanted = static_cast<std::size_t>(std::max(count, 0));
    if (wanted < FLines.size()) {
        FLines.resize(wanted);
        return;
    }
    while (FLines.size() < wanted) {
        // A new curve starts with as many points as the first curve has.
        const std::size_t points = FLines.empty() ? 0 : FLines.front()->Points.size();
        FLines.push_back(std::make_unique<TLine>(*this, static_cast<int>(FLines.size()) + 1, points));
    }
}

void TGraphPlot::SetPointCount(int count)
{
    const std::size_t wanted = static_cast<std::size_t>(std::max(count, 0));
    for (auto& line : FLines)
        line->Points.resize(wanted);
}

std::string TGraphPlot::LegendText(int index) const
{
    const TLine& line = Line(index);
    if (!line.Name.empty())
        return line.Name;
    return CurveName + GeneralNumberText(line.Number, 15);
}

namespace {

std::string AxisText(const std::string& caption, const std::string& units, UnitSystem system)
{
    if (units.empty())
        return caption;
    return caption + " (" + ExpandPlotUnits(units, system) + ")";
}

}  // namespace

std::string TGraphPlot::XAxisText() const { return AxisText(XCaption, XUnits, FUnits); }

std::string TGraphPlot::YAxisText() const { return AxisText(YCaption, YUnits, FUnits); }

void TGraphPlot::ActivateOpeningCurves()
{
    for (int i = 0; i < LineCount(); ++i)
        Line(i).Active = !CapCurves || i < MaxOpenCurves;
}
