#include "catalogues/astorb_conversion.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "catalogues/element_lines.h"
#include "catalogues/element_list.h"
#include "catalogues/element_write_checks.h"
#include "catalogues/text_line_reader.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/ascii_case.h"
#include "platform/globals.h"
#include "platform/safe_output_file.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

constexpr std::size_t kAstorbColumns = 266;
constexpr long kCallbackEvery = 24;

struct TSlice {
  std::size_t first, last;
};

// The plain CSV slices of the older layout (columns from 1); the eighth
// and the ninth share column 71.
constexpr TSlice kPlainSlices[] = {{1, 5},     {7, 25},    {26, 40},   {41, 47},   {48, 52},   {53, 57},   {58, 64},
                                   {65, 71},   {71, 73},   {74, 77},   {78, 81},   {82, 85},   {86, 89},   {90, 93},
                                   {94, 99},   {100, 104}, {105, 113}, {114, 124}, {125, 135}, {136, 146}, {147, 156},
                                   {157, 167}, {168, 180}, {182, 189}, {190, 197}, {198, 206}, {208, 215}, {216, 223},
                                   {225, 232}, {233, 240}, {241, 249}, {251, 257}, {259, 266}};

// The columns (older layout) whose text an own or HomePlanet field copies:
// the member's place in the record (element_format_fields.h), the columns,
// and whether every blank is removed (H and G) or the text kept as it
// stands.
struct TCopiedColumns {
  int Member;
  std::size_t First, Last;
  bool Compact;
};
namespace am = asteroid_member;
constexpr TCopiedColumns kOwnCopied[] = {
    {am::a, 170, 180, false},   {am::e, 158, 167, false}, {am::i, 147, 156, false}, {am::node, 137, 146, false},
    {am::per, 126, 135, false}, {am::m, 115, 124, false}, {am::h, 38, 47, true},    {am::g, 48, 52, true}};
constexpr TCopiedColumns kHomePlanetCopied[] = {
    {am::h, 42, 46, true},       {am::g, 48, 52, true},    {am::m, 115, 124, false}, {am::per, 126, 135, false},
    {am::node, 137, 146, false}, {am::i, 147, 156, false}, {am::e, 158, 167, false}, {am::a, 170, 180, false}};

// The name of an MPCORB record's own line: a numbered minor planet's
// number padded ("(1) Ceres" -> "(00001) Ceres"), so that the names sort
// by number; a provisional designation ("2007 NA", "2040 P-L") as written.
std::string MpcorbOutputName(const std::string& name) {
  const std::string trimmed = TrimBlanks(name);
  return trimmed.starts_with('(') ? NormalizeDesignation(trimmed) : trimmed;
}

// The columns `first`..`last` of the older layout, in the layout of `shift`.
std::string_view Columns(const TLineColumns& line, std::size_t first, std::size_t last, int shift) {
  const std::size_t s = static_cast<std::size_t>(shift);
  return line.Columns(first + s, last + s);
}

// Whether the number field holds a whole number other than 0.
bool NumberedName(const TLineColumns& line, int shift) {
  const std::string_view number = Columns(line, 1, 5, shift);
  std::size_t b = 0, e = number.size();
  while (b < e && (number[b] == ' ' || number[b] == '\t')) ++b;
  while (e > b && (number[e - 1] == ' ' || number[e - 1] == '\t')) --e;
  bool nonZero = false;
  for (std::size_t k = b; k < e; ++k) {
    if (number[k] < '0' || number[k] > '9') return false;
    nonZero = nonZero || number[k] != '0';
  }
  return nonZero;
}

// The name of the own and the HomePlanet lines: columns 1-25 (1-26 in the
// current layout); a numbered one "    1 Ceres" becomes "00001 Ceres".
std::string OutputName(const TLineColumns& line, int shift) {
  const std::string_view columns = line.Columns(1, 25 + static_cast<std::size_t>(shift));
  if (!NumberedName(line, shift)) return std::string(columns);
  // NormalizeDesignation trims the name: its leading blanks need not go to
  // its end first.
  std::size_t b = 0, e = columns.size();
  while (b < e && (columns[b] == ' ' || columns[b] == '\t')) ++b;
  while (e > b && (columns[e - 1] == ' ' || columns[e - 1] == '\t')) --e;
  return NormalizeDesignation(std::string(columns.substr(b, e - b)));
}

