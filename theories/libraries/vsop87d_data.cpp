// The vsop87d series over its coefficient file, which embed_file.cpp builds
// into the same library.
#include "theories/libraries/embedded_data.h"
#include "theories/libraries/vsop87_series.h"

namespace kvx::theory_data {
const Vsop87Series& Vsop87D() {
  static const Vsop87Series series(Vsop87DFile());
  return series;
}
}  // namespace kvx::theory_data
