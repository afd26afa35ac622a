#include "catalogues/data_file_kinds.h"

#include <sys/stat.h>

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
       "Planetoiden (*.csv)|*.csv|Planetoiden (binär, *.opl)|*.opl|ASTORB/MPCORB-Database (*.dat)|*.dat|MPC Format "
       "(*.txt)|*.txt|SkyMap (*.sky)|*.sky|SkyMap (*.cat)|*.cat",
       "Asteroids (*.csv)|*.csv|Asteroids (binary, *.opl)|*.opl|ASTORB/MPCORB database (*.dat)|*.dat|MPC Format "
       "(*.txt)|*.txt|SkyMap (*.sky)|*.sky|SkyMap (*.cat)|*.cat",
       "csv",
       {":BAHNELEMENTE PLANETOIDEN VAMUR"},
       ":a;e;i;node;per;m;n;equinox;epoch;h;g",
       "Datei mit Bahnelementen für Planetoiden öffnen",
       "Open file with orbital elements for asteroids",
       "Datei mit Bahnelementen für Planetoiden",
       "File with orbital elements for asteroids",
       9502},
      {"kometen",
       "Kometen (*.csv)|*.csv|Kometen (binär, *.oko)|*.oko|Guide 6.0-Format (*.dat)|*.dat|Kometen (SkyMap)|*.sky|"
       "SkyMap (*.cat)|*.cat|Kometen MPC (*.txt)|*.txt",
       "Comets(*.csv)|*.csv|Comets (binary, *.oko)|*.oko|Guide 6.0 format (*.dat)|*.dat|SkyMap (*.sky)|*.sky|SkyMap "
       "(*.cat)|*.cat|Comets MPC (*.txt)|*.txt",
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
  for (const char* unread : {".OPL", ".OKO", ".SKY", ".CAT", ".DAT", ".TXT"}) {
    if (ext == unread) return true;
  }
  if ((kind.Keyword == "planetoiden" || kind.Keyword == "kometen") && ext == ".CSV") return true;
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
