// Text files saved where they were read give the file back: files made by
// hand (each row of the tables below) are read, saved unchanged (the same
// bytes), saved after one cell changed (only that cell's bytes differ) and
// after a whole row or column went in or out; what a save would not give
// back is counted and named; the commas of a file are read as the file
// means them.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/globals.h"
#include "platform/number_text.h"
#include "platform/workbook/text_dates.h"
#include "platform/workbook/text_numbers.h"
#include "platform/workbook/workbook_files.h"
#include "support/temp_folder.h"

namespace kvx::workbook {
namespace {

const TIntlSeparators kGerman{',', ';', '.', ':', '.'};
const TIntlSeparators kEnglish{'.', ',', '/', ':', ','};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Utf16Le(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::string Fixture(const std::string& name) { return Slurp(std::string(KVX_FIXTURE_DIR) + "/bad-inputs/" + name); }

TTextDialect Csv(char separator) {
  TTextDialect dialect;
  dialect.Separator = separator;
  dialect.Quoting = true;
  return dialect;
}

// Reads a tab text (a .txt) or a ';'-separated file (a .csv).
void Read(TWorkbook& book, const std::string& path, std::string* note = nullptr) {
  std::string error;
  int type = 0;
  const bool csv = path.ends_with(".csv");
  ASSERT_TRUE(csv ? ReadSeparatedIntoSheet(book, path, ';', error, note) : ReadWorkbookFile(book, path, type, error, note))
      << error;
}

TTextDialect DialectOf(const std::string& path) {
  return path.ends_with(".csv") ? Csv(';') : TabTextDialect(kFileTypeText);
}

struct TSaveCase {
  const char* Name;
  bool German;
  std::string Bytes;
  int Row, Col;  // the cell changed
  const char* Entry;
  std::string Changed;  // the file after the change
};

TEST(TextSave, AFileSavedInPlaceChangesOnlyTheCellsTheUserChanged) {
  const std::vector<TSaveCase> cases = {
      // UTF-8 without its mark, LF, leading zeros, 20 digits, "+5", "1.10",
      // "3.10" (a date to a German reader), a formula, decimal commas.
      {"lf.txt", true, "Ort\tPLZ\tNummer\tZeichen\tVersion\tTag\nDresden\t01067\t12345678901234567890\t+5\t1.10\t3.10\n"
                       "3\t2,5\t=A3*B3\n",
       3, 1, "4",
       "Ort\tPLZ\tNummer\tZeichen\tVersion\tTag\nDresden\t01067\t12345678901234567890\t+5\t1.10\t3.10\n"
       "4\t2,5\t=A3*B3\n"},
      {"bom.txt", true, "\xEF\xBB\xBFGr\xC3\xB6\xC3\x9F" "e\t1,50\r\n\xCE\xA9\t=B1*2\r\n", 1, 1, "Masse",
       "\xEF\xBB\xBFMasse\t1,50\r\n\xCE\xA9\t=B1*2\r\n"},
      {"cp1252.txt", true, "Gr\xF6\xDF" "e\t1,5\r\n\xB0" "C\t-2,25e-3", 2, 1, "K",
       "Gr\xF6\xDF" "e\t1,5\r\nK\t-2,25e-3"},
      {"utf16.txt", false, Utf16Le(u"Größe\t1.50\r\nx\t2\r\n"), 2, 2, "3", Utf16Le(u"Größe\t1.50\r\nx\t3\r\n")},
      // Line ends of every kind, empty fields at the ends of lines, empty
      // lines at the end, quotes that are characters of a tab text.
      {"mixed.txt", false, "a\t0.50\t\r\n\"c\"\n\nd\re\t\t\n\n", 1, 2, "0.75", "a\t0.75\t\r\n\"c\"\n\nd\re\t\t\n\n"},
      // A German spreadsheet's ';' file with quoted fields.
      {"semicolon.csv", true, "\"Name\";\"Wert\"\n\"Ceres\";1,50\n\"a;b\";\"say \"\"hi\"\"\"\n", 2, 2, "2",
       "\"Name\";\"Wert\"\n\"Ceres\";2\n\"a;b\";\"say \"\"hi\"\"\"\n"},
      // Whole numbers of 17 to 20 digits ending in zeros: those no double
      // holds exactly (the double's own text has other digits) beside those
      // one does; exponents; a German file of them.
      {"big.txt", false, Fixture("tab_text_big_integer_field_changed_by_ctrl_s.txt"), 3, 3, "2.5",
       "Objekt\tNummer\tWert\nCeres\t123456789012345000\t1.5\nVesta\t4\t2.5\n"},
      {"big.csv", true, Fixture("csv_big_integer_field_changed_by_ctrl_s.csv"), 3, 3, "2,5",
       "Objekt;Nummer;Wert\nCeres;123456789012345000;1,5\nVesta;4;2,5\n"},
      {"digits.txt", false, "1234567890123450000\t-98765432109876500000\t12345678901234500\t-10000000000000000\n"
                            "99999999999999900000\t1.5e3\t2E-7\t1e+22\t123456789012345e5\n",
       2, 2, "1500",
       "1234567890123450000\t-98765432109876500000\t12345678901234500\t-10000000000000000\n"
       "99999999999999900000\t1500\t2E-7\t1e+22\t123456789012345e5\n"},
  };
  test::TempFolder folder;
  for (const TSaveCase& c : cases) {
    SCOPED_TRACE(c.Name);
    IntlSeparators = c.German ? kGerman : kEnglish;
    const std::string path = folder.Write(c.Name, c.Bytes);
    const std::string copy = folder.File(std::string("copy-") + c.Name);
    TWorkbook book;
    Read(book, path);
    std::string error;
    EXPECT_FALSE(CheckTextSave(book, DialectOf(path)).Any()) << TextSaveReason(CheckTextSave(book, DialectOf(path)), true);
    ASSERT_TRUE(SaveSheetText(book, copy, DialectOf(path), error)) << error;
    EXPECT_EQ(Slurp(copy), c.Bytes) << "unchanged";
    ASSERT_TRUE(book.CommitEntry(c.Row, c.Col, c.Entry));
    EXPECT_FALSE(CheckTextSave(book, DialectOf(path)).Any());
    TTextSaveCheck proof;
    ASSERT_TRUE(SaveSheetText(book, path, DialectOf(path), error, &proof)) << error << TextSaveReason(proof, true);
    EXPECT_EQ(Slurp(path), c.Changed) << "one cell changed";
    // What was saved is what the next save gives back, unchanged.
    ASSERT_TRUE(SaveSheetText(book, copy, DialectOf(path), error)) << error;
    EXPECT_EQ(Slurp(copy), c.Changed);
    // Read again and saved: the program's own file stays as it is.
    TWorkbook again;
    Read(again, path);
    EXPECT_FALSE(CheckTextSave(again, DialectOf(path)).Any());
    ASSERT_TRUE(SaveSheetText(again, copy, DialectOf(path), error)) << error;
    EXPECT_EQ(Slurp(copy), c.Changed);
  }

  // Whole rows and columns in and out: the other lines keep their bytes.
  IntlSeparators = kGerman;
  const std::string path = folder.Write("rows.txt", "a\t01\n\nb\t02\t\nc");
  TWorkbook book;
  Read(book, path);
  std::string error;
  book.InsertRange(TRange{2, 1, 2, kMaxCols}, 3);
  book.SetEntry(2, 1, "neu");
  ASSERT_TRUE(SaveSheetText(book, path, TabTextDialect(kFileTypeText), error)) << error;
  EXPECT_EQ(Slurp(path), "a\t01\nneu\n\nb\t02\t\nc");
  book.DeleteRange(TRange{3, 1, 3, kMaxCols}, 3);
  book.InsertRange(TRange{1, 2, kMaxRows, 2}, 4);
  ASSERT_TRUE(SaveSheetText(book, path, TabTextDialect(kFileTypeText), error)) << error;
  EXPECT_EQ(Slurp(path), "a\t\t01\nneu\nb\t\t02\t\nc");
  book.SetEntry(5, 1, "d");  // a row after the last line, which had no end
  ASSERT_TRUE(SaveSheetText(book, path, TabTextDialect(kFileTypeText), error)) << error;
  EXPECT_EQ(Slurp(path), "a\t\t01\nneu\nb\t\t02\t\nc\nd");

  // A file's texts are kept only where the cells would not give them back
  // ("01067", a quoted text, "1,50"), and the file comes back whole from
  // them, also after a save.
  const std::string table = folder.Write("table.csv", "1,5;2026;Nord;01067;\"Ost\";-0,031;1,50\r\n2,25;;x\r\n");
  TWorkbook kept;
  Read(kept, table);
  EXPECT_EQ(kept.TextSource().Cells.size(), 3u);
  ASSERT_TRUE(SaveSheetText(kept, table, Csv(';'), error)) << error;
  EXPECT_EQ(Slurp(table), "1,5;2026;Nord;01067;\"Ost\";-0,031;1,50\r\n2,25;;x\r\n");
  EXPECT_EQ(kept.TextSource().Cells.size(), 3u);
  kept.SetEntry(2, 1, "2,5");
  ASSERT_TRUE(SaveSheetText(kept, table, Csv(';'), error)) << error;
  EXPECT_EQ(Slurp(table), "1,5;2026;Nord;01067;\"Ost\";-0,031;1,50\r\n2,5;;x\r\n");

  // What the user typed, or showed in another number format, is written as
  // shown with the file's decimal mark, though the value stays: "1067" over
  // "01067", "1.1" over "1.10", "1.10" shown as "1.100" (and "1,100" in a
  // file of decimal commas); a cell confirmed as its file has it stays.
  for (const bool german : {false, true}) {
    SCOPED_TRACE(german ? "German" : "English");
    IntlSeparators = german ? kGerman : kEnglish;
    const std::string typed = folder.Write("typed.txt", german ? "01067\t1,10\t1,10\t2,5\n" : "01067\t1.10\t1.10\t2.5\n");
    TWorkbook edited;
    Read(edited, typed);
    ASSERT_TRUE(edited.CommitEntry(1, 1, "1067"));
    ASSERT_TRUE(edited.CommitEntry(1, 2, german ? "1,1" : "1.1"));
    edited.SetCellNumberFormat(1, 3, german ? "0,000" : "0.000");
    ASSERT_TRUE(edited.CommitEntry(1, 4, edited.Entry(1, 4)));
    TTextSaveCheck proof;
    ASSERT_TRUE(SaveSheetText(edited, typed, TabTextDialect(kFileTypeText), error, &proof))
        << error << TextSaveReason(proof, true);
    EXPECT_EQ(Slurp(typed), german ? "1067\t1,1\t1,100\t2,5\n" : "1067\t1.1\t1.100\t2.5\n");
  }
  IntlSeparators = kGerman;
}

TEST(TextSave, WhatASaveWouldNotGiveBackIsCountedAndNamed) {
  IntlSeparators = kGerman;
  test::TempFolder folder;
  TWorkbook book;
  Read(book, folder.Write("cp1252.txt", "Gr\xF6\xDF" "e\t1,5\r\n"));
  const TTextDialect tab = TabTextDialect(kFileTypeText);
  // A character Windows-1252 lacks: the whole file would become UTF-8.
  book.SetEntry(2, 1, "\xCE\xA9");
  TTextSaveCheck check = CheckTextSave(book, tab);
  EXPECT_TRUE(check.Encoding);
  EXPECT_EQ(TextSaveReason(check, false), "der Text würde in UTF-8 statt in Windows-1252 geschrieben");
  // A tab or a line break in a changed cell would make more cells of it.
  book.SetEntry(2, 1, "a\tb");
  book.SetEntry(2, 2, "c\nd");
  check = CheckTextSave(book, tab);
  EXPECT_EQ(check.SplitCells, 2);
  EXPECT_FALSE(check.Encoding);
  EXPECT_EQ(TextSaveReason(check, true),
            "2 cells hold tabs or line breaks and would read back as more than one cell each");
  book.SetEntry(2, 1, "");
  book.SetEntry(2, 2, "");
  EXPECT_FALSE(CheckTextSave(book, tab).Any());
  // Another sheet than the file's would be written.
  book.InsertSheets(2, 1, "Tabelle");
  book.SetSheet(2);
  EXPECT_EQ(TextSaveReason(CheckTextSave(book, tab), false),
            "das Blatt „" + book.SheetName(2) + "“ würde anstelle des aus der Datei gelesenen Blatts geschrieben");
  book.SetSheet(1);
  EXPECT_FALSE(CheckTextSave(book, tab).Any());

  // A ';' file written with ',' between the fields: numbers and texts in
  // the new form, and the file's LF become CR/LF.
  IntlSeparators = kEnglish;
  TWorkbook csv;
  Read(csv, folder.Write("values.csv", "01067;1,5;=A1\n\"x\";2\n"));
  check = CheckTextSave(csv, Csv(','));
  EXPECT_EQ(check.Numbers, 2);
  EXPECT_EQ(check.Others, 1);
  EXPECT_TRUE(check.LineEnds);
  EXPECT_EQ(TextSaveReason(check, true),
            "2 numbers would be written differently, such as 01067 → 1067, 1 cell would be written differently: "
            "\"x\" → x and the line ends would change");
  EXPECT_EQ(TextSaveReason(check, false),
            "2 Zahlen würden anders geschrieben, etwa 01067 → 1067, 1 Zelle würde anders geschrieben: \"x\" → x und "
            "die Zeilenenden würden sich ändern");
  EXPECT_FALSE(CheckTextSave(csv, Csv(';')).Any());
  IntlSeparators = kGerman;
}

// The save judges an unchanged number written as its shortest text from
// where its mark stands: that counts for the decimal marks as reading the
// text does, and no such text is a date.
TEST(TextSave, ANumbersShortestTextCountsAsReadingItDoes) {
  std::mt19937_64 random(1211);
  std::uniform_int_distribution<int> digits(0, 9999999), exponent(-30, 30);
  for (int k = 0; k < 100000; ++k) {
    const double whole = digits(random) * (k % 3 == 0 ? -1.0 : 1.0);
    const double value = k % 4 == 0 ? whole / 1000.0 : whole * std::pow(10.0, exponent(random));
    for (const char decimal : {'.', ','}) {
      const std::string text = ShortestNumberText(value, decimal);
      TNumberEvidence read, judged;
      read.Add(text);
      judged.AddShortest(text, decimal);
      ASSERT_EQ(judged.PointFields(), read.PointFields()) << text;
      ASSERT_EQ(judged.CommaFields(), read.CommaFields()) << text;
      ASSERT_EQ(judged.Example(), read.Example()) << text;
      ASSERT_EQ(judged.BlankGroups(), read.BlankGroups()) << text;
      for (const char separator : {'.', '/', '-'}) ASSERT_FALSE(DateFieldOf(text, separator)) << text;
    }
  }
}

TEST(TextSave, CommasAreReadAsTheFileMeansThem) {
  struct Case {
    bool German;
    const char* Line;
    std::vector<double> Numbers;  // A1, B1, ... (NaN: not a number)
    const char* Note;             // how the commas were read, where the file does not say
  };
  const double text = std::nan("");
  const std::vector<Case> cases = {
      // Decimal points or commas that group thousands: "1,234" is 1234.
      {false, "1,234\t2.5\t12,345,678", {1234, 2.5, 12345678}, ""},
      {true, "1,234\t12,345,678\tx", {1234, 12345678, text}, ""},
      {true, "-1,234.5\t1,234", {-1234.5, 1234}, ""},
      // A comma only a decimal comma can be: decimal commas, in any session.
      {false, "1,5\t1,234\t-2,25e-3", {1.5, 1.234, -0.00225}, ""},
      {true, "1,5\t1,234", {1.5, 1.234}, ""},
      // Not settled by the file: the session decides, and the note says so;
      // a number only with the other mark stays a text, counted.
      {false, "1,234\tx", {1234, text}, "(1,234): they were read with decimal points and commas grouping thousands"},
      {true, "1,234\tx", {1.234, text}, "mit Dezimalkommas gelesen"},
      {true, "1.234\t1.234.567", {1234, 1234567}, ""},
      {false, "1,5\t12,345,678",
       {text, 12345678},
       "The file shows decimal points and decimal commas in as many fields (12,345,678, 1,5): they were read with "
       "decimal points and commas grouping thousands, as the session's decimal separator has it. 1 field that is a "
       "number only with decimal commas was kept as a text (1,5)."},
      // Fields that show both marks: the mark more fields show wins.
      {true, "2.5\t0,75\t1,5", {text, 0.75, 1.5},
       "1 Feld, das nur mit Dezimalpunkten eine Zahl ist, blieb Text, da mehr Felder der Datei Dezimalkommas zeigen "
       "(2.5)."},
      {true, "12,345,678\t2.5\t1,5", {12345678, 2.5, text},
       "1 Feld, das nur mit Dezimalkommas eine Zahl ist, blieb Text, da mehr Felder der Datei Dezimalpunkte zeigen "
       "(1,5)."},
  };
  test::TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Line);
    IntlSeparators = c.German ? kGerman : kEnglish;
    LanguageEnglish = c.German ? 0 : 1;
    TWorkbook book;
    std::string note;
    Read(book, folder.Write("commas.txt", c.Line), &note);
    for (std::size_t k = 0; k < c.Numbers.size(); ++k) {
      const int col = static_cast<int>(k) + 1;
      if (std::isnan(c.Numbers[k])) {
        EXPECT_NE(book.CellKind(1, col), TCellKind::Number) << col;
      } else {
        ASSERT_EQ(book.CellKind(1, col), TCellKind::Number) << col << " " << book.Text(1, col);
        EXPECT_DOUBLE_EQ(book.Number(1, col), c.Numbers[k]) << col;
      }
    }
    if (*c.Note == 0) {
      EXPECT_EQ(note, "");
    } else {
      EXPECT_NE(note.find(c.Note), std::string::npos) << note;
    }
  }
  IntlSeparators = kGerman;
  LanguageEnglish = 0;
}

}  // namespace
}  // namespace kvx::workbook
