// The own table file: its byte layout, a load-then-save round trip and the
// files that must be refused without changing anything.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/history_list.h"
#include "app/main_form_state.h"
#include "app/table_document.h"
#include "app/table_file.h"
#include "core/binary_fields.h"
#include "platform/globals.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

std::int32_t I32At(const std::vector<std::uint8_t>& b, std::size_t at) {
  FieldReader r(b);
  r.Seek(at);
  return r.I32();
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A document over its own grid, records and lists.
struct DocFixture {
  tmystringgrid grid{2, 2};
  TResultGridLook look;
  TMainFormState state;
  std::array<std::int32_t, kQuantityCount> widths{};
  std::string caption = "Kandrevoltinex 4.6 [before] ";
  TMyHistoryList recent;
  TTableDocument doc{grid, look, state.Period, state.Eclipses, state.Document, widths, caption, &recent, {}};

  DocFixture() { SetStartupDefaults(state); }
};

TEST(TableFile, TwoByTwoGridGivesTheDocumentedBytes) {
  TTableFileImage image;
  image.Font = {12, -16, "Arial", 0x0000FF, kFontBold | kFontUnderline};
  image.GridColor = 0x00FFFFFF;
  image.FixedColor = 0x8000000F;
  image.Reserved = 3;
  image.CellLines = 1;
  image.FixedLines = 0;
  image.StartObserver.Longitude = 13.4;
  image.EndObserver.Latitude = -33.9;
  image.Step = {2, 6.0, 2.25};
  image.EclipseSearchMinutes = 7;
  image.EclipseSearchSpanHours = 9;
  for (int i = 0; i < kQuantityCount; ++i) image.ColumnWidthTable[static_cast<std::size_t>(i)] = 100 + i;
  image.Cells = {{0, 0, 8, 8, ""}, {0, 1, 80, 8, "Datum"}, {1, 0, 8, 20, "1"}, {1, 1, 80, 20, "2026 Dez 07"}};

  const std::vector<std::uint8_t> b = EncodeTableFile(image);
  ASSERT_EQ(b.size(), 25577u);
  EXPECT_EQ(b[0], 26);
  EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 27), "KandrevoltinexFile 0000001");
  for (std::size_t i = 27; i < 33; ++i) EXPECT_EQ(b[i], 0) << i;
  EXPECT_EQ(I32At(b, 33), 1);
  EXPECT_EQ(I32At(b, 37), 1);
  EXPECT_EQ(I32At(b, 41), 12);
  EXPECT_EQ(I32At(b, 45), -16);
  EXPECT_EQ(b[49], 5);
  EXPECT_EQ(std::string(b.begin() + 50, b.begin() + 55), "Arial");
  EXPECT_EQ(I32At(b, 305), 0x0000FF);
  EXPECT_EQ(I32At(b, 309), 5);
  EXPECT_EQ(static_cast<std::uint32_t>(I32At(b, 313)), 0x00FFFFFFu);
  EXPECT_EQ(static_cast<std::uint32_t>(I32At(b, 317)), 0x8000000Fu);
  EXPECT_EQ(b[321], 3);
  EXPECT_EQ(b[322], 1);
  EXPECT_EQ(b[323], 0);
  const TObserverRecordBytes start = EncodeObserverRecord(image.StartObserver);
  const TObserverRecordBytes end = EncodeObserverRecord(image.EndObserver);
  EXPECT_TRUE(std::equal(start.begin(), start.end(), b.begin() + 324));
  EXPECT_TRUE(std::equal(end.begin(), end.end(), b.begin() + 1060));
  const TTableConfigBytes config = EncodeTableConfigRecord(image.TableConfig);
  EXPECT_TRUE(std::equal(config.begin(), config.end(), b.begin() + 1796));
  const TTableStepBytes step = EncodeTableStep(image.Step);
  EXPECT_TRUE(std::equal(step.begin(), step.end(), b.begin() + 24472));
  EXPECT_EQ(I32At(b, 24492), 7);
  EXPECT_EQ(I32At(b, 24496), 9);
  EXPECT_EQ(b[24500], 3);
  EXPECT_EQ(I32At(b, 24501), 100);
  EXPECT_EQ(I32At(b, 24501 + 4 * 220), 320);
  // The last cell record: row 1, column 1, width, height, text, spare byte.
  const std::size_t last = 25385 + 3 * 48;
  EXPECT_EQ(I32At(b, last), 1);
  EXPECT_EQ(I32At(b, last + 4), 1);
  EXPECT_EQ(I32At(b, last + 8), 80);
  EXPECT_EQ(I32At(b, last + 12), 20);
  EXPECT_EQ(b[last + 16], 11);
  EXPECT_EQ(std::string(b.begin() + static_cast<long>(last) + 17, b.begin() + static_cast<long>(last) + 28),
            "2026 Dez 07");
  EXPECT_EQ(b[last + 47], 0);

  TTableFileImage back;
  ASSERT_EQ(DecodeTableFile(b, back), TableFileProblem::None);
  EXPECT_EQ(EncodeTableFile(back), b);
}

