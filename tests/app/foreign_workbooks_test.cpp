// Workbooks written by other programs open through File > Open with their
// values in their cells; files that are not workbooks of their extension
// are refused with the open-failed message and a line saying why, and the
// workbook that was open stays as it was.
//
// The fixtures in fixtures/workbooks were written by openpyxl, LibreOffice
// and Gnumeric (make_workbooks.py, which names the values); package.xlsx
// uses relationship targets of every form the packaging format allows;
// workbook_text_named_xlsx.xlsx is a text file named as a workbook.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <zlib.h>

#include <QAction>
#include <QKeySequence>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/history_list.h"
#include "app/main_form_state.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/workbook_document.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/workbook/number_format.h"
#include "platform/workbook/workbook_files.h"
#include "support/qt/main_form_test.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "app/workbook_document_fixture.h"

namespace kvx {
namespace {

std::string Fixture(const std::string& name) { return std::string(KVX_FIXTURE_DIR) + "/workbooks/" + name; }

using Document = test::WorkbookDocFixture;

// The values make_workbooks.py puts into every workbook.
void ExpectTheValues(workbook::TWorkbook& book) {
  ASSERT_EQ(book.NumSheets(), 2);
  EXPECT_EQ(book.SheetName(1), "Werte");
  EXPECT_EQ(book.SheetName(2), "Zwei");
  book.SetSheet(1);
  EXPECT_EQ(book.CellKind(1, 1), workbook::TCellKind::Number);
  EXPECT_DOUBLE_EQ(book.Number(1, 1), 1.5);
  EXPECT_DOUBLE_EQ(book.Number(2, 1), 2.25);
  EXPECT_EQ(book.Text(3, 1), "Text äö");
  book.SetActiveCell(3, 1);
  const workbook::TCellFont textFont = book.Font();
  book.SetActiveCell(1, 1);
  EXPECT_EQ(textFont.Face, book.Font().Face) << "a text has the font of the numbers";
  EXPECT_EQ(textFont.Size, book.Font().Size);
  EXPECT_DOUBLE_EQ(book.Number(4, 1), 1.0);  // TRUE
  EXPECT_DOUBLE_EQ(book.Number(5, 1), workbook::DateSerial(2026, 12, 8));
  EXPECT_EQ(book.Text(5, 1), "08.12.2026");
  EXPECT_EQ(book.Formula(1, 2), "=A1+A2");
  EXPECT_DOUBLE_EQ(book.Number(1, 2), 3.75);
  EXPECT_EQ(book.Text(2, 2), "Text äö!");
  EXPECT_DOUBLE_EQ(book.Number(1, 3), -1.25e-7);
  EXPECT_EQ(book.LastRow(), 5);
  book.SetSheet(2);
  EXPECT_EQ(book.Text(1, 1), "zweites Blatt");
  EXPECT_DOUBLE_EQ(book.Number(3, 2), 42.0);
  EXPECT_EQ(book.LastRow(), 3);
  book.SetSheet(1);
}

// The note after opening a file with one truth value.
const char* const kTruthValueNote =
    "Die Arbeitsmappe übernimmt nicht alles, was diese Datei enthält:\n"
    "1 Wahrheitswert (WAHR/FALSCH): jetzt die Zahl 1 oder 0";

TEST(ForeignWorkbooks, OpenWithTheirValuesInTheirCells) {
  IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
  test::TempFolder folder;
  for (const char* name : {"openpyxl.xlsx", "libreoffice.xlsx", "gnumeric.xlsx", "package.xlsx", "strict.xlsx"}) {
    SCOPED_TRACE(name);
    Document d;
    ASSERT_TRUE(OpenDocument(d.doc, Fixture(name))) << (d.sink.messages.empty() ? "" : d.sink.messages.back().text);
    ASSERT_EQ(d.sink.messages.size(), 1u);
    EXPECT_EQ(d.sink.messages[0].text, kTruthValueNote);
    EXPECT_EQ(d.sink.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(d.fileType, workbook::kFileTypeWorkbook);
    EXPECT_EQ(d.caption, "Kandrevoltinex 4.6 [" + Fixture(name) + "] ");
    ExpectTheValues(d.book);
    // Saved by the program and opened again: the same values.
    const std::string own = folder.File(std::string("own-") + name);
    d.dialog.QueueAnswer(own);
    ASSERT_TRUE(SaveWorkbookAs(d.doc));
    Document again;
    ASSERT_TRUE(OpenDocument(again.doc, own));
    ExpectTheValues(again.book);
    EXPECT_TRUE(again.sink.messages.empty()) << "the program's own file keeps all it holds";
  }
}

// What the program's workbook does not keep of a file, .xlsx or .xls, is
// named in one note after the open, in the interface language, one line per
// kind; the values stay in their cells, and the cell format of an inline
// string is kept.
TEST(ForeignWorkbooks, WhatTheWorkbookDoesNotKeepIsNamedInOneNote) {
  {
    Document d;
    ASSERT_TRUE(OpenDocument(d.doc, Fixture("losses.xlsx")));
    ASSERT_EQ(d.sink.messages.size(), 1u);
    EXPECT_EQ(d.sink.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(d.sink.messages[0].text,
              "Die Arbeitsmappe übernimmt nicht alles, was diese Datei enthält:\n"
              "1 verbundener Bereich: aufgehoben, der Wert steht in der linken oberen Zelle\n"
              "2 ausgeblendete Blätter: eingeblendet\n"
              "2 Wahrheitswerte (WAHR/FALSCH): jetzt die Zahlen 1 und 0\n"
              "1 Text mit eigener Schrift für Teile (fett, Farbe): jetzt in der Schrift der Zelle\n"
              "1 Diagramm: weggelassen\n"
              "1 Kommentar: weggelassen\n"
              "1 Gültigkeitsregel: weggelassen\n"
              "1 bedingte Formatierung: weggelassen\n"
              "1 Hyperlink: weggelassen, der Zelltext bleibt");
    workbook::TWorkbook& book = d.book;
    ASSERT_EQ(book.NumSheets(), 3);
    EXPECT_EQ(book.SheetName(2), "Versteckt");
    EXPECT_EQ(book.SheetName(3), "Ganz versteckt");
    book.SetSheet(1);
    EXPECT_EQ(book.Text(1, 1), "verbunden");
    EXPECT_EQ(book.CellKind(2, 2), workbook::TCellKind::Empty);
    EXPECT_EQ(book.Number(3, 1), 1.0);
    EXPECT_EQ(book.Number(4, 1), 0.0);
    EXPECT_EQ(book.CellKind(4, 1), workbook::TCellKind::Number);
    EXPECT_EQ(book.Number(1, 3), 7.5);
    EXPECT_EQ(book.Text(1, 5), "Link");
    EXPECT_EQ(book.Text(7, 1), "halb fett");
    EXPECT_EQ(book.Text(9, 7), "fett");
    book.SetActiveCell(9, 7);
    EXPECT_TRUE(book.Font().Bold);
    EXPECT_EQ(book.Font().Color, 0xFF0000u);
    book.SetSheet(2);
    EXPECT_EQ(book.Text(1, 1), "h");
    book.SetSheet(3);
    EXPECT_EQ(book.Number(1, 1), 2.0);
  }
  // An .xls gets the same note, in the program's language, its formula
  // cells counted among the rest (make_legacy_losses.py, LibreOffice).
  for (const std::uint8_t english : {0, 1}) {
    Document d;
    LanguageEnglish = english;
    ASSERT_TRUE(OpenDocument(
        d.doc, std::string(KVX_FIXTURE_DIR) + "/../../platform/workbook/fixtures/legacy_losses.xls"));
    ASSERT_EQ(d.sink.messages.size(), 1u);
    EXPECT_EQ(d.sink.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(d.sink.messages[0].text,
              english != 0 ? "The workbook does not keep everything this file holds:\n"
                             "1 merged range: unmerged, the value kept in the top-left cell\n"
                             "2 hidden sheets: shown\n"
                             "3 truth values (TRUE/FALSE): now the numbers 1 and 0\n"
                             "2 error values (#DIV/0!, #N/A, ...): now their texts\n"
                             "6 cells with formulas: only their last computed values kept\n"
                             "1 chart: left out\n"
                             "1 comment: left out\n"
                             "1 data validation rule: left out\n"
                             "1 conditional format: left out\n"
                             "1 hyperlink: left out, the cell text stays"
                           : "Die Arbeitsmappe übernimmt nicht alles, was diese Datei enthält:\n"
                             "1 verbundener Bereich: aufgehoben, der Wert steht in der linken oberen Zelle\n"
                             "2 ausgeblendete Blätter: eingeblendet\n"
                             "3 Wahrheitswerte (WAHR/FALSCH): jetzt die Zahlen 1 und 0\n"
                             "2 Fehlerwerte (#DIV/0!, #N/A, ...): jetzt ihre Texte\n"
                             "6 Zellen mit Formeln: nur ihre zuletzt berechneten Werte übernommen\n"
                             "1 Diagramm: weggelassen\n"
                             "1 Kommentar: weggelassen\n"
                             "1 Gültigkeitsregel: weggelassen\n"
                             "1 bedingte Formatierung: weggelassen\n"
                             "1 Hyperlink: weggelassen, der Zelltext bleibt");
    EXPECT_EQ(d.book.Text(1, 1), "verbunden");
  }
  {
    Document d;
    LanguageEnglish = 1;
    ASSERT_TRUE(OpenDocument(d.doc, Fixture("macros.xlsm")));
    ASSERT_EQ(d.sink.messages.size(), 1u);
    EXPECT_EQ(d.sink.messages[0].text,
              "The workbook does not keep everything this file holds:\n"
              "1 macro project: not kept; a save writes a new .xlsx file");
    EXPECT_EQ(d.book.Text(1, 1), "Makro");
    EXPECT_EQ(d.book.Number(2, 1), 3.0);
    // A text file after it: no note.
    test::TempFolder folder;
    const std::string text = folder.File("plain.txt");
    workbook::TWorkbook plain;
    plain.SetText(1, 1, "x");
    std::string error;
    ASSERT_TRUE(workbook::WriteWorkbookFile(plain, text, workbook::kFileTypeText, error));
    ASSERT_TRUE(OpenDocument(d.doc, text));
    EXPECT_EQ(d.sink.messages.size(), 1u);
  }
}

// A zip package put together for a test: each part is `head`, then `middle`
// `repeat` times, then `tail`, deflated as it is made (a part of a gigabyte
// needs no gigabyte of memory). A part may declare another unpacked size
// than it has.
struct Part {
  std::string Name;
  std::string Head;
  std::string Middle;
  std::uint64_t Repeat = 0;
  std::string Tail;
  std::int64_t Declared = -1;  // the real size when negative
};

Part Plain(const std::string& name, const std::string& text) {
  Part part;
  part.Name = name;
  part.Head = text;
  return part;
}

void Put(std::string& out, std::uint64_t value, int size) {
  for (int k = 0; k < size; ++k) out += static_cast<char>((value >> (8 * k)) & 0xFF);
}

std::string Zip(const std::vector<Part>& parts) {
  std::string out;
  std::string directory;
  for (const Part& part : parts) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    std::string data;
    std::vector<char> buffer(1 << 16);
    uLong crc = crc32(0L, Z_NULL, 0);
    std::uint64_t size = 0;
    auto feed = [&](const std::string& piece, int flush) {
      crc = crc32(crc, reinterpret_cast<const Bytef*>(piece.data()), static_cast<uInt>(piece.size()));
      size += piece.size();
      stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.data()));
      stream.avail_in = static_cast<uInt>(piece.size());
      do {
        stream.next_out = reinterpret_cast<Bytef*>(buffer.data());
        stream.avail_out = static_cast<uInt>(buffer.size());
        deflate(&stream, flush);
        data.append(buffer.data(), buffer.size() - stream.avail_out);
      } while (stream.avail_out == 0);
    };
    feed(part.Head, Z_NO_FLUSH);
    std::string block;
    const std::uint64_t perBlock = part.Middle.empty() ? 0 : std::max<std::uint64_t>(1, (1u << 20) / part.Middle.size());
    for (std::uint64_t k = 0; k < perBlock && k < part.Repeat; ++k) block += part.Middle;
    for (std::uint64_t done = 0; done < part.Repeat; done += perBlock) {
      feed(part.Repeat - done >= perBlock ? block : block.substr(0, (part.Repeat - done) * part.Middle.size()),
           Z_NO_FLUSH);
    }
    feed(part.Tail, Z_FINISH);
    deflateEnd(&stream);
    const std::uint64_t declared = part.Declared >= 0 ? static_cast<std::uint64_t>(part.Declared) : size;
    const std::uint64_t offset = out.size();
    for (std::string* header : {&out, &directory}) {
      const bool central = header == &directory;
      Put(*header, central ? 0x02014b50 : 0x04034b50, 4);
      if (central) Put(*header, 20, 2);
      Put(*header, 20, 2);
      Put(*header, 0, 2);
      Put(*header, 8, 2);
      Put(*header, 0, 4);
      Put(*header, crc, 4);
      Put(*header, data.size(), 4);
      Put(*header, declared, 4);
      Put(*header, part.Name.size(), 2);
      Put(*header, 0, 2);
      if (central) {
        Put(*header, 0, 6);  // comment length, disk, internal attributes
        Put(*header, 0, 4);  // external attributes
        Put(*header, offset, 4);
      }
      *header += part.Name;
      if (!central) *header += data;
    }
  }
  const std::uint64_t directoryAt = out.size();
  out += directory;
  Put(out, 0x06054b50, 4);
  Put(out, 0, 4);
  Put(out, parts.size(), 2);
  Put(out, parts.size(), 2);
  Put(out, directory.size(), 4);
  Put(out, directoryAt, 4);
  Put(out, 0, 2);
  return out;
}

const char* const kRels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// A package with one sheet part: the workbook's parts and `sheet`.
std::vector<Part> Package(const Part& sheet, const std::string& sheets = "<sheet name=\"S\" sheetId=\"1\" r:id=\"r1\"/>") {
  const std::string rel = kRels;
  return {Plain("_rels/.rels",
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
           "Id=\"r1\" Type=\"" +
               rel + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"),
          Plain("xl/workbook.xml", "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                              "xmlns:r=\"" + rel + "\"><sheets>" + sheets + "</sheets></workbook>"),
          Plain("xl/_rels/workbook.xml.rels",
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
           "Id=\"r1\" Type=\"" +
               rel + "/worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>"),
          sheet};
}

Part Sheet(const std::string& cells) {
  return Plain("xl/worksheets/sheet1.xml",
               "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" + cells +
                   "</sheetData></worksheet>");
}

TEST(ForeignWorkbooks, FilesThatAreNoWorkbooksAreRefusedWithTheReasonAndTheOpenWorkbookStays) {
  IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
  test::TempFolder folder;
  const std::string truncated = test::TempFolder::Read(Fixture("libreoffice.xlsx"));
  // A sheet of 1 GiB in about 1 MiB, and one of 100 MiB that declares 1 MiB.
  Part gigabyte = Plain("xl/worksheets/sheet1.xml", "<worksheet><sheetData>");
  gigabyte.Middle = std::string(1024, ' ');
  gigabyte.Repeat = 1u << 20;
  gigabyte.Tail = "</sheetData></worksheet>";
  Part lying = gigabyte;
  lying.Repeat = 100u << 10;
  lying.Declared = 1 << 20;
  // Two parts of 50 MiB: each within the limit of a part, not together.
  Part half = gigabyte;
  half.Repeat = 50u << 10;
  Part filler = half;
  filler.Name = "xl/media/filler.bin";
  std::vector<Part> twoHalves = Package(half);
  twoHalves.push_back(filler);
  struct Case {
    std::string File;
    std::string Reason;  // in the German line
  };
  const std::vector<Case> cases = {
      {Fixture("workbook_text_named_xlsx.xlsx"),
       "Die Datei ist keine Arbeitsmappe (weder eine .xlsx- noch eine .xls-Datei)."},
      {folder.Write("empty.xlsx", ""), "Die Datei ist leer."},
      {folder.Write("text.xls", "Name\tWert\n"), "Die Datei ist keine Arbeitsmappe"},
      {folder.Write("picture.xlsx", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)), "keine Arbeitsmappe"},
      {folder.Write("nozip.xlsx", "PK und sonst nichts"), "Die Datei ist kein Zip-Paket"},
      {folder.Write("damaged.xlsx", "PK\x05\x06 und sonst nichts, kein Verzeichnis"), "Das Zip-Paket ist beschädigt."},
      {folder.Write("cut.xlsx", truncated.substr(0, truncated.size() / 2)), "Die Datei ist unvollständig"},
      {folder.Write("gigabyte.xlsx", Zip(Package(gigabyte))),
       "Der Teil xl/worksheets/sheet1.xml entpackt zu mehr als der Grenze von 64 MiB für einen Teil."},
      {folder.Write("lying.xlsx", Zip(Package(lying))), "der Grenze von 64 MiB"},
      {folder.Write("halves.xlsx", Zip(twoHalves)), "Die Teile der Datei entpacken zu mehr als der Grenze von 96 MiB."},
      {folder.Write("nopackage.xlsx", Zip({Plain("readme.txt", "Hallo")})),
       "Das Zip-Paket enthält keinen Arbeitsmappen-Teil."},
      {folder.Write("nosheets.xlsx", Zip(Package(Sheet(""), ""))), "Die Arbeitsmappe enthält kein lesbares Blatt."},
      {folder.Write("nosheetpart.xlsx", Zip(Package(Plain("xl/worksheets/other.xml", "<worksheet/>")))),
       "Der Teil des Blatts \"S\" fehlt."},
      {folder.Write("badxml.xlsx", Zip(Package(Sheet("<row r=\"1\"><c r=\"A1\"><v>1</v></row>")))),
       "kein wohlgeformtes XML"},
      // Cut short: the reading library would take the rows it got.
      {folder.Write("cutxml.xlsx", Zip(Package(Plain("xl/worksheets/sheet1.xml", "<worksheet><sheetData><row r=\"1\">")))),
       "Der Teil xl/worksheets/sheet1.xml ist kein wohlgeformtes XML."},
  };
  Document d;
  ASSERT_TRUE(OpenDocument(d.doc, Fixture("libreoffice.xlsx")));
  d.book.SetNumber(9, 9, 99.0);
  d.state.Document.DocumentSaved = 0;
  const std::string caption = d.caption;
  const std::vector<std::string> recent = d.recent.Files();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    EXPECT_FALSE(OpenDocument(d.doc, c.File));
    ASSERT_FALSE(d.sink.messages.empty());
    const std::string shown = d.sink.messages.back().text;
    d.sink.messages.clear();
    EXPECT_EQ(shown.find("Kandrevoltinex 4.6 konnte die Datei " + c.File + " nicht finden"), 0u) << shown;
    const std::size_t reason = shown.find("bearbeitet.\n");
    ASSERT_NE(reason, std::string::npos) << shown;
    EXPECT_NE(shown.find(c.Reason, reason), std::string::npos) << shown;
    EXPECT_EQ(shown.find('\n', shown.find('\n') + 1), std::string::npos) << "one line of reason: " << shown;
    EXPECT_EQ(d.fileName, Fixture("libreoffice.xlsx"));
    EXPECT_EQ(d.fileType, workbook::kFileTypeWorkbook);
    EXPECT_EQ(d.caption, caption);
    EXPECT_EQ(d.state.Document.DocumentSaved, 0);
    EXPECT_EQ(d.recent.Files(), recent);
    EXPECT_EQ(d.book.FileName(), Fixture("libreoffice.xlsx"));
    EXPECT_DOUBLE_EQ(d.book.Number(9, 9), 99.0);
    EXPECT_TRUE(d.book.Modified());
    EXPECT_DOUBLE_EQ(d.book.Number(1, 1), 1.5);
    EXPECT_EQ(d.book.NumSheets(), 2);
  }
  // In English the reason names the limit too.
  LanguageEnglish = 1;
  EXPECT_FALSE(OpenDocument(d.doc, folder.File("gigabyte.xlsx")));
  EXPECT_EQ(d.sink.messages.back().text, "Kandrevoltinex 4.6 could not open the file " + folder.File("gigabyte.xlsx") +
                                             "\nThe part xl/worksheets/sheet1.xml unpacks to more than the limit of "
                                             "64 MiB for one part.");
  LanguageEnglish = 0;
  // None of the refusals let the reading process take the bomb's gigabyte.
  // A forked reader starts with the pages of this process resident (large
  // when every test runs in one process), so its peak is measured above
  // this process's own peak.
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  rusage self{};
  getrusage(RUSAGE_SELF, &self);
  EXPECT_LT(children.ru_maxrss, self.ru_maxrss + 512L * 1024);  // KiB
}

// Ctrl+S on a document whose file would not read back as it was opened
// asks "Save as" with a new .xlsx name and leaves the file byte for byte:
// a file the writer does not write whole (a macro-enabled .xlsm, an .xls),
// what the workbook does not keep of an .xlsx, lines or fields left out of
// a text. Each open says so in one note; after Save as, Ctrl+S writes the
// new .xlsx.
class ForeignWorkbooksInTheWindow : public test::MainFormTest {};

TEST_F(ForeignWorkbooksInTheWindow, SaveNeverRewritesAFileThatWouldNotReadBackAsOpened) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  test::RecordingFileDialog files;
  ScopedFileDialog dialogs(files);
  TMenuCommands& commands = form.Commands();
  QAction* save = nullptr;
  for (QAction* action : form.findChildren<QAction*>()) {
    if (action->shortcut() == QKeySequence("Ctrl+S")) save = action;
  }
  ASSERT_NE(save, nullptr);
  ASSERT_EQ(save, commands.Action("Speichern1"));
  test::TempFolder folder;
  // A csv two lines longer than the sheet, a tab text one field wider, a
  // UTF-16 text with a character Windows-1252 lacks.
  std::string tooLong = "Ceres;1\n" + std::string(static_cast<std::size_t>(workbook::kMaxRows) + 1, '\n');
  std::string tooWide = "Ceres\t1";
  for (int k = 2; k < workbook::kMaxCols; ++k) tooWide += '\t';
  tooWide += "\tf16385\r\n";
  std::string utf16 = "\xFF\xFE";
  for (const char16_t unit : std::u16string(u"Ceres\t1\r\nGröße\r\n")) {
    utf16 += static_cast<char>(unit & 0xFF);
    utf16 += static_cast<char>(unit >> 8);
  }
  struct Case {
    std::string Name;
    std::string Bytes;
    std::string Note;      // in the one message after the open
    std::string NewName;   // Save as proposes it
    std::string A1, B1;    // the cells as opened
  };
  const std::string legacy = std::string(KVX_FIXTURE_DIR) + "/../../platform/workbook/fixtures/legacy_values.xls";
  const std::vector<Case> cases = {
      {"macro_save.xlsm", test::TempFolder::Read(Fixture("macro_save.xlsm")), "macro project", "macro_save.xlsx", "Makro",
       "42"},
      {"legacy_values.xls", test::TempFolder::Read(legacy), "5 cells with formulas: only their last computed values",
       "legacy_values.xlsx", "2", "1"},
      {"losses.xlsx", test::TempFolder::Read(Fixture("losses.xlsx")), "1 merged range", "losses-2.xlsx", "verbunden",
       ""},
      {"long.csv", tooLong, "2 lines were left out", "long.xlsx", "Ceres", "1"},
      {"wide.txt", tooWide, "1 field was left out", "wide.xlsx", "Ceres", "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string path = folder.Write(c.Name, c.Bytes);
    messages_.messages.clear();
    files.QueueAnswer(path);
    commands.Action("ffnen1")->trigger();
    workbook::TWorkbook& book = form.Workbook();
    EXPECT_EQ(book.Text(1, 1), c.A1);
    EXPECT_EQ(book.Text(1, 2), c.B1);
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_NE(messages_.messages[0].text.find(c.Note), std::string::npos) << messages_.messages[0].text;
    book.SetNumber(9, 9, 7.0);

    // Cancelled: nothing written.
    const std::size_t asked = files.requests.size();
    save->trigger();
    ASSERT_EQ(files.requests.size(), asked + 1);
    EXPECT_TRUE(files.requests.back().save);
    const std::string xlsx = folder.File(c.NewName);
    EXPECT_EQ(files.requests.back().request.start, xlsx);
    EXPECT_EQ(test::TempFolder::Read(path), c.Bytes);
    EXPECT_EQ(form.State().Document.DocumentSaved, 0);
    // One message said why first.
    if (c.Name == "losses.xlsx") {
      EXPECT_NE(messages_.messages.back().text.find(
                    ": the workbook does not keep all the file holds (1 merged range, 2 hidden sheets, 2 truth values "
                    "(TRUE/FALSE), 1 text with fonts of its own"),
                std::string::npos)
          << messages_.messages.back().text;
    }

    // Saved as .xlsx; Ctrl+S then writes there without asking.
    files.QueueAnswer(xlsx);
    save->trigger();
    EXPECT_EQ(form.State().Document.DocumentSaved, 1);
    book.SetNumber(9, 9, 8.0);
    save->trigger();
    EXPECT_EQ(files.requests.size(), asked + 2);
    EXPECT_EQ(test::TempFolder::Read(path), c.Bytes) << "the file opened stays byte for byte";
    workbook::TWorkbook back(1);
    int type = 0;
    std::string error;
    ASSERT_TRUE(workbook::ReadWorkbookFile(back, xlsx, type, error)) << error;
    EXPECT_DOUBLE_EQ(back.Number(9, 9), 8.0);
    EXPECT_EQ(back.Text(1, 1), c.A1);
  }

  // Texts a save gives back as they were, UTF-8 with or without its mark,
  // Windows-1252 and UTF-16: no note, and Ctrl+S writes them in place, byte
  // for byte.
  // The file is changed behind the program's back after the open: Ctrl+S
  // asks first, and Yes writes the sheet back over it.
  int n = 0;
  for (const std::string& bytes : {std::string("Ceres\t1\r\nGr\xC3\xB6\xC3\x9F" "e\r\n"),
                                   std::string("\xEF\xBB\xBF" "Ceres\t1\r\nGr\xC3\xB6\xC3\x9F" "e\r\n"),
                                   std::string("Ceres\t1\r\nGr\xF6\xDF" "e\r\n"), utf16}) {
    SCOPED_TRACE(bytes);
    const std::string path = folder.Write("kept" + std::to_string(++n) + ".txt", bytes);
    messages_.messages.clear();
    if (form.State().Document.DocumentSaved == 0) messages_.QueueReply(MessageResult::No);
    files.QueueAnswer(path);
    commands.Action("ffnen1")->trigger();
    EXPECT_EQ(form.Workbook().Text(2, 1), "Größe");
    for (const auto& message : messages_.messages) EXPECT_NE(message.icon, MessageIcon::Warning) << message.text;
    const std::size_t asked = files.requests.size();
    folder.Write("kept" + std::to_string(n) + ".txt", "changed behind the program's back");
    messages_.QueueReply(MessageResult::Yes);
    const std::size_t shown = messages_.messages.size();
    save->trigger();
    ASSERT_GT(messages_.messages.size(), shown);
    EXPECT_EQ(messages_.messages[shown].buttons, MessageButtons::YesNoDefaultNo);
    EXPECT_EQ(files.requests.size(), asked) << "saved in place";
    EXPECT_EQ(test::TempFolder::Read(path), bytes);
  }
  form.close();
}

}  // namespace
}  // namespace kvx
