// The element lists' writers on whatever their readers accept: the first
// byte picks the list and the file name (and with it the reader), the rest
// is the file. What was opened is saved in every format the list writes
// and opened again, the save's question (when a format loses values)
// answered Yes or No by a bit of the first byte. Promises: a save either
// succeeds, and the saved file opens again with every object, each value
// the format holds within the decimals it is written with, and exactly
// unless the question named its field; or it is refused, or answered No,
// and the file that stood there before is left as it was.
#include <cstdio>
#include <sstream>
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

// Answers the save question as told and keeps its text.
class AnsweringSink : public MessageSink {
 public:
  MessageResult Show(const std::string& text, const std::string&, MessageIcon, MessageButtons buttons) override {
    if (buttons != MessageButtons::YesNo) return MessageResult::Ok;
    ++questions;
    question = text;
    return yes ? MessageResult::Yes : MessageResult::No;
  }
  bool yes = true;
  int questions = 0;
  std::string question;
};

AnsweringSink answers;

// The fields a question names, as bits of the precision tables' order.
TLostFields NamedFields(const std::string& question, const std::vector<std::string>& names) {
  TLostFields named = 0;
  std::istringstream lines(question);
  std::string line;
  while (std::getline(lines, line)) {
    const std::string field = line.substr(0, line.find(' '));
    for (std::size_t k = 0; k < names.size(); ++k) {
      if (names[k] == field && line.find("Objekt") != std::string::npos) named |= TLostFields{1} << k;
    }
  }
  return named;
}

TLostFields NamedFields(const std::string& question, const TAsteroidPrecision&) {
  return NamedFields(question, {"a", "e", "i", "node", "per", "m", "n", "equinox", "epoch", "h", "g"});
}
TLostFields NamedFields(const std::string& question, const TCometPrecision&) {
  return NamedFields(question, {"q", "e", "i", "node", "per", "equinox", "T", "H", "G", "epoch"});
}

std::string ReadBack(const std::string& path) {
  std::string bytes, error;
  ReadFileBytes(path, bytes, error);
  return bytes;
}

// Every record of `written`, as `format` writes it (carried to the equinox
// 2000 where the format's readers take that), has a record of `read` that
// holds the same values (each within its precision, exactly outside the
// fields `named`); each record of `read` is used once.
template <typename List, typename Precision>
bool SameObjects(const List& written, const List& read, const Precision& precision, TLostFields named,
                 const TListFormat& format) {
  if (read.Count() != written.Count()) return false;
  std::vector<bool> used(static_cast<std::size_t>(read.Count()), false);
  for (int k = 0; k < written.Count(); ++k) {
    bool found = false;
    for (int j = 0; j < read.Count() && !found; ++j) {
      if (used[static_cast<std::size_t>(j)]) continue;
      const auto expected = AsWritten(written.Data(k), format);
      if (ChangedField(expected, read.Data(j), precision) == nullptr &&
          (LostFields(expected, read.Data(j)) & ~named) == 0) {
        used[static_cast<std::size_t>(j)] = true;
        found = true;
      }
    }
    if (!found) return false;
  }
  return true;
}

template <typename List, typename Write, typename Precision>
void SaveAndReopen(const List& opened, const char* name, Write write, const Precision& precision,
                   const TListFormat& format = kOwnCsvListFormat) {
  const std::string path = Scratch(name);
  WriteFileReplacing(path, kOldContents);
  // The writers are members of the non-const list; they do not change it.
  List& list = const_cast<List&>(opened);
  answers.questions = 0;
  answers.question.clear();
  const bool saved = write(list, path);
  fuzz::Require(answers.questions <= 1, "a save asks at most once");
  fuzz::Require(!saved || answers.questions == 0 || answers.yes, "No writes nothing");
  if (!saved) {
    fuzz::Require(ReadBack(path) == kOldContents, "a refused save leaves the old file");
  } else {
    List back(kLimit);
    std::uint8_t kind = 0;
    fuzz::Require(back.Neuedateiladen(kind, path, true, 0) && back.BuiltInListShown == 0, "a saved file opens");
    fuzz::Require(back.SkippedLines().empty(), "no saved line is skipped");
    fuzz::Require(SameObjects(opened, back, precision, NamedFields(answers.question, precision), format),
                  "every object comes back, its values exactly unless the question named them");
  }
  std::remove(path.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SetMessageSink(&answers);
  fuzz::Bytes in(data, size);
  const std::uint8_t pick = in.Byte();
  answers.yes = (pick & 0x80) == 0;
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
          list, "out.sky", [](A& l, const std::string& p) { return l.WriteSkyMapFile(p); }, kSkyMapAsteroid, kSkyMapListFormat);
      // HomePlanet shares the extension: the other list's first line tells.
      SaveAndReopen(
          list, "home.csv", [](A& l, const std::string& p) { return l.WriteHomePlanetCsvFile(p); },
          kHomePlanetAsteroid, kHomePlanetListFormat);
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
          list, "out.sky", [](K& l, const std::string& p) { return l.WriteSkyMapFile(p); }, kSkyMapComet, kSkyMapListFormat);
      SaveAndReopen(
          list, "home.csv", [](K& l, const std::string& p) { return l.WriteHomePlanetCsvFile(p); }, kHomePlanetComet,
          kHomePlanetListFormat);
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
