// Files made on one desktop read on another: every file the program writes
// (text, comma-separated values, workbook, a text saved in place) reads
// back under other desktops' separators and date orders as the sheet it
// wrote; other desktops' and programs' exports read by their own fields;
// a date typed into an opened file is saved in that file's form.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "platform/globals.h"
#include "platform/number_text.h"
#include "platform/workbook/number_format.h"
#include "platform/workbook/text_layout.h"
#include "platform/workbook/workbook.h"
#include "platform/workbook/workbook_files.h"
#include "support/temp_folder.h"

namespace kvx::workbook {
namespace {

constexpr auto kDayFirst = TShortDateOrder::DayMonthYear;
constexpr auto kMonthFirst = TShortDateOrder::MonthDayYear;
constexpr auto kYearFirst = TShortDateOrder::YearMonthDay;

// The separators and short date order of each desktop, as the program takes
// them: decimal, list, date and time separator, thousands, date order.
struct TDesktop {
  const char* Name;
  TIntlSeparators Separators;
};
const TDesktop kDesktops[] = {
    {"de_DE", {',', ';', '.', ':', '.', kDayFirst}},  {"de_CH", {'.', ';', '.', ':', '\'', kDayFirst}},
    {"fr_FR", {',', ';', '/', ':', ' ', kDayFirst}},  {"ru_RU", {',', ';', '.', ':', ' ', kDayFirst}},
    {"sv_SE", {',', ';', '-', ':', ' ', kYearFirst}}, {"en_US", {'.', ',', '/', ':', ',', kMonthFirst}},
    {"en_GB", {'.', ',', '/', ':', ',', kDayFirst}},  {"ja_JP", {'.', ',', '/', ':', ',', kYearFirst}},
    {"hi_IN", {'.', ',', '/', ':', ',', kDayFirst}},  {"ar_EG", {'.', ',', '/', ':', ',', kDayFirst}},
};

const TIntlSeparators& Desktop(std::string_view name) {
  for (const TDesktop& desktop : kDesktops) {
    if (name == desktop.Name) return desktop.Separators;
  }
  throw std::invalid_argument(std::string(name));
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void Spit(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string TwoDigits(int n) { return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)}; }

// A date as a user of the desktop types it, its year written `y`.
std::string TypedDate(const TIntlSeparators& s, const std::string& y, int month, int day) {
  const std::string mark(1, s.Date), m = TwoDigits(month), d = TwoDigits(day);
  switch (s.DateOrder) {
    case kMonthFirst:
      return m + mark + d + mark + y;
    case kYearFirst:
      return y + mark + m + mark + d;
    case kDayFirst:
      break;
  }
  return d + mark + m + mark + y;
}

std::string TypedDate(const TIntlSeparators& s, int year, int month, int day) {
  return TypedDate(s, WholeNumberText(year), month, day);
}

// A number as typed on the desktop: its decimal mark for the point.
std::string TypedNumber(const TIntlSeparators& s, std::string text) {
  for (char& ch : text) {
    if (ch == '.') ch = s.Decimal;
  }
  return text;
}

TTextDialect Csv(char separator) {
  TTextDialect dialect;
  dialect.Separator = separator;
  dialect.Quoting = true;
  return dialect;
}

// Reads a tab text (.txt), an .xlsx or a comma-separated file (.csv, with
// `separator`) as the document does.
bool Read(TWorkbook& book, const std::string& path, char separator, std::string* note = nullptr,
          char* linesShow = nullptr) {
  std::string error;
  int type = 0;
  const bool ok = path.ends_with(".csv") ? ReadSeparatedIntoSheet(book, path, separator, error, note, linesShow)
                                         : ReadWorkbookFile(book, path, type, error, note);
  EXPECT_TRUE(ok) << path << ": " << error;
  return ok;
}

// Every cell of `wrote` stands in `read` with the same value: numbers
// (dates included) exactly, texts as they are.
void ExpectSameCells(const TWorkbook& wrote, const TWorkbook& read, const std::string& what) {
  for (int r = 1; r <= wrote.LastRow(); ++r) {
    for (int c = 1; c <= wrote.LastColForRow(r); ++c) {
      const TCell* cell = wrote.Cell(r, c);
      if (cell == nullptr || cell->Kind == TCellKind::Empty) continue;
      const TCell* back = read.Cell(r, c);
      ASSERT_NE(back, nullptr) << what << " row " << r << " column " << c;
      EXPECT_EQ(back->Kind, cell->Kind) << what << " row " << r << " column " << c << ": " << read.Text(r, c);
      if (cell->Kind == TCellKind::Number) {
        EXPECT_EQ(back->Number, cell->Number) << what << " row " << r << " col " << c;
      } else if (cell->Kind == TCellKind::Text) {
        EXPECT_EQ(back->Text, cell->Text) << what << " row " << r << " col " << c;
      }
    }
  }
}

class DesktopFiles : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = IntlSeparators; }
  void TearDown() override { IntlSeparators = saved_; }

