// The report and the plot data file of a run: the heading, the input echoed
// as far as it was read, the curves, the increments of every assumed tip
// movement and the load-settlement tables.
#include "Engine.h"

namespace korven {
namespace {

using fio::Layout;
using fio::Value;

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
const Layout kBlankLine("(\" \")");
const Layout kTitle("(1X, A72)");
const Layout kPair("(E18.4, E19.4)");

const Layout kProgramTitle(
    "(1X, \"PROGRAM KORVEN FOR COMPUTING LOAD VS. SETTLEMENT\", /, 1X, \"FOR AN AXIALLY LOADED PILE\", /, /, /)");
const Layout kPileKind("(/, /, /, 1X, \" AXIALLY LOADED PILE, CONSTANT OD\", /)");
const Layout kLayerHeading("(/, /, 10X, \"  LAYER      KSOIL      XTOP      XBOT\", /, 10X, A)");
const Layout kLayerLine("(10X, 2(I5, 5X), 2(E10.3, 2X))");
const Layout kUnitWeightHeading("(/, /, 10X, \"    XG1        GAM1\", /, 10X, A)");
const Layout kTwoColumns("(10X, 2(E10.3, 2X))");
const Layout kStrengthHeading(
    "(/, /, 7X, \"XSTR         C1          PHI1        EE50       SKIN\", \"        TIP\", /, 7X, A, A)");
const Layout kStrengthLine("(3X, 6(E10.3, 2X))");
const Layout kLayersEnd("(/, /, \"  \")");
const Layout kStiffnessHeading("(/, 9X, \"  DEPTH\", 13X, \"AE PILE\")");
const Layout kTwoLabels("(12X, A3, 16X, A3)");
const Layout kPileHeading("(/, /, /, 8X, \"PILE LENGTH\", 7X, \"OUTER DIAMETER\", 6X, \"TOLERANCE\")");
const Layout kPileLabels("(12X, A3, 16X, A3, 15X, A3)");
const Layout kPileLine("(E18.4, E19.4, E18.4)");
const Layout kLoadsHeading("(/, /, 10X, \"   LOADS      \", /, 10X, A)");
const Layout kLoadLine("(4X, F10.3)");
const Layout kSettlementHeading(
    "(/, /, 10X, \"   SOIL SETTLEMENT PROFILE\", /, /, 10X, \"   DEPTH     SETTLEMENT\", /, 10X, A)");
const Layout kTzFactorHeading("(/, /, 10X, \"DEPTH\", 20X, \"t-Multiplier  \", 10X, \"z-Multiplier  \", /, 10X, A3)");
const Layout kTzFactorLine("(7X, E10.3, 18X, E10.3, 15X, E10.3)");
const Layout
    kQwFactors("(/, /, 10X, \"PILE TIP\", 17X, \"Q-Multiplier  \", 10X, \"w-Multiplier \", /, 38X, F4.2, 19X, F4.2)");

const Layout kWarning(
    "(/, 29X, \"**** WARNING ****\", /, 5X, \"THE VALUE OF X =\", E9.2, "
    "\"IS BEYOND THE EXTENT OF/\", 5X, A)");
const Layout kTzHeading("(/, /, 4X, \"T-Z       NO. OF    DEPTH TO    LOAD \", \"TRANSFER  PILE\")");
const Layout kTzLabels(
    "(3X, \"CURVE NO.\", 2X, \"POINTS\", 4X, \"CURVE,\", A3, 3X, \"TRANSFER,\", A3, 3X, "
    "\"MOVEMENT,\", A3, /)");
const Layout kCurveLine("(2X, I5, I11, E16.4)");
const Layout kPointLine("(31X, E15.4, E15.4)");
const Layout kTipHeading("(/, /, /, 8X, \"TIP   LOAD\", 8X, \"TIP MOVEMENT\", /, 12X, A3, 15X, A3)");

const Layout kCaseHeading("(/, /, /, 8X, \"ASSUMED TIP MOVEMENT\", 8X, \"TIP   LOAD\")");
const Layout kCaseLabels("(17X, A3, 20X, A3)");
const Layout kCaseValues("(E23.4, E23.4)");
const Layout kColumnHeading(
    "(/, /, /, 1X, \"DEPTH     LOAD\", 7X, \"LOAD\", 6X, \"TOTAL\", 6X, \"AVG\", 6X, \"DEFORM\", 5X, "
    "\"TOTAL     AVG\", /, 9X, \"TRANSFER     INCR\", 6X, \"LOAD\", 7X, \"LOAD\", 5X, \"OF INCR    MVMNT     MVMNT\")");
const Layout kColumnLabels("(2X, A3, 5X, A3, 10X, A3, 7X, A3, 8X, A3, 6X, A3, 8X, A3, 7X, A3)");
const Layout kNodeLine("(1X, F6.1, 8X, 14X, E10.3, 21X, E10.3)");
const Layout kMidLine("(1X, F6.1, 1X, E10.3, 1X, E10.3, 10X, E10.3, 1X, E10.3, 10X, E10.3)");
const Layout kPlotIncrement("(1X, E10.3, 3X, E10.3, 3X, E10.3)");
const Layout kPageTitle("(8X, A72)");
const Layout kResultHeading("(/, /, /, 8X, \"TOP  LOAD     TOP MOVEMENT     TIP MOVEMENT\", 5X, \"TIP  LOAD\")");
const Layout kResultLabels("(11X, A3, 13X, A3, 14X, A3, 12X, A3)");
const Layout kResultLine("(E17.4, 3E16.4)");

const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

// Records appended to a text.
class Records {
public:
    explicit Records(std::string& text) : text_(text) {}
    void Write(const Layout& layout, std::initializer_list<Value> values = {}) {
        layout.Append(text_, std::span<const Value>(values.begin(), values.size()));
    }
    void Reals(const Layout& layout, std::initializer_list<float> values) { layout.AppendReals(text_, values); }
    void Line(std::string_view record) {
        text_.append(record);
        text_.push_back('\n');
    }

private:
    std::string& text_;
};

std::string TrimRight(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// A path's folder (with its trailing separator), name and extension (with
// its dot).
struct PathParts {
    std::string folder, name, extension;
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

float Signed(float value, bool negate) {
    return negate ? -value : value;
}

class Writer {
public:
    Writer(const Problem& p, Written& out) : p_(p), report_(out.report), plot_(out.plot) {}

    void Echo(InputPart reached, const Outcome& curves, Generated generated);
    void Results(const Outcome& outcome);
    void Stop(int32_t status, const std::string& message, const std::vector<Warning>& warnings);

private:
    std::string Length() const { return LengthLabel(p_); }
    std::string Force() const { return ForceLabel(p_); }
    std::string Pressure() const { return PressureLabel(p_); }

    void EchoLayers(InputPart reached);
    void EchoStiffness();
    void TzCurves(std::span<const TzCurve> curves, std::size_t plotted);
    void TipCurve(const QwCurve& tip);
    void ResultTable(const std::vector<LoadSettlementRow>& rows);
    void Increments(const Distribution& d);

    const Problem& p_;
    Records report_;
    Records plot_;
};

void Writer::Echo(InputPart reached, const Outcome& curves, Generated generated) {
    auto at = [&](InputPart part) { return reached >= part; };
    if (!at(InputPart::Title)) return;
    report_.Write(kBlankLine);
    report_.Write(kProgramTitle);
    report_.Write(kTitle, {p_.title});
    report_.Write(kPileKind);
    if (GivenCurves(p_)) {
        if (at(InputPart::CurvesOrLayers))
            TzCurves(std::span(p_.curves.data(), static_cast<std::size_t>(p_.curveCount)), kMaxCurves);
        if (at(InputPart::Stiffness)) EchoStiffness();
        if (at(InputPart::TipCurve)) TipCurve(p_.tipCurve);
    } else {
        EchoLayers(reached);
        if (at(InputPart::Stiffness)) EchoStiffness();
        if (at(InputPart::PileData)) {
            if (generated >= Generated::TzCurves) TzCurves(curves.curves, kPlottedGeneratedCurves);
            if (generated == Generated::All) TipCurve(curves.tipCurve);
        }
    }
    if (at(InputPart::TipMovements)) {
        report_.Write(kPileHeading);
        report_.Write(kPileLabels, {Length(), Length(), Length()});
        report_.Reals(kPileLine, {p_.pileLength, p_.diameter, p_.tolerance});
    }
    if (at(InputPart::HeadLoads) && p_.headLoadCount > 0) {
        report_.Write(kLoadsHeading, {std::string(Si(p_) ? "    KN        " : "    LB.       ")});
        for (int32_t k = 0; k < p_.headLoadCount; ++k) report_.Reals(kLoadLine, {p_.headLoads[k]});
    }
    const auto& s = p_.settlement;
    if (at(InputPart::Settlement) && s.count > 0) {
        report_.Write(kSettlementHeading, {std::string(Si(p_) ? "     M           M" : "    IN.         IN")});
        for (int32_t k = 0; k < s.count; ++k) report_.Reals(kTwoColumns, {s.depth[k], s.value[k]});
    }
    if (at(InputPart::TzFactors) && p_.tzFactorCount > 0) {
        report_.Write(kTzFactorHeading, {Length()});
        for (int32_t k = 0; k < p_.tzFactorCount; ++k)
            report_.Reals(kTzFactorLine, {p_.tzFactorDepth[k], p_.tMultiplier[k], p_.zMultiplier[k]});
    }
    if (at(InputPart::QwFactors) && p_.qwFactors) report_.Reals(kQwFactors, {p_.qMultiplier, p_.wMultiplier});
}

void Writer::EchoLayers(InputPart reached) {
    if (reached < InputPart::LayerLines) return;
    const bool si = Si(p_);
    report_.Write(kLayerHeading, {std::string(si ? "                          M         M"
                                                 : "                         IN.       IN.")});
    for (int32_t i = 0; i < p_.layerCount; ++i) {
        const SoilLayer& layer = p_.layers[i];
        report_.Write(kLayerLine, {layer.number, layer.soil, layer.top, layer.bottom});
    }
    if (reached < InputPart::CurvesOrLayers) return;
    const int32_t rows = 2 * p_.layerCount;
    auto depth = [&](int32_t r) { return r % 2 == 0 ? p_.layers[r / 2].top : p_.layers[r / 2].bottom; };
    report_.Write(kUnitWeightHeading, {std::string(si ? "     M        kN/M**3" : "    IN.       LB/IN**3")});
    for (int32_t r = 0; r < rows; ++r) report_.Reals(kTwoColumns, {depth(r), p_.unitWeight[r]});
    if (si)
        report_.Write(kStrengthHeading, {std::string(" M.         kN/M**2      DEG.                 kN/M**2"),
                                         std::string("    kN/M**2")});
    else
        report_.Write(kStrengthHeading, {std::string(" IN.       LB/IN**2      DEG.                 LB/IN**2"),
                                         std::string("    lb/in**2")});
    for (int32_t r = 0; r < rows; ++r)
        report_.Reals(kStrengthLine, {depth(r), p_.strength[r], p_.frictionAngle[r], p_.e50[r], p_.sideFriction[r],
                                      p_.tipResistance[r]});
    report_.Write(kLayersEnd);
}

void Writer::EchoStiffness() {
    const auto& ae = p_.stiffness;
    report_.Write(kStiffnessHeading);
    report_.Write(kTwoLabels, {Length(), Force()});
    for (int32_t k = 0; k < ae.count; ++k) report_.Reals(kPair, {ae.depth[k], ae.value[k]});
}

// The report lists every curve, the plot data file the first `plotted`.
void Writer::TzCurves(std::span<const TzCurve> curves, std::size_t plotted) {
    report_.Write(kTzHeading);
    report_.Write(kTzLabels, {Length(), Pressure(), Length()});
    plotted = std::min(plotted, curves.size());
    plot_.Line(fio::ListInteger(static_cast<int32_t>(plotted)));
    for (std::size_t c = 0; c < curves.size(); ++c) {
        const TzCurve& curve = curves[c];
        for (Records* out : {&report_, &plot_}) {
            if (out == &plot_ && c >= plotted) break;
            out->Write(kCurveLine, {curve.number, curve.points, curve.depth});
            for (int32_t m = 0; m < curve.points; ++m) out->Reals(kPointLine, {curve.t[m], curve.z[m]});
        }
    }
}

void Writer::TipCurve(const QwCurve& tip) {
    report_.Write(kTipHeading, {Force(), Length()});
    for (int32_t k = 0; k < tip.points; ++k) report_.Reals(kPair, {tip.load[k], tip.movement[k]});
    plot_.Line(fio::ListInteger(tip.points));
    for (int32_t k = 0; k < tip.points; ++k) plot_.Reals(kPair, {tip.load[k], tip.movement[k]});
}

void Writer::Increments(const Distribution& d) {
    const bool print = p_.printOption == 0;
    const bool up = d.upward;
    const float dz = p_.pileLength / static_cast<float>(p_.increments);
    if (print) {
        report_.Write(kBlankLine);
        report_.Write(kCaseHeading);
        report_.Write(kCaseLabels, {Length(), Force()});
        report_.Reals(kCaseValues, {d.tipMovement, d.tipLoad});
        report_.Write(kColumnHeading);
        report_.Write(kColumnLabels, {Length(), Pressure(), Force(), Force(), Force(), Length(), Length(), Length()});
    }
    float x = 0;
    for (std::size_t n = 0; n < d.increments.size(); ++n) {
        const MidDepth& m = d.increments[n];
        x = m.depth;
        if (print) {
            report_.Reals(kNodeLine, {x + dz / 2.0f, Signed(d.nodeLoad[n], up), Signed(d.nodeMovement[n], up)});
            report_.Reals(kMidLine, {x, Signed(m.transfer, up), Signed(m.loadIncrement, up), Signed(m.load, up),
                                     Signed(m.deformation, up), Signed(m.movement, up)});
        }
        plot_.Reals(kPlotIncrement, {x, m.load, m.movement});
    }
    if (print) {
        x = x - dz;
        report_.Reals(kNodeLine, {x + dz / 2.0f, Signed(d.nodeLoad.back(), up), Signed(d.nodeMovement.back(), up)});
    }
}

void Writer::ResultTable(const std::vector<LoadSettlementRow>& rows) {
    report_.Write(kResultHeading);
    report_.Write(kResultLabels, {Force(), Length(), Length(), Force()});
    for (const LoadSettlementRow& row : rows)
        for (Records* out : {&report_, &plot_})
            out->Reals(kResultLine, {row.topLoad, row.topMovement, row.tipMovement, row.tipLoad});
}

void Writer::Results(const Outcome& outcome) {
    plot_.Line(fio::ListInteger(p_.tipMovementCount) + fio::ListInteger(p_.increments) + fio::ListInteger(p_.units));
    for (const Distribution& d : outcome.distributions) Increments(d);
    report_.Write(kBlankLine);
    report_.Write(kTitle, {p_.title});
    ResultTable(outcome.loadSettlement);
    if (outcome.loadCases.empty()) return;
    report_.Line("1");
    report_.Write(kPageTitle, {p_.title});
    ResultTable(outcome.loadCases);
}

void Writer::Stop(int32_t status, const std::string& message, const std::vector<Warning>& warnings) {
    for (const Warning& warning : warnings) {
        if (warning.status == kBeyondSideFriction) {
            const int32_t rows = 2 * p_.layerCount;
            report_.Line(fio::ListInteger(rows) + fio::ListReal(p_.layers[p_.layerCount - 1].bottom));
        }
        report_.Write(kWarning, {warning.depth, warning.input});
    }
    if (status != kCompleted && !message.empty()) report_.Write(kErrorLine, {message});
}

}  // namespace

void WriteHeader(const RunLabels& labels, std::string& report) {
    Records out(report);
    // The version is the 12 characters the names file gives it, whoever
    // names it: a shorter text is filled with blanks on the right.
    std::string version = labels.version;
    version.resize(12, ' ');
    out.Write(kBanner, {version});
    const PathParts input = SplitPath(labels.inputPath);
    const PathParts output = SplitPath(labels.reportPath);
    const PathParts plot = SplitPath(labels.plotPath);
    out.Write(kFileBlock, {std::string(), TrimRight(input.folder), TrimRight(input.name), TrimRight(input.extension)});
    out.Write(kOutputName, {TrimRight(output.name), TrimRight(output.extension)});
    out.Write(kPlotName, {TrimRight(plot.name), TrimRight(plot.extension)});
    out.Line("");
    out.Write(kTimeHeading);
    const std::tm& t = labels.time;
    const char* const month = kMonths[(t.tm_mon % 12 + 12) % 12];
    out.Write(kTimeLine, {std::string(month) + " ", int32_t{t.tm_mday}, int32_t{t.tm_year + 1900}, int32_t{t.tm_hour},
                          int32_t{t.tm_min}, int32_t{t.tm_sec}});
}

void WriteErrorLine(const std::string& message, std::string& report) {
    Records(report).Write(kErrorLine, {message});
}

Written Write(const RunLabels& labels, const ReadResult& read, const Outcome& outcome) {
    Written out;
    WriteHeader(labels, out.report);
    Writer writer(read.problem, out);
    if (read.status != kCompleted) {
        // The curves made before the read stopped.
        Outcome made;
        Generated generated = Generated::Nothing;
        if (!GivenCurves(read.problem) && read.reached >= InputPart::PileData) {
            try {
                GenerateCurves(read.problem, made, generated);
            } catch (const RunStop&) {
            }
        }
        writer.Echo(read.reached, made, generated);
        writer.Stop(read.status, read.message, read.warnings);
        return out;
    }
    // Room for the whole texts at once: the increments and the curve points
    // make nearly all of them.
    const Problem& p = read.problem;
    std::size_t points = 0;
    for (const TzCurve& curve : outcome.curves) points += static_cast<std::size_t>(curve.points) + 1;
    const std::size_t increments = outcome.distributions.size() * static_cast<std::size_t>(p.increments + 1);
    const std::size_t rows = outcome.loadSettlement.size() + outcome.loadCases.size();
    out.report.reserve(out.report.size() + 16384 + 64 * points + (p.printOption == 0 ? 152 * increments : 0) +
                       70 * rows);
    out.plot.reserve(4096 + 64 * points + 38 * increments + 70 * rows);
    const Generated generated = outcome.tipCurve.points > 0 ? Generated::All
                                : outcome.curves.empty()    ? Generated::Nothing
                                                            : Generated::TzCurves;
    writer.Echo(InputPart::QwFactors, outcome, generated);
    if (outcome.status == kCompleted)
        writer.Results(outcome);
    else
        writer.Stop(outcome.status, outcome.message, outcome.warnings);
    return out;
}

}  // namespace korven
