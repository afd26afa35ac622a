// Byte image of TObserverRecord: 736 bytes, little-endian, integers and
// doubles aligned to 4 bytes, the place name as a short string (length byte
// and 255 bytes of room). Read and written field by field.
#include <bit>

#include "core/observer_record.h"

namespace kvx {
namespace {

// Code points of the bytes 0x80..0x9F of Windows-1252; the five bytes the
// code page leaves undefined map to the C1 control of the same value, so
// that every byte survives a round trip.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Cp1252ToUtf8(const std::uint8_t* bytes, std::size_t n) {
  std::string out;
  out.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t b = bytes[i];
    if (b >= 0x80 && b < 0xA0) {
      AppendUtf8(out, kCp1252High[b - 0x80]);
    } else {
      AppendUtf8(out, b);
    }
  }
  return out;
}

// One Unicode code point to a Windows-1252 byte ('?' when it has none).
std::uint8_t CodePointToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<std::uint8_t>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] == cp) return static_cast<std::uint8_t>(0x80 + i);
  }
  return '?';
}

// UTF-8 to Windows-1252, at most `room` bytes. Malformed sequences become '?'.
std::string Utf8ToCp1252(const std::string& text, std::size_t room) {
  std::string out;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && out.size() < room) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
      cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1;
      cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2;
      cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3;
      cp = lead & 0x07;
    } else {
      out += '?';
      ++i;
      continue;
    }
    bool ok = i + static_cast<std::size_t>(extra) < n;
    for (int k = 1; ok && k <= extra; ++k) {
      const auto c = static_cast<std::uint8_t>(text[i + static_cast<std::size_t>(k)]);
      if ((c & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (!ok) {
      out += '?';
      ++i;
      continue;
    }
    out += static_cast<char>(CodePointToCp1252(cp));
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

class Writer {
 public:
  explicit Writer(std::span<std::uint8_t, kObserverRecordSize> out) : out_(out) {}
  void I32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int k = 0; k < 4; ++k) out_[pos_++] = static_cast<std::uint8_t>(u >> (8 * k));
  }
  void F64(double v) {
    const auto u = std::bit_cast<std::uint64_t>(v);
    for (int k = 0; k < 8; ++k) out_[pos_++] = static_cast<std::uint8_t>(u >> (8 * k));
  }
  void U8(std::uint8_t v) { out_[pos_++] = v; }
  template <std::size_t N>
  void Raw(const std::array<std::uint8_t, N>& bytes) {
    for (std::uint8_t b : bytes) out_[pos_++] = b;
  }
  void ShortString255(const std::string& utf8) {
    const std::string stored = Utf8ToCp1252(utf8, 255);
    out_[pos_++] = static_cast<std::uint8_t>(stored.size());
    for (std::size_t k = 0; k < 255; ++k) {
      out_[pos_++] = k < stored.size() ? static_cast<std::uint8_t>(stored[k]) : 0;
    }
  }
  std::size_t Position() const { return pos_; }

 private:
  std::span<std::uint8_t, kObserverRecordSize> out_;
  std::size_t pos_ = 0;
};

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t, kObserverRecordSize> in) : in_(in) {}
  std::int32_t I32() {
    std::uint32_t u = 0;
    for (int k = 0; k < 4; ++k) u |= static_cast<std::uint32_t>(in_[pos_++]) << (8 * k);
    return static_cast<std::int32_t>(u);
  }
  double F64() {
    std::uint64_t u = 0;
    for (int k = 0; k < 8; ++k) u |= static_cast<std::uint64_t>(in_[pos_++]) << (8 * k);
    return std::bit_cast<double>(u);
  }
  std::uint8_t U8() { return in_[pos_++]; }
  template <std::size_t N>
  void Raw(std::array<std::uint8_t, N>& bytes) {
    for (std::uint8_t& b : bytes) b = in_[pos_++];
  }
  std::string ShortString255() {
    const std::size_t length = in_[pos_];
    std::string text = Cp1252ToUtf8(&in_[pos_ + 1], length);
    pos_ += 256;
    return text;
  }
  std::size_t Position() const { return pos_; }

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

}  // namespace kvx