TEST(TableFile, LoadThenSaveIsByteExactAndFollowsTheLoadRules) {
  test::TempFolder folder;
  DocFixture a;
  a.look.Reserved = 9;
  a.look.GridColor = 0x80000005;
  a.look.FixedColor = 0x8000000F;
  a.look.Font = {9, -12, "Liberation Sans", 0x00112233, kFontItalic};
  a.state.Period.Start.Longitude = -9.301;
  a.state.Period.Step = {0, 12.0, 0.5};
  a.widths[5] = 77;
  a.grid.SetColCount(6);
  a.grid.SetRowCount(5);
  ApplyGridLayout(a.grid, a.look);
  a.grid.SetRowHeights(3, 40);
  a.grid.SetColWidths(2, 111);
  for (int r = 0; r < 5; ++r) {
    for (int c = 0; c < 6; ++c) {
      std::string text(1, 'r');
      text += std::to_string(r);
      text += 'c';
      text += std::to_string(c);
      text += "ä";
      a.grid.SetCells(c, r, text);
    }
  }
  // A text longer than a cell record holds, or one with a character outside
  // Windows-1252, refuses the save before anything is written.
  const std::string first = folder.File("first.KVX");
  {
    RecordingMessageSink sink;
    ScopedMessageSink scoped(sink);
    LanguageEnglish = 1;
    for (const std::string& text : {std::string(31, 'x'), std::string("\u03b1 Cen")}) {
      a.grid.SetCells(4, 4, text);
      EXPECT_FALSE(SaveTableFile(a.doc, first));
      EXPECT_FALSE(std::filesystem::exists(first));
    }
    LanguageEnglish = 0;
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[0].text, "Row 4, column 4: Text = \"" + std::string(31, 'x') +
                                         "\" does not fit the format *.kvx. The file " + first + " was not written.");
    EXPECT_EQ(sink.messages[1].caption, "File not saved");
  }
  a.grid.SetCells(4, 4, std::string(30, 'x'));
  ASSERT_TRUE(SaveTableFile(a.doc, first));

  DocFixture b;
  b.look.Font.Name = "Keep Me";
  ASSERT_TRUE(OpenTableFile(b.doc, first));
  EXPECT_EQ(b.caption, "Kandrevoltinex 4.6 [" + first + "] ");
  ASSERT_EQ(b.recent.Files().size(), 1u);
  EXPECT_EQ(b.grid.Cells(4, 4), std::string(30, 'x'));
  EXPECT_EQ(b.grid.Cells(1, 2), "r2c1ä");
  EXPECT_EQ(b.grid.RowHeights(3), 40);   // the stored height beats the default
  EXPECT_EQ(b.grid.RowHeights(2), 18);   // Trunc(1.5 x 12)
  EXPECT_EQ(b.grid.ColWidths(2), 111);
  EXPECT_DOUBLE_EQ(b.look.FontScale, 12.0 / 13.0);
  EXPECT_EQ(b.look.Font.Name, "Liberation Sans");
  EXPECT_EQ(b.widths[5], 77);
  EXPECT_EQ(b.state.Period.Step.Hours, 12.0);
  const std::string second = folder.File("second.kvx");
  ASSERT_TRUE(SaveTableFile(b.doc, second));
  EXPECT_EQ(ReadAll(second), ReadAll(first));

  // Widths only from row 0, heights only from column 0; an empty face keeps
  // the face while size and height are taken over.
  std::string bytes = ReadAll(first);
  const std::size_t row1col2 = 25385 + (1 * 6 + 2) * 48;
  bytes[row1col2 + 8] = 99;    // width in a record of row 1
  bytes[row1col2 + 12] = 99;   // height in a record of column 2
  bytes[41 + 8] = 0;           // empty face
  bytes[41] = 20;              // size
  const std::string edited = folder.Write("edited.kvx", bytes);
  DocFixture c;
  c.look.Font.Name = "Keep Me";
  ASSERT_TRUE(LoadTableFile(c.doc, edited));
  EXPECT_EQ(c.grid.ColWidths(2), 111);
  EXPECT_EQ(c.grid.RowHeights(1), 18);
  EXPECT_EQ(c.look.Font.Name, "Keep Me");
  EXPECT_EQ(c.look.Font.Size, 20);
}