// The first "." of the text from `from` on as ",".
void PointToComma(std::string& text, std::size_t from = 0) {
  for (std::size_t k = from; k < text.size(); ++k) {
    if (text[k] == '.') {
      text[k] = ',';
      return;
    }
  }
}

// The plain CSV line of a record: the slices as they stand (NormalizeDesignation
// on the number), each from the fourth on with its first "." as ","
// unless `international`.
void PlainCsvLine(const TLineColumns& line, int shift, bool international, std::string& out) {
  out.clear();
  out.reserve(300);
  const char separator = international ? ',' : ';';
  out += NormalizeDesignation(std::string(Columns(line, 1, 5 + static_cast<std::size_t>(shift), 0)));
  for (std::size_t k = 1; k < std::size(kPlainSlices); ++k) {
    out += separator;
    const std::size_t at = out.size();
    out += Columns(line, kPlainSlices[k].first, kPlainSlices[k].last, shift);
    if (k >= 3 && !international) PointToComma(out, at);
  }
}

// A value of an own or HomePlanet field as its shortest text that reads
// back to it (the epoch, n, the equinox, and any field whose columns would
// read otherwise), appended.
void AppendValueText(std::string& out, const TFormatField& field, double value) {
  char text[32];
  out.append(text, ShortestNumberChars(field.Form == TFieldForm::Mjd ? JdToMjd(value) : value, '.', text));
}

bool BlankOrTab(char c) { return c == ' ' || c == '\t'; }

// The text without the blanks and tabs around it, as the element readers
// take a field.
std::string_view TrimmedField(std::string_view text) {
  std::size_t first = 0, end = text.size();
  while (first < end && BlankOrTab(text[first])) ++first;
  while (end > first && BlankOrTab(text[end - 1])) --end;
  return text.substr(first, end - first);
}

// The texts the ASTORB reader read a record's numbers from, one per field
// of kAstorbFields (ReadAstorbElements).
using TAstorbTexts = std::array<std::string_view, std::size(element_format_rows::kAstorb)>;

// How a field of an own or HomePlanet line is written from an ASTORB
// record: the columns it copies (none: its value's text) and the field of
// kAstorbFields its value is read from.
struct TCopiedField {
  const TCopiedColumns* Columns = nullptr;
  std::size_t Read = 0;
};

// The fields of `row` by the columns `copied`, worked out once per format.
std::vector<TCopiedField> CopiedFields(const TElementLineFormat& row, std::span<const TCopiedColumns> copied) {
  std::vector<TCopiedField> fields(row.Fields.size());
  for (std::size_t k = 0; k < row.Fields.size(); ++k) {
    const int member = row.Fields[k].Member;
    for (const TCopiedColumns& columns : copied) {
      if (columns.Member == member) fields[k].Columns = &columns;
    }
    for (std::size_t read = 0; read < kAstorbFields.size(); ++read) {
      if (kAstorbFields[read].Member == member) fields[k].Read = read;
    }
    // A copied field always has a value the ASTORB reader reads.
    if (fields[k].Columns != nullptr && kAstorbFields[fields[k].Read].Member != member) fields[k].Columns = nullptr;
  }
  return fields;
}

// True when the copied text `written` is, blanks aside, the text `read`
// the ASTORB reader read its value from, and that holds a number (not
// blank) and neither separator nor ",".
bool ReadFromTheSameText(std::string_view written, std::string_view read) {
  if (read.empty() || TrimmedField(written) != read) return false;
  return std::none_of(read.begin(), read.end(), [](char c) { return c == ',' || c == ';'; });
}

