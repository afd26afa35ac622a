// The .xlsx reader, on liborcus (whose spreadsheet model keeps the cells in
// an ixion model) and the legacy .xls reader, on freexl.
#include <freexl.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <ixion/address.hpp>
#include <ixion/cell.hpp>
#include <ixion/formula.hpp>
#include <ixion/formula_name_resolver.hpp>
#include <ixion/formula_result.hpp>
#include <ixion/model_context.hpp>
#include <ixion/model_iterator.hpp>
#include <ixion/named_expressions_iterator.hpp>
#include <map>
#include <optional>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/document.hpp>
#include <orcus/spreadsheet/factory.hpp>
#include <orcus/spreadsheet/sheet.hpp>
#include <orcus/spreadsheet/styles.hpp>
#include <orcus/spreadsheet/view.hpp>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/globals.h"
#include "platform/text_encoding.h"
#include "platform/workbook/read_back.h"
#include "platform/workbook/read_failure.h"
#include "platform/workbook/workbook_files.h"
#include "platform/workbook/xls_records.h"
#include "platform/workbook/xlsx_checks.h"
#include "platform/workbook/xlsx_numbers.h"
#include "platform/workbook/xlsx_package.h"
#include "platform/workbook/xlsx_settings.h"
#include "platform/workbook/xlsx_text.h"

