// The start-values file: see start_values_file.h.
#include "orbitdet/start_values_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/text_conversion.h"
#include "platform/messages.h"
#include "platform/save_failure.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

constexpr const char* kFieldNames[10] = {"name", "x", "y", "z", "x1", "y1", "z1", "1/m", "jdequinox", "jd"};
constexpr std::size_t kHeaderCompareLength = 37;

bool ReadNumber(const std::string& text, long double& value) {
  const std::string clean = DecimalSepToDot(TrimBlanks(text));
  return StrToExtended(clean, value) && std::isfinite(value);
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file's fixed notation with "." when that keeps the value, else the
// shortest text that does (1e99 is no 17-decimal number of the buffer).
std::string Fixed(long double x, int decimals) { return KeptNumberTextExt(x, decimals); }

}  // namespace

namespace {

TStartValuesLineStatus ParseBodyLine(const std::string& line, trukudaten& out, std::string& field) {
  std::string fields[10];
  std::size_t from = 0;
  int count = 0;
  for (; count < 9; ++count) {
    const std::size_t at = line.find(';', from);
    if (at == std::string::npos) break;
    fields[count] = line.substr(from, at - from);
    from = at + 1;
  }
  if (count < 9) {
    field = kFieldNames[count + 1];
    return TStartValuesLineStatus::Refused;
  }
  fields[9] = line.substr(from);
  if (const std::size_t at = fields[9].find(';'); at != std::string::npos) fields[9].erase(at, 1);
  trukudaten body;
  body.Name = fields[0];
  long double values[9];
  for (int k = 0; k < 9; ++k) {
    if (!ReadNumber(fields[k + 1], values[k])) {
      field = kFieldNames[k + 1];
      return TStartValuesLineStatus::Refused;
    }
  }
  for (int k = 0; k < 6; ++k) body.State[k] = values[k];
  body.InverseMass = values[6];
  if (body.InverseMass < 0) {
    field = kFieldNames[7];
    return TStartValuesLineStatus::Refused;
  }
  body.EquinoxJD = values[7];
  body.JD = values[8];
  out = std::move(body);
  return TStartValuesLineStatus::Body;
}

}  // namespace

TStartValuesLineStatus ParseStartValuesLine(const std::string& line, trukudaten& out, std::string& field) {
  field.clear();
  if (line.empty()) return TStartValuesLineStatus::Skipped;
  if (line[0] != ':') return ParseBodyLine(line, out, field);
  // A line led by ":" is the header or a comment, unless it holds a whole
  // body: a body may be named ":Merkur".
  trukudaten body;
  std::string ignored;
  if (ParseBodyLine(line, body, ignored) != TStartValuesLineStatus::Body) return TStartValuesLineStatus::Skipped;
  out = std::move(body);
  return TStartValuesLineStatus::Body;
}

bool IsStartValuesFile(const std::string& path) {
  std::string bytes, error;
  if (!ReadFileBytes(path, bytes, error)) return false;
  if (bytes.size() > kMaxStartValuesFileBytes) bytes.resize(kMaxStartValuesFileBytes);
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
  const std::size_t end = bytes.find_first_of("\r\n");
  const std::string first = bytes.substr(0, end);
  return first.size() >= kHeaderCompareLength &&
         first.compare(0, kHeaderCompareLength, kStartValuesHeader, kHeaderCompareLength) == 0;
}

void ClearStartValues(TIntegrationSetup& setup) {
  setup.StartJD = 0;
  setup.EquinoxJD = 0;
  setup.Masses.fill(0);
  for (std::string& name : setup.Names) name.clear();
  for (TBodyState& body : setup.StartValues) body.fill(0);
}

void StoreStartValuesBody(const trukudaten& body, TIntegrationSetup& setup, int index) {
  if (index < 1 || index > kMaxIntegrationBodies) return;
  const int i = index - 1;
  for (int k = 0; k < 6; ++k) setup.StartValues[i][k] = body.State[k];
  setup.Masses[i] = body.InverseMass == 0 ? 0 : 1.0L / body.InverseMass;
  setup.Names[i] = CutBodyName(body.Name);
  if (index == 2) {
    setup.StartJD = body.JD;
    setup.EquinoxJD = body.EquinoxJD;
  }
  setup.N = index;
}

