#include "core/asteroid_database.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "core/binary_fields.h"
#include "core/little_endian.h"
#include "core/text_conversion.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/safe_file_write.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace fs = std::filesystem;

namespace {

using namespace little_endian;

// --- Messages --------------------------------------------------------------

void ShowFileError(const std::string& german, const std::string& english) {
  ShowMessage(german, english, MessageIcon::Error, MessageButtons::Ok,
              ByLanguage("Planetoiden-Datenbank", "Asteroid database"));
}

// --- Text fields ---------------------------------------------------------------

// A number written with "," or "." as decimal point.
bool ReadNumber(const std::string& field, double& x) { return ValReal(DecimalSepToDot(TrimBlanks(field)), x); }

// Truncation toward zero of a value typed with few decimals and scaled to a
// whole number: the guard keeps 0.29 x 100 (28.999999999999996 in binary)
// at 29, as typed.
bool TruncScaled(double x, double scale, std::int32_t& out) {
  double v = x * scale;
  v = std::trunc(v + std::copysign(1e-6, v));
  if (!(std::fabs(v) <= static_cast<double>(std::numeric_limits<std::int32_t>::max()))) return false;
  out = static_cast<std::int32_t>(v);
  return true;
}

bool IsDataLine(const std::string& line) { return !line.empty() && line[0] != ':'; }

bool ReadHeaderAndSize(std::ifstream& in, const std::string& path, TEelHeader& header, std::int64_t& size) {
  std::error_code error;
  std::uintmax_t fileSize = fs::file_size(path, error);
  if (error || !in) {
    ShowFileError("Die Datei " + path + " kann nicht gelesen werden.", "The file " + path + " cannot be read.");
    return false;
  }
  if (fileSize < static_cast<std::uintmax_t>(kEelHeaderSize + kEelRecordSize) ||
      fileSize > static_cast<std::uintmax_t>(std::numeric_limits<std::int32_t>::max())) {
    ShowFileError("Die Datei " + path + " enthält keine Bahnelemente.",
                  "The file " + path + " holds no orbital elements.");
    return false;
  }
  std::array<std::uint8_t, kEelHeaderSize> bytes{};
  in.read(reinterpret_cast<char*>(bytes.data()), kEelHeaderSize);
  if (!in) {
    ShowFileError("Die Datei " + path + " kann nicht gelesen werden.", "The file " + path + " cannot be read.");
    return false;
  }
  header = DecodeEelHeader(bytes);
  size = static_cast<std::int64_t>(fileSize);
  return true;
}

}  // namespace

// --- Byte images ---------------------------------------------------------------

std::array<std::uint8_t, kEelHeaderSize> EncodeEelHeader(const TEelHeader& header) {
  std::array<std::uint8_t, kEelHeaderSize> b{};
  PutF64(&b[0], header.First);
  PutF64(&b[8], header.Last);
  PutI32(&b[16], header.Step);
  PutI32(&b[20], header.Equinox);
  PutI32(&b[24], header.H100);
  PutI32(&b[28], header.G100);
  PutShortString(&b[32], kEelNameLength, header.Name);
  return b;  // bytes 53 .. 55 reserved, zero
}

TEelHeader DecodeEelHeader(const std::array<std::uint8_t, kEelHeaderSize>& b) {
  TEelHeader h;
  h.First = GetF64(&b[0]);
  h.Last = GetF64(&b[8]);
  h.Step = GetI32(&b[16]);
  h.Equinox = GetI32(&b[20]);
  h.H100 = GetI32(&b[24]);
  h.G100 = GetI32(&b[28]);
  h.Name = GetShortString(&b[32], kEelNameLength);
  return h;
}

std::array<std::uint8_t, kEelRecordSize> EncodeEelRecord(const TEelRecord& r) {
  std::array<std::uint8_t, kEelRecordSize> b{};
  PutF32(&b[0], r.SemiMajorAxis);
  PutF32(&b[4], r.Eccentricity);
  PutF32(&b[8], r.Inclination);
  PutF32(&b[12], r.MeanMotion);
  PutF32(&b[16], r.Node);
  PutF32(&b[20], r.Perihelion);
  PutF32(&b[24], r.MeanAnomaly);
  PutI32(&b[28], r.Epoch10);
  return b;
}

TEelRecord DecodeEelRecord(const std::array<std::uint8_t, kEelRecordSize>& b) {
  TEelRecord r;
  r.SemiMajorAxis = GetF32(&b[0]);
  r.Eccentricity = GetF32(&b[4]);
  r.Inclination = GetF32(&b[8]);
  r.MeanMotion = GetF32(&b[12]);
  r.Node = GetF32(&b[16]);
  r.Perihelion = GetF32(&b[20]);
  r.MeanAnomaly = GetF32(&b[24]);
  r.Epoch10 = GetI32(&b[28]);
  return r;
}

