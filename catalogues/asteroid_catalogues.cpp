// The large published asteroid catalogues: ASTORB (fixed 266-column
// records) and the Minor Planet Center's one-line format (MPCORB and the
// Center's ".txt" files). They run to a million records; the readers make
// one forward pass and keep one line at a time.
//
// ASTORB layouts. The number field was five columns wide in the files of
// the late 1990s and is six wide now, which moves every later field one
// column to the right. The layout is taken from the first record: the epoch
// yyyymmdd stands at columns 106-113 in the old layout and at 107-114 in the
// current one. The fields and their columns in the old layout are those of
// kAstorbFields (element_format_fields.h); number 1-5 and name 1-25.
#include <limits>
#include <string>

#include "catalogues/asteroid_list.h"
#include "catalogues/astorb_conversion.h"
#include "catalogues/element_lines.h"
#include "catalogues/list_messages.h"
#include "catalogues/text_line_reader.h"
#include "core/element_records.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

// The number field ends at column 5 (older layout) or 6; every later field
// is `shift` columns to the right of its older place (kAstorbFields).
constexpr std::size_t kAstorbColumns = 266;
constexpr std::size_t kOlderNumberEnd = 5, kOlderNameEnd = 25;
constexpr std::size_t kEpochField = 2;  // the place of the epoch in kAstorbFields

// The epoch at its columns in the layout of `shift`, as a Julian day, when
// it is eight digits forming a date.
bool AstorbEpoch(const TLineColumns& line, std::size_t shift, double& jd) {
  const TFormatField& epoch = kAstorbFields[kEpochField];
  return DigitDateJd(line.Columns(epoch.First + shift, epoch.Last + shift), jd);
}

bool IsWholeNumber(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  for (std::size_t k = first; k < text.size(); ++k) {
    if (text[k] < '0' || text[k] > '9') return false;
  }
  return true;
}

// Reads one ASTORB record in the layout of `shift` (ReadAstorbElements),
// named; the field to blame for an unusable record in `unusable`.
TLineParse AstorbRecord(const TLineColumns& line, std::size_t shift, TAsteroidElements& e, const char** unusable) {
  const TLineParse parse = ReadAstorbElements(line, static_cast<int>(shift), e, unusable);
  std::string name = Cp1252ToUtf8(line.Columns(1, kOlderNameEnd + shift));
  if (IsWholeNumber(line.Columns(1, kOlderNumberEnd + shift))) {
    // "    1 Ceres" -> "1 Ceres    " -> "00001 Ceres"
    const std::size_t first = name.find_first_not_of(' ');
    name = NormalizeDesignation(name.substr(first) + std::string(first, ' '));
  } else {
    name = TrimBlanks(name);
  }
  e.Name = ElementRecordName(name);
  return parse;
}

}  // namespace

TLineParse ReadAstorbElements(const TLineColumns& line, int shift, TAsteroidElements& e, const char** unusable,
                              std::span<std::string_view> texts) {
  e.Name.clear();
  TFieldReader fields(kAstorbFields);
  fields.KeepTexts(texts);
  fields.ReadColumns(line, static_cast<std::size_t>(shift), e);
  e.Equinox = 2000;
  e.MeanMotion = 0;
  return LineOutcome(e, fields, unusable);
}

int AstorbLayoutShift(std::string_view text) {
  const TLineColumns line(text);
  double jd = 0;
  if (AstorbEpoch(line, 1, jd)) return 1;
  if (AstorbEpoch(line, 0, jd)) return 0;
  return -1;
}

