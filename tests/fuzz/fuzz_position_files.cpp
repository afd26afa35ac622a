// The precomputed position files: the input as a ".vsc" file and as
// "pos.vsp", read at a date taken from the input's first eight bytes, and the
// six-byte reals of the input converted to doubles and back.
#include <cmath>
#include <cstdio>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/globals.h"
#include "theories/position_files.h"

using namespace kvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  fuzz::Bytes in(data, size);
  double T = in.Double();
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string& path = fuzz::WriteScratch(bytes, ".pos");

  static std::vector<std::uint8_t> vscBlock(kVscBlockBytes), vspBlock(kVspBlockBytes);
  std::FILE* stream = std::fopen(path.c_str(), "rb");
  if (stream == nullptr) return 0;
  {
    std::uint8_t start[6] = {}, end[6] = {};
    PositionFileHandle handle{stream, vscBlock.data(), start, end};
    double L, B, R, X, Y, Z, VX, VY, VZ;
    // Twice: the second read may reuse the block of the first.
    for (double t : {T, T + 1e-4}) {
      if (ReadPositionFile(handle, L, B, t, R, X, Y, Z, VX, VY, VZ)) {
        fuzz::Require(L >= 0.0 && L < 360.0 && std::isfinite(B) && std::isfinite(R), "spherical place");
      }
    }
  }
  {
    double S = 0, E = 0;
    std::uint8_t out[kVspRecordSize] = {};
    InterpolatePositionFile(S, E, vspBlock.data(), out, stream, T);
    InterpolatePositionFile(S, E, vspBlock.data(), out, stream, T + 0.01);
  }
  std::fclose(stream);
  AbortRequested = 0;

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
