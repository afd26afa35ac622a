// The element lists' writers on whatever their readers accept: the first
// byte picks the list and the file name (and with it the reader), the rest
// is the file. What was opened is saved in every format the list writes
// and opened again. Promises: a save either succeeds, and the saved file
// opens again with every object, each value the format holds within the
// decimals it is written with; or it is refused and the file that stood
// there before is left as it was.
#include <cstdio>
#include <string>
#include <vector>

#include "catalogues/asteroid_list.h"
#include "catalogues/comet_list.h"
#include "catalogues/element_write_checks.h"
#include "fuzz/fuzz_support.h"
#include "platform/safe_file_write.h"

using namespace kvx;

namespace {

constexpr int kLimit = 60;
constexpr const char* kOldContents = "contents before the save";

std::string Scratch(const std::string& name) {
  const std::string& base = fuzz::ScratchPath("-writers");
  return base + "-" + name;
}

std::string ReadBack(const std::string& path) {
  std::string bytes, error;
  ReadFileBytes(path, bytes, error);
  return bytes;
}

// Every record of `written` has a record of `read` that holds the same
// values (each within its precision); each record of `read` is used once.
template <typename List, typename Precision>
bool SameObjects(const List& written, const List& read, const Precision& precision) {
  if (read.Count() != written.Count()) return false;
  std::vector<bool> used(static_cast<std::size_t>(read.Count()), false);
  for (int k = 0; k < written.Count(); ++k) {
    bool found = false;
    for (int j = 0; j < read.Count() && !found; ++j) {
      if (used[static_cast<std::size_t>(j)]) continue;
      if (ChangedField(written.Data(k), read.Data(j), precision) == nullptr) {
        used[static_cast<std::size_t>(j)] = true;
        found = true;
      }
    }
    if (!found) return false;
  }
  return true;
}

template <typename List, typename Write, typename Precision>
void SaveAndReopen(const List& opened, const char* name, Write write, const Precision& precision) {
  const std::string path = Scratch(name);
  WriteFileReplacing(path, kOldContents);
  // The writers are members of the non-const list; they do not change it.
  List& list = const_cast<List&>(opened);
  if (!write(list, path)) {
    fuzz::Require(ReadBack(path) == kOldContents, "a refused save leaves the old file");
  } else {
    List back(kLimit);
    std::uint8_t kind = 0;
    fuzz::Require(back.Neuedateiladen(kind, path, true, 0) && back.BuiltInListShown == 0, "a saved file opens");
    fuzz::Require(back.SkippedLines().empty(), "no saved line is skipped");
    fuzz::Require(SameObjects(opened, back, precision), "every object comes back");
  }
  std::remove(path.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  fuzz::Bytes in(data, size);
  const std::uint8_t pick = in.Byte();
  const std::string bytes = in.Rest();
  static const char* asteroidNames[] = {"a.csv", "a.opl", "a.sky", "a.txt", "mpcorb.dat"};
  static const char* cometNames[] = {"k.csv", "k.oko", "k.dat", "k.sky", "k.txt"};
  std::uint8_t kind = 0;
  if (pick % 2 == 0) {
    Planetoidentabelle list(kLimit);
    list.NormalizeNames = (pick / 2) & 1;
    const std::string path = Scratch(asteroidNames[(pick / 4) % 5]);
    WriteFileReplacing(path, bytes);
    if (list.Neuedateiladen(kind, path, false, 0) && list.BuiltInListShown == 0) {
      using A = Planetoidentabelle;
      SaveAndReopen(
          list, "out.csv", [](A& l, const std::string& p) { return l.WriteOwnCsvFile(p); }, kAsteroidExact);
      SaveAndReopen(
          list, "out.opl", [](A& l, const std::string& p) { return l.WriteOplFile(p); }, kAsteroidExact);
      SaveAndReopen(
          list, "out.sky", [](A& l, const std::string& p) { return l.WriteSkyMapFile(p); }, kSkyMapAsteroid);
      // HomePlanet shares the extension: the other list's first line tells.
      SaveAndReopen(
          list, "home.csv", [](A& l, const std::string& p) { return l.WriteHomePlanetCsvFile(p); },
          kHomePlanetAsteroid);
    }
    std::remove(path.c_str());
  } else {
    Kometentabelle list(kLimit);
    const std::string path = Scratch(cometNames[(pick / 2) % 5]);
    WriteFileReplacing(path, bytes);
    if (list.Neuedateiladen(kind, path, false, 0) && list.BuiltInListShown == 0) {
      using K = Kometentabelle;
      SaveAndReopen(
          list, "out.csv", [](K& l, const std::string& p) { return l.WriteOwnCsvFile(p); }, kCometExact);
      SaveAndReopen(
          list, "out.oko", [](K& l, const std::string& p) { return l.WriteOkoFile(p); }, kCometExact);
      SaveAndReopen(
          list, "out.dat", [](K& l, const std::string& p) { return l.WriteGuideFile(p); }, kGuideComet);
      SaveAndReopen(
          list, "out.sky", [](K& l, const std::string& p) { return l.WriteSkyMapFile(p); }, kSkyMapComet);
      SaveAndReopen(
          list, "home.csv", [](K& l, const std::string& p) { return l.WriteHomePlanetCsvFile(p); }, kHomePlanetComet);
      // The text listing has no reader: it writes or refuses.
      const std::string listing = Scratch("out.txt");
      WriteFileReplacing(listing, kOldContents);
      if (!list.WriteTextListing(listing)) {
        fuzz::Require(ReadBack(listing) == kOldContents, "a refused listing leaves the old file");
      }
      std::remove(listing.c_str());
    }
    std::remove(path.c_str());
  }
  return 0;
}
