#include "catalogues/element_editor.h"

#include <cmath>
#include <filesystem>
#include <set>

#include "catalogues/element_lines.h"
#include "catalogues/list_messages.h"
#include "catalogues/text_line_reader.h"
#include "core/text_conversion.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/safe_file_write.h"

namespace kvx {

namespace {

constexpr const char* kAngleDe = "Eingabe muß >=0° und <360° sein!";
constexpr const char* kAngleEn = "The value must be >=0° and <360°";
constexpr const char* kJdDe = "Fehler bei Eingabe vom JD";
constexpr const char* kJdEn = "Error while entering JD";

constexpr TEditorFieldRule kAsteroidFields[] = {
    {"ID100", TFieldTest::Positive, 8, "Fehler bei Eingabe von a", "a : muß >0 sein!", "Error while entering a",
     "a: must be >0"},
    {"ID101", TFieldTest::Eccentricity, 8, "Fehler bei Eingabe von e", "e : muß >=0 und <1 sein!",
     "Error while entering e", "e: must be >=0 and <1"},
    {"ID102", TFieldTest::Angle, 8, "Eingabefehler", kAngleDe, "", kAngleEn},
    {"Id103", TFieldTest::Angle, 8, "Eingabefehler", kAngleDe, "", kAngleEn},
    {"ID104", TFieldTest::Angle, 8, "Eingabefehler", kAngleDe, "", kAngleEn},
    {"ID105", TFieldTest::Angle, 8, "Eingabefehler", kAngleDe, "", kAngleEn},
    {"ID106", TFieldTest::NonNegative, 8, "Fehler bei Eingabe von n", "n : muß >=0 sein!", "Error while entering n",
     "n: must be >=0"},
    {"ID107", TFieldTest::Any, 2, nullptr, nullptr, nullptr, nullptr},
    {"ID108", TFieldTest::NonNegative, 5, kJdDe, "JD: muß >=0 sein!", kJdEn, "JD: must be >=0"},
    {"ID109", TFieldTest::Any, 2, nullptr, nullptr, nullptr, nullptr},
    {"ID111", TFieldTest::Any, 2, nullptr, nullptr, nullptr, nullptr},
};

constexpr TEditorFieldRule kCometFields[] = {
    {"ID100", TFieldTest::Positive, 8, "Fehler bei Eingabe von q", "q : muß >0 sein!", "Error while entering q",
     "q: must be >0"},
    {"ID101", TFieldTest::NonNegative, 8, "Fehler bei Eingabe von e", "e : muß >=0 sein!", "Error while entering e",
     "e: must be >=0"},
    {"ID102", TFieldTest::Angle, 8, "Eingabefehler", kAngleDe, "Error", kAngleEn},
    {"ID103", TFieldTest::Angle, 8, "Eingabefehler", kAngleDe, "Error", kAngleEn},
    {"ID104", TFieldTest::Angle, 8, "Eingabefehler", kAngleDe, "Error", kAngleEn},
    {"ID107", TFieldTest::Any, 2, nullptr, nullptr, nullptr, nullptr},
    {"ID108", TFieldTest::NonNegative, 5, kJdDe, "JD: muß >=0 sein!", kJdEn, "JD: must be >=0"},
    {"ID109", TFieldTest::Any, 2, nullptr, nullptr, nullptr, nullptr},
    {"ID111", TFieldTest::Any, 2, nullptr, nullptr, nullptr, nullptr},
    {"ID112", TFieldTest::NonNegative, 5, kJdDe, "JD muß >=0 sein!", kJdEn, "JD must be >=0"},
};

constexpr TEditorFieldRule kVariableStarFields[] = {
    {"ID100", TFieldTest::Hours, 6, "Eingabefehler", "Eingabe muß >=0 und <24° sein!", "Error",
     "The value must be >=0 and <24°"},
    {"ID101", TFieldTest::Declination, 6, "Eingabefehler", "Die Deklination muß >=-90° und <90° sein!", "Error",
     "The declination must be >=-90° and <90°"},
    {"ID102", TFieldTest::Magnitude, 2, "Eingabefehler", "Unplausible Eingabe", "Error", "No plausible value"},
    {"ID103", TFieldTest::Magnitude, 2, "Eingabefehler", "Unplausible Eingabe", "Error", "No plausible value"},
    {"ID108", TFieldTest::NonNegative, 5, kJdDe, "JD: muß >=0 sein!", kJdEn, "JD: must be >=0"},
    {"ID109", TFieldTest::NonNegative, 8, kJdDe, "Epoche: muß >=0 sein!", kJdEn, "Epoch: must be >=0"},
    {"ID107", TFieldTest::Any, 2, nullptr, nullptr, nullptr, nullptr},
};

// A value of an entry line: its decimals when they keep the value, else
// the shortest text that does; the configured decimal separator.
std::string Field(double x, int decimals) { return FloatToTextSep(KeptNumberText(x, decimals)); }

std::string Join(const std::string& name, std::initializer_list<std::string> fields) {
  std::string line = WritableName(name, ';');
  std::size_t size = line.size();
  for (const std::string& f : fields) size += f.size() + 1;
  line.reserve(size);
  for (const std::string& f : fields) {
    line += ';';
    line += f;
  }
  return line;
}

const char* NewName(const TEditorKind& kind) { return ByLanguage(kind.NewNameGerman, kind.NewNameEnglish); }

}  // namespace

const TEditorKind kAsteroidEditor{"PlEdit",
                                  "/planeten.csv",
                                  "/asteroids.csv",
                                  ":BAHNELEMENTE PLANETOIDEN VAMUR!;a;e;i;kn;per;M;n;Equinox;Epoch;H;G",
                                  "Neuer Planetoid",
                                  "New asteroid",
                                  40};
const TEditorKind kCometEditor{
    "CoEdit", "/kometen.csv", "/comets.csv", ":BAHNELEMENTE KOMETEN VAMUR EXT!", "Neuer Komet", "New comet", 40};
const TEditorKind kVariableStarEditor{"VarEd",
                                      "/varriable.csv",
                                      "/variables.csv",
                                      ":ELEMENTE VARIABLE VAMUR!**Elemente fuer veraenderliche Sterne**",
                                      "Neuer Veränderlicher",
                                      "New variable star",
                                      30};

bool FieldValueAccepted(TFieldTest test, double x) {
  if (!std::isfinite(x)) return false;
  switch (test) {
    case TFieldTest::Any:
      return true;
    case TFieldTest::Positive:
      return x > 0;
    case TFieldTest::NonNegative:
      return x >= 0;
    case TFieldTest::Eccentricity:
      return x >= 0 && x < 1;
    case TFieldTest::Angle:
      return x >= 0 && x < 360;
    case TFieldTest::Hours:
      return x >= 0 && x < 24;
    case TFieldTest::Declination:
      return x >= -90 && x <= 90;
    case TFieldTest::Magnitude:
      return x >= -2 && x < 30;
  }
  return false;
}

TFieldState CheckEditorField(const TEditorFieldRule& rule, const std::string& text, double& value) {
  const std::string t = TrimBlanks(text);
  // The start of a number still being typed.
  for (const char* start : {"", "-", "+", ".", ",", "-.", "-,", "+.", "+,"}) {
    if (t == start) return TFieldState::Pending;
  }
  double x = 0;
  if (!ReadNumberField(t, x) || !FieldValueAccepted(rule.Test, x)) return TFieldState::Refused;
  value = x;
  return TFieldState::Accepted;
}

std::span<const TEditorFieldRule> AsteroidEditorFields() { return kAsteroidFields; }
std::span<const TEditorFieldRule> CometEditorFields() { return kCometFields; }
std::span<const TEditorFieldRule> VariableStarEditorFields() { return kVariableStarFields; }

double& EditorField(TAsteroidElements& r, std::size_t field) { return r.*kAsteroidRecordFields[field].second; }

double& EditorField(TCometElements& r, std::size_t field) { return r.*kCometRecordFields[field].second; }

double& EditorField(TVariableStarElements& r, std::size_t field) { return r.*kVariableStarRecordFields[field].second; }

std::string EditorRecordToLine(const TAsteroidElements& r) {
  return Join(r.Name, {Field(r.SemiMajorAxis, 8), Field(r.Eccentricity, 8), Field(r.Inclination, 8), Field(r.Node, 8),
                       Field(r.Perihelion, 8), Field(r.MeanAnomaly, 8), Field(r.MeanMotion, 8), Field(r.Equinox, 2),
                       Field(r.Epoch, 5), Field(r.H, 2), Field(r.G, 2)});
}

std::string EditorRecordToLine(const TCometElements& r) {
  // The epoch is written with the five decimals of a Julian day, as T is.
  return Join(r.Name, {Field(r.PerihelionDistance, 8), Field(r.Eccentricity, 8), Field(r.Inclination, 8),
                       Field(r.Node, 8), Field(r.Perihelion, 8), Field(r.Equinox, 2), Field(r.PerihelionTime, 5),
                       Field(r.H, 2), Field(r.G, 2), Field(r.Epoch, 5)});
}

std::string EditorRecordToLine(const TVariableStarElements& r) {
  return SeparatedLine(kVariableStarFormat, WritableName(r.Name, ';'), r) + ";" + WritableName(r.Type, ';');
}

TAsteroidElements NewAsteroidEditorRecord(double jd) {
  TAsteroidElements r;
  r.Name = NewName(kAsteroidEditor);
  r.SemiMajorAxis = 1;
  r.Equinox = 2000;
  r.Epoch = jd;
  r.G = 0.15;
  return r;
}

TCometElements NewCometEditorRecord(double jd) {
  TCometElements r;
  r.Name = NewName(kCometEditor);
  r.PerihelionDistance = 1;
  r.Equinox = 2000;
  r.PerihelionTime = jd;
  r.Epoch = jd;
  return r;
}

TVariableStarElements NewVariableStarEditorRecord(double jd) {
  TVariableStarElements r;
  r.Name = NewName(kVariableStarEditor);
  r.Type.assign(1, 'c');
  r.Period = 1;
  r.Epoch = jd;
  r.Equinox = 2000;
  return r;
}

std::string EditorName(const std::string& typed, std::size_t length) {
  std::string out;
  std::size_t characters = 0;
  for (std::size_t i = 0; i < typed.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(typed[i]);
    if (c == ';' || c < 0x20) continue;
    if ((c & 0xC0) != 0x80) {
      if (characters == length) break;
      ++characters;
    }
    out += static_cast<char>(c);
  }
  return out;
}

TEditorFileLines ReadEditorFileLines(const std::string& fileName, const std::vector<TSkippedElementLine>& skipped) {
  TEditorFileLines lines;
  std::set<int> unusable;
  for (const TSkippedElementLine& s : skipped) unusable.insert(s.LineNumber);
  const TOpenedFile seen = TOpenedFile::Seen(fileName);
  TTextLineReader reader;
  if (!reader.Open(fileName)) return lines;
  ReadEditorLines(reader, lines, [&unusable](const std::string&, int lineNumber) {
    return unusable.count(lineNumber) != 0 ? TEditorLineUse::Kept : TEditorLineUse::Taken;
  });
  lines.Opened = seen;
  return lines;
}

void ReadEditorLines(TTextLineReader& reader, TEditorFileLines& lines,
                     const std::function<TEditorLineUse(const std::string& line, int lineNumber)>& entry) {
  std::string line;
  bool inHeader = true;
  while (reader.Next(line)) {
    const bool comment = !line.empty() && line[0] == ':';
    if (inHeader && comment) {
      lines.HeaderLines.push_back(line);
      continue;
    }
    inHeader = false;
    if (TrimBlanks(line).empty()) continue;
    const TEditorLineUse use = comment ? TEditorLineUse::Kept : entry(line, reader.LineNumber());
    if (use == TEditorLineUse::Stop) break;
    if (use == TEditorLineUse::Kept) lines.KeptLines.push_back(line);
  }
}

bool SaveEditorFile(const std::string& fileName, TEditorFileLines& lines, const std::vector<std::string>& entryLines) {
  std::error_code ec;
  if (fileName.empty() || !std::filesystem::is_regular_file(fileName, ec)) {
    ShowMessage(fileName, fileName, MessageIcon::Error, MessageButtons::Ok,
                ByLanguage("Speichern nicht möglich", "File cannot be saved"));
    return false;
  }
  std::string text;
  text.reserve(entryLines.size() * 120 + 256);
  for (const std::string& l : lines.HeaderLines) (text += l) += "\r\n";
  for (const std::string& l : entryLines) (text += l) += "\r\n";
  for (const std::string& l : lines.KeptLines) (text += l) += "\r\n";
  return WriteElementFile(fileName, text, &lines.Opened);
}

bool CreateEditorFile(const std::string& fileName, const std::string& text) {
  return WriteElementFile(fileName, text + "\r\n");
}

}  // namespace kvx