  std::string PathOf(const std::string& name) const { return folder_.File(name); }
  static std::string Fixture(const std::string& name) { return std::string(KVX_FIXTURE_DIR) + "/bad-inputs/" + name; }

  test::TempFolder folder_;
  TIntlSeparators saved_;
};

// What a user of the desktop types: dates that leave day and month open
// ("02/01/2027" on a US desktop), a date with a time, grouped numbers
// (#,##0.00), a percentage, plain and negative numbers, texts.
void TypeSheet(TWorkbook& book, const TIntlSeparators& s) {
  book.SetText(1, 1, "Datum");
  book.SetText(1, 2, "Wert");
  book.SetText(1, 3, "Zeit");
  book.SetText(1, 4, "Anteil");
  const int dates[][3] = {{2027, 1, 2}, {2026, 12, 11}, {2027, 2, 1}};
  const char* values[] = {"1234.5", "1234567.25", "2.5"};
  const char* more[] = {"12.5%", "-0.25", "0.125"};
  for (int k = 0; k < 3; ++k) {
    book.SetEntry(k + 2, 1, TypedDate(s, dates[k][0], dates[k][1], dates[k][2]));
    book.SetEntry(k + 2, 2, TypedNumber(s, values[k]));
    book.SetCellNumberFormat(k + 2, 2, LocalFormat("#,##0.00", book.Locale()));
    book.SetEntry(k + 2, 3, TypedDate(s, 2026, 12, 11 - k) + " 10:30");
    book.SetEntry(k + 2, 4, TypedNumber(s, more[k]));
  }
}

// Save as text, Save as csv, Save as .xlsx and Ctrl+S of the text in place
// on each desktop; each file read under two other desktops gives the cells
// the writer's sheet holds, and the workbook's dates show in the reader's
// own short date.
TEST_F(DesktopFiles, EveryWriterReadsBackOnOtherDesktops) {
  const std::size_t count = std::size(kDesktops);
  for (std::size_t w = 0; w < count; ++w) {
    const TDesktop& writer = kDesktops[w];
    const std::string stem = PathOf(std::string("from_") + writer.Name);
    IntlSeparators = writer.Separators;
    TWorkbook book(1);
    TypeSheet(book, writer.Separators);
    std::string error;
    TTextSaveCheck proof;
    ASSERT_TRUE(SaveSheetText(book, stem + ".txt", TabTextDialect(kFileTypeText), error, &proof, false))
        << writer.Name << ": " << error << TextSaveReason(proof, true);
    // A blank grouping thousands is written as a no-break space (U+00A0, in
    // the text's encoding), never as a blank a reader has to guess.
    if (writer.Separators.Thousands == ' ') {
      const std::string text = Slurp(stem + ".txt");
      EXPECT_EQ(text.find("1 234,50"), std::string::npos) << writer.Name;
      EXPECT_NE(text.find("234,50"), std::string::npos) << writer.Name;
    }
    TWorkbook csvBook(1);
    TypeSheet(csvBook, writer.Separators);
    ASSERT_TRUE(SaveSheetText(csvBook, stem + ".csv", Csv(';'), error, &proof, false))
        << writer.Name << ": " << error << TextSaveReason(proof, true);
    TWorkbook xlsxBook(1);
    TypeSheet(xlsxBook, writer.Separators);
    ASSERT_TRUE(WriteWorkbookFile(xlsxBook, stem + ".xlsx", 1, error)) << writer.Name << ": " << error;
    // The text opened again where it was written, a date and a number
    // typed into it, saved in place.
    const std::string inPlace = stem + "_saved_in_place.txt";
    std::filesystem::copy_file(stem + ".txt", inPlace);
    TWorkbook edited(1);
    ASSERT_TRUE(Read(edited, inPlace, ';'));
    edited.SetEntry(5, 1, TypedDate(writer.Separators, 2027, 3, 4));
    edited.SetEntry(5, 2, TypedNumber(writer.Separators, "3.75"));
    ASSERT_TRUE(SaveSheetText(edited, inPlace, TabTextDialect(kFileTypeText), error, &proof, true))
        << writer.Name << ": " << error << TextSaveReason(proof, true);

    for (const std::size_t r : {(w + 1) % count, (w + 5) % count}) {
      const TDesktop& reader = kDesktops[r];
      IntlSeparators = reader.Separators;
      const std::string what = std::string(writer.Name) + " read on " + reader.Name;
      const std::pair<std::string, const TWorkbook*> files[] = {
          {".txt", &book}, {".csv", &csvBook}, {".xlsx", &xlsxBook}, {"_saved_in_place.txt", &edited}};
      for (const auto& [suffix, wrote] : files) {
        TWorkbook back(1);
        if (!Read(back, stem + suffix, ';')) continue;
        ExpectSameCells(*wrote, back, what + " (" + suffix + ")");
      }
      TWorkbook workbook(1);
      ASSERT_TRUE(Read(workbook, stem + ".xlsx", ';'));
      EXPECT_EQ(workbook.StyleAt(1, 2, 1).NumberFormat, ShortDateCode(workbook.Locale())) << what;
    }
  }
}

