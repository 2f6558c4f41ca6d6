#pragma once

// The formulas of the CPT-based design methods for driven piles, one
// function each, in kPa, metres and degrees. Sources, in the technical notes:
//   sand shaft and base: Lehane et al. (2020), the unified CPT-based method;
//   sand load transfer: Lehane, Li & Bittar (2020);
//   clay shaft and base: Lehane et al. (2022), the unified method for clay;
//   clay load transfer: the API RP 2GEO / ISO 19901-4 t-z and Q-z shapes;
//   soil behaviour type: Robertson (2009), I_c and the normalised chart.

#include <array>
#include <utility>

namespace cpt {

// The pile as the methods see it. A closed-ended pile is a choice of its
// own: a wall thickness of zero is never read as a thin open pipe.
enum class TPileEnd { Closed, Open };
struct TPileGeometry {
    double Length = 0;    // embedded length L, m
    double Diameter = 0;  // outer diameter D, m
    TPileEnd End = TPileEnd::Closed;
    double WallThickness = 0;  // t, m (open piles)
    double PlugLengthRatio = -1;  // PLR; below 0: the estimate from D_i
};

// Plug length ratio estimate PLR = tanh[0.3 (D_i/d_CPT)^0.5].
double PlugLengthRatioEstimate(double innerDiameter, double coneDiameter);
// Effective area ratio A_re = 1 - PLR (D_i/D)^2; 1 for a closed end.
double EffectiveAreaRatio(const TPileGeometry& pile, double coneDiameter);
// D* of the clay method: D closed, (D^2 - D_i^2)^0.5 open.
double ClayEquivalentDiameter(const TPileGeometry& pile);

struct TSandShaftInputs {
    double InterfaceAngle = 29;  // delta_f, degrees
    double TensionRatio = 0.75;  // f_t/f_c
    double ConeDiameter = 0.0357;  // d_CPT, m
};
// Peak shaft friction tau_f (kPa) at height h above the tip.
double SandShaftFriction(double qc, double effectiveStress, double height, double diameter, double areaRatio,
                         const TSandShaftInputs& inputs, bool tension);
// Movement at peak shaft friction z_f (m): z_f/D = (q_c/p_a)^0.5 (s'_v0/p_a)^0.25 / A.
double SandPeakMovement(double qc, double effectiveStress, double diameter, double stiffnessA,
                        double atmosphericPressure);
// tau/tau_f = 2x - x^2 for x = z/z_f <= 1, then 1.
double SandShaftShape(double x);

// q_b0.1 / q_p: 0.12 + 0.38 A_re (sand), 0.2 + 0.6 A_re (clay).
double SandBaseFactor(double areaRatio);
double ClayBaseFactor(double areaRatio, double intercept, double slope);
// The sand base curve: z_b/D = 0.01 r / (1 - 0.9 r), r = q_b/q_b0.1 < 1/0.9.
double SandBaseMovement(double r);
// Its inverse r = 100 (z_b/D) / (1 + 90 z_b/D), held at 1 beyond z_b = 0.1 D.
double SandBaseRatio(double movementOverDiameter);

// Peak shaft friction in clay, tau_f = c F_st q_t [max(1, h/D*)]^-0.25, with
// the coefficient c (0.07 in the method's source).
double ClayShaftFriction(double qt, double height, double equivalentDiameter, double sensitivityFactor,
                         double coefficient);

// The API clay t-z shape, (z/D, t/t_max) with t_res/t_max as the last
// ratio, and the Q-z shape (z/D, Q/Q_p).
std::array<std::pair<double, double>, 7> ClayTzShape(double residualRatio);
const std::array<std::pair<double, double>, 6>& ClayQzShape();

// Robertson's normalised soil behaviour type index: I_c, Q_tn and F_r (%)
// from q_t, f_s, sigma_v0 and sigma'_v0 (kPa), the stress exponent n found
// by iteration; Q_tn and F_r are held at 1 and 0.1 at least. Zone 1
// (sensitive fine-grained) lies below Q_tn = 12 exp(-1.4 F_r).
struct TBehaviourIndex {
    double Ic = 0;
    double Qtn = 0;
    double Fr = 0;
    bool Sensitive = false;
};
TBehaviourIndex BehaviourIndex(double qt, double fs, double totalStress, double effectiveStress,
                               double atmosphericPressure);

}  // namespace cpt
