// The workbook documents through the recording message and file-dialog
// doubles: new, open, save, save as, the text and csv exports and the
// question before a document is left.
#include "app/workbook_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/history_list.h"
#include "app/main_form_state.h"
#include "app/workbook_document_fixture.h"
#include "platform/globals.h"
#include "platform/workbook/workbook_files.h"
#include "support/office_command.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using test::WorkbookDocFixture;

TEST(WorkbookDocument, NewSaveAsAndTheQuestionBeforeLeaving) {
  test::TempFolder folder;
  WorkbookDocFixture f;
  f.doc.DefaultFolder = folder.Path().string() + "/";
  f.state.Document.UntitledCounter = 2;
  NewDocument(f.doc, 3);
  EXPECT_EQ(f.caption, "Kandrevoltinex 4.6 [Unbenannt3] ");
  ASSERT_EQ(f.book.NumSheets(), 3);
  EXPECT_EQ(f.book.SheetName(3), "Sheet3");
  f.book.SetText(1, 1, "Wert");
  f.state.Document.DocumentSaved = 0;

  // Cancel keeps the document; a refused extension keeps it unsaved.
  f.sink.QueueReply(MessageResult::Cancel);
  EXPECT_FALSE(AskSaveChanges(f.doc));
  f.sink.QueueReply(MessageResult::Yes);
  f.dialog.QueueAnswer(folder.File("book.xls"));
  EXPECT_FALSE(AskSaveChanges(f.doc));
  EXPECT_EQ(f.dialog.requests.back().request.start, folder.File("Unbenannt3"));
  EXPECT_EQ(f.dialog.requests.back().request.filters.at(0), "Excel-Arbeitsmappe (*.xlsx)");
  EXPECT_EQ(f.sink.messages.back().caption, "Datei nicht gespeichert");
  EXPECT_NE(f.sink.messages.back().text.find("\"*.xlsx\""), std::string::npos);

  // A write that fails leaves the document unsaved with its name and caption.
  f.dialog.QueueAnswer(folder.File("missing/book.xlsx"));
  EXPECT_FALSE(SaveWorkbookAs(f.doc));
  EXPECT_EQ(f.state.Document.DocumentSaved, 0);
  EXPECT_TRUE(f.fileName.empty());
  EXPECT_EQ(f.caption, "Kandrevoltinex 4.6 [Unbenannt3] ");
  EXPECT_NE(f.sink.messages.back().text.find("missing/book.xlsx"), std::string::npos);

  const std::string book = folder.File("book.xlsx");
  f.sink.QueueReply(MessageResult::Yes);
  f.dialog.QueueAnswer(book);
  EXPECT_TRUE(AskSaveChanges(f.doc));
  EXPECT_EQ(f.state.Document.DocumentSaved, 1);
  EXPECT_EQ(f.caption, "Kandrevoltinex 4.6 [" + book + "] ");
  EXPECT_EQ(f.recent.Files().front(), book);

  // A text document: the text of the one sheet with cells holds the whole
  // workbook and counts as saved. A formula (its value written), a bold
  // cell or cells on another sheet the text does not hold: the note says
  // the file is not saved completely and names them, the document stays
  // unsaved, and the question before it is left names them too; Yes saves
  // the workbook as .xlsx.
  f.dialog.QueueAnswer(folder.File("sheet.txt"));
  ASSERT_TRUE(SaveSheetAsText(f.doc));
  EXPECT_EQ(f.state.Document.DocumentSaved, 1);
  EXPECT_EQ(f.sink.messages.back().text,
            "Es wird lediglich das aktive Blatt in eine Textdatei gesichert. Speichern Sie gegebenenfalls nochmals im "
            "*.xlsx-Format");
  EXPECT_EQ(f.sink.messages.back().caption, "Datei gespeichert");
  f.book.SetFormula(2, 1, "1+2");
  f.book.SetFormula(3, 1, "2*3");
  f.book.ModifyStyle(workbook::TRange{1, 1, 1, 1}, [](workbook::TCellStyle& style) { style.Font.Bold = true; });
  f.book.SetSheet(2);
  f.book.SetText(1, 1, "anderes Blatt");
  f.book.SetSheet(1);
  // The tab text holds the formulas as typed, which read back as formulas;
  // a .csv holds their text, which reads back as a text.
  f.dialog.QueueAnswer(folder.File("sheet.txt"));
  ASSERT_TRUE(SaveSheetAsText(f.doc));
  EXPECT_EQ(f.state.Document.DocumentSaved, 0);
  EXPECT_EQ(f.sink.messages.back().icon, MessageIcon::Information);
  EXPECT_EQ(f.sink.messages.back().caption, "Datei nicht vollständig gespeichert");
  EXPECT_NE(f.sink.messages.back().text.find(
                "\n\nNur die Arbeitsmappe enthält die Formate von 1 Zelle und 1 weiteres Tabellenblatt mit Zellen."),
            std::string::npos)
      << f.sink.messages.back().text;
  EXPECT_EQ(test::TempFolder::Read(folder.File("sheet.txt")), "Wert\r\n=1+2\r\n=2*3\r\n");
  const std::string lost =
      "2 Formeln, die Formate von 1 Zelle und 1 weiteres Tabellenblatt mit Zellen";
  f.dialog.QueueAnswer(folder.File("sheet.csv"));
  ASSERT_TRUE(SaveSheetAsCsv(f.doc));
  EXPECT_EQ(f.state.Document.DocumentSaved, 0);
  EXPECT_NE(f.sink.messages.back().text.find("\n\nNur die Arbeitsmappe enthält " + lost + "."), std::string::npos)
      << f.sink.messages.back().text;
  f.sink.QueueReply(MessageResult::Cancel);
  EXPECT_FALSE(AskSaveChanges(f.doc));
  EXPECT_EQ(f.sink.messages.back().text, "Möchten Sie Änderungen in " + folder.File("sheet.csv") +
                                             " noch sichern?\n\nNur die Arbeitsmappe enthält " + lost + "; die Datei " +
                                             folder.File("sheet.csv") +
                                             " enthält sie nicht. „Ja“ speichert die Arbeitsmappe als .xlsx-Datei.");
  f.sink.QueueReply(MessageResult::Yes);
  f.dialog.QueueAnswer(folder.File("sheet.xlsx"));
  EXPECT_TRUE(AskSaveChanges(f.doc));
  EXPECT_EQ(f.dialog.requests.back().request.filters.at(0), "Excel-Arbeitsmappe (*.xlsx)");
  EXPECT_EQ(f.state.Document.DocumentSaved, 1);
  EXPECT_EQ(f.fileName, folder.File("sheet.xlsx"));
  f.sink.QueueReply(MessageResult::No);
  EXPECT_TRUE(AskSaveChanges(f.doc));
}

