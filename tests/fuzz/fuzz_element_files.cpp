// The element lists' readers on any bytes: the first byte picks the list
// and the file name (and with it the reader; the names come from the lists'
// format tables), the rest is the file.
// Promises: every load returns; the list holds at most its limit, a
// selection inside it, and only records the computation can use; what the
// own writers write reads back to the same number of items, apart from
// records whose rounding to the written decimals makes them unusable, which
// are reported as skipped.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "catalogues/asteroid_list.h"
#include "catalogues/comet_list.h"
#include "catalogues/element_lines.h"
#include "catalogues/variable_star_list.h"
#include "fuzz/fuzz_element_names.h"
#include "fuzz/fuzz_support.h"

using namespace kvx;

namespace {

std::string ScratchFile(const char* name, std::string_view bytes) {
  const char* folder = std::getenv("TMPDIR");
  const std::string path = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/kvx-fuzz-" +
                           std::to_string(getpid()) + "-" + name;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out != nullptr) {
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
  }
  return path;
}

template <typename List, typename Usable>
void CheckList(const List& list, Usable usable) {
  fuzz::Require(list.Count() <= list.ItemLimit, "item limit");
  fuzz::Require(list.ItemIndex >= -1 && list.ItemIndex < list.Count(), "selection inside the list");
  for (int k = 0; k < list.Count(); ++k) fuzz::Require(usable(list.Data(k)), "usable records only");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  fuzz::Bytes in(data, size);
  const std::uint8_t pick = in.Byte();
  const std::string bytes = in.Rest();
  static const std::vector<std::string> asteroidNames = fuzz::ElementReadNames(AsteroidFileFormats(), "a");
  static const std::vector<std::string> cometNames = fuzz::ElementReadNames(CometFileFormats(), "k");
  std::uint8_t kind = 0;
  if (pick % 3 == 0) {
    Planetoidentabelle list(200);
    list.NormalizeNames = (pick / 3) & 1;
    const std::string path = ScratchFile(asteroidNames[(pick / 6) % asteroidNames.size()].c_str(), bytes);
    const bool read = list.Neuedateiladen(kind, path, true, pick);
    CheckList(list, AsteroidElementsUsable);
    if (read) {
      const std::string out = ScratchFile("out.csv", "");
      if (list.WriteOwnCsvFile(out)) {
        const int count = list.Count();
        const bool back = list.Neuedateiladen(kind, out, true, 0);
        fuzz::Require(back ? list.Count() + static_cast<int>(list.SkippedLines().size()) == count
                           : list.BuiltInListShown == 1,
                      "own file reads back");
      }
      std::remove(out.c_str());
    }
    std::remove(path.c_str());
  } else if (pick % 3 == 1) {
    Kometentabelle list(200);
    const std::string path = ScratchFile(cometNames[(pick / 3) % cometNames.size()].c_str(), bytes);
    const bool read = list.Neuedateiladen(kind, path, true, pick);
    CheckList(list, CometElementsUsable);
    if (read) {
      const std::string out = ScratchFile("out.oko", "");
      if (list.WriteOkoFile(out)) {
        const int count = list.Count();
        fuzz::Require(list.Neuedateiladen(kind, out, true, 0) && list.Count() == count, "binary file reads back");
      }
      std::remove(out.c_str());
    }
    std::remove(path.c_str());
  } else {
    variablentabelle list;
    const std::string path = ScratchFile("v.csv", bytes);
    list.Neuedateiladen(path, pick, true);
    CheckList(list, VariableStarElementsUsable);
    std::remove(path.c_str());
  }
  return 0;
}
