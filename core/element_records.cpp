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

void EncodeCometElementRecord(const TCometElements& e, std::span<std::uint8_t, kCometElementRecordSize> out) {
  FieldWriter w(out);
  for (double v : {e.PerihelionDistance, e.Eccentricity, e.Inclination, e.Node, e.Perihelion, e.Equinox,
                   e.PerihelionTime, e.H, e.G, e.Epoch}) {
    w.F64(v);
  }
  w.ShortString(kElementNameLength, e.Name);
  w.Zeros(kCometElementRecordSize - w.Position());  // padding
}

TCometElementRecordBytes EncodeCometElementRecord(const TCometElements& elements) {
  TCometElementRecordBytes bytes{};
  EncodeCometElementRecord(elements, bytes);
  return bytes;
}

TCometElements DecodeCometElementRecord(std::span<const std::uint8_t, kCometElementRecordSize> in) {
  FieldReader r(in);
  TCometElements e;
  for (double* field : {&e.PerihelionDistance, &e.Eccentricity, &e.Inclination, &e.Node, &e.Perihelion, &e.Equinox,
                        &e.PerihelionTime, &e.H, &e.G, &e.Epoch}) {
    *field = r.F64();
  }
  e.Name = r.ShortString(kElementNameLength);
  return e;
}

static_assert(kAsteroidElementRecordSize == 11 * 8 + 1 + kElementNameLength + 3);
static_assert(kCometElementRecordSize == 10 * 8 + 1 + kElementNameLength + 3);
static_assert(kVariableStarRecordSize == 7 * 8 + 1 + kVariableStarNameLength + 2 + 3);

void EncodeVariableStarRecord(const TVariableStarElements& e, std::span<std::uint8_t, kVariableStarRecordSize> out) {
  FieldWriter w(out);
  for (double v : {e.RA, e.Dec, e.MaxMag, e.MinMag, e.Epoch, e.Period, e.Equinox}) w.F64(v);
  w.ShortString(kVariableStarNameLength, e.Name);   // 56..86
  w.ShortString(1, e.Type);                         // 87..88
  w.Zeros(kVariableStarRecordSize - w.Position());  // padding
}

TVariableStarRecordBytes EncodeVariableStarRecord(const TVariableStarElements& elements) {
  TVariableStarRecordBytes bytes{};
  EncodeVariableStarRecord(elements, bytes);
  return bytes;
}

TVariableStarElements DecodeVariableStarRecord(std::span<const std::uint8_t, kVariableStarRecordSize> in) {
  FieldReader r(in);
  TVariableStarElements e;
  for (double* field : {&e.RA, &e.Dec, &e.MaxMag, &e.MinMag, &e.Epoch, &e.Period, &e.Equinox}) *field = r.F64();
  e.Name = r.ShortString(kVariableStarNameLength);
  e.Type = r.ShortString(1);
  return e;
}

}  // namespace kvx