// Dates before the year 1000 typed on each desktop, saved as text and
// opened again: the sheet shows and the file holds their four-digit years,
// so the file reads back as the same dates (not as 1989, 1944 or a text).
TEST_F(DesktopFiles, DatesBeforeTheYear1000ReadBackAsThemselves) {
  struct TTyped {
    int Year, Month, Day;
    const char* Time;
    const char* Shown;  // on a German desktop
  };
  const TTyped typed[] = {{89, 1, 1, "", "01.01.0089"},
                          {800, 12, 24, "", "24.12.0800"},
                          {44, 3, 15, " 12:00", "15.03.0044 12:00"},
                          {2026, 1, 1, "", "01.01.2026"}};
  for (const char* desktop : {"de_DE", "en_US", "ja_JP", "fr_FR"}) {
    const TIntlSeparators& s = Desktop(desktop);
    IntlSeparators = s;
    TWorkbook book(1);
    for (std::size_t k = 0; k < std::size(typed); ++k) {
      const TTyped& t = typed[k];
      std::string year = WholeNumberText(t.Year);
      year.insert(0, 4 - year.size(), '0');
      const std::string entry = TypedDate(s, year, t.Month, t.Day);
      book.SetEntry(static_cast<int>(k) + 1, 1, entry + t.Time);
      ASSERT_EQ(book.CellKind(static_cast<int>(k) + 1, 1), TCellKind::Number) << desktop << ": " << entry;
      if (std::string_view(desktop) == "de_DE") {
        EXPECT_EQ(book.Text(static_cast<int>(k) + 1, 1), t.Shown);
      }
    }
    const std::string path = PathOf(std::string("early_") + desktop + ".txt");
    std::string error;
    TTextSaveCheck proof;
    ASSERT_TRUE(SaveSheetText(book, path, TabTextDialect(kFileTypeText), error, &proof, false))
        << desktop << ": " << error << TextSaveReason(proof, true);
    if (std::string_view(desktop) == "de_DE") {
      EXPECT_EQ(Slurp(path), "01.01.0089\r\n24.12.0800\r\n15.03.0044 12:00\r\n01.01.2026\r\n");
    }
    TWorkbook back(1);
    if (!Read(back, path, ';')) continue;
    ExpectSameCells(book, back, std::string("early dates on ") + desktop);
  }
}

// A cell read: its number, or its text.
using TValue = std::variant<double, std::string>;

struct TReadCase {
  const char* File;   // a fixture, or a file made of `Bytes`
  std::string Bytes;  // when not empty
  char Separator;     // for a .csv
  const char* On;     // the reading desktop
  int Col;            // the column read, from row 2 on
  std::vector<TValue> Cells;
  std::vector<std::string> NoteHolds;  // empty: no note
  char LinesShow = 0;
};

