#pragma once

// A project as the Python package exchanges it with this module: a dict of
// plain values and lists, in the project's units.
//
//   title, designer, design_date, extras (the extras file's other sections
//   as JSON text), units (1 English, 2 SI), increments, output_option, tolerance,
//   pile_length, outer_diameter, tip_area, curves_generated,
//   layers:       [(soil_type, bottom, top_row, bottom_row)], each row the
//                 seven layer data values in the tables' column order
//   tz_curves:    [(depth, [(t, z), ...])]
//   qw_curve:     [(Q, w)]          ae:        [(depth, AE)]
//   use_tip_movements, tip_movements: [w]
//   use_head_loads, head_loads: [Q]
//   downdrag, settlement: [(depth, settlement)]
//   apply_tz_factors, tz_factors: [(depth, t-multiplier, z-multiplier)]
//   apply_qw_factors, q_multiplier, w_multiplier
//
// The values pass through the program's own tables (TProjectTables), which
// allow one set alive at a time: the module keeps one set, used only while
// the interpreter lock is held.

#include <pybind11/pybind11.h>

#include <memory>

class TProgramData;

// The values of a new project, as the program starts one.
pybind11::dict NewProjectValues();

// The project's values and lists.
pybind11::dict ProjectValues(const TProgramData& project);

// A project over the module's tables holding `values`; ValueError or
// TypeError naming the entry that is missing or of the wrong kind.
std::unique_ptr<TProgramData> ProjectFromValues(const pybind11::dict& values);

// A project read from a file by the program's reader (the older *.kvd
// format by its extension); null with the reader's message in `error`.
std::unique_ptr<TProgramData> ReadProject(const std::string& fileName, std::string& error);
