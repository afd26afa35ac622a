// Damaged and hostile inputs of the workbook: each file of
// fixtures/bad-inputs once crashed, hung, computed with undefined behaviour
// or lost data.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <regex>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/number_text.h"
#include "platform/workbook/formula_engine.h"
#include "platform/workbook/read_failure.h"
#include "platform/workbook/read_back.h"
#include "platform/workbook/read_losses.h"
#include "platform/workbook/workbook_files.h"
#include "platform/workbook/xlsx_checks.h"
#include "platform/workbook/xlsx_numbers.h"
#include "platform/workbook/xlsx_text.h"
#include "platform/workbook/xlsx_zip_internal.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx::workbook {
namespace {

namespace fs = std::filesystem;

class BadInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = IntlSeparators;
    IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
  }
  void TearDown() override { IntlSeparators = saved_; }

  static std::string Input(const std::string& name) { return std::string(KVX_FIXTURE_DIR) + "/bad-inputs/" + name; }
  std::string PathOf(const std::string& name) const { return folder_.File(name); }
  static std::string TextOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Opens a file into the book; the error text when it fails.
  static std::string Open(TWorkbook& book, const std::string& path) {
    int type = 0;
    std::string error;
    return ReadWorkbookFile(book, path, type, error) ? std::string() : (error.empty() ? "?" : error);
  }

  // The one sheet "Daten" of the damaged workbooks, read whole: A1
  // "Objekt", B1 "Helligkeit", A2 "Ceres", B2 1.25 in the format "0.000",
  // A3 "Vesta", B3 2.5, texts as shared strings.
  static void ExpectReadWhole(const TWorkbook& read) {
    EXPECT_EQ(read.SheetName(1), "Daten");
    EXPECT_EQ(read.Text(1, 1), "Objekt");
    EXPECT_EQ(read.Text(1, 2), "Helligkeit");
    EXPECT_EQ(read.Text(3, 1), "Vesta");
    EXPECT_EQ(read.Number(2, 2), 1.25);
    EXPECT_EQ(read.Text(2, 2), "1,250");
  }

  // The text of a package's part; empty when it has none.
  static std::string PartOf(const std::string& path, const std::string& name) {
    const std::string bytes = TextOf(path);
    std::vector<internal::Entry> entries;
    std::string error, text;
    std::uint64_t total = 0;
    EXPECT_TRUE(internal::ReadDirectory(bytes, entries, error)) << error;
    for (const internal::Entry& entry : entries) {
      if (entry.Name == name) {
        EXPECT_TRUE(internal::InflateChecked(bytes, entry, &text, total, error)) << error;
      }
    }
    return text;
  }

  // A package's part changed: the first `From` replaced by `To`; without
  // `From`, the part left out.
  struct Edit {
    std::string Part;
    std::string From;
    std::string To;
  };
  // The package of a file with the edits made (and every part's text
  // given to `each` first), stored again.
  static std::string Edited(const std::string& path, const std::vector<Edit>& edits,
                            const std::function<void(std::string&)>& each = {}) {
    const std::string bytes = TextOf(path);
    std::vector<internal::Entry> entries, kept;
    std::string error;
    EXPECT_TRUE(internal::ReadDirectory(bytes, entries, error)) << error;
    std::vector<std::string> names, texts;
    std::uint64_t total = 0;
    for (const internal::Entry& entry : entries) {
      std::string text;
      EXPECT_TRUE(internal::InflateChecked(bytes, entry, &text, total, error)) << error;
      if (each) each(text);
      bool left = false;
      for (const Edit& edit : edits) {
        if (edit.Part != entry.Name) continue;
        const std::size_t at = text.find(edit.From);
        left = left || edit.From.empty();
        EXPECT_NE(at, std::string::npos) << edit.From;
        if (!edit.From.empty() && at != std::string::npos) text.replace(at, edit.From.size(), edit.To);
      }
      if (left) continue;
      kept.push_back(entry);
      names.push_back(entry.Name);
      texts.push_back(std::move(text));
    }
    std::vector<std::pair<std::string, std::pair<std::size_t, std::size_t>>> parts;
    return internal::StoredZip(kept, names, texts, std::vector<bool>(kept.size(), true), parts);
  }

  TIntlSeparators saved_;
  // Its own folder, even while another process runs the same test.
  kvx::test::TempFolder folder_;
};

TEST_F(BadInputTest, MalformedFormulasFromFilesShowAnErrorAndTheOthersAreComputed) {
  for (const char* name :
       {"workbook_formula_whole_row.txt", "workbook_formula_trailing_dollar.txt", "workbook_formula_lone_quote.txt",
        "workbook_formula_wide_column_range.txt", "workbook_unresolvable_formula.txt"}) {
    SCOPED_TRACE(name);
    TWorkbook book;
    ASSERT_EQ(Open(book, Input(name)), "");
    ASSERT_EQ(book.CellKind(1, 1), TCellKind::Formula);
    book.SetNumber(1, 2, 21.0);
    book.SetFormula(1, 3, "B1*2");
    book.SetFormula(1, 4, "A1+1");  // depends on the bad one
    EXPECT_EQ(book.Text(1, 1), "#NAME?");
    EXPECT_EQ(book.Text(1, 3), "42");
    EXPECT_EQ(book.Text(1, 4).front(), '#');
  }
  // The other texts of the same kinds, and references beyond the sheet.
  TWorkbook book;
  const char* bad[] = {"1'",   "/'",       "$",        "$1",         "A$",        "$$A1",    "SUM($A:)",
                       "A1:$", "\"open",   "'Sheet1'", "Sheet1!",    "''!A1",     "(1",      "1)",
                       "XFE1", "A1048577", "A:XFE",    "0:1",        "1:1048577", "B3630:8", "A1:B",
                       "3:A1", "A1:B2:C3", "SUM(Z:A)", "SUM($C:$B)", "Sheet1!D:A"};
  for (const char* formula : bad) {
    SCOPED_TRACE(formula);
    EXPECT_FALSE(ScanFormula(formula).Sound);
    book.SetFormula(2, 1, formula);
    EXPECT_EQ(book.Text(2, 1), "#NAME?");
  }
  for (const char* formula : {"SUM(A:C)+SUM(2:3)", "'Sheet1'!$A$1+Sheet1!B2", "\"it''s\"&\"a\"\"b\"", "#REF!+1",
                              "LOG10(100)", "1.5E+3", "SUM($A$1:B2)"}) {
    SCOPED_TRACE(formula);
    EXPECT_TRUE(ScanFormula(formula).Sound);
  }
  // Blocks too large for the engine's dependency checks show "#NUM!".
  book.SetFormula(3, 1, "SUM(A1:XFD1048576)");
  book.SetFormula(3, 2, "SUM(C:Z)+SUM(4:9)");
  EXPECT_EQ(book.Text(3, 1), "#NUM!");
  EXPECT_EQ(book.Text(3, 2), "0");
}

TEST_F(BadInputTest, TypedFormulasTheEngineRefusesLeaveTheCellAsItWas) {
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  TWorkbook book(2);
  book.SetNumber(1, 1, 7.0);
  for (const char* typed : {"=$1", "=$", "='", "=1'", "=/'", "=!a", "=cf:ooter", "=Sheet9!A1", "=SUM(1"}) {
    SCOPED_TRACE(typed);
    EXPECT_FALSE(book.CommitEntry(1, 1, typed));
    EXPECT_EQ(book.CellKind(1, 1), TCellKind::Number);
    EXPECT_EQ(book.Text(1, 1), "7");
  }
  ASSERT_EQ(sink.messages.size(), 9u);
  EXPECT_EQ(sink.messages[0].text, "Die Formel =$1 ist ungültig.");
  EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
  // A function the program cannot compute is named, whatever its case.
  EXPECT_FALSE(book.CommitEntry(1, 1, "=median(A1:A2)"));
  EXPECT_FALSE(book.CommitEntry(1, 1, "=1+Foo(2)"));
  ASSERT_EQ(sink.messages.size(), 11u);
  EXPECT_EQ(sink.messages[9].text,
            "Die Formel =median(A1:A2) ist ungültig: Die Funktion MEDIAN kennt das Programm nicht (#NAME?).");
  EXPECT_NE(sink.messages[10].text.find("FOO"), std::string::npos);
  EXPECT_EQ(book.Text(1, 1), "7");
  EXPECT_TRUE(book.CommitEntry(1, 2, "=A1*2+Sheet2!A1+SUM(A:A)+count(A1)"));
  EXPECT_TRUE(book.CommitEntry(1, 3, "12,5"));
  EXPECT_EQ(book.Text(1, 2), "22");
  EXPECT_EQ(sink.messages.size(), 11u);
}

