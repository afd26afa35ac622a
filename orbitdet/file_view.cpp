#include "orbitdet/file_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/element_records.h"
#include "core/text_conversion.h"
#include "orbitdet/observation_files.h"
#include "platform/ascii_case.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

std::string General(double x) {
  if (!std::isfinite(x)) return "?";
  std::string s = SignificantDigitsText(x, 10);
  for (char& c : s)
    if (c == ',') c = '.';
  return s;
}

void Cut(std::string& line) {
  if (line.size() <= kFileViewMaxLineLength) return;
  // Cut at a character boundary.
  std::size_t at = kFileViewMaxLineLength;
  while (at > 0 && (static_cast<unsigned char>(line[at]) & 0xC0) == 0x80) --at;
  line.resize(at);
}

void Push(std::vector<std::string>& lines, std::string line, bool& tooLarge) {
  if (lines.size() >= kFileViewMaxLines) {
    tooLarge = true;
    return;
  }
  Cut(line);
  lines.push_back(std::move(line));
}

// Sexagesimal with `decimals` on the last part, rounded before the split.
std::string Sexagesimal(double value, int decimals, bool sign, int firstWidth, char separator) {
  if (!std::isfinite(value)) return "?";
  const double scale = std::pow(10.0, decimals);
  const bool negative = value < 0;
  const double units = std::round(std::fabs(value) * 3600.0 * scale);
  if (units > 1e15) return "?";
  const auto total = static_cast<long long>(units);
  const long long perMinute = static_cast<long long>(60 * scale);
  const long long perDegree = 60 * perMinute;
  const long long whole = total / perDegree;
  const long long minutes = (total % perDegree) / perMinute;
  const double seconds = static_cast<double>(total % perMinute) / scale;
  // The seconds zero-padded to two digits before the decimal point.
  std::string secondsText = FixedPointText(seconds, decimals);
  const std::size_t secondsWidth = static_cast<std::size_t>(decimals) + 3;
  if (secondsText.size() < secondsWidth) secondsText.insert(0, secondsWidth - secondsText.size(), '0');
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s%0*lld%c%02lld%c", sign ? (negative ? "-" : "+") : "", firstWidth, whole,
                separator, minutes, separator);
  return buffer + secondsText;
}

std::vector<std::string> ObservationLines(const TObservationList& list, bool& tooLarge) {
  std::vector<std::string> lines;
  for (const TObservationEntry& entry : list) Push(lines, ObservationViewLine(entry.Obs), tooLarge);
  return lines;
}

std::string UpperExtension(const std::string& path) {
  return AsciiUpper(std::filesystem::path(path).extension().string()).substr(0, 4);
}

}  // namespace

std::string ObservationViewLine(const tobservation& o) {
  char date[48];
  std::snprintf(date, sizeof date, "%02d.%02d.%04d", static_cast<int>(o.Day), static_cast<int>(o.Month),
                static_cast<int>(o.Year));
  std::string line = date;
  line += "  " + Sexagesimal(o.Hours, 1, false, 2, ':');
  line += "  " + Sexagesimal(o.RA / 15.0, 2, false, 2, ' ');
  line += "  " + Sexagesimal(o.Dec, 1, true, 2, ' ');
  for (double v : {o.Magnitude, o.Longitude, o.RhoCos, o.RhoSin}) line += "  " + General(v);
  line += "  " + o.Code;
  return line;
}

std::vector<std::string> ElementRecordLines(std::string_view bytes, bool comets, bool& tooLarge) {
  std::vector<std::string> lines;
  const std::size_t size = comets ? kCometElementRecordSize : kAsteroidElementRecordSize;
  for (std::size_t at = 0; at + size <= bytes.size(); at += size) {
    if (lines.size() >= kFileViewMaxLines) {
      tooLarge = true;
      break;
    }
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data() + at);
    std::string line;
    if (comets) {
      const TCometElements e =
          DecodeCometElementRecord(std::span<const std::uint8_t, kCometElementRecordSize>(p, size));
      line = e.Name;
      for (double v : {e.PerihelionDistance, e.Eccentricity, e.Inclination, e.Node, e.Perihelion, e.Equinox,
                       e.PerihelionTime, e.H, e.G, e.Epoch})
        line += "  " + General(v);
    } else {
      const TAsteroidElements e =
          DecodeAsteroidElementRecord(std::span<const std::uint8_t, kAsteroidElementRecordSize>(p, size));
      line = e.Name;
      for (double v : {e.SemiMajorAxis, e.Eccentricity, e.Inclination, e.Node, e.Perihelion, e.MeanAnomaly,
                       e.MeanMotion, e.Equinox, e.Epoch, e.H, e.G})
        line += "  " + General(v);
    }
    Push(lines, std::move(line), tooLarge);
  }
  return lines;
}