namespace kvx::workbook {

namespace {

namespace ss = orcus::spreadsheet;

std::uint32_t Rgb(const ss::color_t& color) {
  return (static_cast<std::uint32_t>(color.red) << 16) | (static_cast<std::uint32_t>(color.green) << 8) | color.blue;
}

int BorderStyle(ss::border_style_t style) {
  switch (style) {
    case ss::border_style_t::thin:
      return 1;
    case ss::border_style_t::medium:
      return 2;
    case ss::border_style_t::dashed:
    case ss::border_style_t::medium_dashed:
    case ss::border_style_t::dash_dot:
    case ss::border_style_t::dash_dot_dot:
    case ss::border_style_t::medium_dash_dot:
    case ss::border_style_t::medium_dash_dot_dot:
    case ss::border_style_t::slant_dash_dot:
    case ss::border_style_t::fine_dashed:
      return 3;
    case ss::border_style_t::dotted:
      return 4;
    case ss::border_style_t::thick:
      return 5;
    case ss::border_style_t::double_border:
    case ss::border_style_t::double_thin:
      return 6;
    case ss::border_style_t::hair:
      return 7;
    case ss::border_style_t::solid:
      return 1;
    default:
      return 0;
  }
}

TBorderLine BorderLine(const ss::border_attrs_t& attrs) {
  TBorderLine line;
  line.Style = BorderStyle(attrs.style);
  if (line.Style != 0) line.Color = Rgb(attrs.border_color);
  return line;
}

// The number format codes of a file by their identifier.
std::map<std::size_t, std::string> NumberFormatsById(const ss::styles& styles) {
  std::map<std::size_t, std::string> codes;
  for (std::size_t i = 0; i < styles.get_number_format_count(); ++i) {
    if (const ss::number_format_t* number = styles.get_number_format(i)) {
      codes[number->identifier] = std::string(number->format_string);
    }
  }
  return codes;
}

TCellStyle StyleFromFormat(const ss::styles& styles, const std::map<std::size_t, std::string>& codes,
                           const TXlsxSettings& settings, std::size_t xf) {
  TCellStyle style;
  if (xf < settings.CellFormats.size()) {
    style.Alignment.Wrap = settings.CellFormats[xf].Wrap;
    style.Alignment.Orientation = settings.CellFormats[xf].Orientation;
  }
  const ss::cell_format_t* format = styles.get_cell_format(xf);
  if (format == nullptr) return style;
  if (const ss::font_t* font = styles.get_font(format->font)) {
    if (!font->name.empty()) style.Font.Face = std::string(font->name);
    if (font->size > 0) style.Font.Size = font->size;
    style.Font.Bold = font->bold;
    style.Font.Italic = font->italic;
    style.Font.Underline = font->underline_style != ss::underline_t::none;
    style.Font.Strikeout = font->strikethrough_style != ss::strikethrough_style_t::none;
    style.Font.Color = Rgb(font->color);
  }
  if (const ss::fill_t* fill = styles.get_fill(format->fill)) {
    const int pattern = static_cast<int>(fill->pattern_type);
    if (pattern >= 1 && pattern <= 18) {
      style.Pattern.Pattern = pattern;
      style.Pattern.Foreground = Rgb(fill->fg_color);
      style.Pattern.Background = pattern == 1 ? 0xFFFFFF : Rgb(fill->bg_color);
    }
  }
  if (const ss::border_t* border = styles.get_border(format->border)) {
    style.Borders.Left = BorderLine(border->left);
    style.Borders.Right = BorderLine(border->right);
    style.Borders.Top = BorderLine(border->top);
    style.Borders.Bottom = BorderLine(border->bottom);
  }
  if (const ss::protection_t* protection = styles.get_protection(format->protection)) {
    style.Protection.Locked = protection->locked;
    style.Protection.Hidden = protection->formula_hidden || protection->hidden;
  }
  // The cell format names its number format by identifier.
  const auto code = codes.find(format->number_format);
  style.NumberFormat = code != codes.end() ? code->second : BuiltinNumberFormat(format->number_format);
  if (style.NumberFormat == "General") style.NumberFormat.clear();
  switch (format->hor_align) {
    case ss::hor_alignment_t::left:
      style.Alignment.Horizontal = 2;
      break;
    case ss::hor_alignment_t::center:
      style.Alignment.Horizontal = 3;
      break;
    case ss::hor_alignment_t::right:
      style.Alignment.Horizontal = 4;
      break;
    case ss::hor_alignment_t::filled:
      style.Alignment.Horizontal = 5;
      break;
    case ss::hor_alignment_t::justified:
      style.Alignment.Horizontal = 6;
      break;
    case ss::hor_alignment_t::distributed:
      style.Alignment.Horizontal = 6;
      break;
    default:
      break;
  }
  // The code the file names wins: orcus knows no "centerContinuous".
  if (xf < settings.CellFormats.size() && settings.CellFormats[xf].Horizontal != 0) {
    style.Alignment.Horizontal = settings.CellFormats[xf].Horizontal;
  }
  switch (format->ver_align) {
    case ss::ver_alignment_t::top:
      style.Alignment.Vertical = 1;
      break;
    case ss::ver_alignment_t::middle:
      style.Alignment.Vertical = 2;
      break;
    default:
      break;
  }
  return style;
}

// Column widths arrive from orcus in its own twips, about 107.69 per unit
// of the file's width. The file's width includes the cell padding of
// 5 pixels at 7 pixels per character, which the model's width in
// characters does not.
double ColumnCharacters(double orcusWidth) {
  const double fileWidth = orcusWidth / 107.69;
  return std::max(0.0, (fileWidth * 7.0 - 5.0) / 7.0);
}

// The cells that hold only a format of their own (the empty cells of a
// text centred across them, a frame around empty cells), which the library
// leaves out, put into a sheet where it holds nothing.
void PutFormattedEmptyCell(TSheetData& data, const TXlsxFormattedCell& one,
                           const std::function<std::uint32_t(std::size_t xf)>& styleOf) {
  if (one.Row < 1 || one.Col < 1 || one.Row > kMaxRows || one.Col > kMaxCols) return;
  if (static_cast<int>(data.Rows.size()) < one.Row) data.Rows.resize(one.Row);
  auto& cells = data.Rows[one.Row - 1];
  if (static_cast<int>(cells.size()) < one.Col) cells.resize(one.Col);
  TCell& cell = cells[one.Col - 1];
  if (cell.Kind == TCellKind::Empty && cell.Style == 0) cell.Style = styleOf(static_cast<std::size_t>(one.Xf));
}

// A cell whose formula fell back to a text, or an inline string, put into
// its sheet. A cell without a format of its own has the file's first one
// (`firstFormat`).
void PutTextCell(TSheetData& data, const TXlsxTextCell& text, std::uint32_t firstFormat,
                 const std::function<std::uint32_t(std::size_t xf)>& styleOf) {
  if (static_cast<int>(data.Rows.size()) < text.Row) data.Rows.resize(text.Row);
  auto& cells = data.Rows[text.Row - 1];
  if (static_cast<int>(cells.size()) < text.Col) cells.resize(text.Col);
  TCell& cell = cells[text.Col - 1];
  // The cell's own format, which the library drops for a cell it holds no
  // value of.
  if (text.Xf > 0) cell.Style = styleOf(static_cast<std::size_t>(text.Xf));
  if (cell.Style == 0) cell.Style = firstFormat;
  cell.Kind = TCellKind::Text;
  cell.Text = DecodeXlsxEscapes(text.Text);
  cell.Formula.clear();
  cell.Number = 0.0;
}

// The dates of a file that counts them from 1904, counted from 1900 as the
// workbook does: every number cell shown as a date (a time of day alone is
// no day and stays).
// `dateStyle` remembers which styles show dates (-1: not yet known).
void ShiftDatesFrom1904(const TWorkbook& book, std::vector<TCell>& cells, std::vector<signed char>& dateStyle) {
  for (TCell& cell : cells) {
    if (cell.Kind != TCellKind::Number) continue;
    if (cell.Style >= dateStyle.size()) dateStyle.resize(book.StyleCount(), -1);
    signed char& date = dateStyle[cell.Style];
    if (date < 0) {
      const TFormatClass kind = ClassifyFormat(book.Style(cell.Style).NumberFormat);
      date = kind == TFormatClass::Date || kind == TFormatClass::DateTime ? 1 : 0;
    }
    if (date == 1) cell.Number += kDays1900To1904;
  }
}

void ShiftDatesFrom1904(TWorkbook& book) {
  std::vector<signed char> dateStyle;
  for (int s = 1; s <= book.NumSheets(); ++s) {
    for (auto& cells : book.MutableSheetData(s).Rows) ShiftDatesFrom1904(book, cells, dateStyle);
  }
}

// A read that compares each row it reads with a workbook's instead of
// keeping it (ReadXlsxComparing): a row, once whole and with the cells the
// library leaves out put in, is compared and dropped, so that the cells are
// never held twice.
class TRowComparison {
 public:
  using TStyleOf = std::function<std::uint32_t(std::size_t xf)>;

  // `styleOf` gives the read workbook's style of a cell format,
  // `firstFormat` the style of a text cell without a format of its own.
  TRowComparison(const TWorkbook& held, int fileSheets, bool date1904, TStyleOf styleOf, std::uint32_t firstFormat,
                 TReadBack& found)
      : held_(held),
        named_(held.NumSheets() > 1 || fileSheets > 1),
        date1904_(date1904),
        styleOf_(std::move(styleOf)),
        firstFormat_(firstFormat),
        found_(found) {}