TEST(TableFile, RefusedFilesChangeNothing) {
  test::TempFolder folder;
  DocFixture good;
  good.grid.SetCells(1, 1, "kept");
  const std::string goodPath = folder.File("good.kvx");
  ASSERT_TRUE(SaveTableFile(good.doc, goodPath));
  const std::string bytes = ReadAll(goodPath);

  std::string wrongLength = bytes;
  wrongLength[0] = 25;
  std::string badIndex = bytes;
  badIndex[25385 + 48 * 3] = 2;  // row 2 of a two-row grid
  std::string negativeIndex = bytes;
  negativeIndex[25385 + 48 * 2 + 7] = static_cast<char>(0x80);
  std::string hugeCounts = bytes;
  std::memset(&hugeCounts[33], 0x7F, 8);
  std::string zeroRows = bytes;
  std::memset(&zeroRows[33], 0xFF, 4);  // R - 1 = -1

  struct Case {
    std::string name;
    std::string content;
    std::string english;
  };
  const std::string damaged = "is damaged or incomplete.";
  const std::string notOurs = "This is no file with an Kandrevoltinex 4.6 ephemeris table";
  const std::vector<Case> cases = {
      {"wrong.Kvx", bytes, notOurs},
      {"length.kvx", wrongLength, notOurs},
      {"empty.kvx", "", notOurs},
      {"short.kvx", bytes.substr(0, bytes.size() - 1), damaged},
      {"fixed-only.kvx", bytes.substr(0, 25385), damaged},
      {"padded.kvx", bytes + std::string(48, '\0'), damaged},
      {"index.kvx", badIndex, damaged},
      {"negative.kvx", negativeIndex, damaged},
      {"huge.kvx", hugeCounts, damaged},
      {"zero.kvx", zeroRows, damaged},
      {"missing.kvx", "", "could not open the file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = c.name == "missing.kvx" ? folder.File(c.name) : folder.Write(c.name, c.content);
    DocFixture doc;
    doc.grid.SetCells(1, 1, "before");
    doc.state.Period.Step = {3, 0.0, 3.0};
    const std::vector<std::uint8_t> image = EncodeTableFile(TableFileImageOf(doc.doc));
    RecordingMessageSink sink;
    ScopedMessageSink scoped(sink);
    EXPECT_FALSE(OpenTableFile(doc.doc, path));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
    LanguageEnglish = 1;
    RecordingMessageSink english;
    {
      ScopedMessageSink scopedEnglish(english);
      EXPECT_FALSE(LoadTableFile(doc.doc, path));
    }
    LanguageEnglish = 0;
    ASSERT_EQ(english.messages.size(), 1u);
    EXPECT_NE(english.messages[0].text.find(c.english), std::string::npos) << english.messages[0].text;
    EXPECT_EQ(EncodeTableFile(TableFileImageOf(doc.doc)), image);
    EXPECT_EQ(doc.caption, "Kandrevoltinex 4.6 [before] ");
    EXPECT_TRUE(doc.recent.Files().empty());
  }
}

TEST(TableFile, SaveAsChecksTheNameAndTheTarget) {
  test::TempFolder folder;
  DocFixture doc;
  doc.state.Document.DocumentSaved = 0;
  test::RecordingFileDialog dialog;
  ScopedFileDialog scopedDialog(dialog);
  RecordingMessageSink sink;
  ScopedMessageSink scopedSink(sink);

  dialog.QueueAnswer(folder.File("table.Kvx"));
  EXPECT_FALSE(SaveTableFileAs(doc.doc));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Ephemeridendateien müssen die Erweiterung \"kvx\"  besitzen.");
  EXPECT_EQ(sink.messages[0].caption, "Falsche Dateierweiterung");
  EXPECT_FALSE(std::filesystem::exists(folder.File("table.Kvx")));
  EXPECT_EQ(dialog.requests[0].request.filters.at(0), "Kandrevoltinex-Dateien (*.kvx)");

  // A target the user may not write stays as it was (unless run as root,
  // whom the permissions do not stop).
  const std::string locked = folder.Write("locked.kvx", "old");
  ::chmod(locked.c_str(), 0444);
  if (::geteuid() != 0) {
    dialog.QueueAnswer(locked);
    EXPECT_FALSE(SaveTableFileAs(doc.doc));
    EXPECT_EQ(ReadAll(locked), "old");
    EXPECT_NE(sink.messages.back().text.find("locked.kvx"), std::string::npos);
    EXPECT_EQ(doc.state.Document.DocumentSaved, 0);
  }

  const std::string target = folder.File("table.kvx");
  dialog.QueueAnswer(target);
  EXPECT_TRUE(SaveTableFileAs(doc.doc));
  EXPECT_EQ(doc.state.Document.DocumentSaved, 1);
  EXPECT_EQ(doc.caption, "Kandrevoltinex 4.6 [" + target + "]");
  EXPECT_EQ(doc.recent.Files().front(), target);
  EXPECT_EQ(std::filesystem::file_size(target), 25577u);
}

}  // namespace
}  // namespace kvx