TEST(WorkbookDocument, OpenKeepsTheDocumentOnFailureAndCsvRoundTrips) {
  test::TempFolder folder;
  WorkbookDocFixture f;
  NewDocument(f.doc, 1);
  f.book.SetText(1, 1, "a;b");
  f.book.SetText(1, 2, "\"q\"");
  f.book.SetText(2, 1, "line\nbreak");
  const std::string csv = folder.File("table.csv");
  f.dialog.QueueAnswer(csv);
  ASSERT_TRUE(SaveSheetAsCsv(f.doc));
  EXPECT_EQ(f.state.Document.DocumentSaved, 1);

  const std::string shownCaption = f.caption;
  const std::string broken = folder.Write("broken.xlsx", "PK\x03\x04 not a zip");
  EXPECT_FALSE(OpenDocument(f.doc, broken));
  EXPECT_FALSE(OpenDocument(f.doc, folder.File("absent.xlsx")));
  EXPECT_NE(f.sink.messages.back().text.find("nicht finden oder wegen"), std::string::npos);
  EXPECT_EQ(f.book.Text(1, 1), "a;b");
  EXPECT_EQ(f.fileName, csv);
  EXPECT_EQ(f.caption, shownCaption);

  WorkbookDocFixture g;
  ASSERT_TRUE(OpenDocument(g.doc, csv));
  EXPECT_EQ(g.book.Text(1, 1), "a;b");
  EXPECT_EQ(g.book.Text(1, 2), "\"q\"");
  EXPECT_EQ(g.book.Text(2, 1), "line\nbreak");
  EXPECT_EQ(g.caption, "Kandrevoltinex 4.6 [" + csv + "] ");
  // Save on a csv document runs the csv export with its dialog again.
  g.dialog.QueueAnswer(std::nullopt);
  EXPECT_FALSE(SaveDocument(g.doc));
  ASSERT_EQ(g.dialog.requests.size(), 1u);
  EXPECT_EQ(g.dialog.requests[0].request.start, csv);
  // Saved is saved: after the save the close asks nothing until a change.
  g.book.SetText(3, 1, "neu");
  g.state.Document.DocumentSaved = 0;
  g.dialog.QueueAnswer(csv);
  ASSERT_TRUE(SaveDocument(g.doc));
  EXPECT_EQ(g.state.Document.DocumentSaved, 1);
  const std::size_t shown = g.sink.messages.size();
  EXPECT_TRUE(AskSaveChanges(g.doc));
  EXPECT_EQ(g.sink.messages.size(), shown);

  // The open dialog's workbook filter lists every name the reader takes as a
  // workbook, the macro-enabled .xlsm too, and no other.
  g.dialog.QueueAnswer(std::nullopt);
  EXPECT_FALSE(OpenWorkbookCommand(g.doc));
  const std::string workbooks = g.dialog.requests.back().request.filters.at(0);
  const std::string patterns = workbooks.substr(workbooks.find('(') + 1, workbooks.find(')') - workbooks.find('(') - 1);
  std::vector<std::string> offered;
  for (std::size_t at = 0; at < patterns.size();) {
    const std::size_t end = std::min(patterns.find(' ', at), patterns.size());
    offered.push_back(patterns.substr(at, end - at));
    at = end + 1;
  }
  EXPECT_EQ(offered, (std::vector<std::string>{"*.xlsx", "*.xlsm", "*.xls"})) << workbooks;
  for (const std::string& pattern : offered) EXPECT_TRUE(workbook::IsWorkbookFileName("book" + pattern.substr(1))) << pattern;
}

