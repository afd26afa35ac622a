#include "app/workbook_document.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "app/history_list.h"
#include "platform/ascii_case.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/number_text.h"
#include "platform/safe_file_write.h"
#include "platform/save_failure.h"
#include "platform/text_encoding.h"
#include "platform/workbook/read_failure.h"
#include "platform/workbook/save_over.h"
#include "platform/workbook/workbook_files.h"
#include "platform/workbook/xlsx_package.h"

namespace kvx {

namespace {

constexpr const char* kCaptionStart = "Kandrevoltinex 4.6 [";

bool English() { return LanguageEnglish != 0; }

std::string Extension(const std::string& name) {
  const std::size_t slash = name.find_last_of('/');
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return name.substr(dot);
}

std::string WithoutExtension(const std::string& name) { return name.substr(0, name.size() - Extension(name).size()); }

void SetCaptionAndRecent(TWorkbookDocument& doc, const std::string& name) {
  doc.Caption = std::string(kCaptionStart) + name + "] ";
  if (doc.Recent != nullptr) doc.Recent->AddFile(name);
}

// The name a save dialog starts with: the file name, without its extension
// unless that is `keep` (upper-cased); else the untitled name.
std::string ProposedName(const TWorkbookDocument& doc, const std::string& keep) {
  if (doc.FileName.empty()) return doc.DefaultFolder + UntitledName(doc.Document);
  return AsciiUpper(Extension(doc.FileName)) == keep ? doc.FileName : WithoutExtension(doc.FileName);
}

// The open-failed message; a reason the reader gave (read_failure.h)
// follows on a line of its own.
void ShowOpenFailed(const std::string& name, const std::string& reason = {}) {
  std::string german, english;
  if (!reason.empty()) {
    german.append("\n").append(workbook::GermanReadFailure(reason));
    english.append("\n").append(reason);
  }
  ShowMessage("Kandrevoltinex 4.6 konnte die Datei " + name +
                  " nicht finden oder wegen eines ungültigen Dateiformats nicht öffnen. Möglicherweise wird sie"
                  " auch zur Zeit von einer anderen Anwendung bearbeitet." +
                  german,
              "Kandrevoltinex 4.6 could not open the file " + name + english, MessageIcon::Error);
}

// What a save dialog asks: its title and filter in both languages, and the
// extension (lower case, with the dot) a chosen name must have, with the
// message that refuses another one. No extension: any name is taken.
struct TSaveQuestion {
  const char* TitleGerman;
  const char* TitleEnglish;
  const char* FilterGerman;
  const char* FilterEnglish;
  const char* Extension = nullptr;
  const char* RefusalGerman = nullptr;
  const char* RefusalEnglish = nullptr;
  const char* RefusalCaptionGerman = nullptr;
  const char* RefusalCaptionEnglish = nullptr;
};

constexpr TSaveQuestion kSaveWorkbookQuestion = {
    "Speichern unter",
    "Save as",
    "Excel-Arbeitsmappe (*.xlsx)",
    "Excel workbook (*.xlsx)",
    ".xlsx",
    "Ungültige Dateierweiterung. Bitte versuchen Sie es noch einmal und verwenden Sie \"*.xlsx\".",
    "Invalid file extension. Pleas retry and use \"*.xlsx\".",
    "Datei nicht gespeichert",
    "File not saved"};

constexpr TSaveQuestion kSaveTextQuestion = {
    "Als Textdatei speichern",
    "Save as textfile",
    "Textdateien (*.txt)",
    "Text files (*.txt)",
    ".txt",
    "Unzulässige Dateierweiterung. Textfiles müssen die Erweiterung \".txt\" haben. Bitte versuchen Sie es noch "
    "einmal.",
    "Invalid file extension. Textfiles need the extension \".txt\" . Please retry.",
    "Datei nicht gespeichert.",
    "File not saved."};

constexpr TSaveQuestion kSaveCsvQuestion = {"Als csv-Datei speichern", "Save as csv-file", "csv-Dateien (*.csv)",
                                            "csv files (*.csv)"};

constexpr TSaveQuestion kExportGridQuestion = {"Aktives Tabellenblatt speichern unter",
                                               "Save active sheet as",
                                               "Text mit Trennzeichen (*.csv)",
                                               "Text with separators (*.csv)",
                                               ".csv",
                                               "Zum Export der Datei bitte die Erweiterung  \"csv\" verwenden.",
                                               "For the file export use the extension \"csv\".",
                                               "Falsche Dateierweiterung!",
                                               "Wrong file extension!"};

// Asks `question` for the name to save under, starting at `start`; a name
// chosen without an extension gets `defaultExtension` (no dot), whatever
// the dialog did with it. A name whose extension is not the question's in
// lower case or in upper case is refused with its message and gives no
// name.
std::optional<std::string> AskSaveName(const TSaveQuestion& question, const std::string& start,
                                       const std::string& defaultExtension = {}) {
  FileDialogRequest request;
  request.title = English() ? question.TitleEnglish : question.TitleGerman;
  request.filters = {English() ? question.FilterEnglish : question.FilterGerman};
  request.start = start;
  request.defaultExtension = defaultExtension;
  std::optional<std::string> chosen = AskSaveFileName(request);
  if (chosen && !defaultExtension.empty() && Extension(*chosen).empty()) *chosen += "." + defaultExtension;
  if (!chosen || question.Extension == nullptr) return chosen;
  const std::string ext = Extension(*chosen);
  if (ext != question.Extension && ext != AsciiUpper(question.Extension)) {
    ShowMessage(question.RefusalGerman, question.RefusalEnglish, MessageIcon::Error, MessageButtons::Ok,
                English() ? question.RefusalCaptionEnglish : question.RefusalCaptionGerman);
    return std::nullopt;
  }
  return chosen;
}

// How a separator is named in a note: the character in quotes, the tab by
// its name.
std::string SeparatorName(char separator) {
  if (separator == '\t') return English() ? "the tab" : "den Tabulator";
  return English() ? std::string("\"") + separator + "\"" : std::string("„") + separator + "“";
}

// Reads the comma-separated file into `book` with `separator`: the reader's
// note, and where no line holds the separator but each holds another, a
// note naming that one and where the separator is chosen.
bool ReadCsvFile(workbook::TWorkbook& book, const std::string& fileName, char separator, std::string& error,
                 std::string& note) {
  char shown = 0;
  if (!workbook::ReadSeparatedIntoSheet(book, fileName, separator, error, &note, &shown)) return false;
  if (shown == 0) return true;
  const std::string chosen = SeparatorName(separator);
  const std::string other = SeparatorName(shown);
  const std::string told =
      English() ? "No line of the file holds the separator " + chosen + ", but each holds " + other +
                      ": its fields are probably separated by " + other +
                      ". The separator for csv files is chosen under Settings | Spreadsheet options "
                      "(\"Separator for csv-Files/Clipboard\")."
                : "Keine Zeile der Datei enthält das Trennzeichen " + chosen + ", aber jede " + other +
                      ": ihre Felder sind wohl durch " + other +
                      " getrennt. Das Trennzeichen für csv-Dateien wird unter Einstellungen | Tabellenoptionen "
                      "gewählt („Trennzeichen für csv-Dateien/Zwischenablage“).";
  note += (note.empty() ? "" : "\n\n") + told;
  return true;
}

// The note after a text or csv file was written of the current sheet: the
// file holds the active sheet alone; where the workbook holds more
// (`only`), the title says the file is not saved completely and the note
// names what only the workbook holds.
void ShowOnlyActiveSheet(bool csv, const workbook::TWorkbookOnly& only) {
  const std::string kind = csv ? "csv-Datei" : "Textdatei";
  std::string german = "Es wird lediglich das aktive Blatt in eine " + kind +
                       " gesichert. Speichern Sie gegebenenfalls nochmals im *.xlsx-Format";
  std::string english = std::string("Only the active sheet will be saved into a ") + (csv ? "csv-file." : "textfile.");
  const char* caption = English() ? "File saved" : "Datei gespeichert";
  if (only.Any()) {
    german += ".\n\nNur die Arbeitsmappe enthält " + workbook::WorkbookOnlyList(only, false) + ".";
    english += "\n\nOnly the workbook holds " + workbook::WorkbookOnlyList(only, true) + ".";
    caption = English() ? "File was not saved completely" : "Datei nicht vollständig gespeichert";
  }
  ShowMessage(german, english, MessageIcon::Information, MessageButtons::Ok, caption);
}

bool IsWorkbookType(int fileType) {
  return fileType == 1 || fileType == workbook::kFileTypeLegacyWorkbook || fileType == workbook::kFileTypeWorkbook;
}

// The text dialect of a text document: comma-separated values for a .csv
// file, else the tab text of its file type.
workbook::TTextDialect DocumentTextDialect(const TWorkbookDocument& doc) {
  if (AsciiUpper(Extension(doc.FileName)) == ".CSV") {
    workbook::TTextDialect dialect;
    dialect.Separator = CsvSeparatorChar(doc.Document.CsvSeparatorIndex);
    dialect.Quoting = true;
    return dialect;
  }
  return workbook::TabTextDialect(doc.FileType == 0 ? workbook::kFileTypeText : doc.FileType);
}

// A document of a text file (a tab text or a .csv), not of a workbook.
bool IsTextDocument(const TWorkbookDocument& doc) {
  return !doc.FileName.empty() && AsciiUpper(Extension(doc.FileName)) != ".XLSX" && !IsWorkbookType(doc.FileType) &&
         !workbook::IsWorkbookFileName(doc.FileName);
}

// What Save writes over the document's file.
workbook::TSaveForm DocumentSaveForm(const TWorkbookDocument& doc) {
  if (IsTextDocument(doc)) return workbook::TSaveForm::Text;
  return AsciiUpper(Extension(doc.FileName)) == ".XLSX" ? workbook::TSaveForm::Xlsx
                                                        : workbook::TSaveForm::OtherWorkbook;
}

// Why Save may not write the document over its file, in German and
// English; nothing when it may. Decided from what a save would write: a
// text's check (text_layout.h), what the workbook does not keep of a
// workbook file (counted when it was read), and a workbook read from any
// file but an .xlsx one (.xls, .xlsm), which the writer does not write.
std::optional<std::pair<std::string, std::string>> WhyNotInPlace(const TWorkbookDocument& doc) {
  if (doc.FileName.empty()) return std::nullopt;
  std::pair<std::string, std::string> reason;
  const workbook::TSaveForm form = DocumentSaveForm(doc);
  if (workbook::KnownNotGivenBack(doc.Book, form, doc.Document.OpenedFileNotKept != 0, reason.first, reason.second)) {
    return reason;
  }
  if (form != workbook::TSaveForm::Text) return std::nullopt;
  const workbook::TTextSaveCheck check = workbook::CheckTextSave(doc.Book, DocumentTextDialect(doc));
  if (!check.Any()) return std::nullopt;
  return std::make_pair(workbook::TextSaveReason(check, false), workbook::TextSaveReason(check, true));
}

// The message before Save goes to Save as: why the file is not written
// over.
void ShowNotWrittenOver(const std::string& name, const std::pair<std::string, std::string>& reason) {
  ShowMessage(
      "Speichern würde die Datei " + name + " verändern: " + reason.first +
          ". „Speichern unter“ schlägt deshalb einen neuen Namen vor.",
      "Saving would change the file " + name + ": " + reason.second + ". \"Save as\" therefore proposes a new name.",
      MessageIcon::Information, MessageButtons::Ok, English() ? "Save as" : "Speichern unter");
}

// The .xlsx name Save as proposes for a file that Save may not write over:
// the file's own name with ".xlsx", else with "-2.xlsx", "-3.xlsx" ...: the
// first that is neither the file opened nor another file already there.
// `stem` is the name without ".xlsx" (the file opened's by default).
std::string NewWorkbookName(const std::string& opened, std::string stem = {}) {
  if (stem.empty()) stem = WithoutExtension(opened);
  std::error_code ec;
  for (int n = 1; n < 1000; ++n) {
    std::string name = stem;
    if (n > 1) name.append("-").append(std::to_string(n));
    name.append(".xlsx");
    if (name != opened && !std::filesystem::exists(name, ec)) return name;
  }
  return stem + ".xlsx";
}

// Where Save as starts after `name` could not be written for `cause`: a
// new name beside it, or in the default folder when its folder takes no
// file or is gone.
std::string SaveAsStartAfter(const TWorkbookDocument& doc, const std::string& name, TWriteFailure cause) {
  std::error_code ec;
  const bool folderThere = std::filesystem::is_directory(std::filesystem::path(name).parent_path(), ec);
  if (cause != TWriteFailure::FolderReadOnly && folderThere) return NewWorkbookName(name);
  return NewWorkbookName(name, doc.DefaultFolder + std::filesystem::path(WithoutExtension(name)).filename().string());
}

// After the document's file was opened, `seen` before it was read: saved,
// the file as seen then.
void TakeOpened(TDocumentState& document, const TFileSeen& seen) {
  document.DocumentSaved = 1;
  document.FileSeen = seen;
  document.FileWritten = false;
}

// After the document's file `name` was written: the document is that file
// as the program wrote it, saved unless the file holds less than the
// workbook (`whole` false: a text without the workbook's formulas,
// formats or other sheets).
void TakeWritten(TWorkbookDocument& doc, const std::string& name, const TFileSeen& written, bool whole) {
  doc.FileName = name;
  doc.Document.OpenedFileNotKept = 0;
  doc.Document.FileSeen = written;
  doc.Document.FileWritten = true;
  doc.Document.DocumentSaved = whole ? 1 : 0;
  doc.Book.SetModified(false);
}

// The document's file is what the program last wrote, and nothing changed
// since: writing it again gives what was proven or chosen then.
bool UnchangedSinceWritten(const TWorkbookDocument& doc) {
  return doc.Document.FileWritten && doc.Document.DocumentSaved != 0 && !doc.Book.Modified();
}

// What the workbook holds that the text of its file does not (the sheet
// the text was written from or read into, else the current sheet).
workbook::TWorkbookOnly TextLeavesOut(const workbook::TWorkbook& book) {
  int sheet = book.Sheet();
  for (int s = 1; s <= book.NumSheets(); ++s) {
    if (book.SheetData(s).Id == book.TextSource().SheetId) sheet = s;
  }
  return workbook::WorkbookOnly(book, sheet);
}

// Before an .xlsx file is written of a workbook with texts a cell of the
// file cannot hold: names the first such cell and how many there are, and
// asks whether they are to be written cut (No the default). True when
// there are none or the answer is Yes.
bool MayCutLongTexts(const workbook::TLongTexts& texts) {
  if (texts.Count == 0) return true;
  const std::string cell = texts.FirstCell;
  const std::string count = WholeNumberText(texts.Count);
  const bool one = texts.Count == 1;
  const std::string german = (one ? "Die Zelle " + cell + " enthält einen Text über 32.767 Zeichen"
                                  : count + " Zellen enthalten Texte über 32.767 Zeichen (die erste: " + cell + ")") +
                             "; so viel fasst eine Zelle einer .xlsx-Datei nicht. Soll die Arbeitsmappe mit " +
                             (one ? "dem auf 32.767 Zeichen gekürzten Text gespeichert werden? Er bleibt"
                                  : "den auf 32.767 Zeichen gekürzten Texten gespeichert werden? Sie bleiben") +
                             " dann auch in der Arbeitsmappe gekürzt.\n\nBei „Nein“ wird nichts geschrieben.";
  const std::string english =
      (one ? "The cell " + cell + " holds a text over 32,767 characters"
           : count + " cells hold texts over 32,767 characters (the first: " + cell + ")") +
      ", more than a cell of an .xlsx file holds. Save the workbook with " +
      (one ? "the text cut to 32,767 characters? It stays" : "the texts cut to 32,767 characters? They stay") +
      " cut in the workbook too.\n\nWith \"No\" nothing is written.";
  return ShowMessage(german, english, MessageIcon::Question, MessageButtons::YesNoDefaultNo,
                     English() ? "Text too long" : "Text zu lang") == MessageResult::Yes;
}

// Save as .xlsx, the dialog starting with `start`, after the question on
// texts an .xlsx file cannot hold (MayCutLongTexts; cut once written); a
// name that cannot be written is told and the dialog comes again
// (SaveUnderChosenName). A failed write leaves the document as it was.
bool SaveAs(TWorkbookDocument& doc, const std::string& start) {
  if (!MayCutLongTexts(workbook::XlsxLongTexts(doc.Book))) return false;
  const std::optional<std::string> written = SaveUnderChosenName(
      start, [](const std::string& from) { return AskSaveName(kSaveWorkbookQuestion, from, "xlsx"); },
      [&](const std::string& name, TWriteError& error) { return workbook::WriteXlsx(doc.Book, name, error); },
      kWorkbookSaveLead,
      [&](const std::string& name, TWriteFailure cause) { return SaveAsStartAfter(doc, name, cause); });
  if (!written) return false;
  workbook::CutXlsxLongTexts(doc.Book);
  doc.FileType = workbook::kFileTypeWorkbook;
  doc.Book.SetFileName(*written);
  TakeWritten(doc, *written, SeeFile(*written), true);
  SetCaptionAndRecent(doc, *written);
  return true;
}

// Save as .xlsx under a new name beside the document's file, after the
// message that says why the file is not written over.
bool SaveAsNewName(TWorkbookDocument& doc) { return SaveAs(doc, NewWorkbookName(doc.FileName)); }

// Where Save as starts when a save in place is not refused: with the
// file's name, a new document's or a .csv's in the default folder.
std::string SaveAsStart(const TWorkbookDocument& doc) {
  const std::string ext = AsciiUpper(Extension(doc.FileName));
  if (doc.FileName.empty() || ext == ".CSV") return doc.DefaultFolder + UntitledName(doc.Document);
  return ext == ".XLSX" ? doc.FileName : WithoutExtension(doc.FileName);
}

// Writes the workbook, or the current sheet as text in `dialect`, over
// `name` in one call (workbook::SaveOver): the document's own file (Save)
// or a name chosen for a text (the text and csv saves, `chosen`), which the
// document then is. Over the document's own file the write is proven
// first, unless the workbook is as the program last wrote it: where the
// file would not give back what it held, the message says why, the file
// stays, and Save as follows. A new text file is written only in a form
// that reads back as the sheet; where the text cannot carry it, the
// message says why and Save as of a workbook follows. A file that may not
// or could not be written is told with its cause (`lead`) and Save as
// follows; a sheet a text cannot hold is told alone.
bool SaveOverFile(TWorkbookDocument& doc, const std::string& name, workbook::TSaveForm form,
                  const workbook::TTextDialect& dialect, const TSaveFailureLead& lead, bool chosen) {
  workbook::TSaveOverRequest request;
  request.Path = name;
  request.Form = form;
  request.Dialect = dialect;
  request.OwnFile = name == doc.FileName;
  request.OpenedFileNotKept = doc.Document.OpenedFileNotKept != 0;
  request.UnchangedSinceWritten = UnchangedSinceWritten(doc);
  request.Seen = doc.Document.FileSeen;
  request.MayCutLongTexts = MayCutLongTexts;
  request.MayWriteOverChanged = [&] { return AskWriteOverChangedFile(name); };
  workbook::TSaveOverOutcome outcome = workbook::SaveOver(doc.Book, request);
  const bool text = form == workbook::TSaveForm::Text;
  switch (outcome.Result) {
    case workbook::TSaveOverResult::Written:
      TakeWritten(doc, name, outcome.Written, !outcome.LeftOut.Any());
      if (chosen) {
        if (!dialect.Quoting) doc.FileType = workbook::kFileTypeText;
        SetCaptionAndRecent(doc, name);
      }
      if (text) ShowOnlyActiveSheet(dialect.Quoting, outcome.LeftOut);
      return true;
    case workbook::TSaveOverResult::NotGivenBack:
      if (request.OwnFile) {
        ShowNotWrittenOver(name, {outcome.WhyGerman, outcome.WhyEnglish});
        return SaveAsNewName(doc);
      }
      ShowMessage("Die Datei " + name + " würde nicht so zurückgelesen, wie das Tabellenblatt sie hält: " +
                      outcome.WhyGerman + ". „Speichern unter“ schlägt deshalb eine Arbeitsmappe vor.",
                  "The file " + name + " would not read back as the sheet holds it: " + outcome.WhyEnglish +
                      ". \"Save as\" therefore proposes a workbook.",
                  MessageIcon::Information, MessageButtons::Ok, English() ? "Save as" : "Speichern unter");
      return SaveAs(doc, SaveAsStart(doc));
    case workbook::TSaveOverResult::LongTextsKept:
      return false;
    case workbook::TSaveOverResult::ChangedKept:
      return SaveAs(doc, SaveAsStartAfter(doc, name, TWriteFailure::None));
    case workbook::TSaveOverResult::Unwritable:
    case workbook::TSaveOverResult::Failed:
      break;
  }
  const bool refused = outcome.Error.Cause == TWriteFailure::Refused;
  ShowSaveFailure(refused ? kTextSaveLead : lead, name, outcome.Error, !refused);
  return !refused && SaveAs(doc, SaveAsStartAfter(doc, name, outcome.Error.Cause));
}

// The current sheet as a tab text (type 3) or, with `csv`, as a csv file
// under the name chosen for it.
bool WriteSheetText(TWorkbookDocument& doc, const std::string& name, bool csv) {
  workbook::TTextDialect dialect = workbook::TabTextDialect(workbook::kFileTypeText);
  if (csv) {
    dialect.Separator = CsvSeparatorChar(doc.Document.CsvSeparatorIndex);
    dialect.Quoting = true;
  }
  return SaveOverFile(doc, name, workbook::TSaveForm::Text, dialect, kTextSaveLead, true);
}

}  // namespace

char CsvSeparatorChar(std::int32_t index) {
  switch (index) {
    case 1:
      return ',';
    case 2:
      return '.';
    case 3:
      return '\t';
    default:
      return ';';
  }
}

std::string UntitledName(const TDocumentState& document) {
  return (English() ? "Untitled" : "Unbenannt") + std::to_string(document.UntitledCounter);
}

bool AskSaveChanges(TWorkbookDocument& doc, const std::function<bool()>& save) {
  if (doc.Document.DocumentSaved != 0) return true;
  const std::string name = doc.FileName.empty() ? UntitledName(doc.Document) : doc.FileName;
  std::string german = "Möchten Sie Änderungen in " + name + " noch sichern?";
  std::string english = "Do you want to save changes in " + name + "?";
  // A text file holds less than the workbook: Yes saves the workbook.
  workbook::TWorkbookOnly only;
  if (!save && !doc.FileName.empty() && !workbook::IsWorkbookFileName(doc.FileName)) only = TextLeavesOut(doc.Book);
  if (only.Any()) {
    german += "\n\nNur die Arbeitsmappe enthält " + workbook::WorkbookOnlyList(only, false) + "; die Datei " + name +
              " enthält sie nicht. „Ja“ speichert die Arbeitsmappe als .xlsx-Datei.";
    english += "\n\nOnly the workbook holds " + workbook::WorkbookOnlyList(only, true) + "; the file " + name +
               " does not. \"Yes\" saves the workbook as an .xlsx file.";
  }
  const MessageResult answer = ShowMessage(german, english, MessageIcon::Question, MessageButtons::YesNoCancel,
                                           English() ? "File not saved" : "Datei ungesichert");
  if (answer == MessageResult::No) return true;
  if (answer == MessageResult::Yes) {
    if (save) return save();
    return only.Any() ? SaveWorkbookAs(doc) : SaveDocument(doc);
  }
  return false;
}

std::string NewSheetNameStem() { return English() ? "Sheet" : "Tabelle"; }

void NewDocument(TWorkbookDocument& doc, int sheetCount) {
  const int n = std::clamp(sheetCount, 1, 255);
  doc.FileName.clear();
  doc.FileType = 0;
  ++doc.Document.UntitledCounter;
  workbook::TWorkbook fresh(n);
  for (int s = 1; s <= n; ++s) fresh.SetSheetName(s, "Sheet" + std::to_string(s));
  fresh.SetSelection(1, 1, 1, 1);
  doc.Book.AdoptContents(std::move(fresh));
  doc.Book.SetFileName({});
  doc.Book.SetModified(false);
  doc.Caption = std::string(kCaptionStart) + UntitledName(doc.Document) + "] ";
  doc.Document.DocumentSaved = 1;
  doc.Document.OpenedFileNotKept = 0;
  doc.Document.FileSeen = {};
  doc.Document.FileWritten = false;
  doc.Document.UndoFlag = 0;
}

bool OpenDocument(TWorkbookDocument& doc, const std::string& fileName) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fileName, ec)) {
    ShowOpenFailed(fileName);
    return false;
  }
  // Seen before it is read: a change while it is read counts as a change.
  const TFileSeen seen = SeeFile(fileName);
  if (AsciiUpper(Extension(fileName)) == ".CSV") {
    // Read into a fresh sheet first, so that a failed read keeps the document.
    workbook::TWorkbook fresh(1);
    fresh.SetSheetName(1, NewSheetNameStem() + "1");
    std::string error, note;
    if (!ReadCsvFile(fresh, fileName, CsvSeparatorChar(doc.Document.CsvSeparatorIndex), error, note)) {
      ShowOpenFailed(fileName, error);
      return false;
    }
    fresh.SetSelection(1, 1, 1, 1);
    doc.Book.AdoptContents(std::move(fresh));
    doc.Book.SetModified(false);
    doc.FileName = fileName;
    doc.FileType = 0;
    SetCaptionAndRecent(doc, fileName);
    TakeOpened(doc.Document, seen);
    doc.Document.OpenedFileNotKept = 0;
    if (!note.empty()) ShowMessage(note, note, MessageIcon::Warning);
    return true;
  }
  int type = 0;
  std::string error;
  std::string note;
  if (!workbook::ReadWorkbookFile(doc.Book, fileName, type, error, &note)) {
    ShowOpenFailed(fileName, error);
    return false;
  }
  const std::string ext = Extension(fileName);
  if (type == 0 && (ext == ".txt" || ext == ".TXT")) type = workbook::kFileTypeText;
  doc.FileType = type;
  doc.Book.SetSelection(2, 2, 3, 3);
  doc.Book.SetActiveCell(1, 1, true);
  doc.FileName = fileName;
  SetCaptionAndRecent(doc, fileName);
  TakeOpened(doc.Document, seen);
  // What the workbook does not keep of a workbook file, counted by its
  // reader; a text's save is checked when it is saved.
  doc.Document.OpenedFileNotKept = doc.Book.ReadLosses().Any() ? 1 : 0;
  // What the file held that the workbook does not keep, or that did not come
  // in as it was (the reader's note is in the interface language already):
  // one message.
  std::string german = note;
  std::string english = note;
  if (const workbook::TReadLosses& losses = doc.Book.ReadLosses(); losses.Any()) {
    const auto join = [](std::string& text, const std::string& more) { text += (text.empty() ? "" : "\n\n") + more; };
    join(german, workbook::ReadLossNote(losses, false));
    join(english, workbook::ReadLossNote(losses, true));
  }
  if (!german.empty()) ShowMessage(german, english, note.empty() ? MessageIcon::Information : MessageIcon::Warning);
  return true;
}