TEST_F(BadInputTest, SavedWorkbooksOpenAgainWithTheirTextsAndBadFormulas) {
  TWorkbook book;
  ASSERT_EQ(Open(book, Input("workbook_control_character.txt")), "");
  EXPECT_EQ(book.Text(1, 1),
            "a\x01"
            "b");
  const std::string texts[] = {
      "a\x01"
      "b",
      "line\rreturn\r\nand\nfeed\ttab", "_x0041_ stays _X0041_ _x00zz_", "_x005F_x0001_", "\x1F\x7F \xF0\x9F\x98\x80"};
  for (int k = 0; k < 5; ++k) book.SetText(k + 1, 1, texts[k]);
  book.SetFormula(1, 2, "!a");   // unresolvable
  book.SetFormula(2, 2, "=$1");  // malformed
  book.SetFormula(3, 2, "A4&\"\"");
  book.SetNumber(4, 2, 2.5);
  const std::string path = PathOf("saved.xlsx");
  std::string error;
  ASSERT_TRUE(WriteWorkbookFile(book, path, kFileTypeWorkbook, error)) << error;

  TWorkbook back;
  ASSERT_EQ(Open(back, path), "");
  for (int k = 0; k < 5; ++k) EXPECT_EQ(back.Text(k + 1, 1), texts[k]) << k;
  EXPECT_EQ(back.Text(3, 2), texts[3]);
  EXPECT_DOUBLE_EQ(back.Number(4, 2), 2.5);
  // Formulas the reading library would refuse the file for come back as
  // their texts.
  EXPECT_EQ(back.Text(1, 2), "=!a");
  EXPECT_EQ(back.Text(2, 2), "=$1");
  EXPECT_EQ(back.CellKind(2, 2), TCellKind::Text);

  // The unresolvable formula of the text file, saved and opened again.
  TWorkbook unresolvable;
  ASSERT_EQ(Open(unresolvable, Input("workbook_unresolvable_formula.txt")), "");
  unresolvable.SetText(2, 1, "kept");
  ASSERT_TRUE(WriteWorkbookFile(unresolvable, path, kFileTypeWorkbook, error)) << error;
  TWorkbook reopened;
  ASSERT_EQ(Open(reopened, path), "");
  EXPECT_EQ(reopened.Text(2, 1), "kept");
  EXPECT_EQ(reopened.Text(1, 1), "=!a");

  // Texts and formulas the writer once wrote so that they came back
  // changed, cut, or in a sheet part that is no XML (the reader refuses
  // such a part).
  struct Case {
    const char* File;
    std::string Formula;  // "" for a text
    std::string Text;
  };
  const Case cases[] = {
      {"workbook_formula_control_character.txt",
       "=\"a\x01"
       "b\"",
       "a\x01"
       "b"},
      {"workbook_long_greek_text_save_as_xlsx.txt", "", [] {
         std::string omegas;
         for (int k = 0; k < 16400; ++k) omegas += "\u03A9";
         return omegas;
       }()},
      {"workbook_literal_escape_before_control.txt", "",
       "_x0041\x01"
       "b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    TWorkbook text;
    ASSERT_EQ(Open(text, Input(c.File)), "");
    ASSERT_EQ(text.Text(1, 1), c.Text);
    ASSERT_TRUE(WriteWorkbookFile(text, path, kFileTypeWorkbook, error)) << error;
    TWorkbook saved;
    ASSERT_EQ(Open(saved, path), "");
    EXPECT_EQ(saved.Text(1, 1), c.Text);
    EXPECT_EQ(saved.Formula(1, 1), c.Formula);
    EXPECT_EQ(saved.Number(1, 2), text.Number(1, 2));
  }
}

// A stray NUL is a character of text: it opens, survives a save as .xlsx
// (the writer escapes it, and the underscore of a literal escape) and
// comes back. Binary data and bytes of no known encoding are no text and
// are refused with the reason, leaving the workbook as it was.
TEST_F(BadInputTest, StrayNulsAreTextAndSurviveXlsxWhileBinaryFilesAreRefused) {
  const std::uint8_t language = LanguageEnglish;
  LanguageEnglish = 0;
  TWorkbook book;
  ASSERT_EQ(Open(book, Input("workbook_tab_text_nul_save_as_xlsx.txt")), "");
  const std::string withNul("a\0b", 3);
  EXPECT_EQ(book.Text(1, 1), withNul);
  EXPECT_EQ(book.Text(1, 2), "x");
  const std::string onlyNul("\0", 1);
  const char kMixed[] = "\0_x0041_\0\r\x01_x005F_ <&> ";
  const std::string mixed(kMixed, sizeof kMixed - 1);
  book.SetText(2, 1, onlyNul);
  book.SetText(2, 2, mixed);
  const std::string path = PathOf("nul.xlsx");
  std::string error;
  ASSERT_TRUE(WriteWorkbookFile(book, path, kFileTypeWorkbook, error)) << error;
  TWorkbook back;
  ASSERT_EQ(Open(back, path), "");
  EXPECT_EQ(back.Text(1, 1), withNul);
  EXPECT_EQ(back.Text(1, 2), "x");
  EXPECT_EQ(back.Text(2, 1), onlyNul);
  EXPECT_EQ(back.Text(2, 2), mixed);
  // The same cells saved as .csv open again as well; a tab text cannot
  // hold B2's line break (it would read back as more cells) and is written
  // only without it.
  const std::string text = PathOf("nul.txt"), csv = PathOf("nul.csv");
  ASSERT_TRUE(WriteSheetSeparated(back, csv, ';', error)) << error;
  EXPECT_FALSE(WriteWorkbookFile(back, text, kFileTypeText, error));
  EXPECT_NE(error.find(": 1 Zelle enthält einen Tabulator oder Zeilenumbruch"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(text));
  back.SetText(2, 2, "y");
  ASSERT_TRUE(WriteWorkbookFile(back, text, kFileTypeText, error)) << error;
  TWorkbook fromText, fromCsv;
  ASSERT_EQ(Open(fromText, text), "");
  ASSERT_TRUE(ReadSeparatedIntoSheet(fromCsv, csv, ';', error)) << error;
  for (TWorkbook* read : {&fromText, &fromCsv}) {
    EXPECT_EQ(read->Text(1, 1), withNul);
    EXPECT_EQ(read->Text(2, 1), onlyNul);
  }

  // 64 KiB of random bytes, UTF-16 text without its byte-order mark,
  // zero-padded records, and bytes Windows-1252 leaves undefined: refused,
  // with the reason.
  std::string random(65536, '\0');
  std::uint32_t state = 12345;
  for (char& ch : random) {
    state = state * 1664525u + 1013904223u;
    ch = static_cast<char>(state >> 24);
  }
  const std::string notText[] = {random, std::string("a\0;\0" "1\0\r\0\n\0", 10),
                                 std::string("name;1\0\0\0\0\r\n", 12), "caf\xE9 \x81;1\r\n"};
  const std::string reasons[] = {"Die Datei ", "Nullbytes", "Nullbytes", "weder UTF-8"};
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    for (const char* name : {"binary.csv", "binary.txt"}) {
      const std::string file = PathOf(name);
      std::ofstream(file, std::ios::binary) << notText[k];
      TWorkbook open(2);
      open.SetText(1, 1, "still here");
      const bool csvFile = std::string(name) == "binary.csv";
      error.clear();
      EXPECT_FALSE(csvFile ? ReadSeparatedIntoSheet(open, file, ';', error) : Open(open, file).empty());
      if (csvFile) {
        EXPECT_NE(error.find(reasons[k]), std::string::npos) << error;
      }
      EXPECT_EQ(open.Text(1, 1), "still here");
      EXPECT_EQ(open.NumSheets(), 2);
    }
  }
  LanguageEnglish = language;
}

// Text files the program writes open again: a tab text whose first cell
// starts with "PK" is no zip package, and a sheet whose zero characters
// would make its text file read as binary data is not saved as text (the
// message names the cell) while the .xlsx save keeps it.
TEST_F(BadInputTest, SavedTextFilesOpenAgain) {
  const std::uint8_t language = LanguageEnglish;
  LanguageEnglish = 0;
  TWorkbook pk;
  ASSERT_EQ(Open(pk, Input("workbook_tab_text_pk.txt")), "");
  EXPECT_EQ(pk.Text(1, 1), "PKW-Bestand");
  EXPECT_DOUBLE_EQ(pk.Number(2, 2), 1234567.0);
  std::string error;
  const std::string pkSaved = PathOf("pk.txt");
  ASSERT_TRUE(WriteWorkbookFile(pk, pkSaved, kFileTypeText, error)) << error;
  TWorkbook pkBack;
  ASSERT_EQ(Open(pkBack, pkSaved), "");
  EXPECT_EQ(pkBack.Text(1, 1), "PKW-Bestand");

  TWorkbook nuls;
  ASSERT_EQ(Open(nuls, Input("workbook_two_nuls_save_as_csv.xlsx")), "");
  ASSERT_EQ(nuls.Text(1, 1), std::string("a\0\0b", 4));
  nuls.SetText(2, 3, "kept");
  const std::string csv = PathOf("nuls.csv"), text = PathOf("nuls.txt");
  std::ofstream(csv, std::ios::binary) << "old";
  EXPECT_FALSE(WriteSheetSeparated(nuls, csv, ';', error));
  EXPECT_EQ(error, "Die Zelle A1 enthält Nullzeichen, mit denen sich die Textdatei nicht wieder öffnen ließe. Die Datei "
                   "wurde nicht gespeichert.");
  EXPECT_TRUE(IsTextSaveRefusal(error));
  EXPECT_FALSE(IsTextSaveRefusal("cannot write " + csv));
  std::ifstream kept(csv, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "old");
  for (const int type : {kFileTypeText, kFileTypeTextValues}) {
    EXPECT_FALSE(WriteWorkbookFile(nuls, text, type, error));
    EXPECT_TRUE(IsTextSaveRefusal(error)) << error;
    EXPECT_FALSE(fs::exists(text));
  }
  LanguageEnglish = 1;
  EXPECT_FALSE(WriteSheetSeparated(nuls, csv, ';', error));
  EXPECT_EQ(error.rfind("Cell A1 holds zero characters", 0), 0u) << error;
  EXPECT_TRUE(IsTextSaveRefusal(error));
  const std::string xlsx = PathOf("nuls.xlsx");
  ASSERT_TRUE(WriteWorkbookFile(nuls, xlsx, kFileTypeWorkbook, error)) << error;
  TWorkbook back;
  ASSERT_EQ(Open(back, xlsx), "");
  EXPECT_EQ(back.Text(1, 1), std::string("a\0\0b", 4));
  LanguageEnglish = language;
}

// Text files: damaged UTF-16 is read as far as it is whole, the rest shown
// as U+FFFD and named in the note by its byte, and a save in place would
// not give it back; a text whose Windows-1252
// bytes would start like a UTF-16 mark is saved so that it opens as itself.
TEST_F(BadInputTest, DamagedUtf16ReadsAsFarAsItIsWholeAndSavedTextsOpenAsThemselves) {
  const std::uint8_t language = LanguageEnglish;
  LanguageEnglish = 1;
  struct Case {
    const char* Name;
    const char* B1;
    const char* Damaged;
  };
  for (const Case& c : {Case{"utf16_csv_cut_by_one_byte.csv", "Звезда Вега", "(first at byte 206,"},
                        Case{"utf16_csv_lone_surrogate.csv", "Звезда Вега \uFFFD", "(first at byte 54,"}}) {
    SCOPED_TRACE(c.Name);
    TWorkbook book;
    std::string error, note;
    ASSERT_TRUE(ReadSeparatedIntoSheet(book, Input(c.Name), ';', error, &note)) << error;
    EXPECT_EQ(book.Text(1, 1), "Комета Галлея");
    EXPECT_EQ(book.Text(1, 2), c.B1);
    EXPECT_EQ(book.Text(2, 3), "Туманность Андромеды");
    EXPECT_NE(note.find("The UTF-16 text of the file " + Input(c.Name) + " is damaged " + c.Damaged), std::string::npos)
        << note;
    TTextDialect semicolons;
    semicolons.Separator = ';';
    semicolons.Quoting = true;
    EXPECT_NE(CheckTextSave(book, semicolons).DamagedAt, std::string::npos) << "a save cannot give the bytes back";
  }
  LanguageEnglish = language;

  TWorkbook thorn;
  ASSERT_EQ(Open(thorn, Input("text_starting_thorn_y_save_as_txt.txt")), "");
  ASSERT_EQ(thorn.Text(1, 1), "þÿ-Ligatur");
  for (const int type : {kFileTypeText, 0}) {
    const std::string saved = PathOf(type == 0 ? "thorn.csv" : "thorn.txt");
    std::string error, note;
    ASSERT_TRUE(type == 0 ? WriteSheetSeparated(thorn, saved, ';', error)
                          : WriteWorkbookFile(thorn, saved, type, error))
        << error;
    TWorkbook back;
    int readType = 0;
    ASSERT_TRUE(type == 0 ? ReadSeparatedIntoSheet(back, saved, ';', error, &note)
                          : ReadWorkbookFile(back, saved, readType, error, &note))
        << error;
    EXPECT_EQ(back.Text(1, 1), "þÿ-Ligatur") << saved;
    EXPECT_DOUBLE_EQ(back.Number(1, 2), 12.0);
    EXPECT_EQ(note, "") << "the file reads back as it was saved";
  }
}

// A tab text's formula ("=A2*B2") opens as a formula without a note, and a
// save in place writes its text again: the file stays byte for byte.
TEST_F(BadInputTest, ATabTextsFormulaIsSavedAsItsText) {
  const std::string path = PathOf("formula.txt");
  fs::copy_file(Input("tab_text_formula_saved_as_value.txt"), path);
  const std::string bytes = TextOf(path);
  TWorkbook book;
  int type = 0;
  std::string error, note;
  ASSERT_TRUE(ReadWorkbookFile(book, path, type, error, &note)) << error;
  EXPECT_EQ(note, "");
  EXPECT_EQ(book.Formula(2, 3), "=A2*B2");
  EXPECT_EQ(book.Text(2, 3), "7,5");
  EXPECT_FALSE(CheckTextSave(book, TabTextDialect(type)).Any());
  ASSERT_TRUE(SaveSheetText(book, path, TabTextDialect(type), error)) << error;
  EXPECT_EQ(TextOf(path), bytes);
  // A formula changed is written as its formula too.
  book.SetEntry(2, 3, "=A2*B2*2");
  ASSERT_TRUE(SaveSheetText(book, path, TabTextDialect(type), error)) << error;
  EXPECT_EQ(TextOf(path), "Menge\tPreis\tSumme\r\n3\t2,5\t=A2*B2*2\r\n");
}

// A file's numbers are read by the decimal mark the file shows, in every
// session: a point file's "2.5" is no date 2 May and its "0.75" no text in a
// German session, nor its "1,234" 1.234. A cell typed into a text file is
// written with the file's mark; a text typed that would make the next open
// read the file with the other mark (and "1,234" as 1.234) is counted, and
// Save in place is not allowed.
TEST_F(BadInputTest, AFilesNumbersAreReadAndWrittenWithItsDecimalMark) {
  const TIntlSeparators german = IntlSeparators;
  const TIntlSeparators english{'.', ',', '/', ':', ','};
  for (const char* name : {"csv_point_file_reads_2_5_as_text.csv", "tab_text_point_file_reads_2_5_as_text.txt"}) {
    for (const TIntlSeparators& session : {german, english}) {
      SCOPED_TRACE(std::string(name) + (session.Decimal == ',' ? " German" : " English"));
      IntlSeparators = session;
      TWorkbook book;
      std::string error, note;
      const bool csv = std::string(name).ends_with(".csv");
      int type = 0;
      ASSERT_TRUE(csv ? ReadSeparatedIntoSheet(book, Input(name), ';', error, &note)
                      : ReadWorkbookFile(book, Input(name), type, error, &note))
          << error;
      EXPECT_EQ(note, "");
      const double numbers[] = {1234.5, 2.5, 1234, 0.75};
      for (int row = 2; row <= 5; ++row) {
        ASSERT_EQ(book.CellKind(row, 2), TCellKind::Number) << row << " " << book.Text(row, 2);
        EXPECT_EQ(book.Number(row, 2), numbers[row - 2]) << row;
        EXPECT_EQ(book.Text(row, 1), std::string(1, static_cast<char>('A' + row - 2)));
      }
    }
  }

  // "1,234" alone leaves the mark open: an English session reads 1234.
  IntlSeparators = english;
  const std::string path = PathOf("comma.txt");
  fs::copy_file(Input("tab_text_typed_decimal_comma_changes_1_234.txt"), path);
  const std::string bytes = TextOf(path);
  TWorkbook book;
  int type = 0;
  std::string error, note;
  ASSERT_TRUE(ReadWorkbookFile(book, path, type, error, &note)) << error;
  EXPECT_EQ(book.Number(2, 2), 1234.0);
  EXPECT_NE(note.find("(1,234)"), std::string::npos) << note;
  // "3,5" is a text to an English session; as it stands it would make the
  // file's numbers decimal commas at the next open, so it is marked.
  ASSERT_TRUE(book.CommitEntry(3, 2, "3,5"));
  EXPECT_EQ(book.CellKind(3, 2), TCellKind::Text);
  EXPECT_FALSE(CheckTextSave(book, TabTextDialect(type)).Any());
  ASSERT_TRUE(SaveSheetText(book, path, TabTextDialect(type), error)) << error;
  EXPECT_EQ(TextOf(path), bytes + "\t'3,5\n");
  // 7.5 is written with the file's point, the German entry of 7.25 too.
  ASSERT_TRUE(book.CommitEntry(3, 2, "7.5"));
  IntlSeparators = german;
  ASSERT_TRUE(book.CommitEntry(4, 2, "7,25"));
  EXPECT_FALSE(CheckTextSave(book, TabTextDialect(type)).Any())
      << TextSaveReason(CheckTextSave(book, TabTextDialect(type)), true);
  ASSERT_TRUE(SaveSheetText(book, path, TabTextDialect(type), error)) << error;
  EXPECT_EQ(TextOf(path), bytes + "\t7.5\n\t7.25\n");
  TWorkbook again;
  ASSERT_TRUE(ReadWorkbookFile(again, path, type, error, &note)) << error;
  EXPECT_EQ(note, "");
  EXPECT_EQ(again.Number(2, 2), 1234.0);
  EXPECT_EQ(again.Number(3, 2), 7.5);
  EXPECT_EQ(again.Number(4, 2), 7.25);
}

// A file the program writes reads back as the sheet it wrote. A text the
// reader would take for a number, or that would make it read the file's
// numbers with the other decimal mark ("7,5" as a version beside 2.5 in an
// English session: once every number came back as a text and the label as
// 7.5), is marked in tab text; a comma-separated file takes the decimal
// mark that carries its cells, and where none does nothing is written and
// the reason is named.
TEST_F(BadInputTest, AFileTheProgramWritesReadsBackAsTheSheetItWrote) {
  IntlSeparators = TIntlSeparators{'.', ',', '/', ':', ','};
  // The sheet of the file once written; with `code` a text of digits.
  const auto sheet = [](TWorkbook& book, const char* label, bool code) {
    book.SetText(1, 1, "Version");
    book.SetText(1, 2, label);
    book.SetText(2, 1, "Wert");
    book.SetEntry(2, 2, "2.5");
    book.SetText(3, 1, "Summe");
    book.SetEntry(3, 2, "1234.75");
    if (code) book.SetText(4, 2, "01067");
  };
  const auto readBack = [&](const std::string& path, const TTextDialect& dialect, const char* label, bool code) {
    SCOPED_TRACE(path);
    TWorkbook back;
    std::string error;
    int type = 0;
    ASSERT_TRUE(dialect.Quoting ? ReadSeparatedIntoSheet(back, path, dialect.Separator, error)
                                : ReadWorkbookFile(back, path, type, error))
        << error;
    EXPECT_EQ(back.CellKind(1, 2), TCellKind::Text);
    EXPECT_EQ(back.Text(1, 2), label);
    EXPECT_EQ(back.Number(2, 2), 2.5);
    EXPECT_EQ(back.Number(3, 2), 1234.75);
    EXPECT_EQ(back.CellKind(4, 2), code ? TCellKind::Text : TCellKind::Empty);
    if (code) {
      EXPECT_EQ(back.Text(4, 2), "01067");
    }
  };
  const std::string once = TextOf(Input("tab_text_written_point_numbers_beside_comma_text_read_as_texts.txt"));
  for (const int type : {kFileTypeText, kFileTypeTextValues}) {
    TWorkbook book;
    sheet(book, "7,5", true);
    const std::string path = PathOf("written" + WholeNumberText(type) + ".txt");
    std::string error;
    ASSERT_TRUE(WriteWorkbookFile(book, path, type, error)) << error;
    EXPECT_EQ(TextOf(path).substr(0, 13), "Version\t'7,5\r");
    EXPECT_NE(TextOf(path).substr(0, once.size()), once);
    readBack(path, TabTextDialect(type), "7,5", true);
    // Saved as text and then in place, proven: the same bytes.
    ASSERT_TRUE(SaveSheetText(book, path, TabTextDialect(type), error, nullptr, false)) << error;
    const std::string bytes = TextOf(path);
    TTextSaveCheck proof;
    ASSERT_TRUE(SaveSheetText(book, path, TabTextDialect(type), error, &proof)) << TextSaveReason(proof, true);
    EXPECT_EQ(TextOf(path), bytes);
  }
  // Comma-separated: "3.10" (a text) is carried by decimal commas ...
  const TTextDialect csv{';', true, false};
  TWorkbook book;
  sheet(book, "3.10", false);
  std::string error;
  ASSERT_TRUE(WriteSheetSeparated(book, PathOf("commas.csv"), ';', error)) << error;
  EXPECT_EQ(TextOf(PathOf("commas.csv")), "Version;3.10\r\nWert;2,5\r\nSumme;1234,75\r\n");
  readBack(PathOf("commas.csv"), csv, "3.10", false);
  // ... "7,5" beside more numbers with points by decimal points ...
  book.SetText(1, 2, "7,5");
  ASSERT_TRUE(WriteSheetSeparated(book, PathOf("points.csv"), ';', error)) << error;
  EXPECT_EQ(TextOf(PathOf("points.csv")), "Version;7,5\r\nWert;2.5\r\nSumme;1234.75\r\n");
  readBack(PathOf("points.csv"), csv, "7,5", false);
  // ... "01067", and texts with commas outnumbering the numbers, by
  // neither mark: nothing is written, and the reason is named.
  book.SetText(1, 2, "01067");
  LanguageEnglish = 1;
  EXPECT_FALSE(WriteSheetSeparated(book, PathOf("none.csv"), ';', error));
  LanguageEnglish = 0;
  EXPECT_EQ(error,
            "The file would not read back as the sheet holds it: 1 text would read back as a number: 01067. The "
            "file was not saved.");
  book.SetText(1, 2, "7,5");
  book.SetText(4, 2, "3,5");
  book.SetText(5, 2, "1,5");
  TTextSaveCheck form;
  EXPECT_FALSE(SaveSheetText(book, PathOf("none.csv"), csv, error, &form, false));
  EXPECT_EQ(TextSaveReason(form, true),
            "the file's numbers would read with decimal commas, which changes 5 cells, such as 7,5");
  EXPECT_FALSE(fs::exists(PathOf("none.csv")));
}

// Desktops group digits with no-break spaces (French, Russian) and
// apostrophes (Swiss): such a file's grouped column reads as numbers in
// any session, and a field that is a number only with the other decimal
// mark stays a text, counted in the note. Beyond the double range a field
// is no number, whatever its exponent's sign; "==" is a text kept through
// "Save as".
TEST_F(BadInputTest, GroupedHugeAndRuleFieldsOfTextFilesReadAsWritten) {
  const TIntlSeparators german = IntlSeparators;
  const TIntlSeparators english{'.', ',', '/', ':', ','};
  for (const TIntlSeparators& session : {german, english}) {
    IntlSeparators = session;
    for (const char* name :
         {"text_french_grouping_nbsp_reads_as_text.txt", "text_swiss_apostrophe_grouping_reads_as_text.txt"}) {
      SCOPED_TRACE(std::string(name) + (session.Decimal == ',' ? " German" : " English"));
      TWorkbook book;
      int type = 0;
      std::string error, note;
      ASSERT_TRUE(ReadWorkbookFile(book, Input(name), type, error, &note)) << error;
      // The dates leave day and month open: the session's order is told.
      EXPECT_EQ(note,
                "Die Datei zeigt nicht, ob ihre Daten den Tag oder den Monat zuerst nennen (10.12.2026): sie wurden "
                "wie das Kurzdatum der Sitzung mit dem Tag zuerst gelesen.");
      const double values[] = {2.5, -0.25, 1e-7, 0.75}, grouped[] = {1234.5, 12345.25, 1e6, -9876.13};
      for (int row = 2; row <= 5; ++row) {
        ASSERT_EQ(book.CellKind(row, 3), TCellKind::Number) << row << " " << book.Text(row, 3);
        EXPECT_EQ(book.Number(row, 2), values[row - 2]);
        EXPECT_EQ(book.Number(row, 3), grouped[row - 2]);
      }
    }
  }
  // A Swiss number in a file of decimal commas stays a text.
  IntlSeparators = english;
  const std::uint8_t language = LanguageEnglish;
  LanguageEnglish = 1;
  const std::string mixed =
      PathOf("mixed.txt"), french = TextOf(Input("text_french_grouping_nbsp_reads_as_text.txt"));
  std::ofstream(mixed, std::ios::binary) << french << "\"e\"\t0,5\t1'234.50\t01.01.2026\n";
  TWorkbook book;
  int type = 0;
  std::string error, note;
  ASSERT_TRUE(ReadWorkbookFile(book, mixed, type, error, &note)) << error;
  EXPECT_EQ(book.CellKind(6, 3), TCellKind::Text);
  EXPECT_EQ(book.Number(6, 2), 0.5);
  EXPECT_EQ(note,
            "1 field that is a number only with decimal points was kept as a text, as more of the file's fields show "
            "decimal commas (1'234.50). The file does not show whether its dates name the day or the month first "
            "(10.12.2026): they were read with the day first, as the session's short date has it.");
  LanguageEnglish = language;

  for (const char* name : {"tab_text_huge_number_negative_exponent_reads_0.txt",
                           "csv_huge_number_negative_exponent_reads_0.csv"}) {
    SCOPED_TRACE(name);
    IntlSeparators = german;
    TWorkbook huge;
    const bool csv = std::string(name).ends_with(".csv");
    ASSERT_TRUE(csv ? ReadSeparatedIntoSheet(huge, Input(name), ';', error, &note)
                    : ReadWorkbookFile(huge, Input(name), type, error, &note))
        << error;
    EXPECT_EQ(huge.CellKind(2, 2), TCellKind::Text);
    EXPECT_EQ(huge.Text(2, 2), "1" + std::string(310, '0') + "e-1");
    EXPECT_EQ(huge.Number(3, 2), 2.5);
  }

  TWorkbook rule;
  ASSERT_TRUE(ReadWorkbookFile(rule, Input("tab_text_double_equals_field_reads_empty.txt"), type, error)) << error;
  ASSERT_EQ(rule.CellKind(2, 2), TCellKind::Text);
  const std::string saved = PathOf("rule.xlsx");
  ASSERT_TRUE(WriteWorkbookFile(rule, saved, kFileTypeWorkbook, error)) << error;
  TWorkbook back;
  ASSERT_EQ(Open(back, saved), "");
  EXPECT_EQ(back.Text(2, 2), "==");
  EXPECT_EQ(back.Number(3, 2), 1.25);
}

// A save in place is proven by reading the file written back: a quote
// never closed takes the cell typed beside it, or the quotes of a value
// holding ';' further down, into its field; a last line ending in a lone
// CR makes one line end of the next empty row's. The file then stays byte
// for byte, no temporary file is left, and the reason names the first cell
// that would read otherwise.
TEST_F(BadInputTest, ASaveInPlaceThatWouldReadOtherwiseLeavesTheFile) {
  struct Case {
    const char* Name;
    int Row, Col;
    const char* Entry;
    const char* Reason;
  };
  const Case cases[] = {
      {"csv_unclosed_quote_edit_lost.csv", 2, 2, "4", "die Zelle A2 würde als „Notiz;1;4“ statt „Notiz;1“ zurückgelesen"},
      {"csv_unclosed_quote_edit_lost.csv", 4, 1, "x;y",
       "die Zelle A2 würde als „Notiz;1\nA;2\nx“ statt „Notiz;1“ zurückgelesen"},
      {"tab_text_last_line_cr_row_added_moves_up.txt", 5, 1, "Text",
       "die Zelle A4 würde als „Text“ statt leer zurückgelesen"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Name) + " " + c.Entry);
    const fs::path folder = PathOf(std::to_string(c.Row) + c.Entry);
    fs::create_directories(folder);
    const std::string path = (folder / c.Name).string();
    fs::copy_file(Input(c.Name), path);
    const std::string bytes = TextOf(path);
    const bool csv = path.ends_with(".csv");
    TWorkbook book;
    std::string error;
    int type = 0;
    ASSERT_TRUE(csv ? ReadSeparatedIntoSheet(book, path, ';', error) : ReadWorkbookFile(book, path, type, error));
    TTextDialect dialect = TabTextDialect(kFileTypeText);
    if (csv) dialect = TTextDialect{';', true, false};
    ASSERT_TRUE(book.CommitEntry(c.Row, c.Col, c.Entry));
    EXPECT_FALSE(CheckTextSave(book, dialect).Any());
    TTextSaveCheck proof;
    EXPECT_FALSE(SaveSheetText(book, path, dialect, error, &proof));
    EXPECT_EQ(TextSaveReason(proof, false), c.Reason);
    EXPECT_EQ(TextOf(path), bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "no temporary file";
  }
  // Another row between keeps the lone CR apart: saved, and read again as
  // the sheet.
  const std::string path = PathOf(std::string("next-") + "tab_text_last_line_cr_row_added_moves_up.txt");
  fs::copy_file(Input("tab_text_last_line_cr_row_added_moves_up.txt"), path);
  TWorkbook book;
  ASSERT_EQ(Open(book, path), "");
  ASSERT_TRUE(book.CommitEntry(4, 1, "Text"));
  TTextSaveCheck proof;
  std::string error;
  ASSERT_TRUE(SaveSheetText(book, path, TabTextDialect(kFileTypeText), error, &proof)) << TextSaveReason(proof, true);
  EXPECT_EQ(TextOf(path), "Name\tWert\nA\t1\nB\t2\rText\n");
  TWorkbook again;
  ASSERT_EQ(Open(again, path), "");
  EXPECT_EQ(again.Text(4, 1), "Text");
  EXPECT_EQ(again.Text(3, 2), "2");
}

// .xlsx parts: what the workbook does not keep is counted from the
// elements and attributes the parts hold, never from texts that look like
// them ("t='b'" in a cell's text); a sheet named with a raw '>' (legal in
// an attribute) is read like any other; a sheet part of a namespace the
// reader does not know, an element the reading needs in another namespace
// than the format's (<sheetData>, <cellXfs>), and a part the reading needs
// named in a way it does not follow, are refused, the part named; shared
// strings and styles no relationship names are read by their usual names,
// counted.
TEST_F(BadInputTest, XlsxLossesCountTheElementsAndForeignNamespacesAreRefused) {
  TWorkbook book;
  book.SetText(1, 1, "kept");
  const std::string cut = Open(book, Input("xlsx_sheet_namespace_cut_reads_without_numbers.xlsx"));
  EXPECT_EQ(cut, "The part xl/worksheets/sheet1.xml is written in a namespace the program does not know.");
  EXPECT_EQ(GermanReadFailure(cut),
            "Der Teil xl/worksheets/sheet1.xml ist in einem Namensraum geschrieben, den das Programm nicht kennt.");
  EXPECT_EQ(book.Text(1, 1), "kept");
  // A workbook that names its sheets' parts in another namespace than the
  // relationships', or its shared strings by a relationship of a type the
  // reading does not follow, would open without its values: refused, the
  // part named.
  EXPECT_EQ(Open(book, Input("xlsx_r_namespace_upper_case_reads_without_values.xlsx")),
            "The part xl/workbook.xml is written in a namespace the program does not know.");
  const std::string typo = Open(book, Input("xlsx_shared_strings_relationship_typo_reads_without_texts.xlsx"));
  EXPECT_EQ(typo, "The part xl/sharedStrings.xml is named by a relationship of a type the program does not know.");
  EXPECT_EQ(GermanReadFailure(typo),
            "Der Teil xl/sharedStrings.xml ist durch eine Beziehung eines Typs benannt, den das Programm nicht kennt.");
  EXPECT_EQ(book.Text(1, 1), "kept");

  struct Case {
    const char* Name;
    std::vector<std::pair<TReadLoss, int>> Losses;
    std::string Sheet2;  // the second sheet's name
    std::pair<int, int> At;
    std::string Text;  // on the second sheet
  };
  const std::vector<Case> cases = {
      {"xlsx_inline_text_t_b_counted_as_truth_value.xlsx",
       {{TReadLoss::Booleans, 8},  // values and formula results, TRUE() and FALSE() once each
        {TReadLoss::HiddenSheets, 1},
        {TReadLoss::MergedRanges, 6},
        {TReadLoss::DataValidations, 2},
        {TReadLoss::Hyperlinks, 2},
        {TReadLoss::Comments, 3}},
       "Blatt2",
       {4, 1},
       " t='b'"},
      {"xlsx_sheet_name_raw_gt_loses_inline_strings.xlsx",
       {{TReadLoss::HiddenSheets, 1}, {TReadLoss::MergedRanges, 1}},
       "Soll>Ist",
       {1, 1},
       "Hallo"},
      {"xlsx_hidden_sheet_name_raw_gt_not_counted.xlsx",
       {{TReadLoss::Booleans, 3},
        {TReadLoss::HiddenSheets, 1},
        {TReadLoss::MergedRanges, 2},
        {TReadLoss::DataValidations, 3},
        {TReadLoss::Hyperlinks, 1},
        {TReadLoss::Comments, 5}},
       "a>b2",
       {1, 4},
       "sheetData>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TWorkbook read;
    ASSERT_EQ(Open(read, Input(c.Name)), "");
    TReadLosses expected;
    for (const auto& [kind, count] : c.Losses) expected[kind] = count;
    EXPECT_EQ(read.ReadLosses().Counts, expected.Counts);
    ASSERT_EQ(read.NumSheets(), 2);
    EXPECT_EQ(read.SheetName(2), c.Sheet2);
    EXPECT_EQ(read.TextOn(2, c.At.first, c.At.second), c.Text);
  }

  for (const char* name : {"xlsx_shared_strings_relationship_left_out_reads_without_texts.xlsx",
                           "xlsx_styles_relationship_left_out_loses_formats.xlsx"}) {
    SCOPED_TRACE(name);
    TWorkbook read;
    ASSERT_EQ(Open(read, Input(name)), "");
    ExpectReadWhole(read);
    TReadLosses byUsualName;
    byUsualName[TReadLoss::PartsByUsualName] = 1;
    EXPECT_EQ(read.ReadLosses().Counts, byUsualName.Counts);
  }
  const std::pair<const char*, std::string> foreign[] = {
      {"xlsx_sheetdata_other_namespace_reads_empty.xlsx", "xl/worksheets/sheet1.xml"},
      {"xlsx_cellxfs_other_namespace_loses_formats.xlsx", "xl/styles.xml"}};
  for (const auto& [name, part] : foreign) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Open(book, Input(name)), "The part " + part + " is written in a namespace the program does not know.");
    EXPECT_EQ(book.Text(1, 1), "kept");
  }
}

