// Byte image of TObserverRecord: 736 bytes, little-endian, integers and
// doubles aligned to 4 bytes, the place name as a short string (length byte
// and 255 bytes of room). Read and written field by field.
#include <cmath>

#include "core/binary_fields.h"
#include "core/observer_record.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"

namespace kvx {
namespace {

// The shared field walkers, with the record's own names for its raw blocks.
class Writer : public FieldWriter {
 public:
  using FieldWriter::FieldWriter;
  template <std::size_t N>
  void Raw(const std::array<std::uint8_t, N>& bytes) {
    Bytes(bytes);
  }
  void ShortString255(const std::string& utf8) { ShortString(255, utf8); }
};

class Reader : public FieldReader {
 public:
  using FieldReader::FieldReader;
  template <std::size_t N>
  void Raw(std::array<std::uint8_t, N>& bytes) {
    Bytes(bytes);
  }
  std::string ShortString255() { return ShortString(255); }
};

void Write(Writer& w, const TObserverRecord& r) {
  w.I32(r.Day);
  w.I32(r.Month);
  w.I32(r.Year);
  w.I32(r.Weekday);
  w.I32(r.PeriodDays);
  for (double v : {r.LocalHours, r.UTHours, r.Mjd, r.Centuries, r.DeltaTSeconds, r.Longitude, r.Latitude,
                   r.SiderealHours, r.PeriodHours}) {
    w.F64(v);
  }
  w.I32(r.DaylightHours);
  w.ShortString255(r.PlaceName);
  w.U8(r.AutoDeltaT);
  w.U8(r.RefractionOn);
  w.Raw(r.AlignmentBytes);
  w.I32(r.Zone);
  w.I32(r.Height);
  w.I32(r.ZoneMinutes);
  for (double v : {r.Pressure, r.Temperature, r.GeocentricLatitude, r.GeocentricRadius}) w.F64(v);
  w.Raw(r.UnusedAfterRadius);
  for (double v : {r.SunLongitude,  r.SunLatitude,    r.SunDistance, r.SunX,       r.SunY,    r.SunZ,
                   r.SunVX,         r.SunVY,          r.SunVZ,       r.SunX1h,     r.SunY1h,  r.SunZ1h,
                   r.SunApparentRA, r.SunApparentDec, r.EarthVX,     r.EarthVY,    r.EarthVZ, r.Obliquity,
                   r.SinObliquity,  r.CosObliquity,   r.SinLatitude, r.CosLatitude}) {
    w.F64(v);
  }
  for (const auto& row : r.Precession.m) {
    for (double v : row) w.F64(v);
  }
  w.I32(r.DerivedYear);
  w.F64(r.DerivedLatitude);
  w.Raw(r.TrailingBytes);
}

void Read(Reader& rd, TObserverRecord& r) {
  r.Day = rd.I32();
  r.Month = rd.I32();
  r.Year = rd.I32();
  r.Weekday = rd.I32();
  r.PeriodDays = rd.I32();
  for (double* v : {&r.LocalHours, &r.UTHours, &r.Mjd, &r.Centuries, &r.DeltaTSeconds, &r.Longitude, &r.Latitude,
                    &r.SiderealHours, &r.PeriodHours}) {
    *v = rd.F64();
  }
  r.DaylightHours = rd.I32();
  r.PlaceName = rd.ShortString255();
  r.AutoDeltaT = rd.U8();
  r.RefractionOn = rd.U8();
  rd.Raw(r.AlignmentBytes);
  r.Zone = rd.I32();
  r.Height = rd.I32();
  r.ZoneMinutes = rd.I32();
  FoldZoneHours(r.Zone, r.ZoneMinutes);
  for (double* v : {&r.Pressure, &r.Temperature, &r.GeocentricLatitude, &r.GeocentricRadius}) *v = rd.F64();
  rd.Raw(r.UnusedAfterRadius);
  for (double* v : {&r.SunLongitude,  &r.SunLatitude,    &r.SunDistance, &r.SunX,       &r.SunY,    &r.SunZ,
                    &r.SunVX,         &r.SunVY,          &r.SunVZ,       &r.SunX1h,     &r.SunY1h,  &r.SunZ1h,
                    &r.SunApparentRA, &r.SunApparentDec, &r.EarthVX,     &r.EarthVY,    &r.EarthVZ, &r.Obliquity,
                    &r.SinObliquity,  &r.CosObliquity,   &r.SinLatitude, &r.CosLatitude}) {
    *v = rd.F64();
  }
  for (auto& row : r.Precession.m) {
    for (double& v : row) v = rd.F64();
  }
  r.DerivedYear = rd.I32();
  r.DerivedLatitude = rd.F64();
  rd.Raw(r.TrailingBytes);
}

}  // namespace

void EncodeObserverRecord(const TObserverRecord& r, std::span<std::uint8_t, kObserverRecordSize> out) {
  Writer w(out);
  Write(w, r);
}

TObserverRecordBytes EncodeObserverRecord(const TObserverRecord& r) {
  TObserverRecordBytes bytes{};
  EncodeObserverRecord(r, std::span<std::uint8_t, kObserverRecordSize>(bytes));
  return bytes;
}

TObserverRecord DecodeObserverRecord(std::span<const std::uint8_t, kObserverRecordSize> in) {
  Reader rd(in);
  TObserverRecord r;
  Read(rd, r);
  return r;
}

namespace {

bool Within(double x, double limit) { return std::isfinite(x) && std::fabs(x) <= limit; }

std::string BadField(const char* field) {
  return std::string(ByLanguage("Der gespeicherte Beobachterdatensatz ist ungültig (Feld ",
                                "The stored observer record is invalid (field ")) +
         field + ").";
}

}  // namespace

std::string ObserverRecordProblem(const TObserverRecord& r) {
  if (r.Year <= -kDateYearLimit || r.Year >= kDateYearLimit || !IsCalendarDate(r.Day, r.Month, r.Year)) {
    return BadField(ByLanguage("Datum", "date"));
  }
  if (r.Weekday < 0 || r.Weekday > 6) return BadField(ByLanguage("Wochentag", "weekday"));
  if (!Within(r.LocalHours, 48.0)) return BadField(ByLanguage("Ortszeit", "local time"));
  if (!Within(r.UTHours, 48.0)) return BadField(ByLanguage("Weltzeit", "Universal Time"));
  if (!MjdInDateRange(r.Mjd)) return BadField("MJD");
  if (!Within(r.Centuries, 400.0)) return BadField("T");
  if (!Within(r.DeltaTSeconds, 1.0e8)) return BadField("Delta T");
  if (!Within(r.SiderealHours, 48.0)) return BadField(ByLanguage("Sternzeit", "sidereal time"));
  if (!Within(r.PeriodHours, 1.0e6)) return BadField(ByLanguage("Zeitraum", "period"));
  if (r.Zone < -kMostZoneHours || r.Zone > kMostZoneHours || r.ZoneMinutes < -kMostZoneMinutes ||
      r.ZoneMinutes > kMostZoneMinutes || r.DaylightHours < -2 || r.DaylightHours > 2) {
    return BadField(ByLanguage("Zeitzone", "time zone"));
  }
  if (!Within(r.Longitude, 360.0)) return BadField(ByLanguage("geographische Länge", "longitude"));
  if (!Within(r.Latitude, 90.0)) return BadField(ByLanguage("geographische Breite", "latitude"));
  return {};
}

bool ReadObserverRecord(std::span<const std::uint8_t> bytes, TObserverRecord& r, std::string& problem) {
  if (bytes.size() < kObserverRecordSize) {
    problem = ByLanguage("Der gespeicherte Beobachterdatensatz ist unvollständig.",
                         "The stored observer record is incomplete.");
    return false;
  }
  TObserverRecord read = DecodeObserverRecord(bytes.first<kObserverRecordSize>());
  problem = ObserverRecordProblem(read);
  if (!problem.empty()) return false;
  r = std::move(read);
  return true;
}

}  // namespace kvx
