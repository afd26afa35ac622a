#include "catalogues/data_file_kinds.h"

#include <sys/stat.h>

#include "catalogues/element_file_formats.h"
#include "catalogues/list_messages.h"
#include "catalogues/text_line_reader.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

const std::vector<TDataFileKind>& Kinds() {
  static const std::vector<TDataFileKind> kinds = {
      {"ortebin",
       "Ortdateien|*.oor",
       "Locations|*.oor",
       "oor",
       {":ORTDATEI AD"},
       "",
       "Datei mit geogr. Positionen öffnen",
       "Open file with geogr. coordinates",
       "Binärdatei mit geographischen Koordinaten",
       "Binary file with geogr. coordinates",
       9500},
      {"planetoiden",
       ElementOpenFilter(TElementDialogKind::Asteroid, false),
       ElementOpenFilter(TElementDialogKind::Asteroid, true),
       "csv",
       {":BAHNELEMENTE PLANETOIDEN VAMUR"},
       ":a;e;i;node;per;m;n;equinox;epoch;h;g",
       "Datei mit Bahnelementen für Planetoiden öffnen",
       "Open file with orbital elements for asteroids",
       "Datei mit Bahnelementen für Planetoiden",
       "File with orbital elements for asteroids",
       9502},
      {"kometen",
       ElementOpenFilter(TElementDialogKind::Comet, false),
       ElementOpenFilter(TElementDialogKind::Comet, true),
       "csv",
       {":BAHNELEMENTE KOMETEN VAMUR EXT"},
       ":name;q;e;i;node;per; equinox;tm of per.(jd);epoche (jd);h;g",
       "Datei mit Bahnelementen für Kometen öffnen",
       "Open File with orbital elements for comets",
       "Datei mit Bahnelementen für Kometen",
       "File with orbital elements for comets",
       9504},
      {"variable",
       "Variable (*.csv)|*.csv",
       "Variable stars (*.csv)|*.csv",
       "csv",
       {":ELEMENTE VARIABLE VAMUR"},
       "",
       "Datei mit Veränderlichen Sternen öffnen",
       "Open file with variable stars",
       "Datei mit Veränderlichen Sternen",
       "File with variable stars",
       9504},
      {"konfig",
       "Konfigurationsdateien|*.ocf",
       "Konfigurationsdateien|*.ocf",
       "ocf",
       {},
       "",
       "Konfigurationsdatei öffnen",
       "Open configuration file",
       "Konfigurationsdatei",
       "Configuration file",
       9508},
      // The text location files carry ":ORTDATEI VAMUR!"; older ones ":ORTDATEI AD".
      {"orte",
       "Geogr. Koordinaten|*.csv",
       "Geogr. Coordinates|*.csv",
       "csv",
       {":ORTDATEI AD", ":ORTDATEI VAMUR"},
       "",
       "Datei mit geogr. Positionen öffnen",
       "Open file with geographic coordinates",
       "Datei mit geographischen Koordinaten",
       "File with geographic coordinates",
       9500},
  };
  return kinds;
}

std::string Lower(const std::string& s) {
  std::string out = s;
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

const TDataFileKind& DataFileKindFor(const std::string& keyword) {
  const std::string word = Lower(keyword);
  for (const TDataFileKind& kind : Kinds()) {
    if (kind.Keyword == word) return kind;
  }
  return Kinds().back();
}

bool DataFileAccepted(const TDataFileKind& kind, const std::string& path) {
  if (kind.Keyword == "ortebin") return IsRegularFile(path);
  if (kind.Keyword == "konfig") return true;
  const std::string ext = UpperExtension(path);
  // Element files are left to their list's readers; a ".csv" file is one
  // only for the element lists (the other kinds' files are ".csv" too).
  const bool elementList = kind.Keyword == "planetoiden" || kind.Keyword == "kometen";
  if (IsElementFileExtension(ext) && (elementList || ext != ".CSV")) return true;
  TTextLineReader in;
  std::string line;
  if (!IsRegularFile(path) || !in.Open(path) || !in.Next(line)) return false;
  const std::size_t bang = line.find('!');
  if (bang != std::string::npos) {
    for (const std::string& accepted : kind.AcceptedBeforeBang) {
      if (line.compare(0, bang, accepted) == 0) return true;
    }
  }
  return !kind.AcceptedWholeLine.empty() && line == kind.AcceptedWholeLine;
}

std::vector<std::string> DialogFilters(const std::string& filter) {
  std::vector<std::string> parts, filters;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = filter.find('|', start);
    parts.push_back(filter.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  for (std::size_t k = 0; k + 1 < parts.size(); k += 2) {
    const std::string& text = parts[k];
    const std::string& pattern = parts[k + 1];
    if (text.find("(" + pattern + ")") != std::string::npos) {
      filters.push_back(text);
    } else {
      filters.push_back(text + " (" + pattern + ")");
    }
  }
  return filters;
}

}  // namespace kvx