// What a fuzzer makes of a sound workbook: an element the reading needs in
// another namespace, or hidden in an element of another, is refused, the
// part named; so is a part the cells need that is missing, or named by a
// relationship to nothing. The legal forms read whole: extensions of other
// namespaces, the strict namespace on one element, shared strings and
// styles left out of the relationships (by their usual names), every
// element with a prefix.
TEST_F(BadInputTest, XlsxPartsTheCellsNeedAreReadWholeOrRefused) {
  const std::string sheet = "xl/worksheets/sheet1.xml", strings = "xl/sharedStrings.xml", styles = "xl/styles.xml";
  const std::string relations = "xl/_rels/workbook.xml.rels", other = " xmlns=\"urn:other\"";
  const std::string sound = folder_.Write(
      "sound.xlsx", Edited(Input("xlsx_cellxfs_other_namespace_loses_formats.xlsx"),
                           {{styles, " xmlns=\"http://example.org/ns\"", ""}}));
  const std::string stringsRelation =
      "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
      "sharedStrings\" Target=\"sharedStrings.xml\"/>";
  const std::string stylesRelation =
      "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
      "Target=\"styles.xml\"/>";
  const std::string inForeign = "The part {} is written in a namespace the program does not know.";
  const std::string missing = "The part {} that the cells need is missing.";
  struct Variant {
    std::vector<Edit> Edits;
    std::string Refusal;  // "{}": the part; none when the file reads whole
    std::string Part;
    int ByUsualName = 0;
  };
  const Variant variants[] = {
      {{}, "", "", 0},
      {{{sheet, "<v>1.25", "<v" + other + ">1.25"}}, inForeign, sheet},
      {{{sheet, "<c r=\"A1\"", "<c" + other + " r=\"A1\""}}, inForeign, sheet},
      {{{sheet, "<row r=\"2\"", "<row" + other + " r=\"2\""}}, inForeign, sheet},
      {{{sheet, "<sheetData>", "<sheetData><o:rows xmlns:o=\"urn:other\">"}, {sheet, "</sheetData>", "</o:rows></sheetData>"}},
       inForeign,
       sheet},
      {{{sheet, "<sheetData>", "<o:data xmlns:o=\"urn:other\"><sheetData>"}, {sheet, "</sheetData>", "</sheetData></o:data>"}},
       inForeign,
       sheet},
      {{{sheet, "<c r=\"A2\" t=\"s\"><v>2</v>", "<c r=\"A2\" t=\"inlineStr\"><is><t" + other + ">Ceres</t></is>"}},
       inForeign,
       sheet},
      {{{strings, "<si><t>Ceres", "<si><t" + other + ">Ceres"}}, inForeign, strings},
      {{{strings, "<si><t>Ceres", "<si" + other + "><t>Ceres"}}, inForeign, strings},
      {{{styles, "<numFmt ", "<numFmt" + other + " "}}, inForeign, styles},
      {{{styles, "<xf numFmtId=\"164\"", "<xf" + other + " numFmtId=\"164\""}}, inForeign, styles},
      {{{"xl/workbook.xml", "<sheets>", "<sheets" + other + ">"}}, inForeign, "xl/workbook.xml"},
      {{{styles, "<cellXfs count=\"2\"", "<cellXfs count=\"2\" xmlns=\"http://purl.oclc.org/ooxml/spreadsheetml/main\""},
        {sheet, "</sheetData>",
         "</sheetData><extLst><ext uri=\"{05C60535-1F16-4fd2-B633-F4F36F0B64E0}\"><x14:sparklineGroups "
         "xmlns:x14=\"http://schemas.microsoft.com/office/spreadsheetml/2009/9/main\"><x14:sparklineGroup><x14:sparklines>"
         "<x14:sparkline><xm:f xmlns:xm=\"http://schemas.microsoft.com/office/excel/2006/main\">Daten!B2:B3</xm:f>"
         "</x14:sparkline></x14:sparklines></x14:sparklineGroup></x14:sparklineGroups></ext></extLst>"}},
       "",
       ""},
      {{{strings, "", ""}, {relations, stringsRelation, ""}}, missing, strings},
      {{{strings, "", ""}, {relations, "Target=\"sharedStrings.xml", "Target=\"texts/all.xml"}},
       missing,
       "xl/texts/all.xml"},
      {{{relations, "Target=\"sharedStrings.xml", "Target=\"texts/all.xml"}}, "", "", 1},
      {{{styles, "", ""}, {relations, stylesRelation, ""}}, missing, styles},
      {{{relations, stylesRelation, ""}, {relations, stringsRelation, ""}}, "", "", 2},
  };
  for (const Variant& v : variants) {
    SCOPED_TRACE(v.Edits.empty() ? std::string("sound") : v.Edits.back().Part + ": " + v.Edits.back().From + " -> " + v.Edits.back().To);
    const std::string path = folder_.Write("variant.xlsx", Edited(sound, v.Edits));
    TWorkbook read;
    read.SetText(1, 1, "kept");
    const std::string refusal = Open(read, path);
    if (!v.Refusal.empty()) {
      const std::size_t at = v.Refusal.find("{}");
      EXPECT_EQ(refusal, v.Refusal.substr(0, at) + v.Part + v.Refusal.substr(at + 2));
      EXPECT_NE(GermanReadFailure(refusal), refusal);
      EXPECT_EQ(read.Text(1, 1), "kept");
      continue;
    }
    ASSERT_EQ(refusal, "");
    ExpectReadWhole(read);
    EXPECT_EQ(read.ReadLosses()[TReadLoss::PartsByUsualName], v.ByUsualName);
  }
  // Every element of the format's namespace with the prefix "x:" (legal
  // XML) reads whole, the program's own scan of the numbers included: a
  // number cell holding NaN is refused as in the default namespace.
  const auto prefixed = [](std::string& text) {
    if (text.find("spreadsheetml/2006/main") == std::string::npos) return;
    text = std::regex_replace(text, std::regex("<(/?)([A-Za-z])"), "<$1x:$2");
    text = std::regex_replace(text, std::regex(" xmlns=\""), " xmlns:x=\"");
  };
  TWorkbook read;
  ASSERT_EQ(Open(read, folder_.Write("prefixed.xlsx", Edited(sound, {}, prefixed))), "");
  ExpectReadWhole(read);
  EXPECT_FALSE(read.ReadLosses().Any());
  EXPECT_EQ(Open(read, folder_.Write("prefixed-nan.xlsx", Edited(sound, {{sheet, "<x:v>1.25", "<x:v>NaN"}}, prefixed))),
            "The number cell Daten!B2 holds no finite number.");
}

