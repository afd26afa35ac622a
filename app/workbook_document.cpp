#include "app/workbook_document.h"

#include <unistd.h>

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
#include "platform/safe_file_write.h"
#include "platform/text_encoding.h"
#include "platform/workbook/read_failure.h"
#include "platform/workbook/workbook_files.h"

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

// The save-error message; a text writer's refusal (workbook_files.h), which
// names the cell that cannot go into a text file, follows on a line of its
// own.
void ShowSaveFailed(const std::string& name, const std::string& error = {}) {
  const std::string reason = workbook::IsTextSaveRefusal(error) ? "\n" + error : std::string();
  ShowMessage("Fehler beim Speichern von " + name + "." + reason,
              "An error occured while saving " + name + "." + reason, MessageIcon::Error, MessageButtons::Ok,
              English() ? "Error" : "Datei nicht gespeichert");
}

void ShowWorkbookSaveFailed(const std::string& name) {
  ShowMessage("Beim Speichern von " + name +
                  " ist ein Fehler aufgetreten. Möglicherweise ist eine Datei gleichen Namens"
                  " bereits von einem anderen Programm geöffnet.",
              "An Error occured while saving " + name + ".", MessageIcon::Error);
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

void ShowOnlyActiveSheet(bool csv) {
  const std::string kind = csv ? "csv-Datei" : "Textdatei";
  ShowMessage("Es wird lediglich das aktive Blatt in eine " + kind +
                  " gesichert.Speichern Sie gegebenenfalls nochmals im *.xlsx-Format",
              std::string("Only the active sheet will be saved into a ") + (csv ? "csv-file." : "textfile."),
              MessageIcon::Information, MessageButtons::Ok,
              English() ? "File was not saved completely" : "Datei nicht vollständig gespeichert");
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

// The sentence part naming what of a workbook file the workbook does not
// keep ("1 merged range, 2 hidden sheets").
std::string LossesClause(const workbook::TReadLosses& losses, bool english) {
  const std::string kinds = workbook::ReadLossKinds(losses, english);
  return english ? "the workbook does not keep all the file holds (" + kinds + ")"
                 : "die Arbeitsmappe übernimmt nicht alles, was die Datei enthält (" + kinds + ")";
}

// Why Save may not write the document over its file, in German and
// English; nothing when it may. Decided from what a save would write: a
// text's check (text_layout.h), what the workbook does not keep of a
// workbook file (counted when it was read), and a workbook read from any
// file but an .xlsx one (.xls, .xlsm), which the writer does not write.
// A document of a text file (a tab text or a .csv), not of a workbook.
bool IsTextDocument(const TWorkbookDocument& doc) {
  return !doc.FileName.empty() && AsciiUpper(Extension(doc.FileName)) != ".XLSX" && !IsWorkbookType(doc.FileType) &&
         !workbook::IsWorkbookFileName(doc.FileName);
}

std::optional<std::pair<std::string, std::string>> WhyNotInPlace(const TWorkbookDocument& doc) {
  if (doc.FileName.empty()) return std::nullopt;
  const std::string ext = AsciiUpper(Extension(doc.FileName));
  const workbook::TReadLosses& losses = doc.Book.ReadLosses();
  const bool xlsx = ext == ".XLSX";
  if (!IsTextDocument(doc)) {
    if (doc.Document.OpenedFileNotKept != 0 && losses.Any()) {
      return std::make_pair(LossesClause(losses, false), LossesClause(losses, true));
    }
    if (xlsx) return std::nullopt;
    return std::make_pair(std::string("das Programm schreibt Arbeitsmappen nur als .xlsx-Dateien"),
                          std::string("the program writes workbooks as .xlsx files only"));
  }
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
std::string NewWorkbookName(const std::string& opened) {
  const std::string stem = WithoutExtension(opened);
  std::error_code ec;
  for (int n = 1; n < 1000; ++n) {
    std::string name = stem;
    if (n > 1) name.append("-").append(std::to_string(n));
    name.append(".xlsx");
    if (name != opened && !std::filesystem::exists(name, ec)) return name;
  }
  return stem + ".xlsx";
}

// Save as .xlsx, starting with a new name beside the file when `newName`
// (the file is not to be written over), else with the file's name.
bool SaveAs(TWorkbookDocument& doc, bool newName) {
  std::string start;
  const std::string ext = AsciiUpper(Extension(doc.FileName));
  if (newName) {
    start = NewWorkbookName(doc.FileName);
  } else if (doc.FileName.empty() || ext == ".CSV") {
    start = doc.DefaultFolder + UntitledName(doc.Document);
  } else {
    start = ext == ".XLSX" ? doc.FileName : WithoutExtension(doc.FileName);
  }
  const std::optional<std::string> chosen = AskSaveName(kSaveWorkbookQuestion, start, "xlsx");
  if (!chosen) return false;
  std::string error;
  if (!workbook::WriteWorkbookFile(doc.Book, *chosen, workbook::kFileTypeWorkbook, error)) {
    ShowWorkbookSaveFailed(*chosen);
    return false;
  }
  doc.FileName = *chosen;
  doc.FileType = workbook::kFileTypeWorkbook;
  doc.Document.OpenedFileNotKept = 0;
  doc.Book.SetFileName(*chosen);
  SetCaptionAndRecent(doc, *chosen);
  doc.Document.DocumentSaved = 1;
  return true;
}

// How a text write over a name went.
enum class TTextWrite { Written, Failed, SavedAs };

// Writes the current sheet as text in `dialect` to `name`. Over the file the
// document was read from the write is proven first (SaveSheetText): where
// the file would not read back as the sheet holds it, the message says why,
// the file stays, and Save as follows (its outcome in `savedAs`). A new
// file is written only in a form that reads back as the sheet; where the
// text cannot carry it, the message says why and Save as of a workbook
// follows.
TTextWrite WriteTextOver(TWorkbookDocument& doc, const std::string& name, const workbook::TTextDialect& dialect,
                         std::string& error, bool& savedAs) {
  const bool overFile = name == doc.FileName;
  workbook::TTextSaveCheck proof;
  if (workbook::SaveSheetText(doc.Book, name, dialect, error, &proof, overFile)) return TTextWrite::Written;
  if (!proof.Any()) return TTextWrite::Failed;
  const std::pair<std::string, std::string> reason{workbook::TextSaveReason(proof, false),
                                                   workbook::TextSaveReason(proof, true)};
  if (overFile) {
    ShowNotWrittenOver(name, reason);
  } else {
    ShowMessage("Die Datei " + name + " würde nicht so zurückgelesen, wie das Tabellenblatt sie hält: " + reason.first +
                    ". „Speichern unter“ schlägt deshalb eine Arbeitsmappe vor.",
                "The file " + name + " would not read back as the sheet holds it: " + reason.second +
                    ". \"Save as\" therefore proposes a workbook.",
                MessageIcon::Information, MessageButtons::Ok, English() ? "Save as" : "Speichern unter");
  }
  savedAs = SaveAs(doc, overFile);
  return TTextWrite::SavedAs;
}

// The current sheet as a tab text (type 3) or, with `csv`, as a csv file
// under `name`, which the document then is.
bool WriteSheetText(TWorkbookDocument& doc, const std::string& name, bool csv) {
  workbook::TTextDialect dialect = workbook::TabTextDialect(workbook::kFileTypeText);
  if (csv) {
    dialect.Separator = CsvSeparatorChar(doc.Document.CsvSeparatorIndex);
    dialect.Quoting = true;
  }
  std::string error;
  bool savedAs = false;
  switch (WriteTextOver(doc, name, dialect, error, savedAs)) {
    case TTextWrite::SavedAs:
      return savedAs;
    case TTextWrite::Failed:
      ShowSaveFailed(name, error);
      return false;
    case TTextWrite::Written:
      break;
  }
  doc.FileName = name;
  if (!csv) doc.FileType = workbook::kFileTypeText;
  doc.Document.OpenedFileNotKept = 0;
  SetCaptionAndRecent(doc, name);
  doc.Document.DocumentSaved = 0;
  ShowOnlyActiveSheet(csv);
  return true;
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
  const MessageResult answer = ShowMessage(
      "Möchten Sie Änderungen in " + name + " noch sichern?", "Do you want to save changes in " + name + "?",
      MessageIcon::Question, MessageButtons::YesNoCancel, English() ? "File not saved" : "Datei ungesichert");
  if (answer == MessageResult::No) return true;
  if (answer == MessageResult::Yes) return save ? save() : SaveDocument(doc);
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
  doc.Document.UndoFlag = 0;
}

bool OpenDocument(TWorkbookDocument& doc, const std::string& fileName) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fileName, ec)) {
    ShowOpenFailed(fileName);
    return false;
  }
  if (AsciiUpper(Extension(fileName)) == ".CSV") {
    // Read into a fresh sheet first, so that a failed read keeps the document.
    workbook::TWorkbook fresh(1);
    fresh.SetSheetName(1, NewSheetNameStem() + "1");
    std::string error, note;
    if (!workbook::ReadSeparatedIntoSheet(fresh, fileName, CsvSeparatorChar(doc.Document.CsvSeparatorIndex), error,
                                          &note)) {
      ShowOpenFailed(fileName, error);
      return false;
    }
    fresh.SetSelection(1, 1, 1, 1);
    doc.Book.AdoptContents(std::move(fresh));
    doc.Book.SetModified(false);
    doc.FileName = fileName;
    doc.FileType = 0;
    SetCaptionAndRecent(doc, fileName);
    doc.Document.DocumentSaved = 1;
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
  doc.Document.DocumentSaved = 1;
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
  request.filters = {English() ? "Excel workbook (*.xlsx *.xls)" : "Excel-Arbeitsmappe (*.xlsx *.xls)",
                     English() ? "Text (*.txt)" : "Text (*.txt)", "csv (*.csv)"};
  request.start = doc.FileName.empty() ? doc.DefaultFolder : doc.FileName;
  const std::optional<std::string> chosen = AskOpenFileName(request);
  if (!chosen) return false;
  return OpenDocument(doc, *chosen);
}

bool ReadCsvIntoSheet(TWorkbookDocument& doc, const std::string& fileName) {
  std::string error, note;
  if (!workbook::ReadSeparatedIntoSheet(doc.Book, fileName, CsvSeparatorChar(doc.Document.CsvSeparatorIndex), error,
                                        &note)) {
    ShowOpenFailed(fileName, error);
    return false;
  }
  doc.Book.SetSelection(1, 1, 1, 1);
  doc.FileName = fileName;
  doc.Document.OpenedFileNotKept = 0;
  SetCaptionAndRecent(doc, fileName);
  if (!note.empty()) ShowMessage(note, note, MessageIcon::Warning);
  return true;
}

bool SaveDocument(TWorkbookDocument& doc) {
  if (doc.FileName.empty()) return SaveWorkbookAs(doc);
  // A file a save would not give back (a text whose bytes would change, a
  // workbook with what the workbook does not keep, a workbook read from a
  // .xls, a macro-enabled .xlsm or a file of any other name) goes to a new
  // .xlsx file, so that the file it came from keeps all it held. A tab
  // text is judged as it is written (WriteTextOver), an .xlsx by reading
  // the file written back.
  const std::string ext = AsciiUpper(Extension(doc.FileName));
  const bool text = ext != ".CSV" && IsTextDocument(doc);
  if (const auto reason = text ? decltype(WhyNotInPlace(doc))() : WhyNotInPlace(doc)) {
    ShowNotWrittenOver(doc.FileName, *reason);
    return SaveAs(doc, true);
  }
  if (ext == ".CSV") return SaveSheetAsCsv(doc);
  if (doc.FileType == 0) doc.FileType = workbook::kFileTypeText;
  std::string error;
  bool written = false;
  if (text) {
    bool savedAs = false;
    const TTextWrite write = WriteTextOver(doc, doc.FileName, workbook::TabTextDialect(doc.FileType), error, savedAs);
    if (write == TTextWrite::SavedAs) return savedAs;
    written = write == TTextWrite::Written;
  } else {
    // The workbook replaces its file only when the file written reads back
    // as the workbook holds it.
    workbook::TReadBack found;
    written = workbook::WriteXlsxProven(doc.Book, doc.FileName, error, found);
    if (found.Any()) {
      ShowNotWrittenOver(doc.FileName, {workbook::ReadBackClause(found, false), workbook::ReadBackClause(found, true)});
      return SaveAs(doc, true);
    }
  }
  if (!written) {
    if (workbook::IsTextSaveRefusal(error)) {
      ShowSaveFailed(doc.FileName, error);
    } else {
      ShowWorkbookSaveFailed(doc.FileName);
    }
    return false;
  }
  doc.Document.DocumentSaved = text ? 0 : 1;
  if (text) ShowOnlyActiveSheet(false);
  return true;
}

bool SaveWorkbookAs(TWorkbookDocument& doc) { return SaveAs(doc, WhyNotInPlace(doc).has_value()); }

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
  const std::optional<std::string> chosen = AskSaveName(kExportGridQuestion, ProposedName(doc, ".CSV"), "csv");
  if (!chosen) return false;
  // A file the user may not write is not replaced behind his back.
  std::error_code ec;
  const bool locked = std::filesystem::exists(*chosen, ec) && ::access(chosen->c_str(), W_OK) != 0;
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
  if (locked || !WriteFileReplacing(*chosen, TextFileBytes(out))) {
    ShowSaveFailed(*chosen);
    return false;
  }
  caption = std::string(kCaptionStart) + *chosen + "]";
  return true;
}

}  // namespace kvx