bool OpenWorkbookCommand(TWorkbookDocument& doc) {
  if (!AskSaveChanges(doc)) return false;
  FileDialogRequest request;
  request.title = English() ? "Open" : "Öffnen";
  request.filters = {English() ? "Excel workbook (*.xlsx *.xlsm *.xls)" : "Excel-Arbeitsmappe (*.xlsx *.xlsm *.xls)",
                     English() ? "Text (*.txt)" : "Text (*.txt)", "csv (*.csv)"};
  request.start = doc.FileName.empty() ? doc.DefaultFolder : doc.FileName;
  const std::optional<std::string> chosen = AskOpenFileName(request);
  if (!chosen) return false;
  return OpenDocument(doc, *chosen);
}

bool ReadCsvIntoSheet(TWorkbookDocument& doc, const std::string& fileName) {
  const TFileSeen seen = SeeFile(fileName);
  std::string error, note;
  if (!ReadCsvFile(doc.Book, fileName, CsvSeparatorChar(doc.Document.CsvSeparatorIndex), error, note)) {
    ShowOpenFailed(fileName, error);
    return false;
  }
  doc.Book.SetSelection(1, 1, 1, 1);
  doc.FileName = fileName;
  doc.Document.OpenedFileNotKept = 0;
  doc.Document.FileSeen = seen;
  doc.Document.FileWritten = false;
  SetCaptionAndRecent(doc, fileName);
  if (!note.empty()) ShowMessage(note, note, MessageIcon::Warning);
  return true;
}

