#pragma once

// Pieces shared by the column files (TableColumns.cpp, ValueColumns.cpp,
// NestedTableColumn.cpp); not for use outside app/tables.

#include "ColStream.h"
#include "TableColumns.h"

#include <string>
#include <vector>

namespace column_detail {

inline const char* const WrongTypeMessage = "Data of wrong type";
inline const char* const OutOfBoundsMessage = "Index out of bounds";

// Numeric entry: the evaluator's messages pass unchanged; any other failure
// to get a number out of the text is reported with the text itself.
long double EvaluateEntry(const std::string& text);

bool IsWhole(long double value);

// Rounds to the nearest integer (halves to the even neighbour); false when
// the result lies outside the 32-bit range.
bool RoundTo32(long double value, int32_t& result);

std::vector<std::string> ReadStringList(TValueReader& reader);
void WriteStringList(TValueWriter& writer, const std::vector<std::string>& list);

}  // namespace column_detail

template <class C>
std::unique_ptr<C> TColumn::CloneCommon(Table& table) const
{
    auto clone = std::make_unique<C>(table);
    clone->CaptionLines = CaptionLines;
    clone->Visible = Visible;  // GroupWide is not copied: copies have RowGroup 1
    return clone;
}
