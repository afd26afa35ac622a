#include "catalogues/user_catalogue.h"

#include <cfloat>
#include <cmath>
#include <filesystem>
#include <memory>
#include <system_error>

#include "core/text_conversion.h"
#include "platform/safe_file_write.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

// The first "," becomes "." and the text is read as a plain number; a value
// a 4-byte float cannot hold counts as unreadable.
bool FieldToFloat(std::string field, float& value) {
  value = 0.0f;
  const std::size_t comma = field.find(',');
  if (comma != std::string::npos) field[comma] = '.';
  double x = 0.0;
  if (!ValReal(field, x) || std::fabs(x) > static_cast<double>(FLT_MAX)) return false;
  value = static_cast<float>(x);
  return true;
}

}  // namespace

bool ParseUserCatalogueLine(std::string_view line, std::string& name, std::array<float, 6>& values,
                            const char** field) {
  static constexpr const char* kFields[] = {"RA", "Dec", "pmRA", "pmDec", "equinox", "magnitude"};
  values.fill(0.0f);
  name.clear();
  if (field != nullptr) *field = nullptr;
  if (line.empty() || line.front() == ':') return false;
  std::array<std::string, 7> fields;
  std::string_view rest = line;
  for (int i = 0; i < 7; ++i) {
    const std::size_t semicolon = rest.find(';');
    if (semicolon == std::string_view::npos) {
      // The field being cut takes the rest; a missing magnitude is a blank,
      // which does not read as a number.
      fields[static_cast<std::size_t>(i)] = std::string(rest);
      for (int j = i + 1; j < 7; ++j) fields[static_cast<std::size_t>(j)].assign(1, ' ');
      break;
    }
    fields[static_cast<std::size_t>(i)] = std::string(rest.substr(0, semicolon));
    rest.remove_prefix(semicolon + 1);
  }
  name = Utf8Prefix(fields[0], 255);
  for (std::size_t i = 1; i < 7; ++i) {
    if (FieldToFloat(fields[i], values[i - 1])) continue;
    if (field != nullptr) *field = kFields[i - 1];
    return false;
  }
  return true;
}

int BuildUserObjects(const std::vector<std::string>& lines, tuserlist& objects, const TUserCatalogueProgress& progress,
                     TSkippedLines* skipped) {
  objects.clear();
  const int count = static_cast<int>(lines.size());
  std::string name;
  std::array<float, 6> v{};
  for (int i = 1; i < count; ++i) {
    if (progress && i % 200 == 0) progress(i, count);
    const char* field = nullptr;
    if (!ParseUserCatalogueLine(lines[static_cast<std::size_t>(i)], name, v, &field)) {
      if (field != nullptr && skipped != nullptr) skipped->Add(i + 1, field);
      continue;
    }
    objects.Add(std::make_unique<tuserobject>(name, v[0], v[1], v[2], v[3], v[4], v[5]));
  }
  return objects.Count();
}

TUserCatalogueStatus ReadUserCatalogue(const std::string& fileName, std::vector<std::string>& lines, tuserlist& objects,
                                       const TUserCatalogueProgress& progress, TSkippedLines* skipped) {
  std::error_code ec;
  if (fileName.empty() || !std::filesystem::is_regular_file(fileName, ec)) return TUserCatalogueStatus::NotFound;
  std::vector<std::string> read;
  if (!ReadTextFileLines(fileName, read)) return TUserCatalogueStatus::NotFound;
  if (read.empty() || read.front() != kUserCatalogueFirstLine) return TUserCatalogueStatus::Foreign;
  lines = std::move(read);
  return BuildUserObjects(lines, objects, progress, skipped) > 0 ? TUserCatalogueStatus::Loaded
                                                                 : TUserCatalogueStatus::NoObjects;
}

std::string UserCatalogueMessage(TUserCatalogueStatus status, const std::string& fileName, bool english) {
  switch (status) {
    case TUserCatalogueStatus::NotFound:
      return english ? "Catalogue " + fileName + " not found" : "Katalog " + fileName + " nicht gefunden";
    case TUserCatalogueStatus::Foreign:
      return english ? "This is no Kandrevoltinex 4.6 catalogue" : "Die ist kein Kandrevoltinex 4.6 Katalog.";
    default:
      return {};
  }
}

bool WriteUserCatalogue(const std::string& fileName, const std::vector<std::string>& lines, std::string& error) {
  if (lines.empty() || lines.front() != kUserCatalogueFirstLine) {
    error = std::string("The first line of a catalogue must read ") + kUserCatalogueFirstLine + "; nothing written.";
    return false;
  }
  std::string bytes;
  for (const std::string& line : lines) {
    // A line holds no line end of its own: anything after one is dropped.
    bytes += line.substr(0, line.find_first_of("\r\n"));
    bytes += "\r\n";
  }
  return WriteFileReplacing(fileName, bytes, error);
}

std::string NewUserCatalogueEntry(bool english) {
  return std::string(english ? "New object" : "Neuer Eintrag") + ";0;0;0;0;2000;0;0;0;0;0;0;0; ;";
}

bool ToggleUserCatalogueLine(std::string& line, int index) {
  if (index <= 0) return false;
  if (!line.empty() && line.front() == ':') {
    line.erase(0, 1);
  } else {
    line.insert(line.begin(), ':');
  }
  return true;
}

}  // namespace kvx