TEST_F(BadInputTest, BadFormulasOfAForeignFileFallBackToTheirStoredValues) {
  TWorkbook book;
  ASSERT_EQ(Open(book, std::string(KVX_FIXTURE_DIR) + "/formula_fallback.xlsx"), "");
  EXPECT_EQ(book.CellKind(1, 1), TCellKind::Number);
  EXPECT_EQ(book.Text(1, 1), "3");
  EXPECT_EQ(book.Text(1, 2), "7");  // a shared formula on a bad one: both values
  EXPECT_EQ(book.Text(2, 2), "8");
  EXPECT_EQ(book.Text(2, 1), "kept & text");
  EXPECT_EQ(book.Text(3, 1), "='");  // nothing stored: the formula's text
  EXPECT_EQ(book.CellKind(3, 1), TCellKind::Text);
  EXPECT_EQ(book.Text(4, 1), "1");
  EXPECT_EQ(book.Text(7, 1), "=cf:ooter");
  EXPECT_EQ(book.Text(8, 1), "4,5");  // a sheet the file lacks
  EXPECT_EQ(book.Formula(8, 2), "=A5&\"x\"");
  EXPECT_EQ(book.Formula(6, 1), "=A5*2");
  book.SetNumber(5, 1, 6.0);
  EXPECT_EQ(book.Text(6, 1), "12");
}

