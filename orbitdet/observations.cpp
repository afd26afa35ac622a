#include "orbitdet/observations.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "core/little_endian.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace kvx {

using namespace little_endian;

void AddObservation(TObservationList& list, tobservation obs) {
  obs.JD =
      CalendarDateToJd(static_cast<int>(obs.Day), static_cast<int>(obs.Month), static_cast<int>(obs.Year), obs.Hours);
  obs.T = (obs.JD - 2451545.0) / 36525.0;
  obs.JdTT = obs.JD + DeltaT(obs.JD) / 86400.0;
  std::string key = ShortestNumberText(obs.JD);
  list.push_back(TObservationEntry{std::move(key), std::move(obs)});
}

std::string OrbitStatusText(TOrbitStatus status, bool english) {
  switch (status) {
    case TOrbitStatus::Ok:
      return english ? "OK." : "OK.";
    case TOrbitStatus::TooMany:
      return english ? "Out of memory" : "Datenstruktur zu groß";
    case TOrbitStatus::Singular:
      return english ? "The normal equations of the fit are singular; choose other observations."
                     : "Die Normalgleichungen der Ausgleichung sind singulär; wählen Sie andere Beobachtungen.";
    case TOrbitStatus::NoCurvature:
      return english ? "The observations show no curvature of the apparent path; choose a longer arc."
                     : "Die Beobachtungen zeigen keine Krümmung der scheinbaren Bahn; wählen Sie einen längeren "
                       "Bogen.";
    case TOrbitStatus::IterationFailed:
      return english ? "Iteration failed." : "Iteration konvergierte nicht hinreichend.";
    case TOrbitStatus::NonFinite:
      return english ? "Numerical problems: the computation gave no finite result."
                     : "Numerische Probleme: die Rechnung ergab kein endliches Ergebnis.";
  }
  return {};
}

std::array<std::uint8_t, kOrbDetOptionsSize> EncodeOrbDetOptions(const TOrbDetOptions& o) {
  std::array<std::uint8_t, kOrbDetOptionsSize> bytes{};
  bytes[0] = o.Log;
  bytes[1] = o.ShowObservations;
  bytes[2] = o.Topocentric;
  bytes[3] = o.Method;
  PutF64(bytes.data() + 4, o.JdForM);
  PutF64(bytes.data() + 12, o.ChangeRate);
  return bytes;
}

TOrbDetOptions DecodeOrbDetOptions(std::span<const std::uint8_t, kOrbDetOptionsSize> bytes, double defaultJd) {
  TOrbDetOptions o;
  o.JdForM = defaultJd;
  if (bytes[0] <= 1) o.Log = bytes[0];
  if (bytes[1] <= 1) o.ShowObservations = bytes[1];
  if (bytes[2] <= 1) o.Topocentric = bytes[2];
  if (bytes[3] <= 2) o.Method = bytes[3];
  const double jd = GetF64(bytes.data() + 4);
  // Years -4712 .. 9999.
  if (std::isfinite(jd) && jd >= 0 && jd <= 5373484.5) o.JdForM = jd;
  const double rate = GetF64(bytes.data() + 12);
  if (std::isfinite(rate) && rate > 0 && rate <= 100) o.ChangeRate = rate;
  return o;
}

