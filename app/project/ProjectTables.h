#pragma once

// The table components that hold every list of a project: soil layers with
// their layer data, user t-z curves, the Q-w curve, settlement profile, t-z
// factors, axial stiffness, tip movements and pile-head loads. The main
// window owns one TProjectTables for the program's life; the current project
// (TProgramData) fills, clears and reads them.
//
// Its constructor gives the tables their fixed Identifiers, by which the
// button columns find their templates in the tables' directory (Directory).

#include "GridTable.h"

#include <array>
#include <string>

// Soil methods of the "Soil Type" column, by 1-based code: odd codes are clay
// methods, even codes sand methods.
inline const std::array<std::string, 6> SoilTypeNames = {
    "Driven Pile in Clay (Coyle & Reese)",
    "Driven Pile in Sand (Mosher)",
    "Drilled Shaft in Clay (Reese & O'Neill)",
    "Drilled Shaft in Sand (Reese & O'Neill)",
    "Driven Pile in Clay (API)",
    "Driven Pile in Sand (API)",
};

inline bool IsSoilTypeCode(int32_t code) { return code >= 1 && code <= 6; }
inline bool IsClaySoil(int32_t code) { return IsSoilTypeCode(code) && code % 2 == 1; }

// Columns of a soil layer's data table (clay and sand share the layout).
// Row 0 holds the values at the top of the layer, row 1 at its bottom.
enum TLayerDataColumn {
    UnitWeightColumn = 0,
    ShearStrengthColumn = 1,  // clay only
    E50Column = 2,            // clay only
    FrictionAngleColumn = 3,  // sand only
    BlowCountColumn = 4,      // sand only
    SideFrictionColumn = 5,
    TipResistanceColumn = 6,
    DummyColumn = 7,  // never shown, never saved
};

// Columns of the soil layer table D2 and the t-z curve depths TblTZDepth2.
enum TLayerColumn { SoilTypeColumn = 0, LayerBottomColumn = 1, LayerDataColumn = 2 };
enum TCurveDepthColumn { CurveDepthColumn = 0, CurvePointsColumn = 1 };

class TProjectTables {
public:
    // Declares every table (no rows yet).
    TProjectTables();
    TProjectTables(const TProjectTables&) = delete;
    TProjectTables& operator=(const TProjectTables&) = delete;

    // The tables below, in their order; the button columns find their
    // templates here. Declared first, so it is made before the tables.
    TTableDirectory Directory;

    // Declared in this order, which is also their creation order.
    TGridTable D2;              // soil layers
    TGridTable tblDataClay2;    // template of a clay layer's data
    TGridTable tblDataSand2;    // template of a sand layer's data
    TGridTable TblTZDepth2;     // depths of user t-z curves
    TGridTable TblTZCurves2;    // template of one user t-z curve
    TGridTable TblQwcurve2;     // Q-w curve
    TGridTable TblSettlement2;  // soil settlement profile
    TGridTable TblTZFactors2;   // modification factors on t-z curves
    TGridTable TblAE2;          // axial stiffness against depth
    TGridTable TblTipMove;           // tip movements
    TGridTable TblTopload;           // pile-head loads

    // Calls fn(table) for every table above, in order.
    template <class Fn>
    void ForEach(Fn&& fn)
    {
        fn(D2);
        fn(tblDataClay2);
        fn(tblDataSand2);
        fn(TblTZDepth2);
        fn(TblTZCurves2);
        fn(TblQwcurve2);
        fn(TblSettlement2);
        fn(TblTZFactors2);
        fn(TblAE2);
        fn(TblTipMove);
        fn(TblTopload);
    }
};
