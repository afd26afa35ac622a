// The elp82b series over its coefficient file, which embed_file.cpp builds
// into the same library.
#include "theories/libraries/elp82b_series.h"
#include "theories/libraries/embedded_data.h"

namespace kvx::theory_data {
const Elp82BSeries& Elp82B() {
  static const Elp82BSeries series(Elp82BFile());
  return series;
}
}  // namespace kvx::theory_data
