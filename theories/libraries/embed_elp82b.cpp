// The elp82b coefficient file, built into the library that links this source.
#include "theories/libraries/embedded_data.h"

// KVX_ELP82B_FILE names the data file; KVX_ELP82B_HASH changes with its contents
// so that a compiler cache never hands out an object built from older data.
#ifndef KVX_ELP82B_FILE
#error "KVX_ELP82B_FILE must name the coefficient file"
#endif
KVX_EMBED_FILE(kvx_elp82b, KVX_ELP82B_FILE)
static const char* const kDataHash [[maybe_unused]] = KVX_ELP82B_HASH;

#include "theories/libraries/elp82b_series.h"

namespace kvx::theory_data {
const Elp82BSeries& Elp82B() {
  static const Elp82BSeries series(Elp82BFile());
  return series;
}
}  // namespace kvx::theory_data
