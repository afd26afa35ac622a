// The file viewer's lines: element records and binary observations against
// the lines make_view_fixtures.py decodes with Python's struct, the line
// limit, markup removal as the viewer uses it, text oddities and refusals.
#include <gtest/gtest.h>

#include <fstream>

#include "core/element_records.h"
#include "orbitdet/file_view.h"
#include "platform/safe_file_write.h"
#include "platform/text_encoding.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

const std::string kFixtures = KVX_FIXTURE_DIR;

std::vector<std::string> Section(const std::string& name) {
  std::vector<std::string> lines;
  std::string bytes, error;
  EXPECT_TRUE(ReadFileBytes(kFixtures + "/view_reference.txt", bytes, error)) << error;
  bool in = false;
  for (const std::string& line : SplitTextLines(bytes)) {
    if (line.starts_with("# file ")) {
      in = line == "# file " + name;
      continue;
    }
    if (in) lines.push_back(line);
  }
  return lines;
}

TEST(FileView, RecordsAgainstPythonStructAndTheLineLimit) {
  for (const char* name : {"view_asteroids.opl", "view_comets.oko", "mainbelt.obs"}) {
    const TFileView view = LoadFileView(kFixtures + "/" + name);
    ASSERT_TRUE(view.Ok) << name << view.ErrorEnglish;
    EXPECT_FALSE(view.TooLarge);
    const std::vector<std::string> expected = Section(name);
    ASSERT_FALSE(expected.empty()) << name;
    EXPECT_EQ(view.Lines, expected) << name;
  }
  // The own text format holds the same observations as the binary file.
  const TFileView own = LoadFileView(kFixtures + "/mainbelt_own.txt");
  ASSERT_TRUE(own.Ok);
  EXPECT_EQ(own.Lines.size(), Section("mainbelt.obs").size());
  EXPECT_EQ(own.Lines[0].substr(0, 12), Section("mainbelt.obs")[0].substr(0, 12));

  // 40,000 records: 32,000 lines, flagged.
  test::TempFolder folder;
  TAsteroidElements e;
  e.Name = "x";
  e.SemiMajorAxis = 2.5;
  const TAsteroidElementRecordBytes one = EncodeAsteroidElementRecord(e);
  std::string many;
  for (int i = 0; i < 40000; ++i) many.append(reinterpret_cast<const char*>(one.data()), one.size());
  ASSERT_TRUE(WriteFileReplacing(folder.File("many.OPL"), many));
  const TFileView big = LoadFileView(folder.File("many.OPL"));
  ASSERT_TRUE(big.Ok);
  EXPECT_EQ(big.Lines.size(), kFileViewMaxLines);
  EXPECT_TRUE(big.TooLarge);
}

TEST(FileView, MarkupTextAndRefusals) {
  test::TempFolder folder;
  // Tags removed, a tag across two lines, emptied lines vanish, empty lines
  // stay, an unclosed "<" ends the text, the marker text itself stays.
  ASSERT_TRUE(WriteFileReplacing(folder.File("page.HTML"),
                                 "<html>\r\n<b>fett</b> und mehr\r\n\r\nvorn <a\r\nhref=x>hinten\r\n"
                                 "asdf_jklö_Tolvaquendri\r\nletzte <i offen\r\n"));
  const TFileView page = LoadFileView(folder.File("page.HTML"));
  ASSERT_TRUE(page.Ok);
  // (The markup remover joins the two parts of a line broken inside a tag.)
  EXPECT_EQ(page.Lines,
            (std::vector<std::string>{"fett und mehr", "", "vorn hinten", "asdf_jklö_Tolvaquendri", "letzte "}));
  // Windows-1252, a NUL, mixed line ends, a long line cut.
  ASSERT_TRUE(WriteFileReplacing(folder.File("t.txt"), std::string("K\xF6rper\rA\0B\nC\r\n", 13) +
                                                           std::string(12000, 'z')));
  const TFileView text = LoadFileView(folder.File("t.txt"));
  ASSERT_TRUE(text.Ok);
  ASSERT_EQ(text.Lines.size(), 4u);
  EXPECT_EQ(text.Lines[0], "Körper");
  EXPECT_EQ(text.Lines[1], "A·B");
  EXPECT_EQ(text.Lines[2], "C");
  EXPECT_EQ(text.Lines[3].size(), kFileViewMaxLineLength);
  // A folder, a missing file and a device are refused by name.
  for (const std::string& path : {folder.Path().string(), folder.File("gone.txt"), std::string("/dev/zero")}) {
    const TFileView bad = LoadFileView(path);
    EXPECT_FALSE(bad.Ok) << path;
    EXPECT_NE(bad.ErrorGerman.find(path), std::string::npos);
  }
}

}  // namespace
}  // namespace kvx
