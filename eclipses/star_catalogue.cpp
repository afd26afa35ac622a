#include "eclipses/star_catalogue.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "core/angle_constants.h"
#include "core/little_endian.h"
#include "core/text_conversion.h"
#include "platform/ascii_case.h"
#include "platform/text_encoding.h"

namespace kvx {

TStarCatalogue::TStarCatalogue(std::uint8_t choice, std::string fileName, std::vector<tsterndatensatz> stars)
    : choice_(choice), file_name_(std::move(fileName)), stars_(std::move(stars)) {
  // Mean obliquity of B1950.0.
  const double sinEps = std::sin(23.4457889 * kDegToRad), cosEps = std::cos(23.4457889 * kDegToRad);
  for (tsterndatensatz& star : stars_) {
    const double ra = static_cast<double>(star.RightAscension) * kDegToRad;
    const double dec = static_cast<double>(star.Declination) * kDegToRad;
    const double s = std::sin(dec) * cosEps - std::cos(dec) * sinEps * std::sin(ra);
    const double beta = std::asin(std::clamp(s, -1.0, 1.0)) / kDegToRad;
    star.EclipticLatitude = std::isfinite(beta) ? static_cast<float>(beta) : 0.0f;
  }
}

namespace le = little_endian;

TOccultationStarRecord DecodeOccultationStarRecord(std::span<const std::uint8_t, kOccultationStarRecordSize> in) {
  TOccultationStarRecord r;
  r.RightAscension = le::GetF32(&in[0]);
  r.Declination = le::GetF32(&in[4]);
  r.ProperMotionRA = le::GetF32(&in[8]);
  r.ProperMotionDec = le::GetF32(&in[12]);
  r.Magnitude100 = le::GetF32(&in[16]);
  r.NameLength = in[20];
  for (std::size_t k = 0; k < kOccultationStarNameBytes; ++k) r.Name[k] = static_cast<char>(in[21 + k]);
  return r;
}

void EncodeOccultationStarRecord(const TOccultationStarRecord& r,
                                 std::span<std::uint8_t, kOccultationStarRecordSize> out) {
  le::PutF32(&out[0], r.RightAscension);
  le::PutF32(&out[4], r.Declination);
  le::PutF32(&out[8], r.ProperMotionRA);
  le::PutF32(&out[12], r.ProperMotionDec);
  le::PutF32(&out[16], r.Magnitude100);
  out[20] = r.NameLength;
  for (std::size_t k = 0; k < kOccultationStarNameBytes; ++k) out[21 + k] = static_cast<std::uint8_t>(r.Name[k]);
}

namespace {

// The usual signed integer conversion: leading blanks, an optional sign,
// at least one digit, nothing after; the value must fit 32 bits.
bool ReadsAsWholeNumber(const std::string& text, long long& value) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  long long v = 0;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    v = v * 10 + (text[i] - '0');
    if (v > 2147483648LL) return false;
  }
  value = negative ? -v : v;
  return value >= -2147483648LL && value <= 2147483647LL;
}

}  // namespace

std::string SaoPrefixName(const std::string& name) {
  long long value = 0;
  if (ReadsAsWholeNumber(name, value) && value != -1) return "SAO " + name;
  return name;
}

std::string FindFileIgnoringCase(const std::string& folder, const std::string& name) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path exact = fs::path(folder) / name;
  if (fs::is_regular_file(exact, error)) return exact.string();
  const std::string wanted = AsciiUpper(name);
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (AsciiUpper(it->path().filename().string()) == wanted && it->is_regular_file(error)) return it->path().string();
  }
  return {};
}

const char* StarCatalogueFileName(std::uint8_t choice) {
  return choice == 1 ? kSmallStarCatalogueFile : kLargeStarCatalogueFile;
}

TStarCatalogueLoad LoadStarCatalogue(const std::string& dataFolder, std::uint8_t choice, std::int32_t& selectedStar,
                                     const std::function<void(int percent)>& progress) {
  TStarCatalogueLoad result;
  const bool small = choice == 1;
  const std::string name = StarCatalogueFileName(choice);
  std::string path = FindFileIgnoringCase(dataFolder, name);
  if (path.empty()) path = (std::filesystem::path(dataFolder) / name).string();
  auto fail = [&](const std::string& german, const std::string& english) {
    result.ErrorGerman = german;
    result.ErrorEnglish = english;
    return result;
  };

  std::ifstream in(path, std::ios::binary);
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (!in || error) {
    return fail("Der Sternkatalog " + path + " kann nicht geöffnet werden.",
                "The star catalogue " + path + " cannot be opened.");
  }
  if (size == 0) {
    return fail("Der Sternkatalog " + path + " ist leer.", "The star catalogue " + path + " is empty.");
  }
  if (size % kOccultationStarRecordSize != 0) {
    return fail("Der Sternkatalog " + path + " ist beschädigt: seine Größe ist kein Vielfaches von 32 Byte.",
                "The star catalogue " + path + " is damaged: its size is not a multiple of 32 bytes.");
  }
  const std::size_t count = size / kOccultationStarRecordSize;
  if (count > 0x7fffffffU) {
    return fail("Der Sternkatalog " + path + " ist zu groß.", "The star catalogue " + path + " is too large.");
  }
  if (selectedStar > static_cast<std::int32_t>(count)) selectedStar = -1;

  std::vector<tsterndatensatz> stars;
  stars.reserve(count);
  std::vector<std::uint8_t> buffer(kOccultationStarRecordSize * 4096);
  std::size_t done = 0;
  while (done < count) {
    const std::size_t chunk = std::min<std::size_t>(count - done, 4096);
    in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(chunk * kOccultationStarRecordSize));
    if (static_cast<std::size_t>(in.gcount()) != chunk * kOccultationStarRecordSize) {
      return fail("Der Sternkatalog " + path + " kann nicht bis zum Ende gelesen werden.",
                  "The star catalogue " + path + " cannot be read to its end.");
    }
    for (std::size_t k = 0; k < chunk; ++k) {
      const auto record = DecodeOccultationStarRecord(std::span<const std::uint8_t, kOccultationStarRecordSize>(
          &buffer[k * kOccultationStarRecordSize], kOccultationStarRecordSize));
      tsterndatensatz star;
      star.RightAscension = record.RightAscension;
      star.Declination = record.Declination;
      star.ProperMotionRA = record.ProperMotionRA;
      star.ProperMotionDec = record.ProperMotionDec;
      star.Magnitude100 = record.Magnitude100;
      star.Usable = std::isfinite(star.RightAscension) && std::isfinite(star.Declination) &&
                    std::isfinite(star.ProperMotionRA) && std::isfinite(star.ProperMotionDec) &&
                    std::isfinite(star.Magnitude100);
      const std::size_t length = std::min<std::size_t>(record.NameLength, kOccultationStarNameBytes);
      std::string text(record.Name.data(), length);
      if (small) {
        text = RemoveBlanks(text);
        if (text.size() > 8) text.resize(8);
      }
      star.Name = SaoPrefixName(Cp1252ToUtf8(text));
      stars.push_back(std::move(star));
      const std::size_t index = done + k + 1;
      if (progress && index % 500 == 0) progress(static_cast<int>(index * 100 / count));
    }
    done += chunk;
  }
  result.Catalogue = std::make_shared<const TStarCatalogue>(small ? 1 : 2, path, std::move(stars));
  return result;
}

}  // namespace kvx