namespace {

constexpr const char* kStationHeader = "Code  Long.   cos      sin    Name";

std::string Columns(const std::string& line, std::size_t first, std::size_t last) {
  if (line.size() < first) return {};
  return line.substr(first - 1, last - first + 1);
}

// A real from a fixed field: blanks removed, "." as the point, the whole
// field used. Empty gives `blank` true.
bool FieldReal(const std::string& field, double& value, bool& blank) {
  std::string text = RemoveBlanks(field);
  blank = text.empty();
  if (blank) {
    value = 0;
    return true;
  }
  const char* begin = text.data();
  if (*begin == '+') ++begin;
  auto result = std::from_chars(begin, text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size() && std::isfinite(value);
}

bool IsMarkupLine(const std::string& line) {
  std::string t = TrimBlanks(line);
  return !t.empty() && t.front() == '<';
}

}  // namespace

bool ReadStationList(const std::vector<std::string>& lines, std::vector<tstation>& stations, int& skipped,
                     int& firstSkipped) {
  stations.clear();
  skipped = 0;
  firstSkipped = 0;
  std::size_t k = 0;
  while (k < lines.size() && (TrimBlanks(lines[k]).empty() || IsMarkupLine(lines[k]))) ++k;
  if (k >= lines.size()) return false;
  std::string header = lines[k];
  while (!header.empty() && (header.back() == ' ' || header.back() == '\r')) header.pop_back();
  if (header != kStationHeader) return false;
  for (++k; k < lines.size(); ++k) {
    const std::string& line = lines[k];
    if (TrimBlanks(line) == "</pre>") break;
    if (TrimBlanks(line).empty()) continue;
    tstation s;
    s.Code = Columns(line, 1, 3);
    bool blankLon = false, blankCos = false, blankSin = false;
    const bool ok = s.Code.size() == 3 && s.Code.find(' ') == std::string::npos &&
                    FieldReal(Columns(line, 5, 13), s.Longitude, blankLon) &&
                    FieldReal(Columns(line, 14, 21), s.RhoCos, blankCos) &&
                    FieldReal(Columns(line, 22, 30), s.RhoSin, blankSin);
    const bool allBlank = blankLon && blankCos && blankSin;
    const bool someBlank = blankLon || blankCos || blankSin;
    if (!ok || (someBlank && !allBlank) || std::fabs(s.RhoCos) > 1.1 || std::fabs(s.RhoSin) > 1.1 ||
        std::fabs(s.Longitude) > 360) {
      if (skipped++ == 0) firstSkipped = static_cast<int>(k) + 1;
      continue;
    }
    s.HasPlace = !allBlank;
    s.Name = TrimBlanks(Columns(line, 31, 80));
    stations.push_back(std::move(s));
  }
  return true;
}

void torbdet::Create(const std::string& dataFolder, TTheorySelection selection, TObservationList* observations,
                     TTruncationLevel levelA, TTruncationLevel levelB) {
  StationWarning = 1;
  DataFolder = dataFolder;
  if (!DataFolder.empty() && DataFolder.back() != '/') DataFolder += '/';
  Selection = selection;
  observations_ = observations != nullptr ? observations : &own_;
  LevelA = levelA;
  LevelB = levelB;
  Chosen.clear();
  PreviousChoice.clear();
  ObserverList.clear();
  Topocentric = 1;
}

void torbdet::SetOrbDetParameters(TTheorySelection selection, TObservationList* observations, TTruncationLevel levelA,
                                  TTruncationLevel levelB) {
  Selection = selection;
  if (observations != nullptr) observations_ = observations;
  LevelA = levelA;
  LevelB = levelB;
}

void torbdet::SetStations(std::vector<tstation> stations) {
  stations_ = std::move(stations);
  station_index_.clear();
  for (std::size_t k = 0; k < stations_.size(); ++k) station_index_[stations_[k].Code] = k;
  stations_loaded_ = true;
}

void torbdet::LoadStations() {
  std::vector<std::string> lines;
  stations_.clear();
  station_index_.clear();
  stations_loaded_ = false;
  if (!ReadTextFileLines(DataFolder + "stations.txt", lines)) return;
  std::vector<tstation> list;
  int skipped = 0, first = 0;
  if (!ReadStationList(lines, list, skipped, first)) return;
  SetStations(std::move(list));
  if (skipped > 0) {
    TSkippedLinesNote note;
    note.Prefix = "stations.txt: ";
    note.Count = skipped;
    note.FirstLine = first;
    ShowSkippedLinesNote(note);
  }
}

bool torbdet::FindStation(const std::string& code, tstation& station) const {
  station = tstation{};
  station.Code = code;
  station.HasPlace = false;
  if (!stations_loaded_) return false;
  // The index holds the last entry of each code: the last match wins.
  const auto it = station_index_.find(code);
  if (it == station_index_.end()) return false;
  station = stations_[it->second];
  return true;
}

bool torbdet::GetObservationTriple(int first, std::array<TVector3Ext, 3>& sun, std::array<TVector3Ext, 3>& direction,
                                   std::array<double, 3>& jdTT) const {
  const TObservationList& list = *observations_;
  if (first < 0 || static_cast<std::size_t>(first) + 2 >= list.size()) return false;
  for (int k = 0; k < 3; ++k) {
    const tobservation& o = list[static_cast<std::size_t>(first + k)].Obs;
    sun[static_cast<std::size_t>(k)] = o.SunVector;
    direction[static_cast<std::size_t>(k)] = o.Direction;
    jdTT[static_cast<std::size_t>(k)] = o.JdTT;
  }
  return true;
}

}  // namespace kvx
