#pragma once

// Pieces shared by the column files (TableColumns.cpp, ValueColumns.cpp,
// NestedTableColumn.cpp); not for use outside app/tables.

#include "ColStream.h"
#include "TableColumns.h"

#include <optional>
#include <string>
#include <tuple>
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

// ---- Field lists (see TKindColumn) ----

// One value of a field, by its type. The column is there for the template
// list, which is written as the Identifiers its entries resolve to.
inline void WriteValue(TValueWriter& writer, const TColumn&, bool value) { writer.WriteBoolean(value); }
inline void WriteValue(TValueWriter& writer, const TColumn&, int32_t value) { writer.WriteInteger(value); }
inline void WriteValue(TValueWriter& writer, const TColumn&, long double value) { writer.WriteFloat(value); }
inline void WriteValue(TValueWriter& writer, const TColumn&, const std::string& value) { writer.WriteString(value); }
inline void WriteValue(TValueWriter& writer, const TColumn&, const std::vector<std::string>& list)
{
    WriteStringList(writer, list);
}
void WriteValue(TValueWriter& writer, const TColumn& column, const TGridTableList& templates);

inline void ReadValue(TValueReader& reader, bool& value) { value = reader.ReadBoolean(); }
inline void ReadValue(TValueReader& reader, int32_t& value) { value = reader.ReadInteger(); }
inline void ReadValue(TValueReader& reader, long double& value) { value = reader.ReadFloat(); }
inline void ReadValue(TValueReader& reader, std::string& value) { value = reader.ReadString(); }
inline void ReadValue(TValueReader& reader, std::vector<std::string>& list) { list = ReadStringList(reader); }
void ReadValue(TValueReader& reader, TGridTableList& templates);

template <class C, class M>
void CopyField(const C& from, C& to, M C::*member)
{
    to.*member = from.*member;
}
template <class C, class M>
void CopyField(const C& from, C& to, TUnstoredField<M> field)
{
    CopyField(from, to, field.Member);
}
template <class C>
void CopyField(const C&, C&, TFieldMarker)
{}

template <class C, class M>
void WriteField(TValueWriter& writer, const C& column, M C::*member)
{
    WriteValue(writer, column, column.*member);
}
template <class C, class M>
void WriteField(TValueWriter&, const C&, TUnstoredField<M>)
{}
template <class C>
void WriteField(TValueWriter& writer, const C&, TFieldMarker marker)
{
    writer.WriteString(marker.Text);
}

// Reads one field; returns the text found where a marker should be when it
// is another one (a legacy form).
template <class C, class M>
std::optional<std::string> ReadField(TValueReader& reader, C& column, M C::*member)
{
    ReadValue(reader, column.*member);
    return std::nullopt;
}
template <class C, class M>
std::optional<std::string> ReadField(TValueReader&, C&, TUnstoredField<M>)
{
    return std::nullopt;
}
template <class C>
std::optional<std::string> ReadField(TValueReader& reader, C&, TFieldMarker marker)
{
    std::string text = reader.ReadString();
    if (text == marker.Text)
        return std::nullopt;
    return text;
}

// Reads the kind's fields in order. At a marker that the stream does not
// hold (a legacy form) it stops and returns the text found there.
template <class C>
std::optional<std::string> ReadFields(TValueReader& reader, C& column)
{
    std::optional<std::string> legacy;
    std::apply([&](auto... field) { (void)((legacy = ReadField(reader, column, field)) || ...); }, C::Fields());
    return legacy;
}

}  // namespace column_detail

template <class C>
std::unique_ptr<C> TColumn::CloneCommon(Table& table) const
{
    auto clone = std::make_unique<C>(table);
    clone->CaptionLines = CaptionLines;
    clone->Visible = Visible;  // GroupWide is not copied: copies have RowGroup 1
    return clone;
}

template <class Self, class Base>
std::unique_ptr<TColumn> TKindColumn<Self, Base>::Clone(TGridTable& table) const
{
    auto clone = this->template CloneCommon<Self>(table);
    const Self& self = static_cast<const Self&>(*this);
    std::apply([&](auto... field) { (column_detail::CopyField(self, *clone, field), ...); }, Self::Fields());
    return clone;
}

template <class Self, class Base>
void TKindColumn<Self, Base>::WriteOwnData(TValueWriter& writer) const
{
    const Self& self = static_cast<const Self&>(*this);
    std::apply([&](auto... field) { (column_detail::WriteField(writer, self, field), ...); }, Self::Fields());
}

template <class Self, class Base>
void TKindColumn<Self, Base>::ReadOwnData(TValueReader& reader)
{
    column_detail::ReadFields(reader, static_cast<Self&>(*this));
}
