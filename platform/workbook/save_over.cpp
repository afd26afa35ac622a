#include "platform/workbook/save_over.h"

#include "platform/busy_cursor.h"
#include "platform/workbook/read_back.h"
#include "platform/workbook/workbook.h"
#include "platform/workbook/workbook_files.h"

namespace kvx::workbook {

namespace {

// The clause for what the workbook does not keep of a workbook file
// ("1 merged range, 2 hidden sheets").
std::string LossesClause(const TReadLosses& losses, bool english) {
  const std::string kinds = ReadLossKinds(losses, english);
  return english ? "the workbook does not keep all the file holds (" + kinds + ")"
                 : "die Arbeitsmappe übernimmt nicht alles, was die Datei enthält (" + kinds + ")";
}

// What a text save of the current sheet would not give back that the open
// already knows: lines or fields left out, the file damaged, another sheet
// than the file's.
TTextSaveCheck KnownTextLosses(const TWorkbook& book) {
  TTextSaveCheck known;
  const TTextSource& source = book.TextSource();
  if (source.SheetId == 0) return known;
  known.LinesLeftOut = source.LinesLeftOut;
  known.FieldsLeftOut = source.FieldsLeftOut;
  known.DamagedAt = source.DamagedAt;
  if (book.CurrentSheetData().Id != source.SheetId) known.OtherSheet = book.SheetName(book.Sheet());
  return known;
}

TSaveOverOutcome NotGivenBack(std::string german, std::string english) {
  TSaveOverOutcome outcome;
  outcome.Result = TSaveOverResult::NotGivenBack;
  outcome.WhyGerman = std::move(german);
  outcome.WhyEnglish = std::move(english);
  return outcome;
}

TSaveOverOutcome Ended(TSaveOverResult result, TWriteError error = {}) {
  TSaveOverOutcome outcome;
  outcome.Result = result;
  outcome.Error = std::move(error);
  return outcome;
}

// The write itself, the busy cursor shown: the text or the workbook over
// the file, proven where the request asks it.
TSaveOverOutcome Write(TWorkbook& book, const TSaveOverRequest& request) {
  const bool prove = request.OwnFile && !request.UnchangedSinceWritten;
  TWriteError error;
  bool written = false;
  if (request.Form == TSaveForm::Text) {
    TTextSaveCheck proof;
    {
      BusyCursorScope busy;
      written = SaveSheetText(book, request.Path, request.Dialect, error, &proof, prove);
    }
    if (proof.Any()) return NotGivenBack(TextSaveReason(proof, false), TextSaveReason(proof, true));
  } else {
    TReadBack found;
    {
      BusyCursorScope busy;
      written = prove ? WriteXlsxProven(book, request.Path, error, found) : WriteXlsx(book, request.Path, error);
    }
    if (found.Any()) return NotGivenBack(ReadBackClause(found, false), ReadBackClause(found, true));
  }
  if (!written) return Ended(TSaveOverResult::Failed, std::move(error));
  TSaveOverOutcome outcome;
  outcome.Result = TSaveOverResult::Written;
  outcome.Written = SeeFile(request.Path);
  if (request.Form == TSaveForm::Text) outcome.LeftOut = WorkbookOnly(book, book.Sheet());
  return outcome;
}

}  // namespace

bool KnownNotGivenBack(const TWorkbook& book, TSaveForm form, bool openedFileNotKept, std::string& german,
                       std::string& english) {
  if (form == TSaveForm::Text) {
    const TTextSaveCheck known = KnownTextLosses(book);
    if (!known.Any()) return false;
    german = TextSaveReason(known, false);
    english = TextSaveReason(known, true);
    return true;
  }
  if (openedFileNotKept && book.ReadLosses().Any()) {
    german = LossesClause(book.ReadLosses(), false);
    english = LossesClause(book.ReadLosses(), true);
    return true;
  }
  if (form == TSaveForm::Xlsx) return false;
  german = "das Programm schreibt Arbeitsmappen nur als .xlsx-Dateien";
  english = "the program writes workbooks as .xlsx files only";
  return true;
}

TSaveOverOutcome SaveOver(TWorkbook& book, const TSaveOverRequest& request) {
  std::string german, english;
  if (request.OwnFile && KnownNotGivenBack(book, request.Form, request.OpenedFileNotKept, german, english)) {
    return NotGivenBack(std::move(german), std::move(english));
  }
  if (request.Form != TSaveForm::Text) {
    // Cut first where the user says so, so that the file written reads
    // back as the workbook holds it.
    const TLongTexts texts = XlsxLongTexts(book);
    if (texts.Count > 0 && !(request.MayCutLongTexts && request.MayCutLongTexts(texts))) {
      return Ended(TSaveOverResult::LongTextsKept);
    }
    CutXlsxLongTexts(book);
  }
  TWriteError why;
  why.Cause =
      request.OwnFile && !FileStampOf(request.Path).Exists ? TWriteFailure::FileGone : WhyNotWritable(request.Path);
  if (why.Cause != TWriteFailure::None) return Ended(TSaveOverResult::Unwritable, std::move(why));
  if (request.OwnFile && ChangedSince(request.Seen, request.Path) &&
      !(request.MayWriteOverChanged && request.MayWriteOverChanged())) {
    return Ended(TSaveOverResult::ChangedKept);
  }
  return Write(book, request);
}

}  // namespace kvx::workbook
