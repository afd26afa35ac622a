// The element lists' writers on whatever their readers accept: the first
// byte picks the list and the file name (and with it the reader), the rest
// is the file. What was opened is saved by every row of the list's format
// table that has a writer and opened again, the save's question (when a format loses values)
// answered Yes or No by a bit of the first byte. Promises: a save either
// succeeds, and the saved file opens again with every object, each value
// the format holds within the decimals it is written with, and exactly
// unless the question named its field; or it is refused, or answered No,
// and the file that stood there before is left as it was.
#include <cstdio>
#include <sstream>
#include <span>
#include <string>
#include <vector>

#include "catalogues/asteroid_list.h"
#include "catalogues/comet_list.h"
#include "catalogues/element_write_checks.h"
#include "fuzz/fuzz_element_names.h"
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
    const auto expected = AsWritten(written.Data(k), format);
    for (int j = 0; j < read.Count() && !found; ++j) {
      if (used[static_cast<std::size_t>(j)]) continue;
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
                   const TListFormat& format) {
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

// The decimals each saved format keeps (nullptr: the list does not save
// it, or, for the comet text listing, no reader takes the file back).
const TAsteroidPrecision* PrecisionOf(const TElementFileFormat<Planetoidentabelle>& row) {
  switch (row.Format) {
    case TElementFormat::OwnText:
    case TElementFormat::Binary:
      return &kAsteroidExact;
    case TElementFormat::HomePlanet:
      return &kHomePlanetAsteroid;
    case TElementFormat::SkyMap:
      return &kSkyMapAsteroid;
    case TElementFormat::Catalogue:
    case TElementFormat::MpcText:
    case TElementFormat::Guide:
      return nullptr;
  }
  return nullptr;
}
const TCometPrecision* PrecisionOf(const TElementFileFormat<Kometentabelle>& row) {
  switch (row.Format) {
    case TElementFormat::OwnText:
    case TElementFormat::Binary:
      return &kCometExact;
    case TElementFormat::HomePlanet:
      return &kHomePlanetComet;
    case TElementFormat::SkyMap:
      return &kSkyMapComet;
    case TElementFormat::Guide:
      return &kGuideComet;
    case TElementFormat::Catalogue:
    case TElementFormat::MpcText:
      return nullptr;
  }
  return nullptr;
}

// Saves `list` by every row of its table that writes, and opens each file
// again. Formats sharing an extension (".csv") are told apart by their
// first lines.
template <typename List>
void SaveInEveryFormat(const List& list, std::span<const TElementFileFormat<List>> formats) {
  for (const TElementFileFormat<List>& row : formats) {
    if (!row.Saves()) continue;
    const std::string name = fuzz::ElementSaveName(formats, row);
    const auto* precision = PrecisionOf(row);
    if (precision != nullptr) {
      SaveAndReopen(list, name.c_str(), row.Write, *precision, row.SavedFormat());
      continue;
    }
    // The comet text listing has no reader: it writes or refuses.
    fuzz::Require(row.Format == TElementFormat::MpcText, "every saved format has its decimals");
    const std::string listing = Scratch(name);
    WriteFileReplacing(listing, kOldContents);
    if (!row.Write(const_cast<List&>(list), listing)) {
      fuzz::Require(ReadBack(listing) == kOldContents, "a refused listing leaves the old file");
    }
    std::remove(listing.c_str());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SetMessageSink(&answers);
  fuzz::Bytes in(data, size);
  const std::uint8_t pick = in.Byte();
  answers.yes = (pick & 0x80) == 0;
  const std::string bytes = in.Rest();
  static const std::vector<std::string> asteroidNames = fuzz::ElementReadNames(AsteroidFileFormats(), "a");
  static const std::vector<std::string> cometNames = fuzz::ElementReadNames(CometFileFormats(), "k");
  std::uint8_t kind = 0;
  if (pick % 2 == 0) {
    Planetoidentabelle list(kLimit);
    list.NormalizeNames = (pick / 2) & 1;
    const std::string path = Scratch(asteroidNames[(pick / 4) % asteroidNames.size()]);
    WriteFileReplacing(path, bytes);
    if (list.Neuedateiladen(kind, path, false, 0) && list.BuiltInListShown == 0) {
      SaveInEveryFormat(list, AsteroidFileFormats());
    }
    std::remove(path.c_str());
  } else {
    Kometentabelle list(kLimit);
    const std::string path = Scratch(cometNames[(pick / 2) % cometNames.size()]);
    WriteFileReplacing(path, bytes);
    if (list.Neuedateiladen(kind, path, false, 0) && list.BuiltInListShown == 0) {
      SaveInEveryFormat(list, CometFileFormats());
    }
    std::remove(path.c_str());
  }
  return 0;
}