TEST_F(BadInputTest, DamagedWorkbookFilesAreRefusedAndTheOpenWorkbookStays) {
  for (const char* name : {"xlsx_col_without_range.xlsx", "xlsx_declared_size_4gib.xlsx"}) {
    SCOPED_TRACE(name);
    std::ifstream in(Input(name), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string error;
    EXPECT_FALSE(CheckXlsxBytes(bytes.str(), error));
    TWorkbook open(2);
    open.SetText(1, 1, "still here");
    EXPECT_NE(Open(open, Input(name)), "");
    EXPECT_EQ(open.Text(1, 1), "still here");
    EXPECT_EQ(open.NumSheets(), 2);
  }
  // Refused with one line of the program's own (no text of the reading
  // library), in both languages.
  const std::pair<const char*, std::string> reasons[] = {
      {"xlsx_number_blanks_reads_nan.xlsx", "The number cell Data!C1 holds no finite number."},
      {"xlsx_rels_without_namespace.xlsx",
       "The part _rels/.rels holds no relationships in the form of the packaging format."}};
  for (const auto& [name, reason] : reasons) {
    SCOPED_TRACE(name);
    TWorkbook open(2);
    open.SetText(1, 1, "still here");
    EXPECT_EQ(Open(open, Input(name)), reason);
    EXPECT_EQ(open.Text(1, 1), "still here");
    EXPECT_NE(GermanReadFailure(reason), reason);
  }
  // Blanks around a number are no fault; NaN and INF are no numbers.
  std::string bad;
  const auto numbers = ScanSheetCells(
                           "<sheetData><row r=\"1\"><c r=\"A1\"><v> 1.25 </v></c><c r=\"B1\"><v>\n2.5\n</v></c>"
                           "<c r=\"D1\"><v>INF</v></c><c r=\"E1\"><v>NaN</v></c></row></sheetData>",
                           &bad)
                           .Numbers;
  ASSERT_NE(numbers.Find(CellKey(1, 1)), nullptr);
  EXPECT_EQ(*numbers.Find(CellKey(1, 1)), 1.25);
  EXPECT_EQ(*numbers.Find(CellKey(1, 2)), 2.5);
  EXPECT_EQ(numbers.Size(), 2u);
  EXPECT_EQ(bad, "D1");
  // A cell's "r" reads as the general reference reader reads it, in the
  // plain form the files write and in every other.
  for (const std::string ref : {"B12", "XFD1048576", "XFE1", "A1048577", "AAAA1", "A01", "a1", "$C$3", "A1:B2", "A",
                                "12", "ZZ9999999", ""}) {
    SCOPED_TRACE(ref);
    const auto cells = ScanSheetCells("<sheetData><c r=\"" + ref + "\" s=\"2\"><v>1</v></c><c r=\"" + ref +
                                      "\" s=\"2\"/></sheetData>");
    const auto range = ParseRange(ref);
    if (range && range->IsSingleCell()) {
      ASSERT_NE(cells.Numbers.Find(CellKey(range->Row1, range->Col1)), nullptr);
      ASSERT_EQ(cells.FormattedEmpty.size(), 1u);
      EXPECT_EQ(cells.FormattedEmpty[0].Row, range->Row1);
      EXPECT_EQ(cells.FormattedEmpty[0].Col, range->Col1);
    } else {
      EXPECT_EQ(cells.Numbers.Size(), 0u);
      EXPECT_TRUE(cells.FormattedEmpty.empty());
    }
  }
  // Part names compare without case: a package whose workbook and sheet
  // parts are in capitals opens.
  {
    TWorkbook capitals;
    ASSERT_EQ(Open(capitals, Input("xlsx_part_names_upper_case.xlsx")), "");
    EXPECT_EQ(capitals.SheetName(1), "Data");
    EXPECT_EQ(capitals.Number(1, 1), 1.25);
  }
  // The freexl files: refused (or read as far as they go), never a crash.
  for (const char* name : {"xls_freexl_heap_overflow.xls", "xls_freexl_iconv_overread.xls", "xls_freexl_leak.xls",
                           "xls_freexl_open_segv.xls"}) {
    SCOPED_TRACE(name);
    TWorkbook open(2);
    open.SetText(1, 1, "still here");
    if (!Open(open, Input(name)).empty()) {
      EXPECT_EQ(open.Text(1, 1), "still here");
      EXPECT_EQ(open.NumSheets(), 2);
    }
  }
  // A sound file passes the checks.
  TWorkbook book;
  book.SetText(1, 1, "x");
  book.SetColWidth(2, 4, 20.0, false);
  book.SetColHidden(6, 6, true);
  std::string error;
  ASSERT_TRUE(WriteWorkbookFile(book, PathOf("sound.xlsx"), kFileTypeWorkbook, error)) << error;
  TPreparedXlsx prepared;
  EXPECT_TRUE(ReadPreparedXlsx(PathOf("sound.xlsx"), prepared, error)) << error;
  EXPECT_TRUE(prepared.Texts.empty());
  EXPECT_FALSE(prepared.Losses.Any());
}

TEST_F(BadInputTest, NumberFormatsAtTheirLimitsGiveDefinedTexts) {
  struct Case {
    const char* File;
    const char* Shown;
  };
  const std::string fortyDecimals = "1," + std::string("5") + std::string(39, '0');
  const Case cases[] = {{"xlsx_scientific_format_tiny_value.xlsx", "4,94E-324"},
                        {"xlsx_format_40_decimals.xlsx", fortyDecimals.c_str()},
                        {"xlsx_time_format_15_second_decimals.xlsx", "12:00:00,000000000000000"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    TWorkbook book;
    ASSERT_EQ(Open(book, Input(c.File)), "");
    EXPECT_EQ(book.Text(1, 1), c.Shown);
  }
  const TFormatLocale german = TFormatLocale::FromGlobals();
  EXPECT_EQ(FormatNumber(5e-324, "0.00E+00", german), "4,94E-324");
  EXPECT_EQ(FormatNumber(1.0, std::string(330, '0') + "E+0", german), "#NUM!");
  EXPECT_EQ(FormatNumber(2958465.5, "dd.mm.yyyy hh:mm:ss.000000000", german), "31.12.9999 12:00:00,000000000");

  std::ifstream in(Input("number_format_serial_huge.bin"), std::ios::binary);
  double serial = 0.0;
  in.read(reinterpret_cast<char*>(&serial), sizeof serial);
  ASSERT_EQ(serial, 1e300);
  for (double bad : {serial, -serial, std::numeric_limits<double>::quiet_NaN(), 2958466.0, -693594.0}) {
    int year = 1, month = 1, day = 1;
    SerialToDate(bad, year, month, day);
    EXPECT_EQ(year, 0);
    EXPECT_EQ(month, 0);
    EXPECT_EQ(day, 0);
  }
  int year = 0, month = 0, day = 0;
  SerialToDate(2958465.9, year, month, day);
  EXPECT_EQ(year * 10000 + month * 100 + day, 99991231);
}

TEST_F(BadInputTest, EditTextsTypedBackKeepTheValue) {
  TWorkbook book;
  ASSERT_EQ(Open(book, Input("workbook_edit_large_number.txt")), "");
  const double large = book.Number(1, 1);
  EXPECT_EQ(large, 123456789012345678901.0);
  EXPECT_EQ(book.Entry(1, 1), "1,2345678901234568E+20");
  const double values[] = {large, -2.7105054312137611e-20, 0.1 + 0.2, 1e15, 123456.789, 5e-324, 0.123};
  for (double value : values) {
    SCOPED_TRACE(value);
    for (const char* format : {"", "0.00", "0.0%", "@"}) {
      book.SetNumber(2, 1, value);
      book.SetActiveCell(2, 1);
      book.SetNumberFormat(LocalFormat(format, book.Locale()));
      book.SetEntry(2, 1, book.Entry(2, 1));
      EXPECT_EQ(book.Number(2, 1), value) << format << " " << book.Entry(2, 1);
    }
  }
  EXPECT_EQ(EntryTextForNumber(0.25, "0%", book.Locale()), "25%");
  EXPECT_EQ(EntryTextForNumber(2.5, "", book.Locale()), "2,5");

  TWorkbook dated;
  ASSERT_EQ(Open(dated, Input("xlsx_date_format_time_lost_on_edit.xlsx")), "");
  EXPECT_EQ(dated.Text(1, 1), "12.03.2024");
  EXPECT_EQ(dated.Entry(1, 1), "12.03.2024 10:30:00");
  // Confirming the unchanged edit text changes nothing, not even the format.
  dated.SetModified(false);
  EXPECT_TRUE(dated.CommitEntry(1, 1, dated.Entry(1, 1)));
  EXPECT_EQ(dated.Text(1, 1), "12.03.2024");
  EXPECT_FALSE(dated.Modified());
  dated.SetEntry(1, 1, dated.Entry(1, 1));
  EXPECT_EQ(dated.Number(1, 1), 45363.4375);
  // Times with fractions of a second keep them; whole days stay dates.
  for (double value : {45363.0, 45363.4375 + 0.25 / 86400.0, 45363.123456789}) {
    SCOPED_TRACE(value);
    dated.SetNumber(1, 1, value);
    dated.SetEntry(1, 1, dated.Entry(1, 1));
    EXPECT_NEAR(dated.Number(1, 1), value, 0.5e-6 / 86400.0);
  }
  EXPECT_EQ(EntryTextForNumber(45363.0, "dd.mm.yyyy", book.Locale()), "12.03.2024");
}

// What a workbook file says beside its cells survives an open and a save:
// the day its dates count from (every date right, the flag written back),
// the document's properties, the filter (no visible name of its range), the
// tab colour, the protection, the header and footer margins and the rows'
// heights.
TEST_F(BadInputTest, XlsxFilesKeepTheirDateSystemPropertiesAndSheetSettings) {
  TWriteError proofError;
  const auto partOf = PartOf;
  const std::string saved = PathOf("saved.xlsx");
  std::string error;
  TWorkbook dated;
  ASSERT_EQ(Open(dated, Input("xlsx_date1904_dates_four_years_early_then_saved.xlsx")), "");
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    EXPECT_EQ(dated.Number(1, 1), DateSerial(1904, 1, 1));
    EXPECT_EQ(dated.Number(1, 2), 45000.0 + 1462.0);
    EXPECT_EQ(dated.Number(2, 1), 1.0);  // no date: as it stands
    EXPECT_TRUE(dated.FileProperties().Date1904);
    TReadBack found;
    ASSERT_TRUE(WriteXlsxProven(dated, saved, proofError, found)) << proofError.Text << found.Cell << found.From << found.As;
    EXPECT_NE(partOf(saved, "xl/workbook.xml").find("<workbookPr date1904=\"1\""), std::string::npos);
    const std::string cells = partOf(saved, "xl/worksheets/sheet1.xml");
    EXPECT_NE(cells.find("<c r=\"A1\" s=\"1\"><v>0</v>"), std::string::npos) << cells;
    ASSERT_EQ(Open(dated, saved), "");
  }

  TWorkbook kept;
  ASSERT_EQ(Open(kept, Input("xlsx_properties_autofilter_protection_dropped_by_save.xlsx")), "");
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    const TWorkbookFileProperties& properties = kept.FileProperties();
    EXPECT_FALSE(properties.Date1904);
    EXPECT_EQ(properties.Title, "Messreihe 2026");
    EXPECT_EQ(properties.Author, "Anna Prüfer");
    EXPECT_EQ(properties.Subject, "Beobachtungen");
    EXPECT_EQ(properties.Keywords, "Sterne, Test");
    EXPECT_EQ(properties.Created, 1577934245);  // 2020-01-02T03:04:05Z
    const TSheetData& sheet = kept.SheetData(1);
    EXPECT_EQ(sheet.TabColor, std::optional<std::uint32_t>(0xFF0000));
    ASSERT_TRUE(sheet.AutoFilter.has_value());
    EXPECT_EQ(RangeName(*sheet.AutoFilter), "A1:C8");
    for (const TDefinedName& name : kept.Names()) EXPECT_EQ(name.Name.find("Filter"), std::string::npos) << name.Name;
    EXPECT_TRUE(kept.EnableProtection());
    EXPECT_EQ(sheet.Page.HeaderMargin, 0.5);
    EXPECT_EQ(sheet.Page.FooterMargin, 0.5);
    EXPECT_EQ(sheet.RowHeight(2), 30.0);
    EXPECT_EQ(sheet.RowHeight(3), 15.0);
    EXPECT_FALSE(kept.ReadLosses().Any());
    TReadBack found;
    ASSERT_TRUE(WriteXlsxProven(kept, saved, proofError, found)) << proofError.Text << found.Cell << found.From << found.As;
    ASSERT_EQ(Open(kept, saved), "");
  }
  // What the writer cannot keep is counted: passwords and the workbook's
  // locks.
  const std::string locked = PathOf("locked.xlsx");
  std::ofstream(locked, std::ios::binary) << Edited(
      Input("xlsx_properties_autofilter_protection_dropped_by_save.xlsx"),
      {{"xl/worksheets/sheet1.xml", "<sheetProtection ", "<sheetProtection password=\"CC1A\" "},
       {"xl/workbook.xml", "<workbookProtection/>", "<workbookProtection lockStructure=\"1\"/>"}});
  ASSERT_EQ(Open(kept, locked), "");
  EXPECT_EQ(ReadLossKinds(kept.ReadLosses(), true), "2 passwords or protections of the workbook");

  // A sheet name the workbook cannot hold is counted (so that a save in
  // place goes to Save as) and named in the note with the name the sheet
  // got; 31 characters are held, however many bytes.
  const struct {
    const char* File;
    const char* Name;  // in the file
    int Sheet;
  } renames[] = {
      {"xlsx_sheet_name_over_31_renamed_without_note.xlsx", "Ein sehr langer Blattname mit vierzig Z", 1},
      {"xlsx_sheet_names_equal_but_case_renamed_without_note.xlsx", "DATEN", 2},
  };
  for (const auto& one : renames) {
    SCOPED_TRACE(one.File);
    TWorkbook renamed;
    ASSERT_EQ(Open(renamed, Input(one.File)), "");
    const std::string given = renamed.SheetName(one.Sheet);
    EXPECT_NE(given, one.Name);
    EXPECT_EQ(ReadLossKinds(renamed.ReadLosses(), true),
              "1 sheet name the workbook cannot hold (over 31 characters, or equal to another but for case)");
    EXPECT_EQ(ReadLossNote(renamed.ReadLosses(), false),
              std::string("Die Arbeitsmappe übernimmt nicht alles, was diese Datei enthält:\n1 Blattname, den die "
                          "Arbeitsmappe nicht halten kann (über 31 Zeichen oder bis auf Groß- und Kleinschreibung "
                          "gleich einem anderen): umbenannt „") +
                  one.Name + "“ → „" + given + "“");
    EXPECT_EQ(ReadLossNote(renamed.ReadLosses(), true),
              std::string("The workbook does not keep everything this file holds:\n1 sheet name the workbook cannot "
                          "hold (over 31 characters, or equal to another but for case): renamed \"") +
                  one.Name + "\" → \"" + given + "\"");
    EXPECT_TRUE(renamed.SetSheetName(1, "Größenklassen der Kleinplaneten"));
  }
}