  // Begins sheet `sheet` of `back` (named already), with its cells that
  // hold only a format (`formatted`, may be null) and the text cells of
  // every sheet.
  void Begin(const TWorkbook& back, int sheet, const std::vector<TXlsxFormattedCell>* formatted,
             const std::vector<TXlsxTextCell>& texts) {
    sheet_ = sheet;
    done_ = 0;
    otherSheet_ = sheet > held_.NumSheets() || held_.SheetName(sheet) != back.SheetName(sheet);
    last_ = sheet <= held_.NumSheets() ? held_.SheetData(sheet).LastRow() : 0;
    sheetName_ = sheet <= held_.NumSheets() ? held_.SheetName(sheet) : back.SheetName(sheet);
    prefix_ = named_ ? sheetName_ + "!" : "";
    formatted_.clear();
    texts_.clear();
    nextFormatted_ = nextText_ = 0;
    const auto inSheet = [](int row, int col) { return row >= 1 && col >= 1 && row <= kMaxRows && col <= kMaxCols; };
    if (formatted != nullptr) {
      for (const TXlsxFormattedCell& one : *formatted) {
        if (inSheet(one.Row, one.Col)) formatted_.push_back(&one);
      }
    }
    for (const TXlsxTextCell& text : texts) {
      if (text.Sheet + 1 == sheet && inSheet(text.Row, text.Col)) texts_.push_back(&text);
    }
    // In the file's order within a row: the later of two for one cell wins,
    // as when they are put in after the whole sheet.
    const auto byRow = [](const auto* a, const auto* b) { return a->Row < b->Row; };
    std::stable_sort(formatted_.begin(), formatted_.end(), byRow);
    std::stable_sort(texts_.begin(), texts_.end(), byRow);
    if (!formatted_.empty()) last_ = std::max(last_, formatted_.back()->Row);
    if (!texts_.empty()) last_ = std::max(last_, texts_.back()->Row);
  }

  // Compares the rows up to `row` that are not compared yet; true when one
  // reads otherwise (named in `found`).
  bool Through(TWorkbook& back, int row) {
    TSheetData& data = back.MutableSheetData(sheet_);
    for (int r = done_ + 1; r <= row; ++r) {
      for (; nextFormatted_ < formatted_.size() && formatted_[nextFormatted_]->Row == r; ++nextFormatted_) {
        PutFormattedEmptyCell(data, *formatted_[nextFormatted_], styleOf_);
      }
      for (; nextText_ < texts_.size() && texts_[nextText_]->Row == r; ++nextText_) {
        PutTextCell(data, *texts_[nextText_], firstFormat_, styleOf_);
      }
      std::vector<TCell>* cells = r <= static_cast<int>(data.Rows.size()) ? &data.Rows[r - 1] : nullptr;
      if (date1904_ && cells != nullptr) ShiftDatesFrom1904(back, *cells, dateStyle_);
      if (otherSheet_) {
        // A sheet the workbook lacks or names otherwise.
        found_.Cell = sheetName_ + "!A1";
        if (sheet_ <= held_.NumSheets()) found_.From = held_.EntryOn(sheet_, 1, 1, held_.Locale());
        found_.As = back.EntryOn(sheet_, 1, 1, back.Locale());
        return true;
      }
      if (RowReadsOtherwise(held_, sheet_, back, sheet_, r, true, prefix_, found_)) return true;
      if (cells != nullptr) std::vector<TCell>().swap(*cells);
      done_ = r;
    }
    return false;
  }

  // Compares the rest of the sheet, after its last cell read.
  bool End(TWorkbook& back, int lastRead) { return Through(back, std::max({last_, lastRead, 1})); }

  // After the file's sheets: true when the workbook has more.
  bool MissingSheet(int fileSheets) {
    if (held_.NumSheets() <= fileSheets) return false;
    found_.Cell = held_.SheetName(fileSheets + 1) + "!A1";
    found_.From = held_.EntryOn(fileSheets + 1, 1, 1, held_.Locale());
    return true;
  }

 private:
  const TWorkbook& held_;
  const bool named_;
  const bool date1904_;
  const TStyleOf styleOf_;
  const std::uint32_t firstFormat_;
  TReadBack& found_;
  int sheet_ = 0;
  int done_ = 0;  // rows compared
  int last_ = 0;  // the last row to compare besides those read
  bool otherSheet_ = false;
  std::string sheetName_;
  std::string prefix_;
  std::vector<const TXlsxFormattedCell*> formatted_;
  std::vector<const TXlsxTextCell*> texts_;
  std::size_t nextFormatted_ = 0;
  std::size_t nextText_ = 0;
  std::vector<signed char> dateStyle_;
};

// What the reading of one file shares: the library's document of it, the
// settings read beside the library, the file's prepared package and the
// workbook being filled, with the workbook's style of each cell format
// made once.
struct TXlsxRead {
  TXlsxRead(const ss::document& document, const ss::view& sheetView, TPreparedXlsx& package, TXlsxSettings& read,
            TWorkbook& workbook)
      : Doc(document),
        View(sheetView),
        Context(document.get_model_context()),
        Resolver(ixion::formula_name_resolver::get(ixion::formula_name_resolver_t::excel_a1, &Context)),
        Prepared(package),
        Settings(read),
        Fresh(workbook),
        Codes(NumberFormatsById(document.get_styles())) {}

  std::uint32_t StyleOf(std::size_t xf) {
    auto found = styleOfXf_.find(xf);
    if (found == styleOfXf_.end()) {
      found = styleOfXf_.emplace(xf, Fresh.StyleIndex(StyleFromFormat(Doc.get_styles(), Codes, Settings, xf))).first;
    }
    return found->second;
  }
  // The settings of sheet `s` (0-based), null where the file gives none.
  const TXlsxSheetSettings* SheetSettings(std::size_t s) const {
    return s < Settings.Sheets.size() ? &Settings.Sheets[s] : nullptr;
  }