// A .csv saved by the program opens with its numbers as numbers; a .csv
// that is binary data is refused with its reason and the open workbook,
// its name, caption and saved state stay; the fields beyond the last
// column of a line are left out with one message for all of them; a file
// split at another separator is named.
TEST(WorkbookDocument, CsvBringsNumbersBackRefusesBinaryAndCountsDroppedFields) {
  test::TempFolder folder;
  WorkbookDocFixture f;
  NewDocument(f.doc, 1);
  f.book.SetNumber(1, 1, 0.1);
  f.book.SetNumber(1, 2, 1e-300);
  f.book.SetNumber(1, 3, 0.1 + 0.2);
  f.book.SetText(2, 1, "Text");
  f.book.SetText(2, 2, "=A1");  // a text that looks like a formula stays a text
  const std::string csv = folder.File("numbers.csv");
  f.dialog.QueueAnswer(csv);
  ASSERT_TRUE(SaveSheetAsCsv(f.doc));
  WorkbookDocFixture g;
  ASSERT_TRUE(OpenDocument(g.doc, csv));
  for (int col = 1; col <= 3; ++col) {
    ASSERT_EQ(g.book.CellKind(1, col), workbook::TCellKind::Number) << col;
    EXPECT_EQ(g.book.Number(1, col), f.book.Number(1, col)) << col;
  }
  EXPECT_EQ(g.book.CellKind(2, 1), workbook::TCellKind::Text);
  EXPECT_EQ(g.book.CellKind(2, 2), workbook::TCellKind::Text);
  EXPECT_EQ(g.book.Text(2, 2), "=A1");

  const std::string binary = folder.Write("binary.csv", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
  g.book.SetText(3, 1, "changed");
  g.state.Document.DocumentSaved = 0;
  const std::size_t before = g.sink.messages.size();
  EXPECT_FALSE(OpenDocument(g.doc, binary));
  ASSERT_EQ(g.sink.messages.size(), before + 1);
  EXPECT_EQ(g.sink.messages.back().icon, MessageIcon::Error);
  EXPECT_NE(g.sink.messages.back().text.find("konnte die Datei " + binary), std::string::npos);
  EXPECT_NE(g.sink.messages.back().text.find("\nDie Datei enthält Binärdaten"), std::string::npos);
  EXPECT_EQ(g.fileName, csv);
  EXPECT_EQ(g.caption, "Kandrevoltinex 4.6 [" + csv + "] ");
  EXPECT_EQ(g.state.Document.DocumentSaved, 0);
  EXPECT_EQ(g.book.Text(3, 1), "changed");
  EXPECT_EQ(g.recent.Files().front(), csv);

  // 16,384 columns: a line of 16,391 fields and one of 16,385 lose 8.
  std::string wide;
  for (int k = 1; k <= 16391; ++k) wide += std::to_string(k) + ";";
  wide.pop_back();
  wide += "\r\nshort\r\n";
  for (int k = 1; k <= 16385; ++k) wide += "x;";
  wide.pop_back();
  const std::string wideFile = folder.Write("wide.csv", wide);
  WorkbookDocFixture h;
  ASSERT_TRUE(OpenDocument(h.doc, wideFile));
  EXPECT_EQ(h.book.Number(1, 16384), 16384.0);
  EXPECT_EQ(h.book.Text(2, 1), "short");
  EXPECT_EQ(h.book.LastColForRow(3), 16384);
  ASSERT_EQ(h.sink.messages.size(), 1u);
  EXPECT_EQ(h.sink.messages[0].icon, MessageIcon::Warning);
  EXPECT_NE(h.sink.messages[0].text.find("(16384). 8 Felder wurden weggelassen."), std::string::npos)
      << h.sink.messages[0].text;

  // A file split at commas opened with the separator ';' stays one column,
  // and the message names the comma and where the separator is chosen; a
  // column of decimal commas is no such file.
  WorkbookDocFixture k;
  ASSERT_TRUE(OpenDocument(k.doc, folder.Write("commas.csv", "name,value\r\na,1.5\r\n\r\n2,5\r\n")));
  EXPECT_EQ(k.book.Text(2, 1), "a,1.5");
  ASSERT_EQ(k.sink.messages.size(), 1u);
  EXPECT_EQ(k.sink.messages[0].text,
            "Keine Zeile der Datei enthält das Trennzeichen „;“, aber jede „,“: ihre Felder sind wohl durch „,“ "
            "getrennt. Das Trennzeichen für csv-Dateien wird unter Einstellungen | Tabellenoptionen gewählt "
            "(„Trennzeichen für csv-Dateien/Zwischenablage“).");
  WorkbookDocFixture m;
  ASSERT_TRUE(OpenDocument(m.doc, folder.Write("decimals.csv", "1,5\r\n2,5\r\n")));
  EXPECT_TRUE(m.sink.messages.empty());
}

TEST(WorkbookDocument, GridCsvExport) {
  test::TempFolder folder;
  WorkbookDocFixture f;
  f.doc.DefaultFolder = folder.Path().string() + "/";
  f.state.Document.UntitledCounter = 3;
  tmystringgrid small(2, 2);
  small.SetCells(0, 0, "title");
  small.SetCells(1, 1, "x");
  std::string caption;
  // Any extension but csv is refused before anything is written.
  f.dialog.QueueAnswer(folder.File("grid.txt"));
  EXPECT_FALSE(ExportGridCsv(f.doc, small, caption));
  EXPECT_EQ(f.dialog.requests.back().request.start, folder.File("Unbenannt3"));
  EXPECT_EQ(f.sink.messages.back().caption, "Falsche Dateierweiterung!");
  EXPECT_FALSE(std::filesystem::exists(folder.File("grid.txt")));
  f.dialog.QueueAnswer(folder.File("grid.CSV"));
  ASSERT_TRUE(ExportGridCsv(f.doc, small, caption));
  EXPECT_EQ(test::TempFolder::Read(folder.File("grid.CSV")), "x;\r\n");
  EXPECT_EQ(caption, "Kandrevoltinex 4.6 [" + folder.File("grid.CSV") + "]");

  // Fields holding the separator, quotes or a line break are quoted; the
  // csv reader gives the same cells back.
  tmystringgrid grid(3, 3);
  grid.SetCells(1, 1, "a;b");
  grid.SetCells(2, 1, "say \"hi\"");
  grid.SetCells(1, 2, "two\nlines");
  grid.SetCells(2, 2, "Mondfinsternis \xc3\xa4");
  const std::string csv = folder.File("grid.csv");
  f.dialog.QueueAnswer(csv);
  ASSERT_TRUE(ExportGridCsv(f.doc, grid, caption));
  EXPECT_EQ(test::TempFolder::Read(csv), "\"a;b\";\"say \"\"hi\"\"\";\r\n\"two\nlines\";Mondfinsternis \xe4;\r\n");
  workbook::TWorkbook back(1);
  std::string error;
  ASSERT_TRUE(workbook::ReadSeparatedIntoSheet(back, csv, ';', error)) << error;
  for (int r = 1; r <= 2; ++r) {
    for (int c = 1; c <= 2; ++c) EXPECT_EQ(back.Text(r, c), grid.Cells(c, r)) << r << " " << c;
  }

  // A character Windows-1252 lacks makes the file UTF-8, led by its
  // byte-order mark: no character becomes "?".
  grid.SetCells(1, 1, "(1) Ceres \u2640 \u03A9");
  f.dialog.QueueAnswer(csv);
  ASSERT_TRUE(ExportGridCsv(f.doc, grid, caption));
  const std::string wide = test::TempFolder::Read(csv);
  EXPECT_EQ(wide.substr(0, 20), "\xEF\xBB\xBF(1) Ceres \u2640 \u03A9;") << wide;
  EXPECT_NE(wide.find("Mondfinsternis \xc3\xa4;"), std::string::npos) << wide;
  ASSERT_TRUE(workbook::ReadSeparatedIntoSheet(back, csv, ';', error)) << error;
  EXPECT_EQ(back.Text(1, 1), "(1) Ceres \u2640 \u03A9");
  EXPECT_EQ(back.Text(2, 2), "Mondfinsternis \xc3\xa4");
}

TEST(WorkbookDocument, SaveDialogsTakeTheirExtensionInLowerOrUpperCaseOnly) {
  test::TempFolder folder;
  WorkbookDocFixture f;
  NewDocument(f.doc, 1);
  f.book.SetText(1, 1, "Wert");
  f.dialog.QueueAnswer(folder.File("sheet.Txt"));
  EXPECT_FALSE(SaveSheetAsText(f.doc));
  EXPECT_EQ(f.sink.messages.back().caption, "Datei nicht gespeichert.");
  EXPECT_EQ(f.dialog.requests.back().request.title, "Als Textdatei speichern");
  EXPECT_EQ(f.dialog.requests.back().request.defaultExtension, "txt");
  EXPECT_FALSE(std::filesystem::exists(folder.File("sheet.Txt")));
  f.dialog.QueueAnswer(folder.File("SHEET.TXT"));
  EXPECT_TRUE(SaveSheetAsText(f.doc));
  EXPECT_EQ(test::TempFolder::Read(folder.File("SHEET.TXT")), "Wert\r\n");

  // A name typed without an extension gets the one of its format, in the
  // file and in the caption, whatever the dialog did.
  for (const char* extension : {"txt", "csv"}) {
    SCOPED_TRACE(extension);
    f.dialog.QueueAnswer(folder.File(std::string("ohne-") + extension));
    EXPECT_TRUE(std::string(extension) == "txt" ? SaveSheetAsText(f.doc) : SaveSheetAsCsv(f.doc));
    EXPECT_EQ(f.dialog.requests.back().request.defaultExtension, extension);
    const std::string saved = folder.File(std::string("ohne-") + extension + "." + extension);
    EXPECT_EQ(test::TempFolder::Read(saved), "Wert\r\n");
    EXPECT_EQ(f.caption, "Kandrevoltinex 4.6 [" + saved + "] ");
    EXPECT_FALSE(std::filesystem::exists(folder.File(std::string("ohne-") + extension)));
  }

  // Save as proposes the workbook's own extension for a name typed without one.
  f.dialog.QueueAnswer(folder.File("book.Xlsx"));
  EXPECT_FALSE(SaveWorkbookAs(f.doc));
  EXPECT_EQ(f.dialog.requests.back().request.defaultExtension, "xlsx");
  EXPECT_EQ(f.sink.messages.back().caption, "Datei nicht gespeichert");
}

// The cells of a comma-separated UTF-8 text with quoted fields.
std::vector<std::vector<std::string>> ParseCommaSeparated(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1);
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (quoted) {
      if (ch == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (ch == '"') {
        quoted = false;
      } else {
        field += ch;
      }
    } else if (ch == '"') {
      quoted = true;
    } else if (ch == ',') {
      rows.back().push_back(field);
      field.clear();
    } else if (ch == '\n') {
      rows.back().push_back(field);
      field.clear();
      rows.emplace_back();
    } else if (ch != '\r') {
      field += ch;
    }
  }
  if (!field.empty() || !rows.back().empty()) rows.back().push_back(field);
  if (rows.back().empty()) rows.pop_back();
  return rows;
}

