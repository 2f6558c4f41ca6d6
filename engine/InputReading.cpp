// Reading the input data file: its parts in order, each checked as it is
// read, so that the first fault decides the status.
#include "Engine.h"

namespace korven {
namespace {

class Reader {
public:
    Reader(std::string_view text, ReadResult& result) : input_(text), result_(result), p_(result.problem) {}

    void ReadAll();

private:
    void List(std::initializer_list<fio::Target> targets) { Check(input_.ReadList(targets)); }
    void List(std::span<const fio::Target> targets) { Check(input_.ReadList(targets)); }
    void Check(fio::ReadStatus status);
    void Reached(InputPart part) { result_.reached = part; }

    void ReadOptions();
    void ReadGivenCurves();
    void ReadLayers();
    void ReadStiffness();
    void ReadTipCurve();
    void ReadTipMovements();
    void ReadHeadLoads();
    void ReadSettlement();
    void ReadTzFactors();
    void ReadQwFactors();
    // Reads `count` pairs into `first` and `second` alternately, as one list.
    void ReadPairs(int32_t count, float* first, float* second);

    fio::LineReader input_;
    ReadResult& result_;
    Problem& p_;
};

void Reader::Check(fio::ReadStatus status) {
    if (status == fio::ReadStatus::EndOfFile)
        Fail(kInputMalformed,
             "THE INPUT DATA FILE ENDS TOO EARLY (AFTER LINE " + std::to_string(input_.LineNumber()) + ")");
    if (status == fio::ReadStatus::BadValue)
        Fail(kInputMalformed, "A NUMBER ON LINE " + std::to_string(input_.LineNumber()) +
                                  " OF THE INPUT DATA FILE IS MISSING OR MALFORMED");
}

void Reader::ReadAll() {
    ReadOptions();
    if (GivenCurves(p_)) {
        ReadGivenCurves();
        ReadStiffness();
        ReadTipCurve();
    } else {
        ReadLayers();
        ReadStiffness();
    }
    List({&p_.tolerance, &p_.pileLength, &p_.diameter, &p_.tipArea});
    Reached(InputPart::PileData);
    // The curves come before the rest of the input: a depth beyond the
    // layers' input stops the read here.
    Outcome prepared;
    ListCurves(p_, prepared);
    ReadTipMovements();
    ReadHeadLoads();
    ReadSettlement();
    ReadTzFactors();
    ReadQwFactors();
    ApplyFactors(p_, prepared);
    CheckSolvable(p_, prepared);
}

void Reader::ReadOptions() {
    if (input_.ReadText(72, p_.title) != fio::ReadStatus::Ok) Fail(kInputMalformed, "THE INPUT DATA FILE IS EMPTY");
    Reached(InputPart::Title);
    List({&p_.increments, &p_.printOption, &p_.units});
    CheckOptions(p_);
    List({&p_.curveSource});
    Reached(InputPart::Options);
}

void Reader::ReadGivenCurves() {
    List({&p_.curveCount});
    CheckCount(p_.curveCount, 1, kMaxCurves, "THE NUMBER OF T-Z CURVES");
    for (int32_t c = 0; c < p_.curveCount; ++c) {
        TzCurve& curve = p_.curves[c];
        List({&curve.number, &curve.depth, &curve.points});
        CheckCurve(curve);
        for (int32_t m = 0; m < curve.points; ++m) List({&curve.t[m], &curve.z[m]});
    }
    Reached(InputPart::CurvesOrLayers);
}

// The layers' lines are echoed one by one: a fault part-way leaves the
// count at the lines read whole.
void Reader::ReadLayers() {
    int32_t count = 0;
    List({&count});
    CheckCount(count, 1, kMaxGeneratedLayers, "THE NUMBER OF SOIL LAYERS");
    Reached(InputPart::LayerLines);
    for (int32_t i = 0; i < count; ++i) {
        SoilLayer& layer = p_.layers[i];
        List({&layer.number, &layer.soil, &layer.top, &layer.bottom});
        CheckSoil(layer);
        p_.layerCount = i + 1;
    }
    for (int32_t r = 0; r < 2 * count; ++r)
        List({&p_.unitWeight[r], &p_.strength[r], &p_.frictionAngle[r], &p_.e50[r], &p_.sideFriction[r],
              &p_.tipResistance[r]});
    Reached(InputPart::CurvesOrLayers);
}

void Reader::ReadPairs(int32_t count, float* first, float* second) {
    std::array<fio::Target, 2 * kMaxCurvePoints> targets;
    for (int32_t k = 0; k < count; ++k) {
        targets[2 * k] = first + k;
        targets[2 * k + 1] = second + k;
    }
    List(std::span<const fio::Target>(targets.data(), static_cast<std::size_t>(2 * count)));
}

void Reader::ReadStiffness() {
    auto& ae = p_.stiffness;
    List({&ae.count});
    CheckCount(ae.count, 1, kMaxStiffnessPoints, "THE NUMBER OF AE POINTS");
    ReadPairs(ae.count, ae.value.data(), ae.depth.data());
    Reached(InputPart::Stiffness);
    CheckStiffness(p_);
}

void Reader::ReadTipCurve() {
    List({&p_.tipCurve.points});
    CheckTipCurve(p_);
    ReadPairs(p_.tipCurve.points, p_.tipCurve.load.data(), p_.tipCurve.movement.data());
    Reached(InputPart::TipCurve);
}

void Reader::ReadTipMovements() {
    List({&p_.tipMovementCount});
    if (p_.tipMovementCount < 1) {
        p_.tipMovementCount = kDefaultTipMovementCount;
        for (int k = 0; k < kDefaultTipMovementCount; ++k)
            p_.tipMovements[k] = Si(p_) ? kDefaultTipMovements[k] * 0.0254f : kDefaultTipMovements[k];
    } else {
        CheckTipMovements(p_);
        std::array<fio::Target, kMaxTipMovements> targets;
        for (int32_t k = 0; k < p_.tipMovementCount; ++k) targets[k] = &p_.tipMovements[k];
        List(std::span<const fio::Target>(targets.data(), static_cast<std::size_t>(p_.tipMovementCount)));
    }
    Reached(InputPart::TipMovements);
}

void Reader::ReadHeadLoads() {
    List({&p_.headLoadCount});
    if (p_.headLoadCount <= 0) {
        p_.headLoadCount = 0;
    } else {
        CheckCount(p_.headLoadCount, 1, kMaxHeadLoads, "THE NUMBER OF PILE-HEAD LOADS");
        for (int32_t k = 0; k < p_.headLoadCount; ++k) List({&p_.headLoads[k]});
    }
    Reached(InputPart::HeadLoads);
}

void Reader::ReadSettlement() {
    auto& s = p_.settlement;
    List({&s.count});
    if (s.count <= 0) {
        s.count = 0;
    } else {
        CheckCount(s.count, 1, kMaxSettlementPoints, "THE NUMBER OF SOIL SETTLEMENT POINTS");
        for (int32_t k = 0; k < s.count; ++k) List({&s.depth[k], &s.value[k]});
    }
    Reached(InputPart::Settlement);
}

void Reader::ReadTzFactors() {
    int32_t on = 0;
    List({&on});
    if (on > 0) {
        List({&p_.tzFactorCount});
        CheckCount(p_.tzFactorCount, 1, kMaxFactorRows, "THE NUMBER OF T-Z FACTOR ROWS");
        for (int32_t k = 0; k < p_.tzFactorCount; ++k)
            List({&p_.tzFactorDepth[k], &p_.tMultiplier[k], &p_.zMultiplier[k]});
    }
    Reached(InputPart::TzFactors);
}

void Reader::ReadQwFactors() {
    int32_t on = 0;
    List({&on});
    if (on > 0) {
        List({&p_.qMultiplier, &p_.wMultiplier});
        p_.qwFactors = true;
    }
    Reached(InputPart::QwFactors);
    CheckQwFactors(p_);
}

}  // namespace

ReadResult Read(std::string_view inputText) {
    ReadResult result;
    try {
        Reader(inputText, result).ReadAll();
    } catch (const RunStop& stop) {
        result.status = stop.status;
        result.message = stop.message;
        if (stop.warning.status != 0) result.warnings.push_back(stop.warning);
    }
    return result;
}

}  // namespace korven