// Other desktops' and programs' exports: dates in the file's own order
// (decided by the fields, the desktop only where they leave it open, and
// told), year-first dates on every desktop, blanks and Indian grouping,
// a no-break space before '%', a file split at another separator named.
TEST_F(DesktopFiles, OtherDesktopsExportsReadByTheirOwnFields) {
  const double dec11 = DateSerial(2026, 12, 11), dec25 = DateSerial(2026, 12, 25), jan2 = DateSerial(2027, 1, 2);
  const double feb1 = DateSerial(2027, 2, 1), dec31 = DateSerial(2026, 12, 31), nov12 = DateSerial(2026, 11, 12);
  const std::string french = "tab_text_french_day_first_slash_dates.txt";
  const std::string us = "tab_text_us_month_first_slash_dates.txt";
  const std::string japanese = "csv_japanese_year_first_slash_dates_comma_separated.csv";
  const std::string indian = "tab_text_indian_grouping.txt";
  const std::string blanks = "tab_text_french_grouping_ascii_blanks.txt";
  const std::vector<TValue> frenchDates{dec11, dec25, jan2}, usDates{feb1, dec11, dec31};
  const std::vector<TValue> indianValues{1234567.89, 1000000.0, -123456.5};
  const std::vector<TValue> japaneseDates{dec11, DateSerial(2026, 3, 10), DateSerial(2026, 5, 2),
                                          DateSerial(2026, 1, 1)};
  const std::vector<TReadCase> cases = {
      {french.c_str(), "", 0, "en_US", 1, frenchDates, {}},
      {french.c_str(), "", 0, "ja_JP", 1, frenchDates, {}},
      {us.c_str(), "", 0, "en_GB", 1, usDates, {}},
      {us.c_str(), "", 0, "fr_FR", 1, usDates, {}},
      {us.c_str(), "", 0, "de_DE", 1, usDates, {}},
      {japanese.c_str(), "", ',', "ja_JP", 4, japaneseDates, {}},
      {japanese.c_str(), "", ',', "de_DE", 4, japaneseDates, {}},
      {japanese.c_str(), "", ',', "en_US", 2, {2.5, -0.25, 1e-7, 0.75}, {}},
      {japanese.c_str(), "", ',', "de_DE", 5, {"1.5 kg", "2,5 l", 7.5, "x"}, {}},
      {japanese.c_str(), "", ';', "de_DE", 1, {"a,2.5,1234.5,2026/12/11,1.5 kg"}, {}, ','},
      {indian.c_str(), "", 0, "hi_IN", 2, indianValues, {}},
      {indian.c_str(), "", 0, "de_DE", 2, indianValues, {}},
      {blanks.c_str(), "", 0, "en_US", 1, {1234.5, 1234567.25, 2.5}, {}},
      {blanks.c_str(), "", 0, "ru_RU", 1, {1234.5, 1234567.25, 2.5}, {}},
      // Blanks between digits that group nothing keep the fields texts.
      {"blank_texts.txt", "x\r\n12 34\r\n1 2 3\r\n1 234\r\n", 0, "fr_FR", 1, {"12 34", "1 2 3", "1 234"}, {}},
      {"percent.txt", "x\r\n12,5\xC2\xA0%\r\n7,5\xE2\x80\xAF%\r\n1,5\r\n", 0, "en_US", 1, {0.125, 0.075, 1.5}, {}},
      // Fields that leave the order open: the desktop's, and the note says so.
      {"open.txt",
       "x\r\n02/01/2027\r\n12/11/2026\r\n",
       0,
       "en_GB",
       1,
       {jan2, nov12},
       {"does not show whether its dates name the day or the month first (02/01/2027)", "the day first"}},
      {"open.txt", "x\r\n02/01/2027\r\n12/11/2026\r\n", 0, "en_US", 1, {feb1, dec11}, {"the month first"}},
      // A year-first desktop takes the month first where the fields leave it open.
      {"open.txt", "x\r\n02/01/2027\r\n12/11/2026\r\n", 0, "ja_JP", 1, {feb1, dec11}, {"the month first"}},
      // Date fields that are no dates in the order decided stay texts, counted.
      {"mixed.txt",
       "x\r\n25/12/2026\r\n13/01/2027\r\n12/31/2026\r\n31/02/2027\r\n",
       0,
       "en_US",
       1,
       {dec25, DateSerial(2027, 1, 13), "12/31/2026", "31/02/2027"},
       {"2 fields written like dates are no dates with the day first and were kept as texts (such as 12/31/2026)"}},
      {"iso.csv",
       "d,v\r\n2026.12.11,1\r\n2026/12/25 10:30,2\r\n2027-01-02,3\r\n",
       ',',
       "en_US",
       1,
       {dec11, dec25 + 0.4375, jan2},
       {}},
  };
  IntlSeparators = Desktop("en_US");
  const bool english = LanguageEnglish != 0;
  LanguageEnglish = 1;
  for (const TReadCase& c : cases) {
    const std::string path = c.Bytes.empty() ? Fixture(c.File) : PathOf(c.File);
    if (!c.Bytes.empty()) Spit(path, c.Bytes);
    IntlSeparators = Desktop(c.On);
    const std::string what = std::string(c.File) + " on " + c.On;
    TWorkbook book(1);
    std::string note;
    char shown = 0;
    if (!Read(book, path, c.Separator, &note, &shown)) continue;
    for (std::size_t k = 0; k < c.Cells.size(); ++k) {
      const TCell* cell = book.Cell(static_cast<int>(k) + 2, c.Col);
      ASSERT_NE(cell, nullptr) << what << " row " << k + 2;
      if (const double* number = std::get_if<double>(&c.Cells[k])) {
        EXPECT_EQ(cell->Kind, TCellKind::Number) << what << " row " << k + 2 << ": " << cell->Text;
        EXPECT_DOUBLE_EQ(cell->Number, *number) << what << " row " << k + 2;
      } else {
        EXPECT_EQ(cell->Kind, TCellKind::Text) << what << " row " << k + 2;
        EXPECT_EQ(cell->Text, std::get<std::string>(c.Cells[k])) << what << " row " << k + 2;
      }
    }
    if (c.NoteHolds.empty()) {
      EXPECT_EQ(note, "") << what;
    }
    for (const std::string& part : c.NoteHolds) EXPECT_NE(note.find(part), std::string::npos) << what << ": " << note;
    if (c.Separator != 0) {
      EXPECT_EQ(shown, c.LinesShow) << what;
    }
  }
  LanguageEnglish = english ? 1 : 0;
}

