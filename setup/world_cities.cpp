#include "setup/world_cities.h"

#include <cmath>
#include <cstring>

#include "platform/text_encoding.h"

namespace kvx {

namespace {

// Matches one pattern element (not "*") at `p` against byte `c`; `next` is
// the position after the element. False also for a malformed set, in which
// case `malformed` is set.
bool MatchElement(std::string_view pattern, std::size_t p, std::uint8_t c, std::size_t& next, bool& malformed) {
  const char head = pattern[p];
  if (head == '?') {
    next = p + 1;
    return true;
  }
  if (head != '[') {
    next = p + 1;
    return static_cast<std::uint8_t>(head) == c;
  }
  std::size_t q = p + 1;
  if (q >= pattern.size() || pattern[q] == '[' || pattern[q] == ']') {
    malformed = true;
    return false;
  }
  bool negate = false;
  if (pattern[q] == '^') {
    negate = true;
    ++q;
  }
  bool found = false;
  bool closed = false;
  while (q < pattern.size()) {
    if (pattern[q] == ']') {
      closed = true;
      ++q;
      break;
    }
    const auto low = static_cast<std::uint8_t>(pattern[q]);
    if (q + 2 < pattern.size() && pattern[q + 1] == '-' && pattern[q + 2] != ']') {
      const auto high = static_cast<std::uint8_t>(pattern[q + 2]);
      if (c >= low && c <= high) found = true;
      q += 3;
    } else {
      if (c == low) found = true;
      ++q;
    }
  }
  if (!closed) {
    malformed = true;
    return false;
  }
  next = q;
  return found != negate;
}

}  // namespace

bool tcitieobj::Usable() const {
  return std::isfinite(Longitude) && std::isfinite(Latitude) && std::fabs(Longitude) <= 180.0f &&
         std::fabs(Latitude) <= 90.0f;
}

std::uint8_t FoldCase1252(std::uint8_t c) {
  if (c >= 'A' && c <= 'Z') return static_cast<std::uint8_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<std::uint8_t>(c + 32);
  switch (c) {
    case 0x8A:
      return 0x9A;  // Š
    case 0x8C:
      return 0x9C;  // Œ
    case 0x8E:
      return 0x9E;  // Ž
    case 0x9F:
      return 0xFF;  // Ÿ
    default:
      return c;
  }
}

std::string FoldCase1252(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = static_cast<char>(FoldCase1252(static_cast<std::uint8_t>(c)));
  return folded;
}

int CityGroup(std::uint8_t foldedFirstByte) {
  const int group = static_cast<int>(foldedFirstByte) - 'a' + 1;
  return group < 0 ? 0 : (group > 26 ? 26 : group);
}

bool MatchesWildcard(std::string_view text, std::string_view pattern) {
  std::size_t t = 0, p = 0;
  std::size_t starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      while (p < pattern.size() && pattern[p] == '*') ++p;
      if (p == pattern.size()) return true;  // a trailing "*" takes the rest
      starP = p;
      starT = t;
      continue;
    }
    std::size_t next = 0;
    bool malformed = false;
    if (p < pattern.size() && MatchElement(pattern, p, static_cast<std::uint8_t>(text[t]), next, malformed)) {
      p = next;
      ++t;
      continue;
    }
    if (malformed || starP == std::string_view::npos) return false;
    p = starP;  // let the last "*" take one more character
    t = ++starT;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool ParseCityIndex(const std::string& text, std::int64_t recordCount, TCityIndex& index) {
  TCityIndex parsed{};
  std::size_t found = 0;
  for (const std::string& line : SplitTextLines(text)) {
    if (found == parsed.size()) break;
    std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos) continue;
    const std::size_t end = line.find_last_not_of(" \t") + 1;
    const std::string number = line.substr(start, end - start);
    char* stop = nullptr;
    const long long value = std::strtoll(number.c_str(), &stop, 10);
    if (stop != number.c_str() + number.size() || value < 0 || value > INT32_MAX) return false;
    parsed[found++] = static_cast<std::int32_t>(value);
  }
  if (found != parsed.size() || parsed.front() != 1 || parsed.back() != recordCount + 1) return false;
  for (std::size_t g = 1; g < parsed.size(); ++g) {
    if (parsed[g] < parsed[g - 1]) return false;
  }
  index = parsed;
  return true;
}

