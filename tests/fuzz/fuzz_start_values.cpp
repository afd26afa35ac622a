// The start-values line parser and file reader on arbitrary input: never a
// crash or hang; an accepted line is finite with 1/m >= 0; a refused line
// names one of the ten fields; a read file gives 1..14 finite bodies, and a
// refused file leaves the set-up as it was.
#include <cmath>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "orbitdet/start_values_file.h"

using namespace kvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  const std::string input(reinterpret_cast<const char*>(data), size);
  trukudaten body;
  std::string field;
  switch (ParseStartValuesLine(input, body, field)) {
    case TStartValuesLineStatus::Body:
      for (long double v : body.State) fuzz::Require(std::isfinite(v), "finite state");
      fuzz::Require(std::isfinite(body.InverseMass) && body.InverseMass >= 0, "1/m");
      fuzz::Require(std::isfinite(body.JD) && std::isfinite(body.EquinoxJD), "finite epoch");
      break;
    case TStartValuesLineStatus::Refused:
      fuzz::Require(!field.empty(), "field named");
      break;
    case TStartValuesLineStatus::Skipped:
      fuzz::Require(input.empty() || input[0] == ':', "skipped only empty or comment");
      break;
  }
  const std::string path = fuzz::WriteScratch(input, ".csv");
  TIntegrationSetup setup = DefaultIntegrationSetup();
  const TIntegrationSetupBytes before = EncodeIntegrationSetup(setup);
  if (ReadStartValuesFile(path, setup)) {
    fuzz::Require(setup.N >= 1 && setup.N <= kMaxIntegrationBodies, "count");
    for (int i = 0; i < setup.N; ++i)
      for (long double v : setup.StartValues[i]) fuzz::Require(std::isfinite(v), "finite body");
  } else {
    const TIntegrationSetupBytes after = EncodeIntegrationSetup(setup);
    fuzz::Require(std::memcmp(before.data(), after.data(), before.size()) == 0, "untouched");
  }
  return 0;
}
