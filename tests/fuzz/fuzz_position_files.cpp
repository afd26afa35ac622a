// The precomputed position files. Input: a flag byte, a double (the date),
// a day number, then the coordinates. Unless flag bit 0 asks for the raw
// bytes as the file, the files are built from the input with consecutive day
// numbers from that day on (flag bit 1 breaks one of them), so that the
// block loading and the interpolation are reached: the coordinates as a
// ".vsc" file (six six-byte reals a record) and as "pos.vsp" (27). The date
// is that day plus the double when it is a moderate number, else the double
// itself as Julian centuries. Also the six-byte reals of the input,
// converted to doubles and back.
#include <cmath>
#include <cstdio>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/globals.h"
#include "theories/position_files.h"

using namespace kvx;

namespace {

// Records with day numbers first, first + 1, ...; each record's values are
// `fields` six-byte reals cut from `values` (zeros once they run out).
std::string BuildFile(std::int32_t first, std::string_view values, std::size_t fields, std::size_t records,
                      std::int32_t brokenRecord) {
  std::string file;
  std::size_t pos = 0;
  for (std::size_t k = 0; k < records; ++k) {
    std::uint8_t day[6];
    const double number = static_cast<double>(first) + static_cast<double>(k) +
                          (static_cast<std::int32_t>(k) == brokenRecord ? 3.0 : 0.0);
    DoubleToReal48(number, day);
    file.append(reinterpret_cast<const char*>(day), 6);
    for (std::size_t f = 0; f < fields * 6; ++f) file.push_back(pos < values.size() ? values[pos++] : '\0');
  }
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  fuzz::Bytes in(data, size);
  const std::uint8_t flags = in.Byte();
  const double when = in.Double();
  const std::int32_t first = in.Int32() % 200000;
  const std::string values = in.Rest();
  const std::size_t records = 5 + values.size() / 36 % 40;
  const std::int32_t broken = flags & 2 ? static_cast<std::int32_t>(flags >> 2) % 8 : -1;
  const double T = std::isfinite(when) && std::fabs(when) < 1e6
                       ? (kPositionFileEpoch + first + when - 2451545.0) / 36525.0
                       : when;

  static std::vector<std::uint8_t> vscBlock(kVscBlockBytes), vspBlock(kVspBlockBytes);
  const std::string raw(reinterpret_cast<const char*>(data), size);
  for (std::size_t fields : {6u, 27u}) {
    const std::string file = flags & 1 ? raw : BuildFile(first, values, fields, records, broken);
    const std::string& path = fuzz::WriteScratch(file, ".pos");
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (stream == nullptr) return 0;
    if (fields == 6) {
      std::uint8_t start[6] = {}, end[6] = {};
      PositionFileHandle handle{stream, vscBlock.data(), start, end};
      double L, B, R, X, Y, Z, VX, VY, VZ;
      // Twice: the second read may reuse the block of the first.
      for (double t : {T, T + 0.5 / 36525.0}) {
        if (ReadPositionFile(handle, L, B, t, R, X, Y, Z, VX, VY, VZ)) {
          fuzz::Require(L >= 0.0 && L < 360.0 && std::isfinite(B) && std::isfinite(R), "spherical place");
        } else {
          fuzz::Require(L == 0 && B == 0 && R == 0 && X == 0 && VZ == 0, "cleared on failure");
        }
      }
    } else {
      double S = 0, E = 0;
      std::uint8_t out[kVspRecordSize] = {};
      InterpolatePositionFile(S, E, vspBlock.data(), out, stream, T);
      InterpolatePositionFile(S, E, vspBlock.data(), out, stream, T + 0.5 / 36525.0);
    }
    std::fclose(stream);
    AbortRequested = 0;
  }

  // Six-byte reals: a value read, written and read again stays the same.
  for (std::size_t k = 0; k + 6 <= size; k += 6) {
    double value = Real48ToDouble(data + k);
    fuzz::Require(std::isfinite(value), "six-byte real finite");
    std::uint8_t back[6];
    DoubleToReal48(value, back);
    fuzz::Require(Real48ToDouble(back) == value, "six-byte real round trip");
  }
  return 0;
}