// The own (`row` kOwnAsteroidFormat, "," as decimal mark) or HomePlanet
// line of an ASTORB record whose numbers read as `e`: after the name, each
// field of the row is the text of its columns in `copied` (kept as it
// stands or without blanks), where that text reads in the row's format as
// the value the ASTORB reader read; a field without columns (n, the
// equinox, the epoch), or whose columns would read otherwise (a blank G,
// which the own format takes as 0.15; columns the ASTORB reader does not
// read, holding a digit; a HomePlanet text holding its separator), is its
// value's shortest text.
// A copied text that is, blanks aside, the very text the ASTORB reader
// read its value from (ReadFromTheSameText) reads as that value in the
// row's format without being read again: both readers take a field by
// ReadNumberField, for which a "," (the own format's first "." written so)
// is the decimal point. Every other copied text is read in the row's
// format and compared.
std::string CopiedFormLine(const TElementLineFormat& row, std::span<const TCopiedField> copied,
                           const TLineColumns& line, int shift, const std::string& name, const TAsteroidElements& e,
                           const TAstorbTexts& read) {
  const bool commas = row.Separator == ';';
  TFieldReader reader(row.Fields);
  std::string out;
  out.reserve(name.size() + 12 * row.Fields.size());
  out = name;
  for (std::size_t k = 0; k < row.Fields.size(); ++k) {
    const TFormatField& field = row.Fields[k];
    const double value = e.*kAsteroidRecordFields[static_cast<std::size_t>(field.Member)].second;
    const TCopiedColumns* columns = copied[k].Columns;
    out += row.Separator;
    const std::size_t at = out.size();
    bool kept = false;
    if (columns != nullptr) {
      const std::string_view text = Columns(line, columns->First, columns->Last, shift);
      if (columns->Compact) {
        for (const char c : text) {
          if (c != ' ') out += c;
        }
      } else {
        out += text;
      }
      kept = ReadFromTheSameText(std::string_view(out).substr(at), read[copied[k].Read]);
      if (commas) PointToComma(out, at);
      double back = 0;
      kept = kept || (out.find(row.Separator, at) == std::string::npos &&
                      reader.Read(k, std::string_view(out).substr(at), back) && back == value);
      if (!kept) out.resize(at);
    }
    if (!kept) {
      AppendValueText(out, field, value);
      if (commas) PointToComma(out, at);
    }
  }
  return out;
}

// Field `k` of an MPCORB record's own line (`reader` on kOwnAsteroidFormat)
// appended: `decimals` decimals right-aligned in `width` characters, or as
// many more decimals as the value needs to read back as itself; `decimals`
// -1: the shortest text that does; "," as the decimal mark.
void AppendMpcorbNumber(std::string& out, TFieldReader& reader, std::size_t k, double value, int width, int decimals) {
  out += ';';
  const std::size_t at = out.size();
  if (decimals < 0) {
    char text[32];
    out.append(text, ShortestNumberChars(value, ',', text));
  } else {
    AppendKeptNumber(out, value, decimals, ',');
    // A value that needs more decimals (a small n, 5.599e-05) keeps the
    // fixed-point form with as many as it needs, never an exponent.
    const auto exponent = [&] {
      return std::find(out.begin() + static_cast<std::ptrdiff_t>(at), out.end(), 'e') != out.end();
    };
    for (int d = decimals + 1; d <= 17 && exponent(); ++d) {
      std::string fixed = FormatFixed(value, 0, d);
      PointToComma(fixed);
      double back = 0;
      if (reader.Read(k, fixed, back) && back == value) out.replace(at, std::string::npos, fixed);
    }
  }
  const std::size_t written = out.size() - at;
  if (written < static_cast<std::size_t>(width)) out.insert(at, static_cast<std::size_t>(width) - written, ' ');
}

// The output, written through the safe write (TSafeOutputFile): in its
// place only once it is whole, every name of a hard-linked file seeing it.
class TConversionOutput {
 public:
  bool Open(const std::string& path, TWriteError& error) {
    file_.emplace(path);
    return file_->Open(error);
  }
  void Line(const std::string& text) {
    file_->Write(text);
    file_->Write("\r\n");
  }
  bool Finish(TWriteError& error) { return file_->Commit(error); }

 private:
  std::optional<TSafeOutputFile> file_;
};

void Finish(TConversionOutput& out, TConversionResult& result) { result.Done = out.Finish(result.Error); }

// One counted record; false when the callback asks to stop.
bool Count(TConversionResult& result, const TConversionCallback& callback) {
  ++result.Written;
  if (result.Written % kCallbackEvery != 0 || !callback) return true;
  if (callback(result.Written)) return true;
  result.Stopped = true;
  return false;
}

// Opens the catalogue `input` and the output file named for it (the name
// in result.Output); false with the message in result.Error when either
// cannot be opened.
bool OpenConversion(const std::string& input, TCatalogueKind kind, int format, TTextLineReader& in,
                    TConversionOutput& out, TConversionResult& result) {
  result.Output = ConversionOutputFile(input, kind, format);
  if (!in.Open(input)) {
    result.Error.Fail(TWriteFailure::Refused, std::string(ByLanguage("Die Datei ", "The file ")) + input +
                                                  ByLanguage(" kann nicht gelesen werden.", " cannot be read."));
    return false;
  }
  return out.Open(result.Output, result.Error);
}

}  // namespace

