#include "catalogues/circular_import.h"

#include <cmath>

#include "core/records.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

[[noreturn]] void Fail(const char* german, const char* english) { throw EmpecFileError(ByLanguage(german, english)); }

[[noreturn]] void FormatError() {
  Fail("Das MPE-Zircular hat ein unbekanntes oder ungültiges Format.",
       "Invalid or unknown format of the MPE circular.");
}

[[noreturn]] void NumberError(const std::string& what, const std::string& text) {
  throw EmpecFileError(std::string(ByLanguage("Das MPE-Zircular hat ein unbekanntes oder ungültiges Format: ",
                                              "Invalid or unknown format of the MPE circular: ")) +
                       "'" + text + "' " + ByLanguage("ist keine Zahl", "is not a number") + " (" + what + ").");
}

std::string Sub(const std::string& s, std::size_t from, std::size_t count = std::string::npos) {
  return from >= s.size() ? std::string() : s.substr(from, count);
}

// A number with blanks removed and its first "." as the decimal mark.
double Number(const std::string& text, const char* what) {
  const std::string clean = RemoveBlanks(text);
  double x = 0;
  if (clean.empty() || !ValReal(clean, x)) NumberError(what, TrimBlanks(text));
  return x;
}

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// The date of an "Epoch" or "T" line after its keyword: year (5 characters),
// a blank, the month (4 characters), the day with its fraction up to "TT";
// a "JD" value on the line gives the Julian day directly.
double DateOfLine(const std::string& rest, const std::string& line, const char* what) {
  const std::size_t jd = line.find("JD");
  if (jd != std::string::npos) return Number(Sub(line, jd + 3, 17), what);
  const double year = Number(Sub(rest, 0, 5), what);
  const int month = MonthFromAbbreviation(Sub(rest, 6, 4));
  if (month == 0) FormatError();
  std::string dayText = Sub(rest, 10);
  const std::size_t tt = dayText.find("TT");
  if (tt == std::string::npos) FormatError();
  dayText.erase(tt);
  const double day = Number(dayText, what);
  if (std::fabs(year) > 30000 || day < 0 || day >= 32) FormatError();
  const double whole = std::floor(day);
  return CalendarDateToJd(static_cast<int>(whole), month, static_cast<int>(year), (day - whole) * 24.0);
}

class LineCursor {
 public:
  explicit LineCursor(const std::vector<std::string>& lines, std::size_t at) : lines_(lines), at_(at) {}
  bool AtEnd() const { return at_ >= lines_.size(); }
  const std::string& Current() const { return lines_[at_]; }
  // The next line; the format message at the end of the file.
  const std::string& Next() {
    ++at_;
    if (AtEnd()) FormatError();
    return lines_[at_];
  }
  const std::string& Previous() const { return lines_[at_ - 1]; }

 private:
  const std::vector<std::string>& lines_;
  std::size_t at_;
};

// 1-based position of `what` in `s` (0 when missing), as the column rules
// below count.
std::size_t Pos(const std::string& s, const char* what) {
  const std::size_t p = s.find(what);
  return p == std::string::npos ? 0 : p + 1;
}

// The elements the asteroid and the comet record both hold: e, the angles
// (degrees) with their equinox (year) and the name (cut to 40 characters).
template <typename TRecord>
void PutSharedElements(TRecord& r, double e, double inclination, double node, double perihelion, double equinox,
                       const std::string& name) {
  r.Eccentricity = e;
  r.Inclination = inclination;
  r.Node = node;
  r.Perihelion = perihelion;
  r.Equinox = equinox;
  r.Name = Utf8Prefix(name, 40);
}

}  // namespace

int MonthFromAbbreviation(const std::string& four) {
  static const char* const kMonths[] = {"Jan.", "Feb.", "Mar.", "Apr.", "May ", "June",
                                        "July", "Aug.", "Sept", "Oct.", "Nov.", "Dec."};
  for (int m = 0; m < 12; ++m) {
    if (four == kMonths[m]) return m + 1;
  }
  // "May" at the end of a trimmed line.
  return four == "May" ? 5 : 0;
}

std::optional<std::size_t> FindOrbitalElementsLine(const std::vector<std::string>& lines, std::size_t from) {
  for (std::size_t k = from; k < lines.size(); ++k) {
    if (Lower(lines[k]).find("orbital elements") != std::string::npos) return k;
  }
  return std::nullopt;
}

std::string StripMarkup(const std::string& line) {
  std::string text;
  text.reserve(line.size());
  for (std::size_t k = 0; k < line.size(); ++k) {
    if (line[k] == '<') {
      const std::size_t close = line.find('>', k);
      if (close != std::string::npos) {
        k = close;
        continue;
      }
    }
    text.push_back(line[k]);
  }
  static const std::pair<const char*, const char*> kEntities[] = {{"&lt;", "<"},  {"&gt;", ">"},   {"&quot;", "\""},
                                                                  {"&#39;", "'"}, {"&nbsp;", " "}, {"&amp;", "&"}};
  for (const auto& [entity, plain] : kEntities) {
    const std::string e(entity);
    for (std::size_t p = text.find(e); p != std::string::npos; p = text.find(e, p + 1))
      text.replace(p, e.size(), plain);
  }
  return text;
}

