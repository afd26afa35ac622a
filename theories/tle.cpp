#include "theories/tle.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace kvx {

std::array<TTleEntry, kSatelliteSlots + 1> SatelliteTable;
std::array<std::string, kSatelliteSlots + 1> SatelliteNames;
std::int32_t CurrentSatelliteNumber = 1;

namespace {

// Reads one line of any of the usual line ends (CR/LF, LF, CR). Returns false
// when the file had already ended before the line.
bool ReadLine(std::istream& in, std::string& line) {
  line.clear();
  int c = in.get();
  if (c == std::char_traits<char>::eof()) return false;
  while (c != std::char_traits<char>::eof()) {
    if (c == '\n') break;
    if (c == '\r') {
      if (in.peek() == '\n') in.get();
      break;
    }
    line.push_back(static_cast<char>(c));
    c = in.get();
  }
  return true;
}

// The first `count` characters of a name line as UTF-8: a line that is
// well-formed UTF-8 is taken as such, any other as Windows-1252.
std::string NameFromLine(const std::string& line, std::size_t count) {
  return Utf8Prefix(IsValidUtf8(line) ? line : Cp1252ToUtf8(line), count);
}

// Reads one set (name line, line 1, line 2) into the slot. Returns false when
// the file had already ended, so that nothing was read.
bool ReadTleEntry(std::istream& in, std::uint16_t slot) {
  std::string name, line1, line2;
  if (!ReadLine(in, name)) return false;
  ReadLine(in, line1);
  ReadLine(in, line2);
  SatelliteNames[slot] = NameFromLine(name, kSatelliteNameLength);
  SatelliteTable[slot].line1 = line1.substr(0, std::min(line1.size(), kTleLineLength));
  SatelliteTable[slot].line2 = line2.substr(0, std::min(line2.size(), kTleLineLength));
  return true;
}

// The field text of TleFieldInteger and TleFieldReal.
std::string FieldText(const std::string& line, std::int32_t firstColumn, std::int32_t width) {
  if (firstColumn < 1 || width <= 0 || static_cast<std::size_t>(firstColumn) > line.size()) return {};
  std::string field = line.substr(static_cast<std::size_t>(firstColumn - 1), static_cast<std::size_t>(width));
  BlanksToZeros(field);
  return field;
}

bool CharAt(const std::string& line, std::size_t column, char expected) {
  return column >= 1 && column <= line.size() && line[column - 1] == expected;
}

}  // namespace

void BlanksToZeros(std::string& text) {
  for (char& c : text)
    if (c == ' ') c = '0';
}

std::int32_t TleFieldInteger(const std::string& line, std::int32_t firstColumn, std::int32_t width) {
  std::string field = FieldText(line, firstColumn, width);
  const char* begin = field.data();
  const char* end = field.data() + field.size();
  if (begin != end && *begin == '+') ++begin;
  std::int32_t value = 0;
  auto [stop, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || stop != end) return 0;
  return value;
}

double TleFieldReal(const std::string& line, std::int32_t firstColumn, std::int32_t width) {
  std::string field = FieldText(line, firstColumn, width);
  if (field.empty()) return 0.0;
  const char* begin = field.data();
  const char* end = field.data() + field.size();
  if (*begin == '+') ++begin;
  double value = 0.0;
  auto [stop, error] = std::from_chars(begin, end, value, std::chars_format::general);
  if (error != std::errc() || stop != end) return 0.0;
  return value;
}

namespace {

// Where a number field stands, how it is written and what it is called.
struct TTleNumberFieldRow {
  int line;           // 1 or 2
  int column, width;  // 1-based first column and width of the field (of the mantissa)
  double scale;       // the field's value times this
  bool powerOfTen;    // a power of ten in the two columns after the field
  const char* german;
  const char* english;
};

constexpr TTleNumberFieldRow kTleNumberFields[kTleNumberFieldCount] = {
    {1, 34, 10, 1.0, false, "erste Ableitung der mittleren Bewegung", "first derivative of the mean motion"},
    {1, 45, 6, 1e-5, true, "zweite Ableitung der mittleren Bewegung", "second derivative of the mean motion"},
    {1, 54, 6, 1e-5, true, "B*", "B*"},
    {2, 9, 8, 1.0, false, "Inklination", "inclination"},
    {2, 18, 8, 1.0, false, "Rektaszension des aufsteigenden Knotens", "right ascension of the ascending node"},
    {2, 27, 7, 1e-7, false, "Exzentrizität", "eccentricity"},
    {2, 35, 8, 1.0, false, "Argument des Perigäums", "argument of perigee"},
    {2, 44, 8, 1.0, false, "mittlere Anomalie", "mean anomaly"},
    {2, 53, 11, 1.0, false, "mittlere Bewegung", "mean motion"},
};

const TTleNumberFieldRow& RowOf(TTleNumberField field) { return kTleNumberFields[static_cast<int>(field)]; }

}  // namespace

double TleNumberValue(const TTleEntry& entry, TTleNumberField field) {
  const TTleNumberFieldRow& row = RowOf(field);
  const std::string& line = row.line == 1 ? entry.line1 : entry.line2;
  double value = TleFieldReal(line, row.column, row.width) * row.scale;
  if (row.powerOfTen) value *= std::exp(TleFieldInteger(line, row.column + row.width, 2) * std::log(10.0));
  return value;
}