bool SeekMpcStreamStart(TTextLineReader& in) {
  std::string line;
  bool ended = false;
  std::uint64_t lineStart = in.Position();
  while (lineStart < 5001 && in.NextRaw(line, ended)) {
    const std::size_t hit = line.find("00001");
    if (hit != std::string::npos && lineStart + hit + 5 <= 5001) {
      if (in.SeekTo(lineStart, in.LineNumber() - 1)) return true;
      break;
    }
    lineStart = in.Position();
  }
  in.SeekTo(0);
  return false;
}

bool MpcRecordsStarted(bool& started, bool streamStart, const std::string& line, TLineParse parse) {
  if (started) return true;
  if (line.rfind("-----", 0) == 0) {
    started = true;
    return false;
  }
  if (!streamStart || parse != TLineParse::Parsed) return false;
  started = true;
  return true;
}

namespace {

TConversionResult ConvertMpcLines(const std::string& input, bool streamStart, bool dropRepeats,
                                  const TConversionCallback& callback) {
  TConversionResult result;
  TTextLineReader in;
  TConversionOutput out;
  if (!OpenConversion(input, streamStart ? TCatalogueKind::Mpcorb : TCatalogueKind::MpcorbCr, 1, in, out, result))
    return result;
  out.Line(kOwnAsteroidFirstLine);
  std::string line;
  bool started = false;
  if (streamStart) started = SeekMpcStreamStart(in);
  std::string previousName;
  while (in.Next(line)) {
    // Read as the element list reads the catalogue: a line without H is no
    // record, passed over; one the reader refuses is named.
    TAsteroidElements e;
    const char* field = nullptr;
    const TLineParse parse = ParseMpcOneLine(TLineColumns(line), false, e, &field, kMpcorbRecordFields);
    if (!MpcRecordsStarted(started, streamStart, line, parse)) continue;
    if (parse == TLineParse::Blank) continue;
    if (parse == TLineParse::Unusable) {
      ++result.Skipped;
      result.Unusable.Add(in.LineNumber(), field);
      previousName.clear();
      continue;
    }
    const bool repeated = dropRepeats && e.Name == previousName;
    previousName = e.Name;
    if (repeated) {
      ++result.Skipped;
      continue;
    }
    out.Line(WriteMpcorbCsvLine(e));
    if (!Count(result, callback)) break;
  }
  Finish(out, result);
  return result;
}

}  // namespace

TCatalogueKind CatalogueKindOfFile(const std::string& fileName) {
  std::string name = std::filesystem::path(fileName).filename().string();
  for (char& c : name) c = AsciiUpper(c);
  if (name.find("MPCORBCR") != std::string::npos) return TCatalogueKind::MpcorbCr;
  if (name.find("MPCORB") != std::string::npos) return TCatalogueKind::Mpcorb;
  return TCatalogueKind::Astorb;
}

std::string ConversionOutputFile(const std::string& input, TCatalogueKind kind, int format) {
  const char* name = kind == TCatalogueKind::MpcorbCr ? "MPCORBcr.CSV"
                     : kind == TCatalogueKind::Mpcorb ? "MPCORB.CSV"
                     : format == 2                    ? "astrnew.csv"
                                                      : "asteroid.csv";
  return (std::filesystem::path(input).parent_path() / name).string();
}

bool AstorbLineToOutput(std::string_view text, int shift, int format, bool international, std::string& out,
                        const char** unusable) {
  const TLineColumns line(text);
  TAsteroidElements e;
  TAstorbTexts texts;
  const bool read = ReadAstorbElements(line, shift, e, unusable, texts) == TLineParse::Parsed;
  if (format == 0) {
    PlainCsvLine(line, shift, international, out);
  } else if (read) {
    // Only a numbered name is padded, also in HomePlanet, so that a
    // provisional designation ("2004 XR190") keeps its year as it is.
    static const std::vector<TCopiedField> ownFields = CopiedFields(kOwnAsteroidFormat, kOwnCopied);
    static const std::vector<TCopiedField> homeFields = CopiedFields(kHomePlanetAsteroidFormat, kHomePlanetCopied);
    const bool own = format == 1;
    out = own ? CopiedFormLine(kOwnAsteroidFormat, ownFields, line, shift, WritableName(OutputName(line, shift), ';'),
                               e, texts)
              : CopiedFormLine(kHomePlanetAsteroidFormat, homeFields, line, shift,
                               WritableName(OutputName(line, shift), ','), e, texts);
  }
  return read;
}