  const ss::document& Doc;
  const ss::view& View;
  const ixion::model_context& Context;
  const std::unique_ptr<ixion::formula_name_resolver> Resolver;
  TPreparedXlsx& Prepared;
  TXlsxSettings& Settings;
  TWorkbook& Fresh;
  const std::map<std::size_t, std::string> Codes;

 private:
  std::map<std::size_t, std::uint32_t> styleOfXf_;
};

// A formula cell of the library's model: its formula in the workbook's
// words, and the result the file stored (kept where the formula cannot be
// computed here). The formulas TRUE() and FALSE() (as some programs store
// truth values) become the numbers 1 and 0 (counted with the truth values,
// xlsx_losses.h).
TCell FormulaCell(const TXlsxRead& read, const ixion::formula_cell& formula, const ixion::abs_address_t& position) {
  TCell cell;
  cell.Kind = TCellKind::Formula;
  cell.Formula = ixion::print_formula_tokens(read.Context, position, *read.Resolver, formula.get_tokens()->get());
  if (!cell.Formula.empty() && cell.Formula.front() == '=') cell.Formula.erase(0, 1);
  cell.Formula = DecodeXlsxEscapes(cell.Formula);
  std::string upper = cell.Formula;
  for (char& ch : upper) ch = AsciiUpper(ch);
  if (upper == "TRUE()" || upper == "FALSE()") {
    cell.Kind = TCellKind::Number;
    cell.Number = upper == "TRUE()" ? 1.0 : 0.0;
    cell.Formula.clear();
    return cell;
  }
  cell.Result = TFormulaResult::Error;
  cell.Text = "#NAME?";
  try {
    const ixion::formula_result cached = formula.get_result_cache(ixion::formula_result_wait_policy_t::throw_exception);
    if (cached.get_type() == ixion::formula_result::result_type::value) {
      cell.Result = TFormulaResult::Number;
      cell.Number = cached.get_value();
      cell.Text.clear();
    } else if (cached.get_type() == ixion::formula_result::result_type::string) {
      cell.Result = TFormulaResult::Text;
      cell.Text = DecodeXlsxEscapes(cached.get_string());
    }
  } catch (const std::exception&) {
    // No stored result.
  }
  return cell;
}

// A cell of the library's model in sheet `s` (0-based) at `row`, `col`
// (1-based), its format not yet set. A number is the file's own digits,
// read exactly (`numberCursor` follows the walk through them).
TCell ModelCell(const TXlsxRead& read, std::size_t s, const ixion::model_iterator::cell& item, int row, int col,
                std::size_t& numberCursor) {
  TCell cell;
  switch (item.type) {
    case ixion::celltype_t::numeric:
      cell.Kind = TCellKind::Number;
      cell.Number = std::get<double>(item.value);
      if (const TXlsxSheetSettings* settings = read.SheetSettings(s)) {
        if (const double* exact = settings->Numbers.Find(CellKey(row, col), numberCursor)) cell.Number = *exact;
      }
      break;
    case ixion::celltype_t::boolean:
      cell.Kind = TCellKind::Number;
      cell.Number = std::get<bool>(item.value) ? 1.0 : 0.0;
      break;
    case ixion::celltype_t::string: {
      const std::string* text = read.Context.get_string(std::get<ixion::string_id_t>(item.value));
      cell.Text = text ? DecodeXlsxEscapes(*text) : std::string();
      cell.Kind = cell.Text.empty() ? TCellKind::Empty : TCellKind::Text;
      break;
    }
    case ixion::celltype_t::formula:
      cell = FormulaCell(read, *std::get<const ixion::formula_cell*>(item.value),
                         ixion::abs_address_t(static_cast<ixion::sheet_t>(s), item.row, item.col));
      break;
    default:
      break;
  }
  return cell;
}

// Walks the cells of sheet `s` (0-based) row by row into `data`. Before
// the first cell of a row, `rowsDone(row)` hears that every row before
// `row` is whole (in the order of the rows, for the rows read only); when
// it answers false the walk stops and gives false.
template <typename RowSink>
bool WalkCells(TXlsxRead& read, std::size_t s, const ss::sheet& sheet, TSheetData& data, RowSink&& rowsDone) {
  const ixion::abs_range_t range = sheet.get_data_range();
  if (!range.valid()) return true;
  std::size_t numberCursor = 0;  // the walk goes row by row, as the exact numbers stand
  int lastRow = 0;
  auto it = read.Context.get_model_iterator(static_cast<ixion::sheet_t>(s), ixion::rc_direction_t::horizontal,
                                            ixion::abs_rc_range_t(range));
  for (; it.has(); it.next()) {
    const auto& item = it.get();
    const int row = item.row + 1;
    const int col = item.col + 1;
    if (row > kMaxRows || col > kMaxCols) continue;
    if (row != lastRow) {
      if (!rowsDone(row)) return false;
      lastRow = row;
    }
    TCell cell = ModelCell(read, s, item, row, col, numberCursor);
    const std::size_t xf = sheet.get_cell_format(item.row, item.col);
    if (xf != 0 || cell.Kind != TCellKind::Empty) cell.Style = read.StyleOf(xf);
    if (cell.Kind == TCellKind::Empty && cell.Style == 0) continue;
    if (static_cast<int>(data.Rows.size()) < row) data.Rows.resize(row);
    auto& cells = data.Rows[row - 1];
    // The walk goes along the row: a cell is mostly the next one.
    if (static_cast<int>(cells.size()) == col - 1) {
      cells.push_back(std::move(cell));
      continue;
    }
    if (static_cast<int>(cells.size()) < col) cells.resize(col);
    cells[col - 1] = std::move(cell);
  }
  return true;
}

// The sizes and hidden lines of a sheet: column widths, row heights and
// hidden rows and columns as the library gives them, in runs of equal
// lines (0-based [first, end)), up to 64 lines past the last cell; the
// rows LibreOffice hides (hidden="true"), which the library takes for
// shown; no row heights equal to the sheet's default height.
void ReadLineSizes(const ss::sheet& sheet, const TXlsxSheetSettings* settings, TSheetData& data) {
  const std::uint16_t defaultWidth = ss::get_default_column_width();
  const std::uint16_t defaultHeight = ss::get_default_row_height();
  const int lastCol = std::min(kMaxCols, std::max(data.LastCol(), 1) + 64);
  for (int col = 1; col <= lastCol;) {
    ss::col_t first = 0;
    ss::col_t end = 0;
    const ss::col_width_t width = sheet.get_col_width(col - 1, &first, &end);
    const int runEnd = std::min<int>(std::max<int>(col, end), lastCol);
    const bool hidden = sheet.is_col_hidden(col - 1, &first, &end);
    // Up to where both runs go on, so that each line is set once.
    const int stepEnd = std::min<int>(std::max<int>(col, end), runEnd);
    if (width != defaultWidth && width != 0) {
      for (int c = col; c <= stepEnd; ++c) data.ColWidths[c] = std::round(ColumnCharacters(width) * 100.0) / 100.0;
    }
    for (int c = col; hidden && c <= stepEnd; ++c) data.HiddenCols.insert(c);
    col = stepEnd + 1;
  }
  const int lastRow = std::min(kMaxRows, std::max(data.LastRow(), 1) + 64);
  for (int row = 1; row <= lastRow;) {
    ss::row_t first = 0;
    ss::row_t end = 0;
    const ss::row_height_t height = sheet.get_row_height(row - 1, &first, &end);
    const int runEnd = std::min<int>(std::max<int>(row, end), lastRow);
    const bool hidden = sheet.is_row_hidden(row - 1, &first, &end);
    const int stepEnd = std::min<int>(std::max<int>(row, end), runEnd);
    if (height != defaultHeight) {
      for (int r = row; r <= stepEnd; ++r) data.RowHeights[r] = height / 20.0;
    }
    for (int r = row; hidden && r <= stepEnd; ++r) data.HiddenRows.insert(r);
    row = stepEnd + 1;
  }
  if (settings != nullptr) {
    data.HiddenRows.insert(settings->HiddenRows.begin(), settings->HiddenRows.end());
    data.DefaultRowHeight = settings->DefaultRowHeight;
  }
  for (auto it = data.RowHeights.begin(); it != data.RowHeights.end();) {
    it = std::fabs(it->second - data.DefaultRowHeight) < 1e-9 ? data.RowHeights.erase(it) : std::next(it);
  }
}

// What the library leaves out of a sheet (`settings`, may be null): its
// page set-up, breaks, tab colour, filter, protection and print titles;
// the frozen panes from the library's view.
void ReadSheetSettings(const TXlsxRead& read, std::size_t s, TSheetData& data, TReadLosses& losses) {
  if (const TXlsxSheetSettings* settings = read.SheetSettings(s)) {
    data.Page = settings->Page;
    data.RowBreaks = settings->RowBreaks;
    data.ColBreaks = settings->ColBreaks;
    data.TabColor = settings->TabColor;
    data.AutoFilter = settings->AutoFilter;
    data.FilterColumns = settings->FilterColumns;
    losses[TReadLoss::FilterCriteria] += settings->FilterColumnsLeftOut;
    data.Protection = settings->Protection;
    data.TitleRows = settings->TitleRows;
    data.TitleCols = settings->TitleCols;
  }
  if (const ss::sheet_view* sv = read.View.get_sheet_view(static_cast<ss::sheet_t>(s))) {
    const ss::frozen_pane_t& frozen = sv->get_frozen_pane();
    data.FixedCols = std::max(0, static_cast<int>(frozen.visible_columns));
    data.FixedRows = std::max(0, static_cast<int>(frozen.visible_rows));
  }
}

// The file's defined names: the global ones and those of each sheet (its
// print area). The range of a sheet's filter and its print titles are the
// sheet's own (a print title the settings could not read is counted);
// every user's name the workbook could not take is counted.
void ReadNames(TXlsxRead& read, std::size_t sheetCount, TReadLosses& losses) {
  int namesKept = 0;
  int titlesLost = 0;
  auto addName = [&](const std::string& name, const ixion::named_expression_t& expression, std::size_t sheet) {
    std::string reference =
        ixion::print_formula_tokens(read.Context, expression.origin, *read.Resolver, expression.tokens);
    if (!reference.empty() && reference.front() == '=') reference.erase(0, 1);
    std::string plain = name;
    const bool builtIn = plain.rfind("_xlnm.", 0) == 0;
    if (builtIn) plain = plain.substr(6);
    if (builtIn && plain == "_FilterDatabase") return;
    if (builtIn && plain == "Print_Titles") {
      const TXlsxSheetSettings* settings = read.SheetSettings(sheet);
      if (settings == nullptr || (!settings->TitleRows && !settings->TitleCols)) ++titlesLost;
      return;
    }
    if (read.Fresh.DefineName(plain, reference) && !builtIn) ++namesKept;
  };
  for (auto it = read.Context.get_named_expressions_iterator(); it.has(); it.next()) {
    const auto named = it.get();
    addName(*named.name, *named.expression, sheetCount);
  }
  for (std::size_t s = 0; s < sheetCount; ++s) {
    read.Fresh.SetSheet(static_cast<int>(s) + 1);
    for (auto it = read.Context.get_named_expressions_iterator(static_cast<ixion::sheet_t>(s)); it.has(); it.next()) {
      const auto named = it.get();
      addName(*named.name, *named.expression, s);
    }
  }
  losses[TReadLoss::DefinedNames] = std::max(0, read.Prepared.DefinedNames - namesKept) + titlesLost;
}

// Names sheet `sheetNo` as the file does, or counts the name the workbook
// cannot hold with the name the sheet got.
void NameSheet(TWorkbook& fresh, int sheetNo, const std::string& name, TReadLosses& losses) {
  if (fresh.SetSheetName(sheetNo, name)) return;
  ++losses[TReadLoss::SheetNames];
  losses.RenamedSheets.emplace_back(name, fresh.SheetName(sheetNo));
}

// Compares the file read by the library with `held`, row by row
// (TRowComparison), leaving the first difference in `found`.
void CompareXlsx(TXlsxRead& read, const TWorkbook& held, TReadBack& found) {
  const std::size_t sheetCount = read.Doc.get_sheet_count();
  const std::uint32_t firstFormat = read.StyleOf(0);
  TRowComparison comparison(
      held, static_cast<int>(sheetCount), read.Settings.Properties.Date1904,
      [&read](std::size_t xf) { return read.StyleOf(xf); }, firstFormat, found);
  TReadLosses ignored;
  for (std::size_t s = 0; s < sheetCount; ++s) {
    const int sheetNo = static_cast<int>(s) + 1;
    NameSheet(read.Fresh, sheetNo, std::string(read.Doc.get_sheet_name(static_cast<ss::sheet_t>(s))), ignored);
    const TXlsxSheetSettings* settings = read.SheetSettings(s);
    comparison.Begin(read.Fresh, sheetNo, settings != nullptr ? &settings->FormattedEmpty : nullptr,
                     read.Prepared.Texts);
    TSheetData& data = read.Fresh.MutableSheetData(sheetNo);
    bool differs = false;
    if (const ss::sheet* sheet = read.Doc.get_sheet(static_cast<ss::sheet_t>(s))) {
      // A row is compared once the walk has gone past it.
      differs = !WalkCells(read, s, *sheet, data, [&](int row) { return !comparison.Through(read.Fresh, row - 1); });
    }
    if (differs || comparison.End(read.Fresh, static_cast<int>(data.Rows.size()))) return;
  }
  comparison.MissingSheet(static_cast<int>(sheetCount));
}

// Reads the file read by the library into `book`, with the settings the
// library leaves out and what the file held that the workbook does not
// keep counted.
void TakeXlsx(TXlsxRead& read, TWorkbook& book) {
  const std::size_t sheetCount = read.Doc.get_sheet_count();
  TWorkbook& fresh = read.Fresh;
  TReadLosses losses = read.Prepared.Losses;
  for (std::size_t s = 0; s < sheetCount; ++s) {
    const int sheetNo = static_cast<int>(s) + 1;
    const ss::sheet* sheet = read.Doc.get_sheet(static_cast<ss::sheet_t>(s));
    if (sheet == nullptr) continue;
    NameSheet(fresh, sheetNo, std::string(read.Doc.get_sheet_name(static_cast<ss::sheet_t>(s))), losses);
    TSheetData& data = fresh.MutableSheetData(sheetNo);
    WalkCells(read, s, *sheet, data, [](int) { return true; });
    if (const TXlsxSheetSettings* settings = read.SheetSettings(s)) {
      for (const TXlsxFormattedCell& one : settings->FormattedEmpty) {
        PutFormattedEmptyCell(data, one, [&read](std::size_t xf) { return read.StyleOf(xf); });
      }
    }
    ReadLineSizes(*sheet, read.SheetSettings(s), data);
    ReadSheetSettings(read, s, data, losses);
  }
  // Cells whose formulas fell back to a text, and the inline strings. A
  // cell without a format of its own has the file's first one.
  const std::uint32_t firstFormat = read.StyleOf(0);
  for (const TXlsxTextCell& text : read.Prepared.Texts) {
    if (text.Sheet < 0 || text.Sheet >= fresh.NumSheets() || text.Row > kMaxRows || text.Col > kMaxCols) continue;
    PutTextCell(fresh.MutableSheetData(text.Sheet + 1), text, firstFormat,
                [&read](std::size_t xf) { return read.StyleOf(xf); });
  }
  ReadNames(read, sheetCount, losses);
  if (read.Settings.Properties.Date1904) ShiftDatesFrom1904(fresh);
  const int active = static_cast<int>(read.View.get_active_sheet()) + 1;
  fresh.SetSheet(active >= 1 && active <= fresh.NumSheets() ? active : 1);
  fresh.SetSelection(1, 1, 1, 1);
  losses[TReadLoss::TabColors] += read.Settings.TabColorsLeftOut;
  losses[TReadLoss::CustomProperties] += read.Settings.CustomPropertiesLeftOut;
  for (int s = 1; s <= fresh.NumSheets(); ++s) {
    for (const auto& cells : fresh.SheetData(s).Rows) {
      for (const TCell& cell : cells) {
        if (cell.Kind == TCellKind::Text && !XlsxHoldsText(cell.Text)) ++losses[TReadLoss::LongTexts];
      }
    }
  }
  fresh.SetReadLosses(losses);
  book.AdoptContents(std::move(fresh));
  book.SetFileProperties(read.Settings.Properties);
  if (!read.Settings.Sheets.empty()) {
    const auto& sheets = read.Settings.Sheets;
    const auto& shown = sheets[std::clamp<std::size_t>(read.Settings.ActiveSheet, 0, sheets.size() - 1)];
    book.SetViewScale(shown.Zoom);
    book.SetShowGridLines(shown.ShowGridLines);
  }
  book.Recalculate();
}

// Reads the file into `book`, or, with `held`, compares it with `held` row
// by row (TRowComparison) and leaves the first difference in `found`.
bool ReadXlsxFile(TWorkbook* book, const std::string& path, std::string& error, const TWorkbook* held,
                  TReadBack* found) {
  // Sizes and column ranges the reading library would trust blindly, and
  // formulas it would refuse the whole file for.
  TPreparedXlsx prepared;
  if (!ReadPreparedXlsx(path, prepared, error)) return false;
  try {
    ss::range_size_t size{kMaxRows, kMaxCols};
    ss::document doc{size};
    ss::view view{doc};
    ss::import_factory factory{doc, view};
    // A formula the library cannot parse is left out by it instead of
    // stopping the whole file (the checks above have replaced those they
    // know by their stored values already).
    factory.set_formula_error_policy(ss::formula_error_policy_t::skip);
    orcus::orcus_xlsx app{&factory};
    app.read_stream(prepared.Zip);
    if (doc.get_sheet_count() == 0) {
      error = ReadFailure(prepared.Strict ? TReadFailure::StrictForm : TReadFailure::NoSheets);
      return false;
    }
    // What orcus leaves out: page set-up, breaks, view and wrap. A file
    // without these parts is still read.
    TXlsxSettings settings;
    std::string ignored;
    ReadXlsxSettings(prepared, settings, ignored);
    TWorkbook fresh(static_cast<int>(doc.get_sheet_count()));
    TXlsxRead read(doc, view, prepared, settings, fresh);
    if (held != nullptr) {
      CompareXlsx(read, *held, *found);
    } else {
      TakeXlsx(read, *book);
    }
    return true;
  } catch (const std::exception&) {
    // Every part is well-formed XML (checked before): the library refuses
    // what the parts hold, in its own words, which are no reason for the
    // user.
    error = ReadFailure(prepared.Strict ? TReadFailure::StrictForm : TReadFailure::UnreadableParts);
    return false;
  }
}

}  // namespace

bool ReadXlsx(TWorkbook& book, const std::string& path, std::string& error) {
  return ReadXlsxFile(&book, path, error, nullptr, nullptr);
}

bool ReadXlsxComparing(const TWorkbook& held, const std::string& path, TReadBack& found, std::string& error) {
  found = TReadBack{};
  return ReadXlsxFile(nullptr, path, error, &held, &found);
}

namespace {

// A file of bytes in the temporary folder, removed with the object.
class TemporaryCopy {
 public:
  TemporaryCopy() = default;
  TemporaryCopy(const TemporaryCopy&) = delete;
  TemporaryCopy& operator=(const TemporaryCopy&) = delete;
  ~TemporaryCopy() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }

