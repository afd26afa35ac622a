// The readers of the orbit determination on arbitrary input: the first byte
// picks the reader (observation lines, own text, ".OBS" records, the
// station list, a state-vector file, markup removal, the 20-byte options
// record); the rest is its input. Readers never crash or hang, and what they
// accept is finite and in range.
#include <cmath>

#include "fuzz/fuzz_support.h"
#include "orbitdet/observation_files.h"
#include "orbitdet/orbit_output.h"
#include "platform/text_encoding.h"

using namespace kvx;

namespace {

void CheckList(const TObservationList& list) {
  for (const TObservationEntry& e : list) {
    fuzz::Require(std::isfinite(e.Obs.JD) && std::isfinite(e.Obs.RA) && std::isfinite(e.Obs.Dec), "finite");
    fuzz::Require(ObservationInRange(e.Obs), "in range");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  if (size == 0) return 0;
  const std::uint8_t which = data[0] % 7;
  const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::vector<std::string> lines = SplitTextLines(DecodeTextBytes(input));
  switch (which) {
    case 0: {
      torbdet od;
      od.SetStations({tstation{"500", 0, 0, 0, "Geocentric", true}, tstation{"C51", 0, 0, 0, "WISE", false}});
      TObservationList list;
      TObservationReadReport report;
      std::vector<std::string> withMarker{"Observations:"};
      withMarker.insert(withMarker.end(), lines.begin(), lines.end());
      ParseObservationLines(od, withMarker, list, report);
      CheckList(list);
      break;
    }
    case 1: {
      TObservationList list;
      double a = 0, b = 0;
      TObservationReadReport report;
      if (ReadOwnTextObservations(lines, list, a, b, report)) {
        fuzz::Require(std::fabs(a) <= 10 && std::fabs(b) <= 10, "equinoxes in range");
        CheckList(list);
        TObservationList again;
        ReadOwnTextObservations(SplitTextLines(WriteOwnTextObservations(list, 2000, 2000)), again, a, b, report);
        fuzz::Require(again.size() == list.size(), "own text round trip");
        // RA and Dec come back to a millionth of a second (RA modulo 24 h).
        for (std::size_t k = 0; k < again.size() && again.size() == list.size(); ++k) {
          const double ra = std::remainder(again[k].Obs.RA - list[k].Obs.RA, 360.0) / 15 * 3600;
          fuzz::Require(std::fabs(ra) <= 1e-6 && std::fabs(again[k].Obs.Dec - list[k].Obs.Dec) * 3600 <= 1e-6,
                        "own text keeps RA and Dec");
        }
        // Every observation read also comes back from the binary records.
        TObservationList records;
        ReadObservationRecords(WriteObservationRecords(list, 2000, 2000), records, a, b, report);
        fuzz::Require(records.size() == list.size(), "binary round trip");
      }
      break;
    }
    case 2: {
      TObservationList list;
      double a = 0, b = 0;
      TObservationReadReport report;
      if (ReadObservationRecords(input, list, a, b, report)) {
        fuzz::Require(input.size() % kObservationRecordSize == 0, "whole records");
        CheckList(list);
      }
      break;
    }
    case 3: {
      std::vector<tstation> stations;
      int skipped = 0, first = 0;
      if (ReadStationList(lines, stations, skipped, first)) {
        for (const tstation& s : stations) {
          fuzz::Require(s.Code.size() == 3 && std::fabs(s.RhoCos) <= 1.1 && std::fabs(s.RhoSin) <= 1.1, "station");
        }
      }
      break;
    }
    case 4: {
      TStateVector v{};
      double epoch = 0;
      std::string german, english;
      if (ParseStateVectorFile(input, v, epoch, german, english)) {
        for (double x : v) fuzz::Require(std::isfinite(x), "finite vector");
        fuzz::Require(std::isfinite(epoch), "finite epoch");
      }
      break;
    }
    case 5: {
      const std::string out = PrepareMarkupText(input);
      fuzz::Require(out.size() <= input.size(), "markup removal never grows the text");
      break;
    }
    case 6: {
      if (input.size() >= kOrbDetOptionsSize) {
        std::array<std::uint8_t, kOrbDetOptionsSize> raw{};
        std::copy_n(reinterpret_cast<const std::uint8_t*>(input.data()), kOrbDetOptionsSize, raw.begin());
        const TOrbDetOptions o = DecodeOrbDetOptions(raw, 2451545.0);
        fuzz::Require(o.Method <= 2 && std::isfinite(o.JdForM) && std::isfinite(o.ChangeRate), "options");
      }
      break;
    }
  }
  return 0;
}