TAsteroidElements EelElements(const TEelHeader& header, const TEelRecord& record) {
  TAsteroidElements e;
  e.SemiMajorAxis = record.SemiMajorAxis;
  e.Eccentricity = record.Eccentricity;
  e.Inclination = record.Inclination;
  e.Node = record.Node;
  e.Perihelion = record.Perihelion;
  e.MeanAnomaly = record.MeanAnomaly;
  e.MeanMotion = record.MeanMotion;
  e.Equinox = header.Equinox;
  e.Epoch = record.Epoch10 * 0.1;
  e.H = header.H100 * 0.01;
  e.G = header.G100 * 0.01;
  e.Name = header.Name;
  return e;
}

std::int32_t EelRecordIndex(std::int32_t fileSize, double jd, double step, double first) {
  // In 64 bits: a negative size must not overflow.
  const std::int64_t lastIndex = (static_cast<std::int64_t>(fileSize) - kEelHeaderSize) / kEelRecordSize - 1;
  const double wholeStep = std::trunc(step);
  if (lastIndex < 0 || !(wholeStep >= 1.0)) return -1;
  // Whole-day differences, as 64-bit integers so no date overflows.
  const double difference = std::trunc(jd + step / 2.0) - std::trunc(first + 0.5);
  if (!std::isfinite(difference)) return difference > 0 ? static_cast<std::int32_t>(lastIndex) : 0;
  const double index = std::trunc(difference / wholeStep);
  if (index <= 0) return 0;
  if (index >= static_cast<double>(lastIndex)) return static_cast<std::int32_t>(lastIndex);
  return static_cast<std::int32_t>(index);
}

// --- Files ---------------------------------------------------------------------

