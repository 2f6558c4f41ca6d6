// Writing a TXlsxWorkbook with libxlsxwriter. Its default (not
// constant-memory) mode is used, which holds each sheet until the file is
// closed. Afterwards the cells' numbers are written anew in their shortest
// form (libzip): libxlsxwriter writes 16 significant digits, so that 64.9
// would read "64.90000000000001" to anyone looking at the cell's text.

#include "XlsxWorkbook.h"

#include "FileReplace.h"

#include <xlsxwriter.h>
#include <zip.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <deque>
#include <string_view>

namespace {

// The number a cell text reads as, whole; none for any other text.
bool ReadsAsNumber(const std::string& text, double& value)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

// The sheet's XML with the value of every cell that holds a number written
// in the shortest form that reads back as the same double.
std::string ShortestCellNumbers(const std::string& xml)
{
    static constexpr std::string_view Open = "<v>", Close = "</v>";
    std::string out;
    out.reserve(xml.size());
    std::size_t done = 0;
    for (std::size_t at = xml.find(Open); at != std::string::npos; at = xml.find(Open, at)) {
        const std::size_t start = at + Open.size();
        const std::size_t end = xml.find(Close, start);
        if (end == std::string::npos)
            break;
        double value = 0;
        if (ReadsAsNumber(xml.substr(start, end - start), value)) {
            char text[32];
            const auto written = std::to_chars(text, text + sizeof text, value);
            out.append(xml, done, start - done).append(text, written.ptr);
            done = end;
        }
        at = end + Close.size();
    }
    return out.append(xml, done, std::string::npos);
}

// Rewrites the numbers of every worksheet of the workbook at `path`; an
// empty text, or why it could not.
std::string ShortenNumbers(const std::string& path)
{
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), 0, &error);
    if (archive == nullptr)
        return "the workbook could not be opened again";
    // The new parts are read from these buffers when the archive closes.
    std::deque<std::string> parts;
    const zip_int64_t entries = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < entries; ++i) {
        const std::string_view name = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
        zip_stat_t stat;
        if (name.rfind("xl/worksheets/sheet", 0) != 0 ||
            zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0)
            continue;
        std::string xml(static_cast<std::size_t>(stat.size), '\0');
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        const bool read = file != nullptr && zip_fread(file, xml.data(), stat.size) == static_cast<zip_int64_t>(stat.size);
        if (file != nullptr)
            zip_fclose(file);
        if (!read) {
            zip_discard(archive);
            return "a sheet of the workbook could not be read again";
        }
        std::string& part = parts.emplace_back(ShortestCellNumbers(xml));
        zip_source_t* source = zip_source_buffer(archive, part.data(), part.size(), 0);
        if (source == nullptr || zip_file_replace(archive, static_cast<zip_uint64_t>(i), source, 0) != 0) {
            zip_source_free(source);
            zip_discard(archive);
            return "a sheet of the workbook could not be written again";
        }
    }
    if (zip_close(archive) != 0) {
        const std::string reason = zip_strerror(archive);
        zip_discard(archive);
        return "the workbook could not be written again (" + reason + ")";
    }
    return {};
}

class TWriter {
public:
    explicit TWriter(lxw_workbook* book) : FBook(book) {}

    void Note(lxw_error error)
    {
        if (FError == LXW_NO_ERROR)
            FError = error;
    }
    lxw_error Error() const { return FError; }

    void Worksheet(const TXlsxWorksheet& sheet, bool active)
    {
        lxw_worksheet* out = workbook_add_worksheet(FBook, sheet.Name().c_str());
        if (out == nullptr)
            return Note(LXW_ERROR_SHEETNAME_ALREADY_USED);
        for (const auto& [at, cell] : sheet.Cells())
            Cell(out, static_cast<lxw_row_t>(at.first - 1), static_cast<lxw_col_t>(at.second - 1), cell);
        for (const auto& [column, width] : sheet.ColumnWidths()) {
            const auto col = static_cast<lxw_col_t>(column - 1);
            Note(worksheet_set_column(out, col, col, width, nullptr));
        }
        if (active)
            worksheet_activate(out);
    }

