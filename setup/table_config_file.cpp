#include "setup/table_config_file.h"

#include <cmath>
#include <span>

#include "core/binary_fields.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/safe_file_write.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

constexpr std::string_view kMagic = "bQuillox4.5000ConfigFile";
constexpr std::size_t kMagicCapacity = 26;
constexpr std::size_t kEquinoxOffset = 27;
constexpr std::size_t kRecordOffset = 35;
constexpr std::size_t kSiderealOffset = kRecordOffset + kTableConfigRecordSize;
static_assert(kSiderealOffset + 2 == kTableConfigFileSize);

bool MagicMatches(std::string_view bytes) {
  return bytes.size() >= 1 + kMagic.size() && static_cast<std::uint8_t>(bytes[0]) == kMagic.size() &&
         bytes.substr(1, kMagic.size()) == kMagic;
}

void ShowFileProblem(const std::string& german, const std::string& english) {
  ShowMessage(german, english, MessageIcon::Error, MessageButtons::Ok, LanguageEnglish != 0 ? "Error" : "Fehler");
}

bool EquinoxStorable(double year) {
  return std::isfinite(year) && year >= kEarliestEquinoxYear && year <= kLatestEquinoxYear;
}

void ShowBadEquinox(const std::string& path) {
  ShowFileProblem("Das Äquinoktium in der Datei " + path + " liegt nicht zwischen -4000 und 10000.",
                  "The equinox in the file " + path + " does not lie between -4000 and 10000.");
}

}  // namespace

std::string EncodeTableConfigFile(const TTableConfigFile& file) {
  std::string bytes(kTableConfigFileSize, '\0');
  std::span<std::uint8_t> out(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size());
  FieldWriter w(out);
  w.ShortString(kMagicCapacity, kMagic);
  w.F64(file.EquinoxYear);
  EncodeTableConfigRecord(file.Record, out.subspan<kRecordOffset, kTableConfigRecordSize>());
  w.Seek(kSiderealOffset);
  w.U8(file.ApparentSiderealTime != 0 ? 1 : 0);
  w.U8(file.RiseSetAsJulianDate != 0 ? 1 : 0);
  return bytes;
}

TableConfigFileProblem DecodeTableConfigFile(std::string_view bytes, TTableConfigFile& file) {
  if (bytes.size() >= 1 + kMagic.size() && !MagicMatches(bytes)) return TableConfigFileProblem::WrongMagic;
  if (bytes.size() != kTableConfigFileSize) return TableConfigFileProblem::WrongSize;
  std::span<const std::uint8_t> in(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  FieldReader r(in);
  r.Seek(kEquinoxOffset);
  const double equinox = r.F64();
  if (!EquinoxStorable(equinox)) return TableConfigFileProblem::BadEquinox;
  // Contents: used flag bytes and switches 0 or 1, title lengths within room.
  for (std::size_t b = 0; b < kUsedColumnFlagCount; ++b) {
    if (in[kRecordOffset + b] > 1) return TableConfigFileProblem::BadContent;
  }
  for (std::size_t k = 0; k < kColumnTitleCount; ++k) {
    if (in[kRecordOffset + kColumnTitleOffset + k * (kColumnTitleLength + 1)] > kColumnTitleLength) {
      return TableConfigFileProblem::BadContent;
    }
  }
  if (in[kSiderealOffset] > 1 || in[kSiderealOffset + 1] > 1) return TableConfigFileProblem::BadContent;
  TTableConfigFile loaded;
  loaded.EquinoxYear = equinox;
  loaded.Record = DecodeTableConfigRecord(in.subspan<kRecordOffset, kTableConfigRecordSize>());
  r.Seek(kSiderealOffset);
  loaded.ApparentSiderealTime = r.U8();
  loaded.RiseSetAsJulianDate = r.U8();
  file = std::move(loaded);
  return TableConfigFileProblem::None;
}

bool LoadTableConfigFile(const std::string& path, TTableConfigFile& file) {
  std::string bytes;
  std::string error;
  if (!ReadFileBytes(path, bytes, error)) {
    ShowFileProblem("Die Datei " + path + " kann nicht gelesen werden.", "The file " + path + " cannot be read.");
    return false;
  }
  switch (DecodeTableConfigFile(bytes, file)) {
    case TableConfigFileProblem::None:
      return true;
    case TableConfigFileProblem::WrongMagic:
      ShowMessage("Dies ist keine Kandrevoltinex 4.6 Tabellenkonfigurationsdatei!",
                  "This is no Kandrevoltinex 4.6 Configuration file.", MessageIcon::Error, MessageButtons::Ok,
                  LanguageEnglish != 0 ? "Wrong file forma" : "Falsches Dateiformat");
      return false;
    case TableConfigFileProblem::WrongSize:
      ShowFileProblem("Die Datei " + path + " ist keine vollständige Tabellenkonfigurationsdatei (" +
                          std::to_string(bytes.size()) + " statt 22713 Bytes).",
                      "The file " + path + " is not a complete table configuration file (" +
                          std::to_string(bytes.size()) + " instead of 22713 bytes).");
      return false;
    case TableConfigFileProblem::BadEquinox:
      ShowBadEquinox(path);
      return false;
    case TableConfigFileProblem::BadContent:
      ShowFileProblem("Die Datei " + path + " enthält ungültige Werte und wurde nicht geladen.",
                      "The file " + path + " holds invalid values and was not loaded.");
      return false;
  }
  return false;
}

bool SaveTableConfigFile(const std::string& path, const TTableConfigFile& file) {
  // What the reader would refuse is not written.
  if (!EquinoxStorable(file.EquinoxYear)) {
    ShowBadEquinox(path);
    return false;
  }
  if (const int slot = FirstTitleNotHeld(file.Record); slot >= 0) {
    ShowDoesNotFitFormat(ColumnTitleRefusal(file.Record, slot), "*.etd", path);
    return false;
  }
  std::string error;
  if (WriteFileReplacing(path, EncodeTableConfigFile(file), error)) return true;
  ShowFileProblem("Die Datei " + path + " konnte nicht geschrieben werden.",
                  "The file " + path + " could not be written (" + error + ").");
  return false;
}

}  // namespace kvx
