#include "events/almanac_options.h"

namespace kvx {

int TAlmanacOptions::SelectedBodies() const {
  int count = 0;
  for (int body = 0; body < kAlmanacBodies; ++body) count += Body(body) ? 1 : 0;
  return count;
}

TAlmanacOptions DecodeAlmanacOptions(std::span<const std::uint8_t> image) {
  TAlmanacOptions options;
  for (std::size_t i = 0; i < kAlmanacFlagCount && i < image.size(); ++i) options.Flags[i] = image[i] != 0 ? 1 : 0;
  return options;
}

TAlmanacOptionsImage EncodeAlmanacOptions(const TAlmanacOptions& options) {
  TAlmanacOptionsImage image{};
  for (std::size_t i = 0; i < kAlmanacFlagCount; ++i) image[i] = options.Flags[i] != 0 ? 1 : 0;
  return image;
}

TAlmanacOptions AllAlmanacOptions() {
  TAlmanacOptions options;
  options.Flags.fill(1);
  return options;
}

std::string TodayOptionsToText(const TAlmanacOptions& options) {
  std::string text;
  text.reserve(kAlmanacFlagCount);
  for (const std::uint8_t flag : options.Flags) text.push_back(flag != 0 ? '1' : '0');
  return text;
}

TAlmanacOptions TodayOptionsFromText(const std::string& text) {
  if (text.size() != kAlmanacFlagCount) return AllAlmanacOptions();
  TAlmanacOptions options;
  for (std::size_t i = 0; i < kAlmanacFlagCount; ++i) {
    if (text[i] < '0' || text[i] > '9') return AllAlmanacOptions();
    options.Flags[i] = text[i] != '0' ? 1 : 0;
  }
  return options;
}

}  // namespace kvx