// Every part of a workbook beside its cells, as openpyxl and LibreOffice
// write it, survives an open and a save, or is counted (so that a save in
// place goes to Save as naming it): rows hidden ("1", and "true" as
// LibreOffice writes it) and filtered out, the filter's criteria, the print
// titles (no visible name for them), each sheet's protection with what it
// allows (an unprotected sheet among protected ones stays so), tab colours
// (of the theme too) and custom document properties.
TEST_F(BadInputTest, EveryPartOfAWorkbookIsKeptOrCounted) {
  const std::string saved = PathOf("parts.xlsx");
  TWriteError proofError;
  TReadBack found;
  for (const bool libreOffice : {false, true}) {
    SCOPED_TRACE(libreOffice);
    TWorkbook book;
    ASSERT_EQ(Open(book, std::string(KVX_FIXTURE_DIR) +
                             (libreOffice ? "/workbook_parts_libreoffice.xlsx" : "/workbook_parts_openpyxl.xlsx")),
              "");
    for (int pass = 0; pass < 2; ++pass) {
      SCOPED_TRACE(pass);
      EXPECT_FALSE(book.ReadLosses().Any()) << ReadLossKinds(book.ReadLosses(), true);
      const TSheetData& data = book.SheetData(1);
      EXPECT_EQ(data.HiddenRows, (std::set<int>{2, 4, 6, 7, 8, 9}));
      EXPECT_EQ(book.SheetData(2).HiddenRows, (std::set<int>{3}));
      ASSERT_EQ(data.FilterColumns.size(), 2u);
      EXPECT_EQ(data.FilterColumns[0].Values, (std::vector<std::string>{"Z3", "Z5"}));
      EXPECT_EQ(data.FilterColumns[1].Conditions, (std::vector<TFilterCondition>{{"greaterThan", "4"}}));
      EXPECT_EQ(data.TitleRows, (TLineRun{1, 1}));
      EXPECT_EQ(data.TitleCols, (TLineRun{1, 1}));
      for (const TDefinedName& name : book.Names()) ADD_FAILURE() << "a visible name " << name.Name;
      ASSERT_TRUE(data.Protection.has_value());
      TSheetProtection allowing;
      allowing.Sort = allowing.AutoFilter = allowing.FormatCells = true;
      allowing.EditObjects = allowing.EditScenarios = true;
      EXPECT_EQ(*data.Protection, allowing);
      EXPECT_FALSE(book.SheetData(2).Protection.has_value());
      EXPECT_TRUE(book.SheetData(3).Protection.has_value());
      book.SetSheet(2);
      EXPECT_FALSE(book.EnableProtection());
      book.SetSheet(1);
      EXPECT_TRUE(book.EnableProtection());
      EXPECT_EQ(book.SheetData(2).TabColor, std::optional<std::uint32_t>(0xFF8000));
      // The theme's first accent (4F81BD) lightened by 40 %, as the
      // spreadsheet programs' palettes show it; LibreOffice leaves it out.
      EXPECT_EQ(book.SheetData(1).TabColor, libreOffice ? std::nullopt : std::optional<std::uint32_t>(0x95B3D7));
      using TKind = TCustomProperty::TKind;
      const std::vector<TCustomProperty> custom =
          libreOffice ? std::vector<TCustomProperty>{{"Geprüft", TKind::Boolean, "", 1.0},
                                                     {"Gewicht", TKind::Number, "", 2.5},
                                                     {"Projekt", TKind::Text, "Sternwarte", 0.0},
                                                     {"Version", TKind::Number, "", 7.0}}
                      : std::vector<TCustomProperty>{{"Projekt", TKind::Text, "Sternwarte", 0.0},
                                                     {"Version", TKind::Integer, "", 7.0},
                                                     {"Gewicht", TKind::Number, "", 2.5},
                                                     {"Geprüft", TKind::Boolean, "", 1.0}};
      EXPECT_EQ(book.FileProperties().Custom, custom);

      ASSERT_TRUE(WriteXlsxProven(book, saved, proofError, found)) << proofError.Text << found.Cell;
      const std::string sheet = PartOf(saved, "xl/worksheets/sheet1.xml");
      for (const char* row : {"<row r=\"2\"", "<row r=\"4\"", "<row r=\"9\""}) {
        const std::size_t at = sheet.find(row);
        ASSERT_NE(at, std::string::npos) << row;
        EXPECT_NE(sheet.substr(at, sheet.find('>', at) - at).find("hidden=\"1\""), std::string::npos) << row;
      }
      EXPECT_NE(sheet.find("<filterColumn colId=\"0\"><filters><filter val=\"Z3\"/><filter val=\"Z5\"/>"
                           "</filters></filterColumn><filterColumn colId=\"1\"><customFilters><customFilter "
                           "operator=\"greaterThan\" val=\"4\"/></customFilters></filterColumn>"),
                std::string::npos)
          << sheet;
      EXPECT_NE(sheet.find("<sheetProtection sheet=\"1\" formatCells=\"0\" sort=\"0\" autoFilter=\"0\"/>"),
                std::string::npos)
          << sheet;
      EXPECT_EQ(PartOf(saved, "xl/worksheets/sheet2.xml").find("sheetProtection"), std::string::npos);
      EXPECT_NE(PartOf(saved, "xl/worksheets/sheet3.xml").find("<sheetProtection sheet=\"1\"/>"), std::string::npos);
      const std::string workbook = PartOf(saved, "xl/workbook.xml");
      EXPECT_NE(workbook.find(">Daten!$A:$A,Daten!$1:$1</definedName>"), std::string::npos) << workbook;
      EXPECT_NE(workbook.find("name=\"_xlnm.Print_Titles\" localSheetId=\"0\""), std::string::npos) << workbook;
      EXPECT_NE(PartOf(saved, "docProps/custom.xml").find("name=\"Projekt\"><vt:lpwstr>Sternwarte</vt:lpwstr>"),
                std::string::npos);
      ASSERT_EQ(Open(book, saved), "");
    }
  }

  // LibreOffice's files of the bad inputs: a hidden row and filtered rows
  // (hidden="true"), and openpyxl's with print titles and protection
  // options.
  TWorkbook book;
  ASSERT_EQ(Open(book, Input("xlsx_libreoffice_hidden_row_shown_after_save.xlsx")), "");
  EXPECT_EQ(book.SheetData(1).HiddenRows, (std::set<int>{4}));
  ASSERT_EQ(Open(book, Input("xlsx_libreoffice_filtered_rows_shown_after_save.xlsx")), "");
  EXPECT_EQ(book.SheetData(1).HiddenRows, (std::set<int>{2, 4, 6, 7, 8, 9}));
  ASSERT_EQ(Open(book, Input("xlsx_print_titles_dropped_by_save.xlsx")), "");
  EXPECT_EQ(book.SheetData(1).TitleRows, (TLineRun{1, 1}));
  EXPECT_FALSE(book.SheetData(1).TitleCols.has_value());
  for (const TDefinedName& name : book.Names()) EXPECT_EQ(name.Name, "Print_Area");
  ASSERT_EQ(Open(book, Input("xlsx_protection_options_reset_by_save.xlsx")), "");
  ASSERT_TRUE(WriteXlsxProven(book, saved, proofError, found)) << proofError.Text << found.Cell;
  EXPECT_NE(PartOf(saved, "xl/worksheets/sheet1.xml")
                .find("<sheetProtection sheet=\"1\" formatCells=\"0\" sort=\"0\" autoFilter=\"0\"/>"),
            std::string::npos);

  // What the writer cannot write is counted: criteria of another kind.
  const std::string topTen = PathOf("top10.xlsx");
  std::ofstream(topTen, std::ios::binary) << Edited(
      std::string(KVX_FIXTURE_DIR) + "/workbook_parts_openpyxl.xlsx",
      {{"xl/worksheets/sheet1.xml", "<customFilters><customFilter operator=\"greaterThan\" val=\"4\"/></customFilters>",
        "<top10 val=\"3\"/>"}});
  ASSERT_EQ(Open(book, topTen), "");
  EXPECT_EQ(ReadLossKinds(book.ReadLosses(), true), "1 filter criterion (top 10, colour, icon, date group, dynamic)");
  EXPECT_EQ(book.SheetData(1).FilterColumns.size(), 1u);
  // ... a list of more values than the writer counts (16 bits); "equal or
  // another condition" is written whole.
  constexpr const char* kCondition = "<customFilters><customFilter operator=\"greaterThan\" val=\"4\"/></customFilters>";
  std::string values = "<filters>";
  for (int k = 0; k < 65536; ++k) values += "<filter val=\"" + WholeNumberText(k) + "\"/>";
  values += "</filters>";
  std::ofstream(topTen, std::ios::binary) << Edited(std::string(KVX_FIXTURE_DIR) + "/workbook_parts_openpyxl.xlsx",
                                                    {{"xl/worksheets/sheet1.xml", kCondition, values}});
  ASSERT_EQ(Open(book, topTen), "");
  EXPECT_EQ(book.ReadLosses()[TReadLoss::FilterCriteria], 1);
  EXPECT_EQ(book.SheetData(1).FilterColumns.size(), 1u);
  std::ofstream(topTen, std::ios::binary) << Edited(
      std::string(KVX_FIXTURE_DIR) + "/workbook_parts_openpyxl.xlsx",
      {{"xl/worksheets/sheet1.xml", kCondition,
        "<customFilters><customFilter operator=\"equal\" val=\"5\"/><customFilter operator=\"greaterThan\" "
        "val=\"10\"/></customFilters>"}});
  ASSERT_EQ(Open(book, topTen), "");
  ASSERT_TRUE(WriteXlsxProven(book, saved, proofError, found)) << proofError.Text << found.Cell;
  ASSERT_EQ(Open(book, saved), "");
  ASSERT_EQ(book.SheetData(1).FilterColumns.size(), 2u);
  EXPECT_EQ(book.SheetData(1).FilterColumns[1].Conditions.size(), 2u)
      << PartOf(saved, "xl/worksheets/sheet1.xml");
  // ... a theme colour without the theme, a property of a kind the writer
  // does not write (a list of texts).
  const std::string themeless = PathOf("themeless.xlsx");
  std::ofstream(themeless, std::ios::binary)
      << Edited(std::string(KVX_FIXTURE_DIR) + "/workbook_parts_openpyxl.xlsx",
                {{"xl/_rels/workbook.xml.rels", "/theme\"", "/themes\""},
                 {"docProps/custom.xml", "<vt:i4>7</vt:i4>",
                  "<vt:vector size=\"1\" baseType=\"lpwstr\"><vt:lpwstr>7</vt:lpwstr></vt:vector>"}});
  ASSERT_EQ(Open(book, themeless), "");
  EXPECT_EQ(ReadLossKinds(book.ReadLosses(), true),
            "1 tab colour of a theme the file does not hold, 1 custom document property of a kind other than text, "
            "number, truth value or date");
  EXPECT_EQ(book.FileProperties().Custom.size(), 3u);
  ASSERT_EQ(Open(book, Input("xlsx_custom_properties_dropped_by_save.xlsx")), "");
  ASSERT_TRUE(WriteXlsxProven(book, saved, proofError, found)) << proofError.Text << found.Cell;
  EXPECT_NE(PartOf(saved, "docProps/custom.xml").find("name=\"Version\"><vt:i4>7</vt:i4>"), std::string::npos);
}