struct TTypedCase {
  const char* Name;
  std::string Bytes;  // the file as another program or desktop wrote it
  char Separator;     // for a .csv
  const char* On;     // the desktop that opens, types and saves
  int Row, Col;
  std::string Typed;
  std::string Saved;  // the file after Ctrl+S
};

// A date typed into an opened file is saved in the file's own date form, a
// number in its decimal mark; every other byte stays.
TEST_F(DesktopFiles, ATypedDateIsSavedInTheFilesOwnForm) {
  const std::vector<TTypedCase> cases = {
      {"pandas.csv", "date,value\n2026-12-11,1.5\n2026-12-12,2.5\n", ',', "en_US", 4, 1, "12/13/2026",
       "date,value\n2026-12-11,1.5\n2026-12-12,2.5\n2026-12-13\n"},
      {"french.txt", "Datum\tWert\r\n11/12/2026\t1,5\r\n25/12/2026\t2,5\r\n", 0, "en_US", 4, 1, "1/2/2027",
       "Datum\tWert\r\n11/12/2026\t1,5\r\n25/12/2026\t2,5\r\n02/01/2027\r\n"},
      {"us.txt", "date\tvalue\r\n12/31/2026\t1\r\n", 0, "de_DE", 2, 1, "13.12.2026",
       "date\tvalue\r\n12/13/2026\t1\r\n"},
      {"japanese.csv", "d,v\n2026/12/11,2.5\n", ',', "de_DE", 3, 1, "1.2.2027", "d,v\n2026/12/11,2.5\n2027/02/01\n"},
      {"grouped.txt", "x\r\n1 234,50\r\n1 234 567,25\r\n", 0, "fr_FR", 4, 1, "3,75",
       "x\r\n1 234,50\r\n1 234 567,25\r\n3,75\r\n"},
      // A file without dates takes its first in the form every desktop reads.
      {"no_dates.txt", "x\r\n1,5\r\n", 0, "fr_FR", 3, 1, "11/12/2026", "x\r\n1,5\r\n2026-12-11\r\n"},
  };
  for (const TTypedCase& c : cases) {
    const std::string path = PathOf(c.Name);
    Spit(path, c.Bytes);
    IntlSeparators = Desktop(c.On);
    TWorkbook book(1);
    if (!Read(book, path, c.Separator)) continue;
    book.SetEntry(c.Row, c.Col, c.Typed);
    const TTextDialect dialect = c.Separator != 0 ? Csv(c.Separator) : TabTextDialect(kFileTypeText);
    std::string error;
    TTextSaveCheck proof;
    EXPECT_TRUE(SaveSheetText(book, path, dialect, error, &proof, true))
        << c.Name << ": " << error << TextSaveReason(proof, true);
    EXPECT_EQ(Slurp(path), c.Saved) << c.Name;
  }
}

}  // namespace
}  // namespace kvx::workbook