bool SaveDocument(TWorkbookDocument& doc) {
  if (doc.FileName.empty()) return SaveWorkbookAs(doc);
  const workbook::TSaveForm form = DocumentSaveForm(doc);
  if (form == workbook::TSaveForm::Text && AsciiUpper(Extension(doc.FileName)) == ".CSV") {
    // What the open already knows the file would not give back goes to
    // Save as before the csv export asks for its name.
    std::pair<std::string, std::string> reason;
    if (workbook::KnownNotGivenBack(doc.Book, form, false, reason.first, reason.second)) {
      ShowNotWrittenOver(doc.FileName, reason);
      return SaveAsNewName(doc);
    }
    return SaveSheetAsCsv(doc);
  }
  if (form == workbook::TSaveForm::Text && doc.FileType == 0) doc.FileType = workbook::kFileTypeText;
  return SaveOverFile(doc, doc.FileName, form, DocumentTextDialect(doc), kWorkbookSaveLead, false);
}

bool SaveWorkbookAs(TWorkbookDocument& doc) {
  // The dialog starts with the name Save would propose where a save would
  // not give the file back, else with the file's name.
  if (WhyNotInPlace(doc)) return SaveAsNewName(doc);
  return SaveAs(doc, SaveAsStart(doc));
}

bool SaveSheetAsText(TWorkbookDocument& doc) {
  const std::optional<std::string> chosen = AskSaveName(kSaveTextQuestion, ProposedName(doc, ".TXT"), "txt");
  if (!chosen) return false;
  return WriteSheetText(doc, *chosen, false);
}

