// The vsop87d coefficient file, built into the library that links this source.
#include "theories/libraries/embedded_data.h"

// KVX_VSOP87D_FILE names the data file; KVX_VSOP87D_HASH changes with its contents
// so that a compiler cache never hands out an object built from older data.
#ifndef KVX_VSOP87D_FILE
#error "KVX_VSOP87D_FILE must name the coefficient file"
#endif
KVX_EMBED_FILE(kvx_vsop87d, KVX_VSOP87D_FILE)
static const char* const kDataHash [[maybe_unused]] = KVX_VSOP87D_HASH;

#include "theories/libraries/vsop87_series.h"

namespace kvx::theory_data {
const Vsop87Series& Vsop87D() {
  static const Vsop87Series series(Vsop87DFile());
  return series;
}
}  // namespace kvx::theory_data