bool ReadStartValuesFile(const std::string& path, TIntegrationSetup& setup, TOpenedFile* read) {
  const std::string name = BaseName(path);
  const TOpenedFile seen = TOpenedFile::Seen(path);
  std::string bytes, error;
  if (!ReadFileBytes(path, bytes, error)) {
    ShowMessage("Die Datei " + path + " kann nicht gelesen werden.", "The file " + path + " cannot be read.",
                MessageIcon::Error);
    return false;
  }
  if (bytes.size() > kMaxStartValuesFileBytes) {
    const std::string size = std::to_string(bytes.size());
    ShowMessage("Datei " + name + " ist zu groß (" + size + " Bytes).",
                "File " + name + " is too large (" + size + " bytes).", MessageIcon::Error);
    return false;
  }
  const std::vector<std::string> lines = SplitTextLines(DecodeTextBytes(bytes));
  TIntegrationSetup copy = setup;
  ClearStartValues(copy);
  int count = 0;
  for (std::size_t n = 0; n < lines.size() && count < kMaxIntegrationBodies; ++n) {
    trukudaten body;
    std::string field;
    const TStartValuesLineStatus status = ParseStartValuesLine(lines[n], body, field);
    if (status == TStartValuesLineStatus::Skipped) continue;
    if (status == TStartValuesLineStatus::Refused) {
      const std::string line = std::to_string(n + 1);
      ShowMessage("Datei " + name + ", Zeile " + line + ": Feld \"" + field + "\" ist keine gültige Zahl.",
                  "File " + name + ", line " + line + ": field \"" + field + "\" is not a valid number.",
                  MessageIcon::Error);
      return false;
    }
    StoreStartValuesBody(body, copy, ++count);
  }
  if (count == 0) {
    ShowMessage("Datei " + name + " enthält keine Körper.", "File " + name + " holds no bodies.", MessageIcon::Error);
    return false;
  }
  setup.StartValues = copy.StartValues;
  setup.Masses = copy.Masses;
  setup.Names = copy.Names;
  setup.StartJD = copy.StartJD;
  setup.EquinoxJD = copy.EquinoxJD;
  setup.N = copy.N;
  if (read != nullptr) *read = seen;
  return true;
}

std::string StartValuesFileText(const TIntegrationSetup& setup) {
  const int n = std::clamp(setup.N, 0, kMaxIntegrationBodies);
  bool utf8 = false;
  for (int i = 0; i < n; ++i)
    if (Cp1252ToUtf8(Utf8ToCp1252(setup.Names[i])) != setup.Names[i]) utf8 = true;
  std::string text = kStartValuesHeader;
  text += "\r\n";
  const std::string equinox = Fixed(setup.EquinoxJD, 5);
  const std::string epoch = Fixed(setup.StartJD, 5);
  for (int i = 0; i < n; ++i) {
    std::string name = setup.Names[i];
    for (char& c : name)
      if (c == ';' || c == '\r' || c == '\n') c = ' ';
    text += utf8 ? name : Utf8ToCp1252(name);
    text += ';';
    for (int k = 0; k < 6; ++k) {
      text += Fixed(setup.StartValues[i][k], 17);
      text += ';';
    }
    text += setup.Masses[i] == 0 ? Fixed(0, 8) : Fixed(1.0L / setup.Masses[i], 8);
    text += ';';
    text += equinox;
    text += ';';
    text += epoch;
    text += "\r\n";
  }
  return text;
}

bool WriteStartValuesFile(const std::string& path, const TIntegrationSetup& setup, TOpenedFile* read) {
  // A body the reader would refuse (a negative mass, a value that is no
  // number) makes no file: the file would not open again.
  const int n = std::clamp(setup.N, 0, kMaxIntegrationBodies);
  for (int i = 0; i < n; ++i) {
    const auto b = static_cast<std::size_t>(i);
    bool usable = std::isfinite(setup.Masses[b]) && setup.Masses[b] >= 0;
    for (const long double v : setup.StartValues[b]) usable = usable && std::isfinite(v);
    if (usable) continue;
    const std::string body = std::to_string(i + 1) + " (" + setup.Names[b] + ")";
    ShowMessage(
        "Die Datei " + path + " wurde nicht geschrieben: Körper " + body +
            " hat eine negative Masse oder einen Wert, der keine Zahl ist.",
        "The file " + path + " was not written: body " + body + " has a negative mass or a value that is not a number.",
        MessageIcon::Error);
    return false;
  }
  static constexpr TSaveFailureLead kLead = {"Die Datei {} konnte nicht geschrieben werden.",
                                             "The file {} could not be written."};
  return SaveUserFile(path, StartValuesFileText(setup), kLead, read);
}

void CopyStartToWorking(TIntegrationSetup& setup) {
  setup.WorkingState = setup.StartValues;
  setup.JD = setup.StartJD;
}

}  // namespace kvx
