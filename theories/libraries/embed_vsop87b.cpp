// The vsop87b coefficient file, built into the library that links this source.
#include "theories/libraries/embedded_data.h"

// KVX_VSOP87B_FILE names the data file; KVX_VSOP87B_HASH changes with its contents
// so that a compiler cache never hands out an object built from older data.
#ifndef KVX_VSOP87B_FILE
#error "KVX_VSOP87B_FILE must name the coefficient file"
#endif
KVX_EMBED_FILE(kvx_vsop87b, KVX_VSOP87B_FILE)
static const char* const kDataHash [[maybe_unused]] = KVX_VSOP87B_HASH;

#include "theories/libraries/vsop87_series.h"

namespace kvx::theory_data {
const Vsop87Series& Vsop87B() {
  static const Vsop87Series series(Vsop87BFile());
  return series;
}
}  // namespace kvx::theory_data