    void ChartSheet(const TXlsxChartSheet& sheet, bool active)
    {
        lxw_chartsheet* out = workbook_add_chartsheet(FBook, sheet.Name().c_str());
        if (out == nullptr)
            return Note(LXW_ERROR_SHEETNAME_ALREADY_USED);
        lxw_chart* chart = workbook_add_chart(FBook, LXW_CHART_SCATTER_STRAIGHT_WITH_MARKERS);
        if (chart == nullptr)
            return Note(LXW_ERROR_MEMORY_MALLOC_FAILED);
        for (const auto& series : sheet.AllSeries()) {
            lxw_chart_series* out = chart_add_series(chart, series->XValues.c_str(), series->Values.c_str());
            if (out == nullptr)
                return Note(LXW_ERROR_MEMORY_MALLOC_FAILED);
            if (!series->Name.empty())
                chart_series_set_name(out, series->Name.c_str());
        }
        if (!sheet.HasTitle)
            chart_title_off(chart);
        else if (!sheet.Title.empty())
            chart_title_set_name(chart, sheet.Title.c_str());
        Axis(chart->x_axis, sheet.XAxis);
        Axis(chart->y_axis, sheet.YAxis);
        Note(chartsheet_set_chart(out, chart));
        if (active)
            chartsheet_activate(out);
    }

private:
    lxw_format* Format(bool bold, bool centre)
    {
        lxw_format*& format = FFormats[(bold ? 1 : 0) + (centre ? 2 : 0)];
        if (format == nullptr && (bold || centre)) {
            format = workbook_add_format(FBook);
            if (bold)
                format_set_bold(format);
            if (centre)
                format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
        }
        return format;
    }

    void Cell(lxw_worksheet* out, lxw_row_t row, lxw_col_t column, const TXlsxCell& cell)
    {
        lxw_format* format = Format(cell.Bold, cell.Centre);
        if (!cell.Link.empty()) {
            // A link within the workbook is written "internal:Sheet!A1", in
            // the link style, with the text the cell shows.
            const std::string& shown = cell.LinkText.empty() ? cell.Text : cell.LinkText;
            Note(worksheet_write_url_opt(out, row, column, ("internal:" + cell.Link).c_str(),
                                         workbook_get_default_url_format(FBook),
                                         shown.empty() ? nullptr : shown.c_str(), nullptr));
            return;
        }
        double number = 0;
        if (ReadsAsNumber(cell.Text, number))
            Note(worksheet_write_number(out, row, column, number, format));
        else if (!cell.Text.empty())
            Note(worksheet_write_string(out, row, column, cell.Text.c_str(), format));
        else if (format != nullptr)
            Note(worksheet_write_blank(out, row, column, format));
    }

    static void Axis(lxw_chart_axis* out, const TXlsxAxis& axis)
    {
        if (!axis.Title.empty())
            chart_axis_set_name(out, axis.Title.c_str());
        chart_axis_major_gridlines_set_visible(out, axis.Gridlines ? LXW_TRUE : LXW_FALSE);
        if (axis.Reversed)
            chart_axis_set_reverse(out);
        if (axis.Maximum)
            chart_axis_set_max(out, *axis.Maximum);
    }

    lxw_workbook* FBook;
    lxw_error FError = LXW_NO_ERROR;
    lxw_format* FFormats[4] = {};
};

}  // namespace

std::string TXlsxWorkbook::Write(const std::string& path) const
{
    lxw_workbook_options options{};
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    if (book == nullptr)
        return "the workbook could not be set up";
    TWriter writer(book);
    for (const auto& sheet : FSheets) {
        const bool active = sheet.get() == FActive;
        if (const auto* worksheet = dynamic_cast<const TXlsxWorksheet*>(sheet.get()))
            writer.Worksheet(*worksheet, active);
        else
            writer.ChartSheet(dynamic_cast<const TXlsxChartSheet&>(*sheet), active);
    }
    // Closing writes the file, and frees the workbook whatever happened before.
    errno = 0;
    writer.Note(workbook_close(book));
    const int systemError = errno;
    if (writer.Error() == LXW_NO_ERROR)
        return ShortenNumbers(path);
    std::string reason = lxw_strerror(writer.Error());
    if (systemError != 0)
        reason += std::string(" (") + std::strerror(systemError) + ")";
    return reason;
}

void TXlsxWorkbook::SaveAs(const std::string& fileName) const
{
    ReplaceFile(fileName, [this](int, const std::string& path) { return Write(path); });
}
