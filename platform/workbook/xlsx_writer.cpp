// The .xlsx writer, on libxlsxwriter.
#include <xlsxwriter.h>

#include <cerrno>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "platform/safe_file_write.h"
#include "platform/workbook/workbook_files.h"
#include "platform/workbook/xlsx_package.h"

namespace kvx::workbook {

namespace {

// Owns the libxlsxwriter workbook until it is closed.
struct XlsxBook {
  lxw_workbook* Book = nullptr;
  ~XlsxBook() {
    // A workbook not closed by the writer is closed here so that its
    // memory and temporary files go; its file is then removed.
    if (Book != nullptr) workbook_close(Book);
  }
};

// The libxlsxwriter setters of each side's border.
struct TBorderSetters {
  TBorderLine TBorders::*line;
  void (*setStyle)(lxw_format*, uint8_t);
  void (*setColor)(lxw_format*, lxw_color_t);
};
constexpr TBorderSetters kBorderSetters[] = {
    {&TBorders::Left, format_set_left, format_set_left_color},
    {&TBorders::Right, format_set_right, format_set_right_color},
    {&TBorders::Top, format_set_top, format_set_top_color},
    {&TBorders::Bottom, format_set_bottom, format_set_bottom_color},
};

// The page breaks before `lines` as libxlsxwriter takes them: the first 1023
// (all a file holds), ended by a 0.
template <typename Line>
std::vector<Line> BreakList(const std::set<int>& lines) {
  std::vector<Line> breaks;
  for (int line : lines) {
    if (breaks.size() < 1023) breaks.push_back(static_cast<Line>(line));
  }
  breaks.push_back(0);
  return breaks;
}

// The built-in format that a workbook's readers show in their own desktop's
// short date: 14 for the session's short date, 22 for it with hours and
// minutes; 0 for any other format, written as its code.
std::uint8_t DesktopDateFormatId(const std::string& code) {
  const std::string date = ShortDateCode(TFormatLocale::FromGlobals());
  if (code == date) return 14;
  return code == date + " hh:mm" ? 22 : 0;
}

lxw_format* MakeFormat(lxw_workbook* book, const TCellStyle& style) {
  lxw_format* format = workbook_add_format(book);
  if (const std::uint8_t builtin = DesktopDateFormatId(style.NumberFormat); builtin != 0) {
    format_set_num_format_index(format, builtin);
  } else if (!style.NumberFormat.empty()) {
    format_set_num_format(format, style.NumberFormat.c_str());
  }
  const TAlignment& a = style.Alignment;
  if (a.Horizontal >= 2 && a.Horizontal <= 7) format_set_align(format, static_cast<uint8_t>(a.Horizontal - 1));
  if (a.Vertical == 1) format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
  if (a.Vertical == 2) format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
  if (a.Wrap) format_set_text_wrap(format);
  if (a.Orientation == 1) format_set_rotation(format, 270);
  if (a.Orientation == 2) format_set_rotation(format, 90);
  if (a.Orientation == 3) format_set_rotation(format, -90);
  const TCellFont& f = style.Font;
  format_set_font_name(format, f.Face.c_str());
  format_set_font_size(format, f.Size);
  if (f.Bold) format_set_bold(format);
  if (f.Italic) format_set_italic(format);
  if (f.Underline) format_set_underline(format, LXW_UNDERLINE_SINGLE);
  if (f.Strikeout) format_set_font_strikeout(format);
  if (f.Outline) format_set_font_outline(format);
  if (f.Shadow) format_set_font_shadow(format);
  if (f.Color != 0) format_set_font_color(format, f.Color);
  // The border codes of the model are those of the file format.
  for (const TBorderSetters& side : kBorderSetters) {
    const TBorderLine& line = style.Borders.*side.line;
    if (line.Style == 0) continue;
    side.setStyle(format, static_cast<uint8_t>(line.Style));
    side.setColor(format, line.Color);
  }
  const TPattern& p = style.Pattern;
  if (p.Pattern == 1) {
    format_set_pattern(format, LXW_PATTERN_SOLID);
    format_set_bg_color(format, p.Foreground);  // a solid fill is given by its one colour
  } else if (p.Pattern > 1) {
    format_set_pattern(format, static_cast<uint8_t>(p.Pattern));
    format_set_fg_color(format, p.Foreground);
    format_set_bg_color(format, p.Background);
  }
  if (!style.Protection.Locked) format_set_unlocked(format);
  if (style.Protection.Hidden) format_set_hidden(format);
  return format;
}

constexpr double kUsualHeaderMargin = 0.3;  // inches, the margin the library writes of itself

// The document's properties as the library takes them: pointers into
// `properties`, which must outlive the call.
lxw_doc_properties DocumentProperties(const TWorkbookFileProperties& properties) {
  auto text = [](const std::string& value) { return value.empty() ? nullptr : const_cast<char*>(value.c_str()); };
  lxw_doc_properties out{};
  out.title = text(properties.Title);
  out.subject = text(properties.Subject);
  out.author = text(properties.Author);
  out.manager = text(properties.Manager);
  out.company = text(properties.Company);
  out.category = text(properties.Category);
  out.keywords = text(properties.Keywords);
  out.comments = text(properties.Comments);
  out.status = text(properties.Status);
  out.created = static_cast<time_t>(properties.Created);
  return out;
}

bool Check(lxw_error result, const char* what, TWriteError& error) {
  if (result == LXW_NO_ERROR) return true;
  return error.Fail(TWriteFailure::Other, std::string(what) + ": " + lxw_strerror(result));
}

// The workbook's custom document properties, each of its own kind.
bool SetCustomProperties(lxw_workbook* book, const std::vector<TCustomProperty>& properties, TWriteError& error) {
  using TKind = TCustomProperty::TKind;
  for (const TCustomProperty& property : properties) {
    const char* name = property.Name.c_str();
    lxw_error result = LXW_NO_ERROR;
    if (property.Kind == TKind::Text) {
      result = workbook_set_custom_property_string(book, name, property.Text.c_str());
    } else if (property.Kind == TKind::Number) {
      result = workbook_set_custom_property_number(book, name, property.Number);
    } else if (property.Kind == TKind::Integer) {
      result = workbook_set_custom_property_integer(book, name, static_cast<int32_t>(property.Number));
    } else if (property.Kind == TKind::Boolean) {
      result = workbook_set_custom_property_boolean(book, name, property.Number != 0.0 ? 1 : 0);
    } else {
      const auto seconds = static_cast<time_t>(property.Number);
      std::tm utc{};
      gmtime_r(&seconds, &utc);
      lxw_datetime time{utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
                        utc.tm_hour,        utc.tm_min,     static_cast<double>(utc.tm_sec)};
      result = workbook_set_custom_property_datetime(book, name, &time);
    }
    if (!Check(result, "custom property", error)) return false;
  }
  return true;
}

// The options of a protected sheet as the library takes them: each of its
// flags lets the user do what it names, but the two that forbid selecting.
lxw_protection ProtectionOptions(const TSheetProtection& allowed) {
  lxw_protection options{};
  options.no_select_locked_cells = !allowed.SelectLockedCells;
  options.no_select_unlocked_cells = !allowed.SelectUnlockedCells;
  options.format_cells = allowed.FormatCells;
  options.format_columns = allowed.FormatColumns;
  options.format_rows = allowed.FormatRows;
  options.insert_columns = allowed.InsertColumns;
  options.insert_rows = allowed.InsertRows;
  options.insert_hyperlinks = allowed.InsertHyperlinks;
  options.delete_columns = allowed.DeleteColumns;
  options.delete_rows = allowed.DeleteRows;
  options.sort = allowed.Sort;
  options.autofilter = allowed.AutoFilter;
  options.pivot_tables = allowed.PivotTables;
  options.objects = allowed.EditObjects;
  options.scenarios = allowed.EditScenarios;
  return options;
}

// The library's criterion of a condition's operator (as the file names
// it; none is "equal").
std::uint8_t FilterCriterion(const std::string& name) {
  static constexpr std::pair<const char*, std::uint8_t> kCriteria[] = {
      {"notEqual", LXW_FILTER_CRITERIA_NOT_EQUAL_TO},
      {"greaterThan", LXW_FILTER_CRITERIA_GREATER_THAN},
      {"lessThan", LXW_FILTER_CRITERIA_LESS_THAN},
      {"greaterThanOrEqual", LXW_FILTER_CRITERIA_GREATER_THAN_OR_EQUAL_TO},
      {"lessThanOrEqual", LXW_FILTER_CRITERIA_LESS_THAN_OR_EQUAL_TO}};
  for (const auto& [text, criterion] : kCriteria) {
    if (name == text) return criterion;
  }
  return LXW_FILTER_CRITERIA_EQUAL_TO;
}

// The criteria of the sheet's filter, column by column: a list of values
// or one or two conditions, each value written as the file had it.
bool WriteFilterColumns(lxw_worksheet* ws, const TSheetData& sheet, TWriteError& error) {
  static char blanks[] = "Blanks";  // the library's word for the empty cells in a list
  for (const TFilterColumn& column : sheet.FilterColumns) {
    const auto col = static_cast<lxw_col_t>(sheet.AutoFilter->Col1 - 1 + column.Column);
    lxw_error result = LXW_NO_ERROR;
    if (column.Conditions.empty()) {
      std::vector<char*> list;
      for (const std::string& value : column.Values) list.push_back(const_cast<char*>(value.c_str()));
      if (column.Blanks) list.push_back(blanks);
      list.push_back(nullptr);
      result = worksheet_filter_list(ws, col, list.data());
    } else {
      std::vector<lxw_filter_rule> rules;
      for (const TFilterCondition& condition : column.Conditions) {
        rules.push_back({FilterCriterion(condition.Operator), const_cast<char*>(condition.Value.c_str()), 0.0});
      }
      // The library writes "equal ... or ..." as a list of the first
      // value, the second condition lost: "or" is the same either way
      // round, so an "equal" goes second.
      if (rules.size() == 2 && !column.And && rules[0].criteria == LXW_FILTER_CRITERIA_EQUAL_TO &&
          rules[1].criteria != LXW_FILTER_CRITERIA_EQUAL_TO) {
        std::swap(rules[0], rules[1]);
      }
      result = rules.size() == 1 ? worksheet_filter_column(ws, col, &rules[0])
                                 : worksheet_filter_column2(ws, col, &rules[0], &rules[1],
                                                            column.And ? LXW_FILTER_AND : LXW_FILTER_OR);
    }
    if (!Check(result, "filter", error)) return false;
  }
  return true;
}

// Column widths and hidden columns: every column with a width of its own,
// then the default width over the rest when it is not the usual one.
void WriteColumns(lxw_worksheet* ws, const TSheetData& sheet) {
  std::set<int> columns;
  for (const auto& [col, width] : sheet.ColWidths) columns.insert(col);
  for (int col : sheet.HiddenCols) columns.insert(col);
  const bool customDefault = std::fabs(sheet.DefaultColWidth - 8.43) > 1e-9;
  int next = 1;
  auto writeDefault = [&](int first, int last) {
    if (!customDefault || first > last) return;
    worksheet_set_column(ws, static_cast<lxw_col_t>(first - 1), static_cast<lxw_col_t>(last - 1), sheet.DefaultColWidth,
                         nullptr);
  };
  for (int col : columns) {
    writeDefault(next, col - 1);
    lxw_row_col_options colOptions{};
    colOptions.hidden = sheet.HiddenCols.count(col) ? 1 : 0;
    worksheet_set_column_opt(ws, static_cast<lxw_col_t>(col - 1), static_cast<lxw_col_t>(col - 1), sheet.ColWidth(col),
                             nullptr, &colOptions);
    next = col + 1;
  }
  writeDefault(next, kMaxCols);
  // The rows' own heights and hidden flags go with their cells.
  if (std::fabs(sheet.DefaultRowHeight - 15.0) > 1e-9) worksheet_set_default_row(ws, sheet.DefaultRowHeight, 0);
}

// The view of sheet `s`: frozen panes, selection, zoom, grid lines, the
// active and selected sheets.
void WriteView(lxw_worksheet* ws, const TWorkbook& book, int s) {
  const TSheetData& sheet = book.SheetData(s);
  if (sheet.FixedRows > 0 || sheet.FixedCols > 0) {
    worksheet_freeze_panes(ws, static_cast<lxw_row_t>(sheet.FixedRows), static_cast<lxw_col_t>(sheet.FixedCols));
  }
  const TRange& sel = sheet.Selection.front();
  worksheet_set_selection(ws, static_cast<lxw_row_t>(sel.Row1 - 1), static_cast<lxw_col_t>(sel.Col1 - 1),
                          static_cast<lxw_row_t>(sel.Row2 - 1), static_cast<lxw_col_t>(sel.Col2 - 1));
  worksheet_set_zoom(ws, static_cast<uint16_t>(book.ViewScale()));
  // Hiding clears both kinds of grid lines; the print ones are switched
  // on again on their own.
  worksheet_gridlines(ws, book.ShowGridLines() ? LXW_SHOW_SCREEN_GRIDLINES : LXW_HIDE_ALL_GRIDLINES);
  if (sheet.Page.GridLines) worksheet_gridlines(ws, LXW_SHOW_PRINT_GRIDLINES);
  if (s == book.Sheet()) worksheet_activate(ws);
  if (sheet.Selected) worksheet_select(ws);
}

// The page set-up of sheet `s`: paper, margins, header and footer, print
// options, scale, page breaks (at most 1023 of each kind fit into the
// file), print area and print titles.
bool WritePageSetup(lxw_worksheet* ws, const TWorkbook& book, int s, TWriteError& error) {
  const TSheetData& sheet = book.SheetData(s);
  const TPageSetup& page = sheet.Page;
  if (page.Landscape) worksheet_set_landscape(ws);
  worksheet_set_paper(ws, static_cast<uint8_t>(page.PaperSize));
  worksheet_set_margins(ws, page.LeftMargin, page.RightMargin, page.TopMargin, page.BottomMargin);
  // The margins of header and footer go with their texts.
  lxw_header_footer_options headerOptions{};
  headerOptions.margin = page.HeaderMargin;
  lxw_header_footer_options footerOptions{};
  footerOptions.margin = page.FooterMargin;
  if (!page.Header.empty() || page.HeaderMargin != kUsualHeaderMargin) {
    worksheet_set_header_opt(ws, page.Header.c_str(), &headerOptions);
  }
  if (!page.Footer.empty() || page.FooterMargin != kUsualHeaderMargin) {
    worksheet_set_footer_opt(ws, page.Footer.c_str(), &footerOptions);
  }
  if (page.LeftToRight) worksheet_print_across(ws);
  if (page.HCenter) worksheet_center_horizontally(ws);
  if (page.VCenter) worksheet_center_vertically(ws);
  if (page.RowHeading || page.ColHeading) worksheet_print_row_col_headers(ws);
  if (page.FitToPages) {
    worksheet_fit_to_pages(ws, static_cast<uint16_t>(page.PagesWide), static_cast<uint16_t>(page.PagesTall));
  } else if (page.ScalePercent != 100) {
    worksheet_set_print_scale(ws, static_cast<uint16_t>(std::clamp(page.ScalePercent, 10, 400)));
  }
  if (!sheet.RowBreaks.empty()) {
    std::vector<lxw_row_t> breaks = BreakList<lxw_row_t>(sheet.RowBreaks);
    if (!Check(worksheet_set_h_pagebreaks(ws, breaks.data()), "page breaks", error)) return false;
  }
  if (!sheet.ColBreaks.empty()) {
    std::vector<lxw_col_t> breaks = BreakList<lxw_col_t>(sheet.ColBreaks);
    if (!Check(worksheet_set_v_pagebreaks(ws, breaks.data()), "page breaks", error)) return false;
  }
  if (const auto area = book.PrintArea(s)) {
    worksheet_print_area(ws, static_cast<lxw_row_t>(area->Row1 - 1), static_cast<lxw_col_t>(area->Col1 - 1),
                         static_cast<lxw_row_t>(area->Row2 - 1), static_cast<lxw_col_t>(area->Col2 - 1));
  }
  if (const auto& rows = sheet.TitleRows) {
    worksheet_repeat_rows(ws, static_cast<lxw_row_t>(rows->First - 1), static_cast<lxw_row_t>(rows->Last - 1));
  }
  if (const auto& cols = sheet.TitleCols) {
    worksheet_repeat_columns(ws, static_cast<lxw_col_t>(cols->First - 1), static_cast<lxw_col_t>(cols->Last - 1));
  }
  return true;
}

// One sheet of the library's package with all but its cells: the formats
// of its cells made known to the library (`xfOfStyle` gets their indexes,
// `anyText` whether a cell holds a text or a formula), its columns, view,
// tab colour, filter with its criteria, page set-up and protection.
bool WriteSheet(lxw_worksheet* ws, const TWorkbook& book, int s,
                const std::function<lxw_format*(std::uint32_t)>& formatOf, std::vector<int>& xfOfStyle, bool& anyText,
                TWriteError& error) {
  const TSheetData& sheet = book.SheetData(s);
  // The cells go into the package afterwards (xlsx_package.h).
  for (const auto& cells : sheet.Rows) {
    for (const TCell& cell : cells) {
      if (cell.Kind == TCellKind::Empty && cell.Style == 0) continue;
      anyText = anyText || cell.Kind == TCellKind::Text || cell.Kind == TCellKind::Formula;
      int& xf = xfOfStyle[cell.Style];
      if (xf < 0) xf = lxw_format_get_xf_index(formatOf(cell.Style));
    }
  }
  WriteColumns(ws, sheet);
  WriteView(ws, book, s);
  if (sheet.TabColor) worksheet_set_tab_color(ws, *sheet.TabColor);
  if (const auto& filter = sheet.AutoFilter) {
    worksheet_autofilter(ws, static_cast<lxw_row_t>(filter->Row1 - 1), static_cast<lxw_col_t>(filter->Col1 - 1),
                         static_cast<lxw_row_t>(filter->Row2 - 1), static_cast<lxw_col_t>(filter->Col2 - 1));
    if (!WriteFilterColumns(ws, sheet, error)) return false;
  }
  if (!WritePageSetup(ws, book, s, error)) return false;
  if (const auto& protection = sheet.Protection) {
    lxw_protection options = ProtectionOptions(*protection);
    worksheet_protect(ws, nullptr, &options);
  }
  return true;
}

// The library's package of the workbook, without its cells, into
// `temporary`: properties, every sheet (WriteSheet) and the names.
// `xfOfStyle` gets the library's cell format index of each style a cell
// uses (-1 for the others).
bool WriteLibraryPackage(const TWorkbook& book, const std::string& temporary, std::vector<int>& xfOfStyle,
                         const std::string& path, TWriteError& error) {
  lxw_workbook_options options{};
  options.constant_memory = LXW_FALSE;
  options.use_zip64 = LXW_TRUE;
  XlsxBook out;
  out.Book = workbook_new_opt(temporary.c_str(), &options);
  if (out.Book == nullptr) return error.Fail(TWriteFailure::Other, "cannot create " + temporary);
  lxw_doc_properties properties = DocumentProperties(book.FileProperties());
  if (!Check(workbook_set_properties(out.Book, &properties), "properties", error)) return false;
  if (!SetCustomProperties(out.Book, book.FileProperties().Custom, error)) return false;
  std::map<std::uint32_t, lxw_format*> formats;
  const auto formatOf = [&](std::uint32_t style) {
    auto it = formats.find(style);
    if (it == formats.end()) it = formats.emplace(style, MakeFormat(out.Book, book.Style(style))).first;
    return it->second;
  };
  xfOfStyle.assign(book.StyleCount(), -1);
  bool anyText = false;
  lxw_worksheet* firstSheet = nullptr;
  for (int s = 1; s <= book.NumSheets(); ++s) {
    lxw_worksheet* ws = workbook_add_worksheet(out.Book, book.SheetData(s).Name.c_str());
    if (ws == nullptr) return error.Fail(TWriteFailure::Other, "cannot add sheet " + book.SheetData(s).Name);
    if (s == 1) firstSheet = ws;
    if (!WriteSheet(ws, book, s, formatOf, xfOfStyle, anyText, error)) return false;
  }
  for (const TDefinedName& name : book.Names()) {
    if (name.Local) continue;
    std::string reference(1, '=');
    reference += book.NameReference(name);
    if (!Check(workbook_define_name(out.Book, name.Name.c_str(), reference.c_str()), "name", error)) return false;
  }
  // A text in any cell: the library is given one, so that the package has
  // its shared-string part, which then gets every text of the cells.
  if (anyText && !Check(worksheet_write_string(firstSheet, 0, 0, "-", nullptr), "cell", error)) return false;
  errno = 0;
  const lxw_error closed = workbook_close(out.Book);
  out.Book = nullptr;
  if (closed == LXW_NO_ERROR) return true;
  // The library keeps the system's reason in errno alone.
  return error.Fail(WriteFailureAfter(errno, path), std::string("cannot write ") + path + ": " + lxw_strerror(closed));
}

}  // namespace

bool WriteXlsx(const TWorkbook& book, const std::string& path, TWriteError& error,
               const std::function<bool(const std::string& written)>& accept) {
  namespace fs = std::filesystem;
  book.EnsureCalculated();
  // The library writes into a file made here, exclusively and private.
  const std::string temporary = CreateTemporaryBeside(path, error);
  if (temporary.empty()) return false;
  std::error_code ignored;
  std::vector<int> xfOfStyle;
  if (!WriteLibraryPackage(book, temporary, xfOfStyle, path, error)) {
    fs::remove(temporary, ignored);
    return false;
  }
  // The cells are put into a copy of the package, which is compressed once.
  const std::string complete = CreateTemporaryBeside(path, error);
  std::string packageError;
  errno = 0;
  if (complete.empty() || !WriteXlsxPackage(book, xfOfStyle, temporary, complete, packageError)) {
    if (!complete.empty()) {
      error.Fail(WriteFailureAfter(errno, path), packageError);
      fs::remove(complete, ignored);
    }
    fs::remove(temporary, ignored);
    return false;
  }
  fs::remove(temporary, ignored);
  if (accept && !accept(complete)) {
    fs::remove(complete, ignored);
    return false;
  }
  return ReplaceWithTemporary(complete, path, error, THardLinks::Keep);
}

bool WriteXlsx(const TWorkbook& book, const std::string& path, std::string& error,
               const std::function<bool(const std::string& written)>& accept) {
  return WithErrorText(error, [&](TWriteError& failure) { return WriteXlsx(book, path, failure, accept); });
}

}  // namespace kvx::workbook
