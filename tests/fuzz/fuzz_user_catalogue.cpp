// The user catalogue: the bytes as a catalogue file through the reader
// (any encoding, any line ends), every line through the line parser, and a
// write of the lines read back, which must reproduce the objects.
#include <cmath>

#include "catalogues/user_catalogue.h"
#include "fuzz/fuzz_support.h"

using namespace kvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string& path = fuzz::WriteScratch(bytes, ".csv");
  std::vector<std::string> lines{"kept"};
  tuserlist objects;
  const TUserCatalogueStatus status = ReadUserCatalogue(path, lines, objects);
  if (status == TUserCatalogueStatus::NotFound || status == TUserCatalogueStatus::Foreign) {
    fuzz::Require(lines.size() == 1 && lines[0] == "kept" && objects.Count() == 0, "a refused file changes nothing");
    return 0;
  }
  fuzz::Require((status == TUserCatalogueStatus::Loaded) == (objects.Count() > 0), "status follows the objects");
  fuzz::Require(objects.Count() < static_cast<int>(lines.size()), "at most one object per line after the first");
  for (int i = 0; i < objects.Count(); ++i) {
    const tuserobject* o = objects.Item(i);
    fuzz::Require(std::isfinite(o->Angle1) && std::isfinite(o->Angle2) && std::isfinite(o->Value6),
                  "finite values");
  }
  TWriteError error;
  const std::string& copy = fuzz::ScratchPath(".copy.csv");
  if (WriteUserCatalogue(copy, lines, error)) {
    std::vector<std::string> again;
    tuserlist reread;
    ReadUserCatalogue(copy, again, reread);
    fuzz::Require(reread.Count() == objects.Count(), "a written catalogue reads back to the same objects");
  }
  return 0;
}
