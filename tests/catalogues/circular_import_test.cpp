// Elements from circulars: an asteroid and a comet block composed in the
// published layout, as text and inside HTML pages with markup, entities and
// other line ends; every field against the fixture, the dates against
// Julian days from python3-ephem (exact to 1e-6 d); and the refusals.
#include "catalogues/circular_import.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/records.h"
#include "platform/globals.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

std::string Fixture(const char* name) { return std::string(KVX_FIXTURE_DIR) + "/circulars/" + name; }

// Julian days from python3-ephem (make_circular_dates.py).
double ReferenceJd(const std::string& label) {
  std::ifstream in(Fixture("dates.txt"));
  std::string name;
  double jd = 0;
  while (in >> name >> jd) {
    if (name == label) return jd;
  }
  ADD_FAILURE() << "no reference date " << label;
  return 0;
}

// The message of a refused import, or "" when it was taken.
std::string Refusal(const std::vector<std::string>& lines) {
  try {
    ImportCircular(lines);
  } catch (const EmpecFileError& error) {
    return error.what();
  }
  return {};
}

TEST(CircularImport, AsteroidAndCometAsTextAndHtml) {
  LanguageEnglish = 1;
  for (const char* file : {"asteroid.txt", "asteroid.html"}) {
    SCOPED_TRACE(file);
    const TCircularElements r = ImportCircularFile(Fixture(file));
    ASSERT_FALSE(r.Comet);
    const TAsteroidElements& a = r.Asteroid;
    EXPECT_EQ(a.Name, "2005 QZ99");
    EXPECT_DOUBLE_EQ(a.Epoch, 2453600.5);
    EXPECT_DOUBLE_EQ(a.MeanAnomaly, 20.13862);
    EXPECT_DOUBLE_EQ(a.Equinox, 2000.0);
    EXPECT_DOUBLE_EQ(a.MeanMotion, 0.23183727);
    EXPECT_DOUBLE_EQ(a.Perihelion, 331.85773);
    EXPECT_DOUBLE_EQ(a.SemiMajorAxis, 2.6335917);
    EXPECT_DOUBLE_EQ(a.Node, 167.44389);
    EXPECT_DOUBLE_EQ(a.Eccentricity, 0.2453925);
    EXPECT_DOUBLE_EQ(a.Inclination, 6.64396);
    EXPECT_DOUBLE_EQ(a.H, 16.5);
    EXPECT_DOUBLE_EQ(a.G, 0.15);
  }
  for (const char* file : {"comet.txt", "comet.htm"}) {
    SCOPED_TRACE(file);
    const TCircularElements r = ImportCircularFile(Fixture(file));
    ASSERT_TRUE(r.Comet);
    const TCometElements& c = r.CometSet;
    EXPECT_EQ(c.Name, std::string(file) == "comet.txt" ? "C/2005 A99 (LINEAR)" : "C/2005 A99 (LINEAR) & friends");
    EXPECT_NEAR(c.PerihelionTime, ReferenceJd("comet_T"), 1e-6);  // 2005 May 7.71564 TT
    EXPECT_DOUBLE_EQ(c.Epoch, c.PerihelionTime);
    EXPECT_DOUBLE_EQ(c.PerihelionDistance, 0.9069816);
    EXPECT_DOUBLE_EQ(c.Perihelion, 155.83014);
    EXPECT_DOUBLE_EQ(c.Node, 118.42452);
    EXPECT_DOUBLE_EQ(c.Eccentricity, 0.9996352);
    EXPECT_DOUBLE_EQ(c.Inclination, 74.91843);
    EXPECT_EQ(c.H, 0.0);
  }
  // The date itself when the epoch line has no Julian day.
  std::vector<std::string> lines = {"Orbital elements:", "Test", "Epoch 2005 Aug. 18.25 TT",
                                    "M  20.13862              (2000.0)",
                                    "n   0.23183727     Peri.  331.85773", "a   2.6335917      Node   167.44389",
                                    "e   0.2453925      Incl.    6.64396", "P   4.25           H   16.5"};
  EXPECT_NEAR(ImportCircular(lines).Asteroid.Epoch, ReferenceJd("epoch_aug"), 1e-6);
  EXPECT_EQ(ImportCircular(lines).Asteroid.G, 0.0) << "no G: 0";
  // Every number field: a word, a comma exponent, a blank or a minus sign
  // that is no "-" refuses the circular, naming the field; only G may be
  // blank (0).
  lines.back() += "           G   0.15           U   8";
  struct {
    std::size_t Line;
    const char* Value;
    const char* Field;
  } const numbers[] = {{3, "20.13862", "M"},     {3, "2000.0", "Equinox"}, {4, "0.23183727", "n"},
                       {4, "331.85773", "Peri."}, {5, "2.6335917", "a"},    {5, "167.44389", "Node"},
                       {6, "0.2453925", "e"},     {6, "6.64396", "Incl."},  {7, "16.5", "H"},
                       {7, "0.15", "G"}};
  for (const auto& number : numbers) {
    for (const std::string bad : {"B1950", "1,5e", "", "\u2212"}) {
      std::vector<std::string> damaged = lines;
      std::string& line = damaged[number.Line];
      line.replace(line.find(number.Value), std::string(number.Value).size(), bad);
      if (bad.empty() && std::string(number.Field) == "G") {
        EXPECT_EQ(ImportCircular(damaged).Asteroid.G, 0.0);
        continue;
      }
      EXPECT_NE(Refusal(damaged).find(std::string("(") + number.Field + ")"), std::string::npos)
          << line << ": " << Refusal(damaged);
    }
  }
  EXPECT_DOUBLE_EQ(ImportCircular(lines).Asteroid.G, 0.15);
  EXPECT_EQ(MonthFromAbbreviation("May "), 5);
  EXPECT_EQ(MonthFromAbbreviation("Sept"), 9);

  // Refusals: an unknown month (no longer taken as May), a missing
  // "Peri"/"Arg.", an unreadable number, a truncated block, no block at all,
  // a binary file and an HTML page without line breaks.
  const std::string format = "Invalid or unknown format of the MPE circular.";
  lines[2] = "Epoch 2005 Mai. 18.25 TT";
  EXPECT_EQ(Refusal(lines), format);
  lines[2] = "Epoch 2005 Aug. 18.25 TT";
  lines[4] = "n   0.23183727     Pxxx.  331.85773";
  EXPECT_EQ(Refusal(lines), format);
  lines[4] = "n   0.2318x727     Peri.  331.85773";
  EXPECT_NE(Refusal(lines).find("'0.2318x727' is not a number (n)"), std::string::npos) << Refusal(lines);
  lines[4] = "n   0.23183727     Peri.  331.85773";
  lines.resize(6);
  EXPECT_EQ(Refusal(lines), format);
  const std::string none = "This ist no MPE circular with orbital elements.";
  EXPECT_EQ(Refusal({"Orbit determination", "nothing here"}), none);
  EXPECT_EQ(Refusal({}), none);
  test::TempFolder folder;
  EXPECT_THROW(ImportCircularFile(folder.Write("binary.txt", std::string("\x00\xff\x13orbital elements\x00\x01", 22))),
               EmpecFileError);
  EXPECT_THROW(ImportCircularFile(folder.Write("flat.html", "<html><pre>Orbital elements: 2005 QZ99 Epoch 2005 "
                                                             "Aug. 18.0 TT M 20.1 n 0.2 Peri. 331.8</pre></html>")),
               EmpecFileError);
  EXPECT_THROW(ImportCircularFile(folder.File("missing.txt")), EmpecFileError);
}

}  // namespace
}  // namespace kvx
