#include "app/help_place_names.h"

#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/text_encoding.h"
#include "setup/location_list.h"
#include "setup/world_cities.h"

namespace kvx {

namespace {

// The base letters of U+00C0..U+017F ('*' where a letter has none: the
// multiplication and division signs; "ß" and the ligatures are handled
// apart).
constexpr std::string_view kBaseLetters =
    "aaaaaaaceeeeiiiidnooooo*ouuuuyts"   // U+00C0..U+00DF
    "aaaaaaaceeeeiiiidnooooo*ouuuuyty"   // U+00E0..U+00FF
    "aaaaaaccccccccddddeeeeeeeeeegggg"   // U+0100..U+011F
    "gggghhhhiiiiiiiiiiiijjkkklllllll"   // U+0120..U+013F
    "lllnnnnnnnnnoooooooorrrrrrssssss"   // U+0140..U+015F
    "ssttttttuuuuuuuuuuuuwwyyyzzzzzzs";  // U+0160..U+017F
static_assert(kBaseLetters.size() == 0x180 - 0xC0);

using TNameSet = std::unordered_set<std::string>;

struct TPlaceNames {
  std::string DataFolder;
  std::function<std::string()> LocationFile;
  bool CitiesRead = false;
  TNameSet Cities;
  std::string PlacesFile;  // the location file whose places are held
  bool PlacesRead = false;
  TNameSet Places;

  void ReadCities() {
    CitiesRead = true;
    TCityFile file;
    if (!file.Open(DataFolder + "/" + kCitiesFileName)) return;
    for (std::int64_t n = 1; n <= file.Count(); ++n) Cities.insert(PlaceNameKey(Cp1252ToUtf8(file.Name(n))));
  }
  void ReadPlaces(const std::string& fileName) {
    PlacesRead = true;
    PlacesFile = fileName;
    Places.clear();
    std::vector<std::string> lines;
    if (fileName.empty() || !ReadTextFileLines(fileName, lines)) return;
    for (const std::string& line : lines) {
      std::string name;
      TOrtdatens place;
      if (ParseLocationLine(line, name, place)) Places.insert(PlaceNameKey(name));
    }
  }
  bool Holds(const std::string& word) {
    if (!CitiesRead) ReadCities();
    const std::string file = LocationFile ? LocationFile() : std::string();
    if (!PlacesRead || file != PlacesFile) ReadPlaces(file);
    const std::string key = PlaceNameKey(word);
    return !key.empty() && (Cities.count(key) != 0 || Places.count(key) != 0);
  }
};

}  // namespace

std::string PlaceNameKey(std::string_view utf8) {
  const std::string lower = LowerCaseLatinText(utf8);
  std::string key;
  key.reserve(lower.size());
  for (std::size_t at = 0; at < lower.size(); ++at) {
    const auto c = static_cast<unsigned char>(lower[at]);
    if (c < 0xC3 || c > 0xC5 || at + 1 >= lower.size()) {
      key += lower[at];
      continue;
    }
    const unsigned point = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(lower[at + 1]) & 0x3Fu);
    if (point < 0xC0 || point > 0x17F) {
      key += lower.substr(at, 2);
    } else if (point == 0xDF) {
      key += "ss";
    } else if (point == 0xC6 || point == 0xE6) {
      key += "ae";
    } else if (point == 0x152 || point == 0x153) {
      key += "oe";
    } else if (const char base = kBaseLetters[point - 0xC0]; base == '*') {
      key += lower.substr(at, 2);
    } else {
      key += base;
    }
    ++at;
  }
  return key;
}

THelpPlaceNames HelpPlaceNames(std::string dataFolder, std::function<std::string()> locationFile) {
  auto names = std::make_shared<TPlaceNames>();
  names->DataFolder = std::move(dataFolder);
  names->LocationFile = std::move(locationFile);
  return [names](const std::string& word) { return names->Holds(word); };
}

}  // namespace kvx
