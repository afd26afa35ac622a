#include "tables/surface_features.h"

#include <algorithm>
#include <cctype>

#include "core/text_conversion.h"
#include "platform/ascii_case.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

void ShowFormatMessage() {
  ShowMessage("Ungültiges Dateiformat (keine Kandrevoltinex 4.6 mit Oberflächenmerkmalen) oder Datei nicht gefunden.",
              "Invalid file format or file not found.", MessageIcon::Error);
}

}  // namespace

int SurfaceFeatureSystem(const std::string& key) {
  const std::string k = AsciiUpper(key);
  if (k == "MARS") return 0;
  if (k == "JUPITER1") return 1;
  if (k == "JUPITER2") return 2;
  if (k == "SATURN1") return 3;
  return 4;
}

int LoadSurfaceFeatureFile(const std::string& fileName, TSurfaceFeatureList& list, bool showMessages) {
  std::vector<std::string> lines;
  const auto refuse = [showMessages] {
    if (showMessages) ShowFormatMessage();
    return 0;
  };
  if (!ReadTextFileLines(fileName, lines) || lines.empty()) return refuse();
  const std::size_t bang = lines[0].find('!');
  if (bang == std::string::npos || lines[0].substr(0, bang) != ":LONGITUDES") return refuse();
  list.clear();
  for (std::size_t i = 1; i < lines.size() && list.size() < kSurfaceFeatureLimit; ++i) {
    const std::string& line = lines[i];
    if (line.empty() || line[0] == ':') continue;
    const std::size_t first = line.find(';');
    if (first == std::string::npos) continue;
    const std::size_t second = line.find(';', first + 1);
    if (second == std::string::npos) continue;
    // A number may end in its point ("19."), but a lone point is none.
    const std::string text = line.substr(first + 1, second - first - 1);
    double longitude = 0;
    if (text.find_first_of("0123456789") == std::string::npos || !StrToFloatDot(text, longitude)) continue;
    TSurfaceFeature f;
    f.Entry.key = line.substr(0, first);
    f.Entry.longitude = longitude;
    f.Name = line.substr(second + 1);
    list.push_back(std::move(f));
  }
  if (list.empty()) return refuse();
  return static_cast<int>(list.size());
}

}  // namespace kvx
