#include "catalogues/asteroid_selection.h"

#include <array>
#include <cmath>
#include <fstream>

#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/safe_file_write.h"
#include "platform/text_encoding.h"

namespace kvx {

bool ReadSelectionList(const std::string& path, std::vector<std::string>& paths) {
  paths.clear();
  std::vector<std::string> lines;
  if (!ReadTextFileLines(path, lines)) return false;
  for (std::string& line : lines) {
    if (!line.empty()) paths.push_back(std::move(line));
  }
  return true;
}

bool WriteSelectionList(const std::string& path, const std::vector<std::string>& paths, std::string& error) {
  std::string bytes;
  for (const std::string& p : paths) {
    if (p.empty()) continue;
    bytes += p;
    bytes += "\r\n";
  }
  return WriteFileReplacing(path, bytes, error);
}

bool ReadEelHeaderOnly(const std::string& path, TEelHeader& header) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::array<std::uint8_t, kEelHeaderSize> bytes{};
  in.read(reinterpret_cast<char*>(bytes.data()), kEelHeaderSize);
  if (in.gcount() != kEelHeaderSize) return false;
  header = DecodeEelHeader(bytes);
  return true;
}

namespace {

std::string EpochDateText(double jd, const TObserverRecord& observer, TPeriodDateStyle style) {
  TObserverRecord r = observer;
  r.Mjd = jd - 2400000.5;
  UTToLocalTime(r);
  std::string text;
  if (style == TPeriodDateStyle::ObserverDate) {
    ObserverDateText(r, text);
  } else {
    DateToText(r.Day, r.Month, r.Year, text, IntlSeparators.Date);
  }
  return text;
}

}  // namespace

std::string EelCoveredPeriodText(const std::string& path, const TObserverRecord& observer, TPeriodDateStyle style) {
  TEelHeader header;
  if (!ReadEelHeaderOnly(path, header)) return {};
  // A damaged header must not reach the calendar routines.
  if (!MjdInDateRange(header.First - 2400000.5) || !MjdInDateRange(header.Last - 2400000.5)) return {};
  return EpochDateText(header.First, observer, style) + " - " + EpochDateText(header.Last, observer, style) +
         ", Diff.: " + std::to_string(header.Step);
}

int MoveSelectedPaths(std::vector<std::string>& from, const std::vector<bool>& selected, std::vector<std::string>& to) {
  int moved = 0;
  for (std::size_t i = from.size(); i-- > 0;) {
    if (i >= selected.size() || !selected[i]) continue;
    to.push_back(std::move(from[i]));
    from.erase(from.begin() + static_cast<std::ptrdiff_t>(i));
    ++moved;
  }
  return moved;
}

}  // namespace kvx