bool WriteEelFile(const std::string& path, const TEelHeader& header, const std::vector<TEelRecord>& records) {
  if (records.empty()) {
    ShowFileError("Keine Bahnelemente für " + path + ".", "No orbital elements for " + path + ".");
    return false;
  }
  std::vector<std::uint8_t> bytes;
  bytes.reserve(kEelHeaderSize + records.size() * kEelRecordSize);
  auto head = EncodeEelHeader(header);
  bytes.insert(bytes.end(), head.begin(), head.end());
  for (const TEelRecord& r : records) {
    auto b = EncodeEelRecord(r);
    bytes.insert(bytes.end(), b.begin(), b.end());
  }
  if (!WriteFileReplacing(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {
    ShowFileError("Die Datei " + path + " kann nicht geschrieben werden.", "The file " + path + " cannot be written.");
    return false;
  }
  return true;
}

bool ReadEelFile(const std::string& path, TEelHeader& header, std::vector<TEelRecord>& records) {
  records.clear();
  std::ifstream in(path, std::ios::binary);
  std::int64_t size = 0;
  if (!ReadHeaderAndSize(in, path, header, size)) return false;
  const std::int64_t count = (size - kEelHeaderSize) / kEelRecordSize;
  records.reserve(static_cast<std::size_t>(count));
  std::array<std::uint8_t, kEelRecordSize> b{};
  for (std::int64_t k = 0; k < count; ++k) {
    in.read(reinterpret_cast<char*>(b.data()), kEelRecordSize);
    if (!in) {
      records.clear();
      ShowFileError("Die Datei " + path + " kann nicht gelesen werden.", "The file " + path + " cannot be read.");
      return false;
    }
    records.push_back(DecodeEelRecord(b));
  }
  return true;
}

bool ReadEelElementsNearest(const std::string& path, double jd, TAsteroidElements& elements) {
  std::ifstream in(path, std::ios::binary);
  TEelHeader header;
  std::int64_t size = 0;
  if (!ReadHeaderAndSize(in, path, header, size)) return false;
  // Records beyond 2 GiB are out of the index's reach: the file counts as ending there.
  const std::int64_t reachable = std::min<std::int64_t>(size, std::numeric_limits<std::int32_t>::max());
  std::int32_t index = EelRecordIndex(static_cast<std::int32_t>(reachable), jd, header.Step, header.First);
  if (index < 0) {
    ShowFileError("Die Datei " + path + " hat eine ungültige Schrittweite.",
                  "The file " + path + " has an invalid step.");
    return false;
  }
  std::array<std::uint8_t, kEelRecordSize> b{};
  in.seekg(kEelHeaderSize + static_cast<std::streamoff>(index) * kEelRecordSize);
  in.read(reinterpret_cast<char*>(b.data()), kEelRecordSize);
  if (!in) {
    ShowFileError("Die Datei " + path + " kann nicht gelesen werden.", "The file " + path + " cannot be read.");
    return false;
  }
  elements = EelElements(header, DecodeEelRecord(b));
  return true;
}

// --- Text source ---------------------------------------------------------------

bool ParseAsteroidDbLine(const std::string& line, TEelRecord& record, TEelHeader& header, std::string* error) {
  if (!IsDataLine(line)) return false;
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (fields.size() < 11) {
    std::size_t semicolon = line.find(';', start);
    if (semicolon == std::string::npos) break;
    fields.push_back(line.substr(start, semicolon - start));
    start = semicolon + 1;
  }
  // The rest: field 10 when fields 0 .. 9 ended with ";", else field 11
  // (anything after a further ";" is ignored).
  std::string rest = line.substr(std::min(start, line.size()));
  if (fields.size() == 10) {
    fields.push_back(rest);
    fields.push_back("0.15");
  } else if (fields.size() == 11) {
    std::string g = TrimBlanks(rest.substr(0, rest.find(';')));
    fields.push_back(g.empty() ? "0.15" : g);
  }
  if (fields.size() < 12) {
    if (error != nullptr) *error = "fewer than eleven fields";
    return false;
  }
  double v[12] = {};
  for (int k = 1; k < 12; ++k) {
    if (!ReadNumber(fields[static_cast<std::size_t>(k)], v[k])) {
      if (error != nullptr) *error = "field " + std::to_string(k) + " is not a number";
      return false;
    }
  }
  std::int32_t equinox = 0, epoch10 = 0, h100 = 0, g100 = 0;
  if (!TruncScaled(v[8], 1.0, equinox) || !TruncScaled(v[9], 10.0, epoch10) || !TruncScaled(v[10], 100.0, h100) ||
      !TruncScaled(v[11], 100.0, g100)) {
    if (error != nullptr) *error = "a number is out of range";
    return false;
  }
  header.Name = Utf8Prefix(fields[0], kEelNameLength);
  record.SemiMajorAxis = static_cast<float>(v[1]);
  record.Eccentricity = static_cast<float>(v[2]);
  record.Inclination = static_cast<float>(v[3]);
  record.Node = static_cast<float>(v[4]);
  record.Perihelion = static_cast<float>(v[5]);
  record.MeanAnomaly = static_cast<float>(v[6]);
  record.MeanMotion = static_cast<float>(v[7]);
  header.Equinox = equinox;
  record.Epoch10 = epoch10;
  header.H100 = h100;
  header.G100 = g100;
  return true;
}

bool ReadAsteroidDbHeader(std::uint8_t wholeFile, const std::vector<std::string>& lines, TEelHeader& header,
                          double& jd1, double& jd2) {
  std::vector<std::size_t> data;
  for (std::size_t k = 1; k < lines.size(); ++k) {
    if (IsDataLine(lines[k])) data.push_back(k);
  }
  if (data.size() < 2) {
    ShowFileError("Die Quelldatei enthält weniger als zwei Zeilen mit Bahnelementen.",
                  "The source file holds fewer than two lines of orbital elements.");
    return false;
  }
  TEelRecord record;
  TEelHeader second = header;
  TEelHeader last = header;
  const auto bad = [&](std::size_t index) {
    const std::string number = std::to_string(index + 1);
    ShowFileError("Zeile " + number + " der Quelldatei ist fehlerhaft:\n" + lines[index],
                  "Line " + number + " of the source file is invalid:\n" + lines[index]);
    return false;
  };
  if (!ParseAsteroidDbLine(lines[data[0]], record, header)) return bad(data[0]);
  const double first = record.Epoch10 * 0.1;
  if (!ParseAsteroidDbLine(lines[data[1]], record, second)) return bad(data[1]);
  const double step = std::trunc(record.Epoch10 * 0.1 - first);
  if (!ParseAsteroidDbLine(lines[data.back()], record, last)) return bad(data.back());
  const double lastEpoch = record.Epoch10 * 0.1;
  if (step < 1.0) {
    ShowFileError("Die Epochen der Quelldatei steigen nicht um mindestens einen Tag.",
                  "The epochs of the source file do not increase by at least one day.");
    return false;
  }
  header.Step = static_cast<std::int32_t>(step);
  header.First = first;
  header.Last = lastEpoch;
  if (wholeFile == 0) {
    if (first < jd1) {
      jd1 = first + step * std::trunc((jd1 - first) / step);
      header.First = jd1;
    }
    if (lastEpoch > jd2) {
      jd2 = lastEpoch + step * std::trunc((jd2 - lastEpoch) / step);
      header.Last = jd2;
    }
  }
  return true;
}

void FindElementListFiles(std::vector<std::string>& files, const std::string& folder,
                          const std::function<void(bool)>& enableControls) {
  files.clear();
  SearchFilesRecursive(folder, "*.eel", [&](const std::string& path) { files.push_back(path); });
  if (enableControls) enableControls(!files.empty());
}

}  // namespace kvx
