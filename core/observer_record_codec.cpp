// Byte image of TObserverRecord: 736 bytes, little-endian, integers and
// doubles aligned to 4 bytes, the place name as a short string (length byte
// and 255 bytes of room). Read and written field by field.
#include <cmath>

#include "core/little_endian.h"
#include "core/observer_record.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/text_encoding.h"

namespace kvx {
namespace {

class Writer {
 public:
  explicit Writer(std::span<std::uint8_t, kObserverRecordSize> out) : out_(out) {}
  void I32(std::int32_t v) {
    little_endian::PutI32(&out_[pos_], v);
    pos_ += 4;
  }
  void F64(double v) {
    little_endian::PutF64(&out_[pos_], v);
    pos_ += 8;
  }
  void U8(std::uint8_t v) { out_[pos_++] = v; }
  template <std::size_t N>
  void Raw(const std::array<std::uint8_t, N>& bytes) {
    for (std::uint8_t b : bytes) out_[pos_++] = b;
  }
  void ShortString255(const std::string& utf8) {
    std::string stored = Utf8ToCp1252(utf8);
    if (stored.size() > 255) stored.resize(255);
    out_[pos_++] = static_cast<std::uint8_t>(stored.size());
    for (std::size_t k = 0; k < 255; ++k) {
      out_[pos_++] = k < stored.size() ? static_cast<std::uint8_t>(stored[k]) : 0;
    }
  }

 private:
  std::span<std::uint8_t, kObserverRecordSize> out_;
  std::size_t pos_ = 0;
};

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t, kObserverRecordSize> in) : in_(in) {}
  std::int32_t I32() {
    const std::int32_t v = little_endian::GetI32(&in_[pos_]);
    pos_ += 4;
    return v;
  }
  double F64() {
    const double v = little_endian::GetF64(&in_[pos_]);
    pos_ += 8;
    return v;
  }
  std::uint8_t U8() { return in_[pos_++]; }
  template <std::size_t N>
  void Raw(std::array<std::uint8_t, N>& bytes) {
    for (std::uint8_t& b : bytes) b = in_[pos_++];
  }
  std::string ShortString255() {
    const std::size_t length = in_[pos_];
    std::string text =
        Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(&in_[pos_ + 1]), length));
    pos_ += 256;
    return text;
  }

 private:
  std::span<const std::uint8_t, kObserverRecordSize> in_;
  std::size_t pos_ = 0;
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
  for (double v : {r.SunLongitude, r.SunLatitude, r.SunDistance, r.SunX, r.SunY, r.SunZ, r.SunVX, r.SunVY,
                   r.SunVZ, r.SunX1h, r.SunY1h, r.SunZ1h, r.SunApparentRA, r.SunApparentDec, r.EarthVX,
                   r.EarthVY, r.EarthVZ, r.Obliquity, r.SinObliquity, r.CosObliquity, r.SinLatitude,
                   r.CosLatitude}) {
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
  for (double* v : {&r.LocalHours, &r.UTHours, &r.Mjd, &r.Centuries, &r.DeltaTSeconds, &r.Longitude,
                    &r.Latitude, &r.SiderealHours, &r.PeriodHours}) {
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
  for (double* v : {&r.Pressure, &r.Temperature, &r.GeocentricLatitude, &r.GeocentricRadius}) *v = rd.F64();
  rd.Raw(r.UnusedAfterRadius);
  for (double* v : {&r.SunLongitude, &r.SunLatitude, &r.SunDistance, &r.SunX, &r.SunY, &r.SunZ, &r.SunVX,
                    &r.SunVY, &r.SunVZ, &r.SunX1h, &r.SunY1h, &r.SunZ1h, &r.SunApparentRA, &r.SunApparentDec,
                    &r.EarthVX, &r.EarthVY, &r.EarthVZ, &r.Obliquity, &r.SinObliquity, &r.CosObliquity,
                    &r.SinLatitude, &r.CosLatitude}) {
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
  if (r.Zone < -12 || r.Zone > 12 || r.ZoneMinutes < -60 || r.ZoneMinutes > 60 || r.DaylightHours < -2 ||
      r.DaylightHours > 2) {
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
