// The large published asteroid catalogues: ASTORB (fixed 266-column
// records) and the Minor Planet Center's one-line format (MPCORB and the
// Center's ".txt" files). They run to a million records; the readers make
// one forward pass and keep one line at a time.
//
// ASTORB layouts. The number field was five columns wide in the files of the
// late 1990s and is six wide now, which moves every later field one column
// to the right. The layout is taken from the first record: the epoch
// yyyymmdd stands at columns 107-114 in the current layout and at 106-113 in
// the old one (columns counted from 1):
//                    old        current
//   number           1-5        1-6
//   number and name  1-25       1-26
//   H                42-46      43-47
//   G                48-52      49-53
//   epoch yyyymmdd   106-113    107-114   (0 h TT of that date)
//   M                115-124    116-125   (degrees, J2000)
//   argument peri.   126-135    127-136
//   node             137-146    138-147
//   inclination      148-156    149-157
//   e                158-167    159-168
//   a                169-180    170-181   (AU; read whole, never cut)
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

struct TAstorbLayout {
  std::size_t numberEnd, nameEnd, hFirst, hLast, gFirst, gLast, epochFirst;
  std::size_t m, peri, node, incl, e, a;  // first columns; see the table above
};

constexpr TAstorbLayout kAstorbOld{5, 25, 42, 46, 48, 52, 106, 115, 126, 137, 148, 158, 169};
constexpr TAstorbLayout kAstorbCurrent{6, 26, 43, 47, 49, 53, 107, 116, 127, 138, 149, 159, 170};
constexpr std::size_t kAstorbColumns = 266;

// The epoch yyyymmdd at `first` as a Julian day, when it is eight digits
// forming a date.
bool AstorbEpoch(const TLineColumns& line, std::size_t first, double& jd) {
  const std::string_view text = line.Columns(first, first + 7);
  if (text.size() != 8) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  const int year = std::stoi(std::string(text.substr(0, 4)));
  const int month = std::stoi(std::string(text.substr(4, 2)));
  const int day = std::stoi(std::string(text.substr(6, 2)));
  if (month < 1 || month > 12 || day < 1 || !IsCalendarDate(day, month, year)) return false;
  jd = MjdToJd(CalendarDateToMjd(day, month, year, 0.0));
  return true;
}

bool IsWholeNumber(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  for (std::size_t k = first; k < text.size(); ++k) {
    if (text[k] < '0' || text[k] > '9') return false;
  }
  return true;
}

// Reads one ASTORB record by `layout` (the fields of kAstorbFields); the
// field to blame for an unusable record in `unusable`.
TLineParse AstorbRecord(const TLineColumns& line, const TAstorbLayout& layout, TAsteroidElements& e,
                        const char** unusable) {
  e = TAsteroidElements{};
  TFieldReader fields(kAstorbFields);
  const TFieldReader::TColumns columns[] = {{layout.hFirst, layout.hLast, &e.H},
                                            {layout.gFirst, layout.gLast, &e.G},
                                            {layout.epochFirst, layout.epochFirst + 7, nullptr},  // yyyymmdd
                                            {layout.m, layout.m + 9, &e.MeanAnomaly},
                                            {layout.peri, layout.peri + 9, &e.Perihelion},
                                            {layout.node, layout.node + 9, &e.Node},
                                            {layout.incl, layout.incl + 8, &e.Inclination},
                                            {layout.e, layout.e + 9, &e.Eccentricity},
                                            {layout.a, layout.a + 11, &e.SemiMajorAxis}};
  fields.ReadColumns(line, columns);
  if (!AstorbEpoch(line, layout.epochFirst, e.Epoch)) {
    e.Epoch = std::numeric_limits<double>::quiet_NaN();
    fields.Refuse(2);
  }
  e.Equinox = 2000;
  e.MeanMotion = 0;
  std::string name = Cp1252ToUtf8(line.Columns(1, layout.nameEnd));
  if (IsWholeNumber(line.Columns(1, layout.numberEnd))) {
    // "    1 Ceres" -> "1 Ceres    " -> "00001 Ceres"
    const std::size_t first = name.find_first_not_of(' ');
    name = NormalizeDesignation(name.substr(first) + std::string(first, ' '));
  } else {
    name = TrimBlanks(name);
  }
  e.Name = ElementRecordName(name);
  return LineOutcome(e, fields, unusable);
}

}  // namespace

int AstorbLayoutShift(std::string_view text) {
  const TLineColumns line(text);
  double jd = 0;
  if (AstorbEpoch(line, kAstorbCurrent.epochFirst, jd)) return 1;
  if (AstorbEpoch(line, kAstorbOld.epochFirst, jd)) return 0;
  return -1;
}

bool AstorbRecordReads(std::string_view text, int shift) {
  TAsteroidElements e;
  return AstorbRecord(TLineColumns(text), shift > 0 ? kAstorbCurrent : kAstorbOld, e, nullptr) == TLineParse::Parsed;
}

bool Planetoidentabelle::ReadAstorbFile(const std::string& fileName, std::string& errorText) {
  errorText.clear();
  TTextLineReader in;
  if (!in.Open(fileName)) return false;
  ClearAndFree();
  ClearSkipped();
  const TAstorbLayout* layout = nullptr;
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
    if (layout == nullptr) {
      double probe = 0;
      if (AstorbEpoch(columns, kAstorbCurrent.epochFirst, probe)) {
        layout = &kAstorbCurrent;
      } else if (AstorbEpoch(columns, kAstorbOld.epochFirst, probe)) {
        layout = &kAstorbOld;
      } else {
        return false;  // not an ASTORB file: the invalid-format message
      }
    }
    TAsteroidElements e;
    const char* field = nullptr;
    if (AstorbRecord(columns, *layout, e, &field) != TLineParse::Parsed) {
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
    const TLineParse parse = ParseMpcOneLine(columns, NormalizeNames != 0, e, &field);
    if (!MpcRecordsStarted(started, streamStart, line, parse)) continue;
    if (parse == TLineParse::Blank) continue;
    // A line without H is not taken, and not reported: the catalogues hold
    // such lines. A negative H is a real one (the largest bodies), so the
    // blank field decides, not its sign.
    if (columns.Columns(9, 13).find_first_not_of(' ') == std::string_view::npos) continue;
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