  bool Write(const std::string& bytes) {
    std::error_code ec;
    std::string name = (std::filesystem::temp_directory_path(ec) / "kvx-legacy-XXXXXX").string();
    if (ec) return false;
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    path_ = name;
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (written <= 0) break;
      done += static_cast<std::size_t>(written);
    }
    return ::close(fd) == 0 && done == bytes.size();
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// A number, date or time cell of a legacy file with its format: the file's
// own when it has one, else `fallback` (canonical).
void SetLegacyNumber(TWorkbook& book, int row, int col, double value, const std::string& fileFormat,
                     const std::string& fallback, const TFormatLocale& locale) {
  book.SetNumber(row, col, value);
  const std::string& format = fileFormat.empty() ? fallback : fileFormat;
  if (!format.empty()) book.SetCellNumberFormat(row, col, LocalFormat(format, locale));
}

}  // namespace

bool ReadLegacyXls(TWorkbook& book, const std::string& path, std::string& error) {
  // The library gives no formula results, booleans or errors, and no
  // number formats: those come from the file's records.
  std::string bytes, ignored;
  TXlsRecords records;
  if (ReadFileBytes(path, bytes, ignored)) records = ReadXlsRecords(XlsWorkbookStream(bytes));
  // The library gives no workbook for a file with a chart in a sheet: it
  // reads a copy without the chart's records.
  TemporaryCopy copy;
  if (!records.EmbeddedMarks.empty() && !copy.Write(XlsWithoutEmbeddedSubstreams(bytes, records.EmbeddedMarks))) {
    error = ReadFailure(TReadFailure::NotAnXls);
    return false;
  }
  bytes.clear();
  const std::string& readPath = copy.Path().empty() ? path : copy.Path();
  const void* handle = nullptr;
  if (freexl_open(readPath.c_str(), &handle) != FREEXL_OK || handle == nullptr) {
    if (handle != nullptr) freexl_close(handle);
    error = ReadFailure(TReadFailure::NotAnXls);
    return false;
  }
  struct Closer {
    const void* Handle;
    ~Closer() { freexl_close(Handle); }
  } closer{handle};
  unsigned int sheetCount = 0;
  if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount) != FREEXL_OK || sheetCount == 0) {
    error = ReadFailure(TReadFailure::NoSheets);
    return false;
  }
  std::map<std::string, const TXlsSheetRecords*> recordsByName;
  for (const TXlsSheetRecords& sheet : records.Sheets) recordsByName.emplace(sheet.Name, &sheet);
  TReadLosses losses = records.Losses;
  if (!records.Readable) ++losses[TReadLoss::UnreadRecords];

  sheetCount = std::min(sheetCount, 255u);
  TWorkbook fresh(static_cast<int>(sheetCount));
  const TFormatLocale locale = fresh.Locale();
  for (unsigned s = 0; s < sheetCount; ++s) {
    const int sheetNo = static_cast<int>(s) + 1;
    const char* name = nullptr;
    std::string sheetName;
    if (freexl_get_worksheet_name(handle, static_cast<unsigned short>(s), &name) == FREEXL_OK && name != nullptr) {
      sheetName = name;
      if (!fresh.SetSheetName(sheetNo, name)) {
        ++losses[TReadLoss::SheetNames];
        losses.RenamedSheets.emplace_back(sheetName, fresh.SheetName(sheetNo));
      }
    }
    if (freexl_select_active_worksheet(handle, static_cast<unsigned short>(s)) != FREEXL_OK) continue;
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_worksheet_dimensions(handle, &rows, &cols) != FREEXL_OK) continue;
    fresh.SetSheet(sheetNo);
    const auto found = recordsByName.find(sheetName);
    const TXlsSheetRecords* own = found != recordsByName.end() ? found->second : nullptr;
    std::map<std::pair<int, int>, std::string> formatAt;
    if (own != nullptr) {
      for (const TXlsValueCell& cell : own->NumberFormats) formatAt[{cell.Row, cell.Col}] = cell.Format;
    }
    auto fileFormat = [&](int row, int col) {
      const auto at = formatAt.find({row, col});
      return at != formatAt.end() ? at->second : std::string();
    };
    rows = std::min<unsigned>(rows, kMaxRows);
    for (unsigned r = 0; r < rows; ++r) {
      for (unsigned short c = 0; c < cols; ++c) {
        FreeXL_CellValue value;
        if (freexl_get_cell_value(handle, r, c, &value) != FREEXL_OK) continue;
        const int row = static_cast<int>(r) + 1;
        const int col = c + 1;
        switch (value.type) {
          case FREEXL_CELL_INT:
            SetLegacyNumber(fresh, row, col, value.value.int_value, fileFormat(row, col), {}, locale);
            break;
          case FREEXL_CELL_DOUBLE:
            SetLegacyNumber(fresh, row, col, value.value.double_value, fileFormat(row, col), {}, locale);
            break;
          case FREEXL_CELL_TEXT:
          case FREEXL_CELL_SST_TEXT:
            if (value.value.text_value != nullptr && *value.value.text_value != 0) {
              fresh.SetText(row, col, value.value.text_value);
            }
            break;
          case FREEXL_CELL_DATE:
          case FREEXL_CELL_DATETIME:
          case FREEXL_CELL_TIME: {
            // "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or "HH:MM:SS" (whole
            // seconds: nothing here is read by the C library's locale).
            const char* text = value.value.text_value;
            if (text == nullptr) break;
            int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0;
            double serial = 0.0;
            std::string format;
            if (value.type == FREEXL_CELL_TIME && std::sscanf(text, "%d:%d:%d", &h, &mi, &sec) == 3) {
              serial = (h * 3600.0 + mi * 60.0 + sec) / 86400.0;
              format = "hh:mm:ss";
            } else if (std::sscanf(text, "%d-%d-%d", &y, &mo, &d) == 3) {
              serial = DateSerial(y, mo, d);
              format = "dd.mm.yyyy";
              if (value.type == FREEXL_CELL_DATETIME && std::sscanf(text + 10, " %d:%d:%d", &h, &mi, &sec) == 3) {
                serial += (h * 3600.0 + mi * 60.0 + sec) / 86400.0;
                format += " hh:mm:ss";
              }
            } else {
              fresh.SetText(row, col, text);
              break;
            }
            // The file's own format where it shows a date or a time.
            std::string own = fileFormat(row, col);
            const TFormatClass kind = ClassifyFormat(own);
            if (kind != TFormatClass::Date && kind != TFormatClass::Time && kind != TFormatClass::DateTime) own.clear();
            SetLegacyNumber(fresh, row, col, serial, own, format, locale);
            break;
          }
          default:
            break;
        }
      }
    }
    if (own == nullptr) continue;
    for (const TXlsValueCell& cell : own->Cells) {
      if (cell.Row > kMaxRows || cell.Col > kMaxCols) continue;
      if (cell.Formula && cell.Kind != TXlsValueKind::Unread) ++losses[TReadLoss::FormulaValues];
      switch (cell.Kind) {
        case TXlsValueKind::Number: {
          double number = cell.Number;
          // A date of a file that counts from 1904.
          const TFormatClass kind = ClassifyFormat(cell.Format);
          if (records.Date1904 && (kind == TFormatClass::Date || kind == TFormatClass::DateTime)) {
            number += kDays1900To1904;
          }
          if (std::isfinite(number)) {
            SetLegacyNumber(fresh, cell.Row, cell.Col, number, cell.Format, {}, locale);
          } else {
            ++losses[TReadLoss::UnreadValues];
            if (cell.Formula) --losses[TReadLoss::FormulaValues];
          }
          break;
        }
        case TXlsValueKind::Boolean:
          // As the workbook holds booleans: 1 and 0.
          fresh.SetNumber(cell.Row, cell.Col, cell.Number);
          ++losses[TReadLoss::Booleans];
          break;
        case TXlsValueKind::Text:
          if (!cell.Text.empty()) fresh.SetText(cell.Row, cell.Col, cell.Text);
          break;
        case TXlsValueKind::Error:
          // The workbook holds errors only as results of its own formulas:
          // the error comes in as the text the file shows ("#DIV/0!").
          fresh.SetText(cell.Row, cell.Col, cell.Text);
          ++losses[TReadLoss::ErrorValues];
          break;
        case TXlsValueKind::Unread:
          // No value: the cell stays empty, whatever the library gave.
          fresh.SetText(cell.Row, cell.Col, "");
          ++losses[TReadLoss::UnreadValues];
          break;
      }
    }
  }
  fresh.SetSheet(1);
  fresh.SetSelection(1, 1, 1, 1);
  fresh.SetReadLosses(losses);
  book.AdoptContents(std::move(fresh));
  error.clear();
  return true;
}

}  // namespace kvx::workbook
