// Every element-file reader against a word in a number field: each format's
// valid line with "B1950", "1,5e", a blank and "−" (U+2212) put into each of
// its number fields in turn (the fields of element_format_fields.h). The
// line is skipped and named, with its number and the field, in the
// message; it is never read with a 0 in that place. A blank optional
// field reads as its default, and the valid line itself reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "catalogue_test_support.h"
#include "catalogues/asteroid_list.h"
#include "catalogues/comet_list.h"
#include "catalogues/element_format_fields.h"
#include "catalogues/variable_star_list.h"
#include "platform/text_encoding.h"

namespace kvx::test {
namespace {

using NumberFields = CatalogueTest;

enum class TList { Asteroids, Comets, VariableStars };

// How a reader finds a field, and so how a bad text goes in its place.
enum class TLayout {
  Separated,  // between separators: the text as it stands
  Words,      // blank-separated words: a blank text takes the word away
  Columns,    // fixed columns: the text right-aligned in the field's
              // width (a wider one moves what follows)
};

// One reader: its list and file name, the lines before the data, a valid
// data line with each number field in [brackets], its fields and the ones
// the format lets be blank.
struct TReaderCase {
  const char* Reader;
  TList List;
  const char* FileName;
  std::string Head;
  std::string Line;
  TFormatFields Fields;
  TLayout Layout;
  std::string MayBeBlank = " ";               // " name name "
  const char* PassedOverWhenBlank = nullptr;  // a field whose blank drops the line silently
  std::size_t PadTo = 0;
};

std::string Padded(const std::string& name, std::size_t width) { return name + std::string(width - name.size(), ' '); }

const std::vector<TReaderCase>& Cases() {
  const std::string mpcLine =
      "00001   [ 3.34] [ 0.12] [K239D] [ 60.07966]  [ 73.42179]  [ 80.25496]  [ 10.58688]  [0.0789126] [  0.2141309] "
      "[  2.7660512]" +
      std::string(63, ' ') + "(1) Ceres";
  static const std::vector<TReaderCase> cases = {
      {"own asteroids", TList::Asteroids, "a.csv", ":a;e;i;node;per;m;n;equinox;epoch;h;g\n",
       "Vesta;[2,36];[0,09];[7,1];[103];[150];[84];[0,27];[2000];[2450600,5];[3,2];[0,15]", kOwnAsteroidLineFields,
       TLayout::Separated, " n g "},
      {"HomePlanet asteroids", TList::Asteroids, "h.csv",
       "Name,Magnitude H,Magnitude G,Mean anomaly,Arg. perihelion,Long. node,Inclination,Eccentricity,Semimajor "
       "axis,Epoch (MJD)\n",
       "Vesta,[3.2],[0.32],[150],[151],[103.8],[7.14],[0.088],[2.36],[59800]", kHomePlanetAsteroidLineFields,
       TLayout::Separated},
      {"SkyMap asteroids", TList::Asteroids, "a.sky", "",
       Padded("Ceres", 46) +
           " [2022] [09] [1.000] [73.532] [2.766619] [0.078636] [73.531] [80.266] [10.587] [3.33] [0.12]",
       kSkyMapAsteroidLineFields, TLayout::Words},
      {"MPC text", TList::Asteroids, "numbered.txt", "", mpcLine, kMpcOneLineFields, TLayout::Columns, " g "},
      {"MPCORB line by line", TList::Asteroids, "MPCORBCR.DAT", "MPCORB header\n-----\n", mpcLine, kMpcOneLineFields,
       TLayout::Columns, " g ", "h"},
      {"ASTORB", TList::Asteroids, "astorb.dat", "",
       "     1 Ceres              E. Bowell       [ 3.34] [ 0.12]                    0    0    0    0    0    0  1234 "
       "[20230225] [ 60.078600] [ 73.389900] [ 80.254400] [10.586800] [0.07880000] [  2.76750000]",
       kAstorbFields, TLayout::Columns, " g ", nullptr, 266},
      {"own comets", TList::Comets, "k.csv", ":name;q;e;i;node;per; equinox;tm of per.(jd);epoche (jd);h;g\n",
       "Halley;[0,586];[0,967];[162,2];[58,4];[111,3];[2000];[2446467,4];[5,5];[4,0];[2446400,5]", kOwnCometLineFields,
       TLayout::Separated},
      {"HomePlanet comets", TList::Comets, "hk.csv",
       "Name,Perihelion time,Perihelion AU,Eccentricity,Long. perihelion,Long. node,Inclination,Semimajor "
       "axis,Period\n",
       "Halley,[1986-2-9.459],[0.586],[0.967],[111.3],[58.4],[162.2],,", kHomePlanetCometLineFields,
       TLayout::Separated},
      {"SkyMap comets", TList::Comets, "k.sky", "",
       Padded("1P/Halley", 46) + " [1986] [02] [9.459] [0.585978] [0.967143] [111.332] [58.420] [162.263] [5.5] [4.0]",
       kSkyMapCometLineFields, TLayout::Words},
      {"Guide comets", TList::Comets, "k.dat", "2\n",
       Padded("1P/Halley", 43) +
           "[9.4589] [2] [1986] [0.0] [0.5859781] [0.9671429] [162.2627] [111.3325] [58.4201] [2000.0] [5.5] [4.0]",
       kGuideCometLineFields, TLayout::Words},
      {"MPC comets", TList::Comets, "k.txt", "",
       "0001P         [1986] [02] [9.4589 ] [ 0.585978]  [0.967143]  [111.3325]  [ 58.4201]  [162.2627]  19860205  "
       "[ 5.5] [ 4.0]  1P/Halley",
       kMpcCometLineFields, TLayout::Columns, " H G "},
      {"variable stars", TList::VariableStars, "v.csv", ":ELEMENTE VARIABLE VAMUR!\n",
       "Algol;[3,0810];[40,5720];[2,09];[3,30];[2445641,5135];[2,8673043];[2000];b", kVariableStarLineFields,
       TLayout::Separated},
  };
  return cases;
}

// A marked line: the text without brackets and each field's place in it.
struct TMarkedLine {
  std::string Text;
  std::vector<std::pair<std::size_t, std::size_t>> Fields;  // byte offset, length
};

TMarkedLine Unmark(const std::string& marked) {
  TMarkedLine m;
  std::size_t open = 0;
  for (char c : marked) {
    if (c == '[') {
      open = m.Text.size();
    } else if (c == ']') {
      m.Fields.emplace_back(open, m.Text.size() - open);
    } else {
      m.Text += c;
    }
  }
  return m;
}

// The line with field `k` replaced by `bad` as the layout puts it there.
std::string Damaged(const TMarkedLine& m, std::size_t k, const std::string& bad, TLayout layout) {
  const auto [offset, length] = m.Fields[k];
  std::string text = bad;
  const std::size_t width = Utf8Length(m.Text.substr(offset, length));
  if (layout == TLayout::Columns && Utf8Length(bad) < width) {
    text.insert(0, width - Utf8Length(bad), ' ');
  }
  return m.Text.substr(0, offset) + text + m.Text.substr(offset + length);
}

struct TRead {
  bool Loaded = false;
  int Count = 0;
  std::vector<TSkippedElementLine> Skipped;
};

template <typename List>
TRead Read(List& list, bool loaded) {
  return {loaded, list.Count(), list.SkippedLines()};
}

TRead ReadFile(TList kind, const std::string& path) {
  std::uint8_t code = 0;
  switch (kind) {
    case TList::Asteroids: {
      Planetoidentabelle list;
      const bool loaded = list.Neuedateiladen(code, path, true, 0);
      return Read(list, loaded);
    }
    case TList::Comets: {
      Kometentabelle list;
      const bool loaded = list.Neuedateiladen(code, path, true, 0);
      return Read(list, loaded);
    }
    default: {
      variablentabelle list;
      const bool loaded = list.Neuedateiladen(path, 0, true);
      return Read(list, loaded);
    }
  }
}

TEST_F(NumberFields, AWordInANumberFieldSkipsTheLineAndNamesIt) {
  int refused = 0;
  for (const TReaderCase& c : Cases()) {
    SCOPED_TRACE(c.Reader);
    const TMarkedLine marked = Unmark(c.Line);
    ASSERT_EQ(marked.Fields.size(), c.Fields.size()) << "the line marks every number field of the layout";
    auto file = [&](const std::string& damaged) {
      std::string good = marked.Text, bad = damaged;
      if (c.PadTo > 0) {
        good.resize(c.PadTo, ' ');
        bad.resize(std::max(c.PadTo, bad.size()), ' ');
      }
      return folder.Write(c.FileName, c.Head + good + "\n" + bad + "\n");
    };
    // The valid line reads, twice.
    sink.messages.clear();
    const TRead valid = ReadFile(c.List, file(marked.Text));
    ASSERT_TRUE(valid.Loaded) << Shown();
    ASSERT_EQ(valid.Count, 2) << Shown();
    EXPECT_TRUE(sink.messages.empty()) << Shown();
    // The bad line is the one after the head and the valid line.
    const int badLine = static_cast<int>(std::count(c.Head.begin(), c.Head.end(), '\n')) + 2;
    for (std::size_t k = 0; k < c.Fields.size(); ++k) {
      for (const std::string bad : {"B1950", "1,5e", "", "\u2212"}) {
        const std::string damaged = Damaged(marked, k, bad, c.Layout);
        SCOPED_TRACE(damaged);
        sink.messages.clear();
        const TRead read = ReadFile(c.List, file(damaged));
        ASSERT_TRUE(read.Loaded) << "the valid line loads the file " << Shown();
        const bool blank = bad.empty();
        EXPECT_EQ(c.Fields[k].Optional, c.MayBeBlank.find(" " + std::string(c.Fields[k].Name) + " ") != std::string::npos)
            << c.Fields[k].Name;
        if (blank && c.Fields[k].Optional) {
          EXPECT_EQ(read.Count, 2) << "an optional field may be blank";
          EXPECT_TRUE(read.Skipped.empty());
          continue;
        }
        // A blank word moves the words after it, and a separator in the
        // text ("1,5e" between commas) the fields after it: some field is to
        // blame, unless the rest went to a column the format does not read
        // (after its last number field).
        const char separator = marked.Text[marked.Fields[0].first + marked.Fields[0].second];
        const bool splits = c.Layout == TLayout::Separated && bad.find(separator) != std::string::npos;
        const bool shifts = splits || (blank && c.Layout == TLayout::Words);
        if (splits && k + 1 == c.Fields.size() && read.Count == 2) continue;
        EXPECT_EQ(read.Count, 1) << "the line is not read with a number in place of " << bad;
        if (blank && c.PassedOverWhenBlank != nullptr && c.Fields[k].Name == std::string(c.PassedOverWhenBlank)) {
          EXPECT_TRUE(read.Skipped.empty()) << "passed over as the catalogue's own way";
          continue;
        }
        ASSERT_EQ(read.Skipped.size(), 1u) << Shown();
        EXPECT_EQ(read.Skipped[0].LineNumber, badLine);
        if (shifts) {
          EXPECT_FALSE(read.Skipped[0].Field.empty());
        } else {
          EXPECT_EQ(read.Skipped[0].Field, c.Fields[k].Name);
        }
        EXPECT_NE(Shown().find("1 Zeilen mit unbrauchbaren Bahnelementen übersprungen (erste: Zeile " +
                               std::to_string(badLine) + ", Feld " + read.Skipped[0].Field + ")"),
                  std::string::npos)
            << Shown();
        ++refused;
      }
    }
  }
  EXPECT_GT(refused, 400);
}

}  // namespace
}  // namespace kvx::test
