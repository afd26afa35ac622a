#include "core/element_records.h"

#include <algorithm>
#include <string>

#include "core/little_endian.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

constexpr std::size_t kNameLengthOffset = 88;
constexpr std::size_t kNameOffset = 89;

}  // namespace

std::string ElementRecordName(const std::string& name) { return Utf8Prefix(name, kElementNameLength); }

void EncodeAsteroidElementRecord(const TAsteroidElements& e, std::span<std::uint8_t, kAsteroidElementRecordSize> out) {
  using namespace little_endian;
  std::fill(out.begin(), out.end(), std::uint8_t{0});
  const double values[11] = {e.SemiMajorAxis, e.Eccentricity, e.Inclination, e.Node, e.Perihelion, e.MeanAnomaly,
                             e.MeanMotion,    e.Equinox,      e.Epoch,       e.H,    e.G};
  for (std::size_t k = 0; k < 11; ++k) PutF64(out.data() + 8 * k, values[k]);
  std::string name = Utf8ToCp1252(e.Name);
  if (name.size() > kElementNameLength) name.resize(kElementNameLength);
  out[kNameLengthOffset] = static_cast<std::uint8_t>(name.size());
  std::copy(name.begin(), name.end(), out.begin() + kNameOffset);
}

TAsteroidElementRecordBytes EncodeAsteroidElementRecord(const TAsteroidElements& elements) {
  TAsteroidElementRecordBytes bytes{};
  EncodeAsteroidElementRecord(elements, bytes);
  return bytes;
}

TAsteroidElements DecodeAsteroidElementRecord(std::span<const std::uint8_t, kAsteroidElementRecordSize> in) {
  using namespace little_endian;
  TAsteroidElements e;
  double* fields[11] = {&e.SemiMajorAxis, &e.Eccentricity, &e.Inclination, &e.Node, &e.Perihelion, &e.MeanAnomaly,
                        &e.MeanMotion,    &e.Equinox,      &e.Epoch,       &e.H,    &e.G};
  for (std::size_t k = 0; k < 11; ++k) *fields[k] = GetF64(in.data() + 8 * k);
  const std::size_t length = std::min<std::size_t>(in[kNameLengthOffset], kElementNameLength);
  e.Name = Cp1252ToUtf8(std::string(reinterpret_cast<const char*>(in.data() + kNameOffset), length));
  return e;
}

}  // namespace kvx