TCircularElements ImportCircular(const std::vector<std::string>& raw) {
  std::vector<std::string> lines;
  lines.reserve(raw.size());
  for (const std::string& line : raw) lines.push_back(StripMarkup(line));
  const std::optional<std::size_t> start = FindOrbitalElementsLine(lines);
  if (!start) Fail("Dies ist kein MPE-Zirkular mit Bahnelementen.", "This ist no MPE circular with orbital elements.");

  TCircularElements result;
  LineCursor cursor(lines, *start);
  std::string name = TrimBlanks(cursor.Next());
  double epoch = std::nan("");
  // Up to the perihelion time or the epoch.
  cursor.Next();
  while (!StartsWith(cursor.Current(), "T ") && !StartsWith(cursor.Current(), "Epoch")) cursor.Next();
  if (StartsWith(cursor.Current(), "T ")) name = TrimBlanks(cursor.Previous());
  if (StartsWith(cursor.Current(), "Epoch")) {
    epoch = DateOfLine(Sub(cursor.Current(), 5), cursor.Current(), "Epoch");
    cursor.Next();
  }
  std::string line = cursor.Current();
  result.Comet = StartsWith(line, "T");
  double q = 0;
  double meanAnomaly = 0;
  double perihelionTime = 0;
  if (result.Comet) {
    perihelionTime = DateOfLine(Sub(line, 1), line, "T");
    line = cursor.Next();
    q = Number(Sub(line, 2, 14), "q");
  } else {
    meanAnomaly = Number(Sub(line, 1, 14), "M");
  }
  const std::size_t paren = line.find('(');
  if (paren == std::string::npos) FormatError();
  const double equinox = Number(Sub(line, paren + 1, 6), "Equinox");

  // n (asteroids) and the argument of perihelion.
  line = Sub(cursor.Next(), 2);
  std::size_t p = Pos(line, "Peri");
  if (p == 0) p = Pos(line, "Arg.");
  if (p == 0) FormatError();
  double meanMotion = 0;
  if (!result.Comet) meanMotion = Number(Sub(line, 0, p - 2), "n");
  p = Pos(line, "Peri");
  if (p == 0) p = Pos(line, ".lat.");
  if (p == 0) FormatError();
  const double perihelion = Number(Sub(Sub(line, p + 6), 0, 12), "Peri.");

  // a (asteroids) and the node.
  line = Sub(cursor.Next(), 2);
  p = Pos(line, "Node");
  if (p == 0) FormatError();
  double a = 0;
  if (!result.Comet) a = Number(Sub(line, 0, p - 1), "a");
  const double node = Number(Sub(Sub(line, p + 6), 0, 12), "Node");

  // e and the inclination.
  line = Sub(cursor.Next(), 2);
  p = Pos(line, "Incl");
  if (p == 0) FormatError();
  const double e = Number(Sub(line, 0, p - 1), "e");
  const double inclination = Number(Sub(Sub(line, p + 6), 0, 12), "Incl.");

  if (result.Comet) {
    TCometElements& c = result.CometSet;
    PutSharedElements(c, e, inclination, node, perihelion, equinox, name);
    c.PerihelionDistance = q;
    c.PerihelionTime = perihelionTime;
    c.Epoch = std::isnan(epoch) ? perihelionTime : epoch;
    c.H = 0;
    c.G = 0;
    return result;
  }
  if (std::isnan(epoch)) FormatError();
  // H and G.
  line = cursor.Next();
  p = Pos(line, " H ");
  if (p == 0) FormatError();
  const double h = Number(Sub(line, p + 4, 10), "H");
  const std::string rest = Sub(line, p + 15);
  const std::size_t pg = Pos(rest, " G ");
  // G may be left out or blank (0), but a text in its place is no slope.
  double g = 0;
  const std::string gText = pg != 0 ? Sub(rest, pg + 4, 10) : std::string();
  if (!TrimBlanks(gText).empty()) g = Number(gText, "G");
  TAsteroidElements& s = result.Asteroid;
  PutSharedElements(s, e, inclination, node, perihelion, equinox, name);
  s.SemiMajorAxis = a;
  s.MeanAnomaly = meanAnomaly;
  s.MeanMotion = meanMotion;
  s.Epoch = epoch;
  s.H = h;
  s.G = g;
  return result;
}

TCircularElements ImportCircularFile(const std::string& path) {
  std::vector<std::string> lines;
  if (!ReadTextFileLines(path, lines)) {
    throw EmpecFileError(std::string(ByLanguage("Die Datei ", "The file ")) + path +
                         ByLanguage(" kann nicht gelesen werden.", " cannot be read."));
  }
  return ImportCircular(lines);
}

}  // namespace kvx
