#include "catalogues/user_catalogue.h"

#include <cfloat>
#include <cmath>
#include <filesystem>
#include <memory>
#include <system_error>

#include "catalogues/element_lines.h"
#include "core/text_conversion.h"
#include "platform/globals.h"
#include "platform/safe_file_write.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

// The entry's number fields after the name: the proper motions and the
// magnitude blank are 0 (a nebula has no proper motion; an entry that ends
// after its equinox has no magnitude).
constexpr TFormatField kUserCatalogueFields[] = {NumberField("RA", 0),
                                                 NumberField("Dec", 1),
                                                 NumberField("pmRA", 2).BlankGives(0),
                                                 NumberField("pmDec", 3).BlankGives(0),
                                                 NumberField("equinox", 4),
                                                 NumberField("magnitude", 5).BlankGives(0)};

}  // namespace

bool ParseUserCatalogueLine(std::string_view line, std::string& name, std::array<float, 6>& values,
                            const char** field) {
  values.fill(0.0f);
  name.clear();
  if (field != nullptr) *field = nullptr;
  if (line.empty() || line.front() == ':') return false;
  // Seven fields; the last one present takes the rest of the line when
  // there are fewer ";", and the missing ones are blank. Text after the
  // seventh ";" is ignored.
  std::array<std::string_view, 7> fields{};
  std::string_view rest = line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::size_t semicolon = rest.find(';');
    fields[i] = rest.substr(0, semicolon);
    if (semicolon == std::string_view::npos) break;
    rest.remove_prefix(semicolon + 1);
  }
  name = Utf8Prefix(fields[0], 255);
  TFieldReader reader(kUserCatalogueFields);
  for (std::size_t i = 1; i < fields.size(); ++i) {
    double x = 0;
    // A value a 4-byte float cannot hold counts as none.
    if (reader.Read(i - 1, fields[i], x) && std::fabs(x) > static_cast<double>(FLT_MAX)) reader.Refuse(i - 1);
    values[i - 1] = static_cast<float>(x);
  }
  if (reader.Refused() == nullptr) return true;
  values.fill(0.0f);
  if (field != nullptr) *field = reader.Refused();
  return false;
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

bool WriteUserCatalogue(const std::string& fileName, const std::vector<std::string>& lines, TWriteError& error) {
  if (lines.empty() || lines.front() != kUserCatalogueFirstLine) {
    return error.Fail(
        TWriteFailure::Refused,
        ByLanguage("Die erste Zeile eines Katalogs muss lauten: ", "The first line of a catalogue must read ") +
            std::string(kUserCatalogueFirstLine) + ByLanguage("; nichts wurde geschrieben.", "; nothing written."));
  }
  std::string bytes;
  for (const std::string& line : lines) {
    // A line holds no line end of its own: anything after one is dropped.
    bytes += line.substr(0, line.find_first_of("\r\n"));
    bytes += "\r\n";
  }
  return WriteFileReplacing(fileName, bytes, error, THardLinks::Keep);
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