// The proof compares what cells mean: a formula typed in lower case or
// naming its own sheet reads back as the same formula, but a difference in
// any kind of cell (number, text, formula, date, format) is named, in the
// comparison itself and in an .xlsx file that reads back otherwise.
// The proof compares each row as the file is read instead of reading the
// whole workbook back: for every workbook of the fixtures (formatted empty
// cells, inline strings, formulas fallen back to texts, 1904 dates, several
// sheets, renamed sheets), it names the same cell as a whole read compared
// sheet by sheet, with the workbook as read and with it changed at the last
// cell, below the last row, in a sheet's name and by a sheet more.
TEST_F(BadInputTest, TheRowByRowProofFindsWhatAWholeReadFinds) {
  const auto wholeRead = [](const TWorkbook& held, const std::string& path) {
    TWorkbook back;
    std::string error;
    TReadBack found;
    EXPECT_TRUE(ReadXlsx(back, path, error)) << error;
    const bool named = held.NumSheets() > 1 || back.NumSheets() > 1;
    for (int s = 1; s <= std::max(held.NumSheets(), back.NumSheets()); ++s) {
      if (s > held.NumSheets() || s > back.NumSheets() || held.SheetName(s) != back.SheetName(s)) {
        found.Cell = (s <= held.NumSheets() ? held.SheetName(s) : back.SheetName(s)) + "!A1";
        if (s <= held.NumSheets()) found.From = held.EntryOn(s, 1, 1, held.Locale());
        if (s <= back.NumSheets()) found.As = back.EntryOn(s, 1, 1, back.Locale());
        break;
      }
      if (SheetReadsOtherwise(held, s, back, s, true, named ? held.SheetName(s) + "!" : std::string(), found)) break;
    }
    return found;
  };
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(KVX_FIXTURE_DIR))) {
    if (entry.path().extension() != ".xlsx") continue;
    const std::string path = entry.path().string();
    TWorkbook read;
    std::string error;
    if (!ReadXlsx(read, path, error)) continue;
    ++files;
    const int lastSheet = read.NumSheets();
    const std::vector<std::function<void(TWorkbook&)>> changes = {
        [](TWorkbook&) {},
        [&](TWorkbook& book) {
          book.SetSheet(lastSheet);
          book.SetText(std::max(book.LastRow(), 1), std::max(book.LastCol(), 1), "anders");
        },
        [](TWorkbook& book) {
          book.SetSheet(1);
          book.SetNumber(book.LastRow() + 3, 2, 7.0);
        },
        [](TWorkbook& book) { book.SetSheetName(1, book.SheetName(1) + "x"); },
        [&](TWorkbook& book) {
          book.InsertSheets(lastSheet + 1, 1);
          book.SetSheet(lastSheet + 1);
          book.SetText(1, 1, "neu");
        },
    };
    for (std::size_t k = 0; k < changes.size(); ++k) {
      SCOPED_TRACE(testing::Message() << path << " change " << k);
      TWorkbook held;
      ASSERT_TRUE(ReadXlsx(held, path, error));
      changes[k](held);
      const TReadBack expected = wholeRead(held, path);
      TReadBack found;
      ASSERT_TRUE(ReadXlsxComparing(held, path, found, error)) << error;
      EXPECT_EQ(found.Cell, expected.Cell);
      EXPECT_EQ(found.From, expected.From);
      EXPECT_EQ(found.As, expected.As);
      EXPECT_EQ(found.Any(), k != 0);
    }
  }
  EXPECT_GE(files, 20);
}