bool TCityFile::Open(const std::string& path) {
  std::string error;
  std::string bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  bytes_ = std::move(bytes);
  return true;
}

std::string_view TCityFile::Name(std::int64_t n) const {
  const char* record = bytes_.data() + (n - 1) * kCityRecordSize;
  std::size_t length = static_cast<std::uint8_t>(record[8]);
  if (length > kCityNameLength) length = kCityNameLength;
  return {record + 9, length};
}

tcitieobj TCityFile::Record(std::int64_t n) const {
  tcitieobj city;
  const char* record = bytes_.data() + (n - 1) * kCityRecordSize;
  std::uint32_t bits = 0;
  const auto f32 = [&](std::size_t offset) {
    bits = 0;
    for (int b = 3; b >= 0; --b) bits = (bits << 8) | static_cast<std::uint8_t>(record[offset + b]);
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
  };
  city.Longitude = f32(0);
  city.Latitude = f32(4);
  city.Name = std::string(Name(n));
  return city;
}

int EstimatedZone(double longitude) {
  const int hours = static_cast<int>(std::trunc((std::fabs(longitude) + 7.5) / 15.0));
  return longitude > 0 ? -hours : (longitude < 0 ? hours : 0);
}

TCitySearchResult SearchCities(const TCityFile& file, const TCityIndex& index, const std::string& typed,
                               int fullSearchLength, const std::function<void()>& pump, std::atomic<bool>* stop) {
  TCitySearchResult result;
  const std::string text = FoldCase1252(Utf8ToCp1252(typed));
  if (text.empty()) return result;
  result.Full = static_cast<int>(text.size()) >= fullSearchLength;
  const bool pattern = text.find_first_of("*?") != std::string::npos;
  const int group = CityGroup(static_cast<std::uint8_t>(text[0]));
  const std::int64_t first = index[group];
  const std::int64_t end = std::min<std::int64_t>(index[group + 1], file.Count() + 1);
  std::string name;
  for (std::int64_t n = first; n < end; ++n) {
    if (((n - first) & 1023) == 1023) {
      if (pump) pump();
      if (stop != nullptr && stop->exchange(false)) {
        result.Stopped = true;
        break;
      }
    }
    name = FoldCase1252(file.Name(n));
    const bool hit = pattern ? MatchesWildcard(name, text) : name.compare(0, text.size(), text) == 0;
    if (!hit) continue;
    if (!result.Full) {
      result.JumpTo = n;
      break;
    }
    result.Matches.push_back(n);
  }
  return result;
}

std::string CitySearchHelpText(bool english) {
  if (english) {
    return "\"Borken\" finds all locations with the first characters <borken>.\n"
           "\"Borken*\" does the same.\n"
           "\"Borke?\" finds <borken> and <borkel> but not <borkenes>.\n"
           "\"B?rken\" finds <birken> but not <birkenau>.\n"
           "\"B?rken*\" finds also <birkenau>.\n"
           "\"The first character may not be * or ?.\n"
           "There ist no difference between upper or lower case,\n"
           "for instance \"Borken\" gives the same result like \"borken\".";
  }
  return "\"Borken\" findet alle Orte mit den ersten Zeichen <borken>.\n"
         "\"Borken*\" findet das gleiche.\n"
         "\"Borke?\" findet <borken> und <borkel> aber nicht <borkenes>.\n"
         "\"B?rken\" findet auch <birken> aber nicht <birkenau>.\n"
         "\"B?rken*\" findet auch <birkenau>.\n"
         "\"Das erste Zeichen darf kein * oder ? sein.\n"
         "Groß- und Kleinschreibung wird nicht unterschieden,\n"
         "\"Borken\" und \"borken\" ergeben gleiche Resultate";
}

}  // namespace kvx