bool Planetoidentabelle::ReadAstorbFile(const std::string& fileName, std::string& errorText) {
  errorText.clear();
  TTextLineReader in;
  if (!in.Open(fileName)) return false;
  ClearAndFree();
  ClearSkipped();
  int shift = -1;
  std::string line;
  bool ended = false, more = false;
  int record = 0;
  while (in.NextRaw(line, ended)) {
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    ++record;
    // A last record cut short is not read with bytes it does not have.
    if (!ended && line.size() < kAstorbColumns) break;
    if (Count() >= ItemLimit) {
      more = true;
      break;
    }
    const TLineColumns columns(line);
    if (shift < 0) {
      shift = AstorbLayoutShift(line);
      if (shift < 0) return false;  // not an ASTORB file: the invalid-format message
    }
    TAsteroidElements e;
    const char* field = nullptr;
    if (AstorbRecord(columns, static_cast<std::size_t>(shift), e, &field) != TLineParse::Parsed) {
      Skip(record, Cp1252ToUtf8(line), field);
      continue;
    }
    AddRecord(e);
  }
  return EndCatalogueRead(more);
}

// The one-line readers. `streamStart`: the start is found as the catalogue
// stream reader finds it (the record of minor planet 1 within the first 5001
// bytes, else after the "-----" rule line, else the first line that reads);
// otherwise the records start after the rule line, which must be there.
// `dropRepeats`: a line whose name repeats the one before is skipped.
bool Planetoidentabelle::ReadMpcLines(const std::string& fileName, bool streamStart, bool dropRepeats,
                                      std::string& errorText) {
  errorText.clear();
  TTextLineReader in;
  if (!in.Open(fileName)) return false;
  ClearAndFree();
  ClearSkipped();
  std::string line;
  bool started = false;
  if (streamStart) started = SeekMpcStreamStart(in);
  std::string previousName;
  bool more = false;
  while (in.Next(line)) {
    TAsteroidElements e;
    const TLineColumns columns(line);
    const char* field = nullptr;
    // A line without H is no record (Blank), not reported: the catalogues
    // hold such lines. A negative H is a real one (the largest bodies), so
    // the blank field decides, not its sign.
    const TLineParse parse = ParseMpcOneLine(columns, NormalizeNames != 0, e, &field, kMpcorbRecordFields);
    if (!MpcRecordsStarted(started, streamStart, line, parse)) continue;
    if (parse == TLineParse::Blank) continue;
    if (parse == TLineParse::Unusable) {
      Skip(in.LineNumber(), line, field);
      previousName.clear();
      continue;
    }
    const bool repeated = dropRepeats && e.Name == previousName;
    previousName = e.Name;
    if (repeated) continue;
    if (Count() >= ItemLimit) {
      more = true;
      break;
    }
    AppendItem(streamStart ? e.Name : Utf8Prefix(e.Name, 25), e);
  }
  return EndCatalogueRead(more);
}

bool Planetoidentabelle::ReadMpcorbFile(const std::string& fileName, std::string& errorText) {
  return ReadMpcLines(fileName, true, true, errorText);
}

bool Planetoidentabelle::ReadMpcorbTextFile(const std::string& fileName, std::string& errorText) {
  return ReadMpcLines(fileName, false, false, errorText);
}

bool Planetoidentabelle::ReadMpcTextFile(const std::string& fileName, bool showMessages) {
  (void)showMessages;  // the line ends are read as they come; nothing to ask
  TTextLineReader in;
  if (!in.Open(fileName)) return false;
  ClearAndFree();
  ClearSkipped();
  std::string line;
  bool first = true;
  while (in.Next(line)) {
    // A first line of 255 characters or more is no element line.
    if (first && Utf8Length(line) >= 255) return false;
    first = false;
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    // An empty designation field ends the records.
    const TLineColumns columns(line);
    if (columns.Columns(1, 7).find_first_not_of(' ') == std::string_view::npos) break;
    TAsteroidElements e;
    const char* field = nullptr;
    if (ParseMpcOneLine(columns, NormalizeNames != 0, e, &field) != TLineParse::Parsed) {
      Skip(in.LineNumber(), line, field);
      continue;
    }
    AddRecord(e);
  }
  return EndCatalogueRead(false);
}

bool Planetoidentabelle::EndCatalogueRead(bool more) {
  SortItems();
  if (more) ShowDatabaseLimitMessage(ItemLimit);
  if (Count() == 0) return false;
  Loaded = 1;
  return true;
}

}  // namespace kvx