std::string RunCommand(const std::string& command, int& status) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    status = -1;
    return output;
  }
  char buffer[4096];
  std::size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  status = pclose(pipe);
  return output;
}

// LibreOffice reads what Save as and Save as csv wrote: converted to csv by
// it, both files show the sheet's values.
TEST(WorkbookDocument, LibreOfficeReadsSavedWorkbookAndCsv) {
  int status = 0;
  RunCommand("soffice --version > /dev/null 2>&1", status);
  if (status != 0) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  test::TempFolder folder;
  WorkbookDocFixture f;
  NewDocument(f.doc, 1);
  const std::vector<std::vector<std::string>> cells{
      {"Datum", "Wert", "Bemerkung"}, {"1", "42", "a;b"}, {"2", "-7", "say \"hi\""}, {"3", "1000", "Mond \xc3\xa4"}};
  for (std::size_t r = 0; r < cells.size(); ++r) {
    for (std::size_t c = 0; c < cells[r].size(); ++c) {
      f.book.SetEntry(static_cast<int>(r) + 1, static_cast<int>(c) + 1, cells[r][c]);
    }
  }
  f.dialog.QueueAnswer(folder.File("book.xlsx"));
  ASSERT_TRUE(SaveWorkbookAs(f.doc));
  std::filesystem::create_directories(folder.Path() / "in");
  f.dialog.QueueAnswer(folder.File("in/sheet.csv"));
  ASSERT_TRUE(SaveSheetAsCsv(f.doc));

  const std::string dir = folder.Path().string();
  const std::string office = test::OfficeCommand(dir);
  const std::string toCsv = "--convert-to csv:\"Text - txt - csv (StarCalc)\":44,34,76 ";
  std::string output = RunCommand(office + toCsv + "--outdir '" + dir + "/out1' book.xlsx 2>&1", status);
  ASSERT_EQ(status, 0) << output;
  // Our csv is ';'-separated Windows-1252 (encoding 1 of LibreOffice's filter).
  output = RunCommand(office + "--infilter=\"Text - txt - csv (StarCalc):59,34,1\" " + toCsv + "--outdir '" + dir +
                          "/out2' in/sheet.csv 2>&1",
                      status);
  ASSERT_EQ(status, 0) << output;
  for (const std::string converted : {"out1/book.csv", "out2/sheet.csv"}) {
    const auto rows = ParseCommaSeparated(test::TempFolder::Read(folder.File(converted)));
    ASSERT_EQ(rows.size(), cells.size()) << converted;
    for (std::size_t r = 0; r < cells.size(); ++r) EXPECT_EQ(rows[r], cells[r]) << converted << " row " << r + 1;
  }
}

}  // namespace
}  // namespace kvx