const char* TleNumberFieldName(TTleNumberField field, bool english) {
  return english ? RowOf(field).english : RowOf(field).german;
}

std::optional<TTleNumberField> TleNonFiniteField(const TTleEntry& entry) {
  for (int i = 0; i < kTleNumberFieldCount; ++i) {
    const auto field = static_cast<TTleNumberField>(i);
    if (!std::isfinite(TleNumberValue(entry, field))) return field;
  }
  return std::nullopt;
}

bool TleLineChecksumOk(const std::string& line) {
  if (line.size() < kTleLineLength) return false;
  int sum = 0;
  for (std::size_t i = 0; i < kTleLineLength - 1; ++i) {
    char c = line[i];
    if (c >= '0' && c <= '9')
      sum += c - '0';
    else if (c == '-')
      sum += 1;
  }
  char check = line[kTleLineLength - 1];
  return check >= '0' && check <= '9' && sum % 10 == check - '0';
}

bool TleEpochValid(const std::string& line1) {
  constexpr std::size_t kFirst = 18, kWidth = 14, kPoint = 5;  // columns 19-32, "." in column 24
  if (line1.size() < kFirst + kWidth) return false;
  for (std::size_t k = 0; k < kWidth; ++k) {
    char c = line1[kFirst + k];
    bool ok = k == kPoint ? c == '.' : (c == ' ' || (c >= '0' && c <= '9'));
    if (!ok) return false;
  }
  double day = TleFieldReal(line1, 21, 12);
  return day >= 1.0 && day < 367.0;
}

bool TleEntryValid(const TTleEntry& entry) {
  const std::string& l1 = entry.line1;
  const std::string& l2 = entry.line2;
  if (!TleLineChecksumOk(l1) || !TleLineChecksumOk(l2)) return false;
  if (l1[0] != '1' || l2[0] != '2') return false;
  if (l1.compare(2, 5, l2, 2, 5) != 0) return false;
  if (!CharAt(l1, 24, '.') || !CharAt(l1, 35, '.') || l1.compare(61, 3, " 0 ") != 0) return false;
  for (std::size_t column : {12u, 21u, 38u, 47u, 55u})
    if (!CharAt(l2, column, '.')) return false;
  return TleEpochValid(l1) && !TleNonFiniteField(entry);
}

std::uint16_t LoadTleFile(const std::string& fileName, bool showErrors) {
  std::error_code ignored;
  std::ifstream in;
  if (!std::filesystem::is_directory(fileName, ignored)) in.open(fileName, std::ios::binary);
  std::uint16_t count = 0;
  bool readFailed = !in.is_open();
  if (!readFailed) {
    // A byte-order mark of a UTF-8 file is not part of the first name.
    if (in.peek() == 0xEF) {
      char mark[3] = {};
      in.read(mark, 3);
      if (!(static_cast<unsigned char>(mark[1]) == 0xBB && static_cast<unsigned char>(mark[2]) == 0xBF)) {
        in.clear();
        in.seekg(0);
      }
    }
    while (count < kSatelliteSlots) {
      std::uint16_t slot = static_cast<std::uint16_t>(count + 1);
      bool read = ReadTleEntry(in, slot);
      if (in.bad()) {
        readFailed = true;
        break;
      }
      if (!read) break;
      if (TleEntryValid(SatelliteTable[slot])) count = slot;
    }
  }

  // Nothing of an earlier, longer file may stay behind the new sets.
  for (int slot = count + 1; slot <= kSatelliteSlots; ++slot) {
    SatelliteTable[slot] = TTleEntry{};
    SatelliteNames[slot].clear();
  }
  if (CurrentSatelliteNumber > count || CurrentSatelliteNumber < 1) CurrentSatelliteNumber = count > 0 ? count : 1;

  if (showErrors && readFailed) {
    ShowMessage("Die Datei \"" + fileName + "\" kann nicht gelesen werden.",
                "The file \"" + fileName + "\" cannot be read.", MessageIcon::Error, MessageButtons::Ok,
                ByLanguage("Keine gültige *.tle-Datei", "No valid *.tle file"));
  } else if (showErrors && count == 0) {
    ShowMessage("Das Dateiformat der *.tle-Datei ist vermutlich fehlerhaft",
                "The format of the *.tle file ist probably wrong.", MessageIcon::Error, MessageButtons::Ok,
                ByLanguage("Keine gültige *.tle-Datei", "No valid *.tle file"));
  }
  return count;
}

TTleEntry BuiltInMirEntry() {
  return {"1 16609U 86017A   01060.50000000  .00045000  00000-0  38000-3 0  9900",
          "2 16609  51.6350 164.2700 0006300 322.4000  37.6400 15.69300000 86024"};
}

void LoadSatelliteFileAtStartup(TSatelliteFileState& state, const std::string& dataFolder, bool startUp) {
  state.fileName = dataFolder + "/Satelite.tle";
  if (startUp) CurrentSatelliteNumber = 1;
  state.count = LoadTleFile(state.fileName, false);
  if (state.count == 0) {
    state.count = 1;
    SatelliteTable[1] = BuiltInMirEntry();
    SatelliteNames[1] = "Mir";
    state.fileName = dataFolder + "/*.tle";
  }
}

}  // namespace kvx