std::string WriteMpcorbCsvLine(const TAsteroidElements& e) {
  const std::string name = WritableName(MpcorbOutputName(e.Name), ';');
  std::string line;
  line.reserve(name.size() + 130);
  line = name;
  TFieldReader reader(kOwnAsteroidFormat.Fields);
  std::size_t k = 0;
  for (double value :
       {e.SemiMajorAxis, e.Eccentricity, e.Inclination, e.Node, e.Perihelion, e.MeanAnomaly, e.MeanMotion}) {
    AppendMpcorbNumber(line, reader, k++, value, 11, 6);
  }
  AppendMpcorbNumber(line, reader, k++, e.Equinox, 0, -1);
  AppendMpcorbNumber(line, reader, k++, e.Epoch, 0, -1);
  AppendMpcorbNumber(line, reader, k++, e.H, 0, 2);
  AppendMpcorbNumber(line, reader, k, e.G, 0, 2);
  return line;
}

void ReportUnusableRecords(const TConversionResult& result, const std::string& input) {
  if (result.Unusable.Count == 0) return;
  TSkippedLinesNote note =
      SkippedElementLinesNote({{result.Unusable.FirstLine, std::string(), result.Unusable.Field}}, input + ": ");
  note.Count = result.Unusable.Count;
  if (result.UnusableCopied) {
    note.GermanOne = " Zeile mit unbrauchbaren Bahnelementen unverändert übernommen (Zeile ";
    note.GermanMany = " Zeilen mit unbrauchbaren Bahnelementen unverändert übernommen (erste: Zeile ";
    note.EnglishOne = " line with unusable elements copied as it stands (line ";
    note.EnglishMany = " lines with unusable elements copied as they stand (first: line ";
  }
  ShowSkippedLinesNote(note);
}

TConversionResult ConvertAstorbFile(const std::string& input, int format, bool international,
                                    const TConversionCallback& callback) {
  TConversionResult result;
  TTextLineReader in;
  TConversionOutput out;
  if (!OpenConversion(input, TCatalogueKind::Astorb, format, in, out, result)) return result;
  result.UnusableCopied = format == 0;
  if (format == 1) out.Line(kOwnAsteroidFirstLine);
  if (format == 2) out.Line(kHomePlanetFirstLine);
  std::string line, converted;
  int shift = -1;
  int record = 0;  // counted as the element list counts them: the lines that are not blank
  while (in.Next(line)) {
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    ++record;
    if (line.size() < kAstorbColumns) {
      ++result.Skipped;
      continue;
    }
    if (shift < 0) shift = AstorbLayoutShift(line);
    // Until a record's epoch shows the layout, each record is read in the
    // older one, which names its epoch.
    const char* field = nullptr;
    // The plain CSV copies a record the reader refuses too (it is named),
    // unless it holds control characters: that is no text to copy.
    const bool read = AstorbLineToOutput(line, std::max(shift, 0), format, international, converted, &field);
    if (!read) result.Unusable.Add(record, field);
    bool ok = read || (format == 0 && std::none_of(line.begin(), line.end(), [](char c) {
                         return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
                       }));
    if (!read && !ok) result.UnusableCopied = false;
    // HomePlanet files are Windows-1252: a name without that form is skipped.
    // A line of ASCII characters (nearly every one) is its own form.
    if (ok && format == 2 && !IsAsciiText(converted)) {
      ok = HasWindows1252Form(converted);
      converted = Utf8ToCp1252(converted);
    }
    if (!ok) {
      ++result.Skipped;
      continue;
    }
    out.Line(converted);
    if (!Count(result, callback)) break;
  }
  Finish(out, result);
  return result;
}

TConversionResult ConvertMpcorbFile(const std::string& input, const TConversionCallback& callback) {
  return ConvertMpcLines(input, true, true, callback);
}

TConversionResult ConvertMpcorbCrFile(const std::string& input, const TConversionCallback& callback) {
  return ConvertMpcLines(input, false, false, callback);
}

}  // namespace kvx