TEST_F(BadInputTest, TheProofNamesEveryCellThatReadsBackOtherwise) {
  TWriteError proofError;
  // The sheet as typed, and as another program writes the same formulas.
  const auto fill = [](TWorkbook& book, bool typed) {
    book.InsertSheets(2, 1);
    book.SetSheetName(2, "Tabelle2");
    book.SetSheet(1);
    book.SetSheetName(1, "Zahlen");
    book.SetNumber(2, 2, 2.0);
    book.SetNumber(3, 2, 3.0);
    book.SetFormula(1, 1, typed ? "sum(b2:b3)" : "SUM(B2:B3)");
    book.SetFormula(2, 1, typed ? "Zahlen!B2 + 1" : "B2+1");
    book.SetFormula(3, 1, typed ? "'Zahlen'!$b$2*1.50" : "$B$2*1.5");
    book.SetFormula(4, 1, typed ? "sum(Tabelle2!a1:a2)" : "SUM(Tabelle2!A1:A2)");
    book.SetFormula(5, 1, "IF(B2>1,\"ja\",\"nein\")");
    book.SetText(4, 2, "Vesta");
    book.SetNumber(5, 2, 1.25);
    book.SetCellNumberFormat(5, 2, "0,00");
    book.SetNumber(6, 2, 45000.0);
    book.SetCellNumberFormat(6, 2, "TT.MM.JJJJ");
  };
  TWorkbook typed;
  fill(typed, true);
  TReadBack found;
  {
    TWorkbook written;
    fill(written, false);
    EXPECT_FALSE(SheetReadsOtherwise(typed, 1, written, 1, true, "", found)) << found.Cell << " " << found.As;
  }
  struct Case {
    const char* Cell;
    std::function<void(TWorkbook&)> Change;
  };
  const Case cases[] = {
      {"B2", [](TWorkbook& b) { b.SetNumber(2, 2, 2.0000000000000004); }},
      {"B4", [](TWorkbook& b) { b.SetText(4, 2, "vesta"); }},
      {"A1", [](TWorkbook& b) { b.SetFormula(1, 1, "SUM(B2:B4)"); }},
      {"A3", [](TWorkbook& b) { b.SetFormula(3, 1, "B2*1.5"); }},
      {"A4", [](TWorkbook& b) { b.SetFormula(4, 1, "SUM(A1:A2)"); }},
      {"A5", [](TWorkbook& b) { b.SetFormula(5, 1, "IF(B2>1,\"JA\",\"nein\")"); }},
      {"B6", [](TWorkbook& b) { b.SetNumber(6, 2, 45001.0); }},
      {"B5", [](TWorkbook& b) { b.SetCellNumberFormat(5, 2, "0,000"); }},
  };
  for (const Case& one : cases) {
    SCOPED_TRACE(one.Cell);
    TWorkbook back;
    fill(back, false);
    one.Change(back);
    found = {};
    EXPECT_TRUE(SheetReadsOtherwise(typed, 1, back, 1, true, "", found));
    EXPECT_EQ(found.Cell, one.Cell);
  }

  // Saved in place: the typed formulas pass the proof; a file that reads
  // back otherwise is refused with its cell, and the file stays.
  const std::string saved = PathOf("proof.xlsx");
  std::string error;
  ASSERT_TRUE(WriteXlsxProven(typed, saved, proofError, found)) << proofError.Text << found.Cell << found.From << found.As;
  const std::string before = TextOf(saved);
  {
    // Sheet names compare without regard to case: a formula typed with a
    // sheet's name in other case is computed and written as a formula with
    // the names as the sheets have them, and so is one that named a sheet
    // before it was there; both read back as the same formulas.
    TWorkbook other;
    fill(other, false);
    other.SetFormula(8, 1, "extra!A1+1");
    other.InsertSheets(3, 1);
    ASSERT_TRUE(other.SetSheetName(3, "Extra"));
    other.SetSheet(1);
    EXPECT_EQ(other.Number(8, 1), 1.0);
    ASSERT_TRUE(other.CommitEntry(7, 1, "='zahlen'!b3*2+'tabelle2'!A1+zahlen!B2"));
    EXPECT_EQ(other.Formula(7, 1), "='Zahlen'!b3*2+'Tabelle2'!A1+Zahlen!B2");
    EXPECT_EQ(other.Number(7, 1), 8.0);
    const std::string otherCase = PathOf("other_case.xlsx");
    ASSERT_TRUE(WriteXlsxProven(other, otherCase, proofError, found))
        << found.Cell << " " << found.From << " " << found.As << proofError.Text;
    TWorkbook back;
    ASSERT_EQ(Open(back, otherCase), "");
    back.SetSheet(1);
    EXPECT_EQ(back.Formula(7, 1), "=B3*2+Tabelle2!A1+B2");
    EXPECT_EQ(back.Number(7, 1), 8.0);
    EXPECT_EQ(back.Formula(8, 1), "=Extra!A1+1");
  }
  SetXlsxProofSeam([](const std::string& written) {
    const std::string changed = Edited(written, {{"xl/worksheets/sheet1.xml", "sum(b2:b3)", "sum(b2:b2)"}});
    std::ofstream(written, std::ios::binary | std::ios::trunc) << changed;
  });
  EXPECT_FALSE(WriteXlsxProven(typed, saved, proofError, found));
  SetXlsxProofSeam({});
  EXPECT_EQ(found.Cell, "Zahlen!A1");
  EXPECT_EQ(found.As, "=SUM(B2:B2)");
  EXPECT_EQ(TextOf(saved), before);
  // A written file that does not read at all is a failed write, not a cell.
  SetXlsxProofSeam([](const std::string& written) { std::ofstream(written, std::ios::binary | std::ios::trunc) << "PK"; });
  EXPECT_FALSE(WriteXlsxProven(typed, saved, proofError, found));
  SetXlsxProofSeam({});
  EXPECT_FALSE(found.Any());
  EXPECT_EQ(proofError.Text.rfind("the file written does not read back: ", 0), 0u) << proofError.Text;
  EXPECT_EQ(TextOf(saved), before);

  // A text longer than the file format holds: the refusal says how the two
  // texts differ, not only what they look like.
  TWorkbook longText;
  ASSERT_EQ(Open(longText, Input("xlsx_text_over_32767_cut_by_save_as.xlsx")), "");
  EXPECT_EQ(ReadLossKinds(longText.ReadLosses(), true), "1 text over 32,767 characters");
  EXPECT_FALSE(WriteXlsxProven(longText, PathOf("long.xlsx"), proofError, found));
  EXPECT_FALSE(fs::exists(PathOf("long.xlsx")));
  const std::string clause = ReadBackClause(found, true);
  EXPECT_NE(clause.find("(32767 characters instead of 40000, the first difference at character 32768)"),
            std::string::npos)
      << clause;
  EXPECT_NE(ReadBackClause(found, false).find("(32767 statt 40000 Zeichen, der erste Unterschied beim 32768. Zeichen)"),
            std::string::npos);
}

// Character references of a file's texts: a code point beyond the 16-bit
// range becomes four UTF-8 bytes, and references that name no character
// (NUL, a surrogate, out of range, no digits) stay as they stand.
TEST(XmlEntities, CharacterReferencesDecodeToValidUtf8) {
  EXPECT_EQ(DecodeXmlEntities("a&amp;b &lt;&gt;&quot;&apos;"), "a&b <>\"'");
  EXPECT_EQ(DecodeXmlEntities("&#228;&#x20AC;"), "\xC3\xA4\xE2\x82\xAC");
  EXPECT_EQ(DecodeXmlEntities("&#x1F600;"), "\xF0\x9F\x98\x80");
  for (const char* kept : {"&#0;", "&#xD800;", "&#x110000;", "&#;", "&#x;", "&nbsp;", "R&D", "&#12a;"}) {
    EXPECT_EQ(DecodeXmlEntities(kept), kept);
  }
}

}  // namespace
}  // namespace kvx::workbook
