#include "catalogues/astorb_conversion.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "catalogues/element_lines.h"
#include "catalogues/element_list.h"
#include "catalogues/element_write_checks.h"
#include "catalogues/text_line_reader.h"
#include "core/text_conversion.h"
#include "platform/ascii_case.h"
#include "platform/safe_file_write.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

constexpr std::size_t kAstorbColumns = 266;
constexpr long kCallbackEvery = 24;

struct TSlice {
  std::size_t first, last;
};

// The plain CSV slices of the older layout (columns from 1).
constexpr TSlice kPlainSlices[] = {{1, 5},     {7, 25},    {26, 40},   {41, 47},   {48, 52},   {53, 57},   {58, 64},
                                   {65, 70},   {71, 73},   {74, 77},   {78, 81},   {82, 85},   {86, 89},   {90, 93},
                                   {94, 99},   {100, 104}, {105, 113}, {114, 124}, {125, 135}, {136, 146}, {147, 156},
                                   {157, 167}, {168, 180}, {182, 189}, {190, 197}, {198, 206}, {208, 215}, {216, 223},
                                   {225, 232}, {233, 240}, {241, 249}, {251, 257}, {259, 266}};

// Leading blanks to the end: "    1 Ceres" -> "1 Ceres    ".
std::string LeadingBlanksToEnd(const std::string& s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return s;
  return s.substr(first) + std::string(first, ' ');
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
    if (k < 3 || international) continue;
    const std::size_t dot = out.find('.', at);
    if (dot != std::string::npos) out[dot] = ',';
  }
}

// The output, written to a temporary file beside it and renamed into place
// at the end.
class TConversionOutput {
 public:
  bool Open(const std::string& path, std::string& error) {
    path_ = path;
    temporary_ = FreeTemporaryPath(path);
    if (!temporary_.empty()) file_ = std::fopen(temporary_.c_str(), "wb");
    if (file_ == nullptr) {
      error = "Cannot write " + path;
      temporary_.clear();
      return false;
    }
    return true;
  }
  ~TConversionOutput() {
    if (file_ != nullptr) std::fclose(file_);
    if (!temporary_.empty()) {
      std::error_code ec;
      std::filesystem::remove(temporary_, ec);
    }
  }
  void Line(const std::string& text) {
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fwrite("\r\n", 1, 2, file_) != 2)
      failed_ = true;
  }
  bool Finish(std::string& error) {
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (failed_ || !closed) {
      error = "Cannot write " + path_;
      return false;
    }
    const bool renamed = ReplaceWithTemporary(temporary_, path_, error);
    temporary_.clear();
    return renamed;
  }

 private:
  std::string path_, temporary_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
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
    result.Error = "Cannot read " + input;
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
  if (ReadAstorbElements(line, shift, e, unusable) != TLineParse::Parsed) return false;
  if (format == 1) {
    out = SeparatedLine(kOwnAsteroidFormat, WritableName(OutputName(line, shift), ';'), e);
  } else if (format == 2) {
    // As in the own format: only a numbered name is padded, so that a
    // provisional designation ("2004 XR190") keeps its year as it is.
    out = SeparatedLine(kHomePlanetAsteroidFormat, WritableName(OutputName(line, shift), ','), e);
  } else {
    PlainCsvLine(line, shift, international, out);
  }
  return true;
}

std::string WriteMpcorbCsvLine(const TAsteroidElements& e) {
  return SeparatedLine(kOwnAsteroidFormat, WritableName(NormalizeDesignation(LeadingBlanksToEnd(e.Name)), ';'), e);
}

void ReportUnusableRecords(const TConversionResult& result, const std::string& input) {
  if (result.Unusable.Count == 0) return;
  TSkippedLinesNote note =
      SkippedElementLinesNote({{result.Unusable.FirstLine, std::string(), result.Unusable.Field}}, input + ": ");
  note.Count = result.Unusable.Count;
  ShowSkippedLinesNote(note);
}

TConversionResult ConvertAstorbFile(const std::string& input, int format, bool international,
                                    const TConversionCallback& callback) {
  TConversionResult result;
  TTextLineReader in;
  TConversionOutput out;
  if (!OpenConversion(input, TCatalogueKind::Astorb, format, in, out, result)) return result;
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
    bool ok = AstorbLineToOutput(line, std::max(shift, 0), format, international, converted, &field);
    if (!ok) result.Unusable.Add(record, field);
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