std::vector<std::string> TextViewLines(std::string_view bytes, bool markup, bool& tooLarge) {
  std::string text = DecodeTextBytes(bytes);
  if (markup) text = RemoveMarkup(text);
  std::vector<std::string> lines;
  std::size_t from = 0;
  while (from < text.size()) {
    if (lines.size() >= kFileViewMaxLines) {
      tooLarge = true;
      break;
    }
    std::size_t end = text.find_first_of("\r\n", from);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(from, std::min(end - from, kFileViewMaxLineLength + 4));
    std::string shown;
    for (char c : line) {
      if (c == '\0')
        shown += "\xC2\xB7";
      else
        shown += c;
    }
    Push(lines, std::move(shown), tooLarge);
    from = end;
    if (from < text.size()) from += text[from] == '\r' && from + 1 < text.size() && text[from + 1] == '\n' ? 2 : 1;
  }
  return lines;
}

TFileView LoadFileView(const std::string& path) {
  TFileView view;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    view.ErrorGerman = "Die Datei " + path + " ist keine lesbare Datei.";
    view.ErrorEnglish = "The file " + path + " is not a readable file.";
    return view;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    view.ErrorGerman = "Die Datei " + path + " kann nicht gelesen werden.";
    view.ErrorEnglish = "The file " + path + " cannot be read.";
    return view;
  }
  const std::string ext = UpperExtension(path);
  const bool records = ext == ".OPL" || ext == ".OKO" || ext == ".OBS";
  // Element records: at most the records shown (plus one, to tell a longer
  // file); text: at most the byte limit.
  std::size_t limit = kFileViewMaxTextBytes + 1;
  if (ext == ".OPL") limit = (kFileViewMaxLines + 1) * kAsteroidElementRecordSize;
  if (ext == ".OKO") limit = (kFileViewMaxLines + 1) * kCometElementRecordSize;
  std::string bytes(limit, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(limit));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (in.bad()) {
    view.ErrorGerman = "Die Datei " + path + " kann nicht gelesen werden.";
    view.ErrorEnglish = "The file " + path + " cannot be read.";
    return view;
  }
  if (!records && bytes.size() > kFileViewMaxTextBytes) {
    bytes.resize(kFileViewMaxTextBytes);
    view.TooLarge = true;
  }
  if (ext == ".OPL" || ext == ".OKO") {
    view.Lines = ElementRecordLines(bytes, ext == ".OKO", view.TooLarge);
  } else if (ext == ".OBS") {
    TObservationList list;
    double equinoxObs = 0, equinoxElements = 0;
    TObservationReadReport report;
    if (!ReadObservationRecords(bytes, list, equinoxObs, equinoxElements, report)) {
      view.ErrorGerman = "Die Datei " + path + " ist keine gültige Beobachtungsdatei.";
      view.ErrorEnglish = "The file " + path + " is no valid observation file.";
      return view;
    }
    view.Lines = ObservationLines(list, view.TooLarge);
  } else {
    const bool markup = ext == ".HTM";
    if (!markup && bytes.starts_with("varbo observations")) {
      TObservationList list;
      double equinoxObs = 0, equinoxElements = 0;
      TObservationReadReport report;
      const std::vector<std::string> lines = SplitTextLines(DecodeTextBytes(bytes));
      if (ReadOwnTextObservations(lines, list, equinoxObs, equinoxElements, report)) {
        view.Lines = ObservationLines(list, view.TooLarge);
        view.Ok = true;
        return view;
      }
    }
    view.Lines = TextViewLines(bytes, markup, view.TooLarge);
  }
  view.Ok = true;
  return view;
}

void ShowFileViewTooLarge() {
  const std::string count = std::to_string(kFileViewMaxLines);
  ShowMessage("Es wurden nur die ersten " + count + " Datensätze eingelesen!",
              "Only the first " + count + " datasets were loaded!", MessageIcon::Information, MessageButtons::Ok,
              ByLanguage("Datei zu groß!", "File too large!"));
}

}  // namespace kvx
