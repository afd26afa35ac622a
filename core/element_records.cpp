#include "core/element_records.h"

#include <algorithm>
#include <string>

#include "core/binary_fields.h"
#include "platform/text_encoding.h"

namespace kvx {

std::string ElementRecordName(const std::string& name) { return Utf8Prefix(name, kElementNameLength); }

void EncodeAsteroidElementRecord(const TAsteroidElements& e, std::span<std::uint8_t, kAsteroidElementRecordSize> out) {
  FieldWriter w(out);
  for (double v : {e.SemiMajorAxis, e.Eccentricity, e.Inclination, e.Node, e.Perihelion, e.MeanAnomaly, e.MeanMotion,
                   e.Equinox, e.Epoch, e.H, e.G}) {
    w.F64(v);
  }
  w.ShortString(kElementNameLength, e.Name);
  w.Zeros(kAsteroidElementRecordSize - w.Position());  // padding
}

TAsteroidElementRecordBytes EncodeAsteroidElementRecord(const TAsteroidElements& elements) {
  TAsteroidElementRecordBytes bytes{};
  EncodeAsteroidElementRecord(elements, bytes);
  return bytes;
}

TAsteroidElements DecodeAsteroidElementRecord(std::span<const std::uint8_t, kAsteroidElementRecordSize> in) {
  FieldReader r(in);
  TAsteroidElements e;
  for (double* field : {&e.SemiMajorAxis, &e.Eccentricity, &e.Inclination, &e.Node, &e.Perihelion, &e.MeanAnomaly,
                        &e.MeanMotion, &e.Equinox, &e.Epoch, &e.H, &e.G}) {
    *field = r.F64();
  }
  e.Name = r.ShortString(kElementNameLength);
  return e;
}

}  // namespace kvx