bool SaveSheetAsCsv(TWorkbookDocument& doc) {
  const std::optional<std::string> chosen = AskSaveName(kSaveCsvQuestion, ProposedName(doc, ".CSV"), "csv");
  if (!chosen) return false;
  return WriteSheetText(doc, *chosen, true);
}

bool ExportGridCsv(const TWorkbookDocument& doc, const tmystringgrid& grid, std::string& caption) {
  std::string out;
  for (int r = 1; r < grid.RowCount(); ++r) {
    for (int c = 1; c < grid.ColCount(); ++c) {
      out += workbook::SeparatedField(grid.Cells(c, r), ';');
      out += ';';
    }
    out += "\r\n";
  }
  // Windows-1252 where it holds every character, else UTF-8 with its
  // byte-order mark: never a character lost.
  const std::string bytes = TextFileBytes(out);
  const std::optional<std::string> written = SaveUnderChosenName(
      ProposedName(doc, ".CSV"), [](const std::string& from) { return AskSaveName(kExportGridQuestion, from, "csv"); },
      [&](const std::string& name, TWriteError& error) {
        return WriteFileReplacing(name, bytes, error, THardLinks::Keep);
      },
      kTextSaveLead, [](const std::string& name, TWriteFailure) { return name; });
  if (!written) return false;
  caption = std::string(kCaptionStart) + *written + "]";
  return true;
}

}  // namespace kvx
