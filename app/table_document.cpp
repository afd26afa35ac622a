#include "app/table_document.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/history_list.h"
#include "core/quantity_headings.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/safe_file_write.h"
#include "platform/save_failure.h"

namespace kvx {

namespace {

constexpr const char* kCaptionStart = "Kandrevoltinex 4.6 [";

FileDialogRequest TableFileRequest(bool save, const std::string& folder) {
  FileDialogRequest request;
  request.start = folder;
  const bool english = LanguageEnglish != 0;
  if (save) {
    request.title = english ? "Save ephemeris table as" : "Ephemeridentabelle speichern";
  } else {
    request.title = english ? "Load ephemeris table" : "Ephemeridentabelle öffnen";
  }
  request.filters = {english ? "Kandrevoltinex files (*.kvx)" : "Kandrevoltinex-Dateien (*.kvx)"};
  request.defaultExtension = "kvx";
  return request;
}

void ShowDamaged(const std::string& fileName) {
  ShowMessage("Die Datei " + fileName + " ist beschädigt oder unvollständig.",
              "The file " + fileName + " is damaged or incomplete.", MessageIcon::Error);
}

// The largest file a grid within the limits can give.
constexpr std::uintmax_t kLargestTableFile =
    kTableFileFixedSize + kTableCellRecordSize * static_cast<std::uintmax_t>(kTableFileMaxCells);

}  // namespace

void ApplyGridLayout(tmystringgrid& grid, TResultGridLook& look) {
  const double h = std::abs(static_cast<double>(look.Font.Height));
  grid.SetDefaultRowHeight(static_cast<int>(std::trunc((h + std::abs(0.25 * h)) * 1.2)));
  grid.SetRowHeights(0, look.FixedRowHeight);
  grid.SetColWidths(0, look.FixedColWidth);
  look.FontScale = h / 13.0;
}

void ResetGridToReady(tmystringgrid& grid, TResultGridLook& look) {
  ApplyGridLayout(grid, look);
  grid.SetRowCount(2);
  grid.SetColCount(2);
  ClearGridCells(grid, 1, 1);
  grid.SetCells(0, 0, std::string());
  grid.SetCells(1, 0, std::string());
  grid.SetCells(0, 1, std::string());
  grid.SetCells(1, 1, LanguageEnglish != 0 ? "  Ready" : "  Bereit");
  grid.SetColWidths(1, tmystringgrid::kDefaultColWidth);
}

TTableFileImage TableFileImageOf(const TTableDocument& doc) {
  TTableFileImage image;
  const tmystringgrid& grid = doc.Grid;
  image.RowCount = grid.RowCount();
  image.ColCount = grid.ColCount();
  image.Font = doc.Look.Font;
  image.GridColor = doc.Look.GridColor;
  image.FixedColor = doc.Look.FixedColor;
  image.Reserved = doc.Look.Reserved;
  image.CellLines = doc.Look.CellLines;
  image.FixedLines = doc.Look.FixedLines;
  image.StartObserver = doc.Period.Start;
  image.EndObserver = doc.Period.End;
  image.TableConfig = doc.Period.TableConfig;
  image.Step = doc.Period.Step;
  image.EclipseSearchMinutes = static_cast<std::int32_t>(doc.Eclipses.SolarEclipseSearchMinutes);
  image.EclipseSearchSpanHours = static_cast<std::int32_t>(doc.Eclipses.SolarEclipseSearchSpanHours);
  image.ColumnWidthTable = doc.ColumnWidthTable;
  image.Cells.reserve(static_cast<std::size_t>(image.RowCount) * static_cast<std::size_t>(image.ColCount));
  for (int r = 0; r < image.RowCount; ++r) {
    for (int c = 0; c < image.ColCount; ++c) {
      image.Cells.push_back({r, c, grid.ColWidths(c), grid.RowHeights(r), grid.Cells(c, r)});
    }
  }
  return image;
}

void TakeTableFileImage(TTableDocument& doc, const TTableFileImage& image) {
  tmystringgrid& grid = doc.Grid;
  grid.SetColCount(image.ColCount);
  grid.SetRowCount(image.RowCount);
  TTableFontRecord font = image.Font;
  if (font.Name.empty()) font.Name = doc.Look.Font.Name;  // an empty face keeps the face
  doc.Look.Font = font;
  doc.Look.GridColor = image.GridColor;
  doc.Look.FixedColor = image.FixedColor;
  doc.Look.CellLines = image.CellLines;
  doc.Look.FixedLines = image.FixedLines;
  ApplyGridLayout(grid, doc.Look);
  // The counts again: the cells of a smaller earlier grid must not survive.
  for (int r = 0; r < image.RowCount; ++r) {
    for (int c = 0; c < image.ColCount; ++c) grid.SetCells(c, r, std::string());
  }
  doc.Period.Start = image.StartObserver;
  doc.Period.End = image.EndObserver;
  doc.Period.TableConfig = image.TableConfig;
  TitlesFollowLanguage(doc.Period.TableConfig, LanguageEnglish != 0);
  doc.Period.Step = image.Step;
  doc.Eclipses.SolarEclipseSearchMinutes = image.EclipseSearchMinutes;
  doc.Eclipses.SolarEclipseSearchSpanHours = image.EclipseSearchSpanHours;
  doc.Look.Reserved = image.Reserved;
  doc.ColumnWidthTable = image.ColumnWidthTable;
  for (const TTableFileCell& cell : image.Cells) {
    if (cell.Row == 0) grid.SetColWidths(cell.Col, cell.Width);
    if (cell.Col == 0) grid.SetRowHeights(cell.Row, cell.Height);
    grid.SetCells(cell.Col, cell.Row, cell.Text);
  }
}

namespace {

// Writes the file (WriteFileReplacing); a grid the format cannot hold is
// refused with its message (TWriteFailure::Refused).
bool WriteTableFile(TTableDocument& doc, const std::string& fileName, TWriteError& error) {
  const TTableFileImage image = TableFileImageOf(doc);
  if (const std::string refused = TableFileRefusal(image); !refused.empty()) {
    ShowDoesNotFitFormat(refused, "*.kvx", fileName);
    return error.Fail(TWriteFailure::Refused, refused);
  }
  const std::vector<std::uint8_t> bytes = EncodeTableFile(image);
  return WriteFileReplacing(fileName, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                            error, THardLinks::Keep);
}

}  // namespace

bool SaveTableFile(TTableDocument& doc, const std::string& fileName) {
  TWriteError error;
  error.Cause = WhyNotWritable(fileName);
  if (error.Cause == TWriteFailure::None && WriteTableFile(doc, fileName, error)) return true;
  if (error.Cause != TWriteFailure::Refused) ShowSaveFailure(kWorkbookSaveLead, fileName, error, false);
  return false;
}

bool SaveTableFileAs(TTableDocument& doc) {
  const auto ask = [&](const std::string&) -> std::optional<std::string> {
    const std::optional<std::string> chosen = AskSaveFileName(TableFileRequest(true, doc.DefaultFolder));
    if (chosen && !HasTableFileExtension(*chosen)) {
      ShowMessage("Ephemeridendateien müssen die Erweiterung \"kvx\"  besitzen.",
                  "Ephemeris files must have the extension \"kvx\"", MessageIcon::Error, MessageButtons::Ok,
                  LanguageEnglish != 0 ? "Wrong extension" : "Falsche Dateierweiterung");
      return std::nullopt;
    }
    return chosen;
  };
  const std::optional<std::string> written = SaveUnderChosenName(
      doc.DefaultFolder, ask,
      [&](const std::string& name, TWriteError& error) { return WriteTableFile(doc, name, error); }, kWorkbookSaveLead,
      [](const std::string& name, TWriteFailure) { return name; });
  if (!written) return false;
  if (doc.Recent != nullptr) doc.Recent->AddFile(*written);
  doc.Document.DocumentSaved = 1;
  doc.Caption = std::string(kCaptionStart) + *written + "]";
  return true;
}

bool LoadTableFile(TTableDocument& doc, const std::string& fileName) {
  if (!HasTableFileExtension(fileName)) {
    ShowMessage("Dies ist keine Datei mit einer Ephemeridentabelle",
                "This is no file with an Kandrevoltinex 4.6 ephemeris table", MessageIcon::Error);
    return false;
  }
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(fileName, ec);
  std::ifstream in(fileName, std::ios::binary);
  if (ec || !in) {
    ShowMessage("Kandrevoltinex 4.6 konnte die Datei " + fileName +
                    " nicht finden oder wegen eines ungültigen Dateiformats nicht öffnen. Möglicherweise wird sie"
                    " auch zur Zeit von einer anderen Anwendung bearbeitet.",
                "Kandrevoltinex 4.6 could not open the file " + fileName, MessageIcon::Error);
    return false;
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(size, kLargestTableFile + 1)));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (bytes.size() > kLargestTableFile) {  // too long for any grid
    ShowDamaged(fileName);
    return false;
  }
  TTableFileImage image;
  switch (DecodeTableFile(bytes, image)) {
    case TableFileProblem::None:
      break;
    case TableFileProblem::Header:
      ShowMessage("Dies ist keine Datei mit einer Kandrevoltinex 4.6 - Ephemeridentabelle",
                  "This is no file with an Kandrevoltinex 4.6 ephemeris table", MessageIcon::Error);
      return false;
    case TableFileProblem::Damaged:
      ShowDamaged(fileName);
      return false;
  }
  TakeTableFileImage(doc, image);
  return true;
}

bool OpenTableFile(TTableDocument& doc, const std::string& fileName) {
  if (!LoadTableFile(doc, fileName)) return false;
  doc.Caption = std::string(kCaptionStart) + fileName + "] ";
  if (doc.Recent != nullptr) doc.Recent->AddFile(fileName);
  return true;
}

bool OpenTableFileCommand(TTableDocument& doc) {
  const std::optional<std::string> chosen = AskOpenFileName(TableFileRequest(false, doc.DefaultFolder));
  if (!chosen) return false;
  return OpenTableFile(doc, *chosen);
}

}  // namespace kvx
