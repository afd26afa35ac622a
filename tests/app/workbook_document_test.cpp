// The workbook documents through the recording message and file-dialog
// doubles: new, open, save, save as, the text and csv exports and the
// question before a document is left.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/history_list.h"
#include "app/workbook_document.h"
#include "platform/globals.h"
#include "platform/workbook/workbook_files.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

struct WorkbookDocFixture {
  workbook::TWorkbook book{1};
  TMainFormState state;
  std::string fileName;
  int fileType = 0;
  std::string caption = "Kandrevoltinex 4.6";
  TMyHistoryList recent;
  TWorkbookDocument doc{book, state, fileName, fileType, caption, &recent, {}, 0};
  test::RecordingFileDialog dialog;
  RecordingMessageSink sink;
  ScopedFileDialog scopedDialog{dialog};
  ScopedMessageSink scopedSink{sink};
};

TEST(WorkbookDocument, NewSaveAsAndTheQuestionBeforeLeaving) {
  test::TempFolder folder;
  WorkbookDocFixture f;
  f.doc.DefaultFolder = folder.Path().string() + "/";
  f.state.UntitledCounter = 2;
  NewDocument(f.doc, 3);
  EXPECT_EQ(f.caption, "Kandrevoltinex 4.6 [Unbenannt3] ");
  ASSERT_EQ(f.book.NumSheets(), 3);
  EXPECT_EQ(f.book.SheetName(3), "Sheet3");
  f.book.SetText(1, 1, "Wert");
  f.state.DocumentSaved = 0;

  // Cancel keeps the document; a refused extension keeps it unsaved.
  f.sink.QueueReply(MessageResult::Cancel);
  EXPECT_FALSE(AskSaveChanges(f.doc));
  f.sink.QueueReply(MessageResult::Yes);
  f.dialog.QueueAnswer(folder.File("book.xls"));
  EXPECT_FALSE(AskSaveChanges(f.doc));
  EXPECT_EQ(f.dialog.requests.back().request.start, folder.File("Unbenannt3"));
  EXPECT_EQ(f.dialog.requests.back().request.filters.at(0), "Excel-Arbeitsmappe (*.xlsx)");
  EXPECT_EQ(f.sink.messages.back().caption, "Datei nicht gespeichert");
  EXPECT_NE(f.sink.messages.back().text.find("\"*.xlsx\""), std::string::npos);

  // A write that fails leaves the document unsaved with its name and caption.
  f.dialog.QueueAnswer(folder.File("missing/book.xlsx"));
  EXPECT_FALSE(SaveWorkbookAs(f.doc));
  EXPECT_EQ(f.state.DocumentSaved, 0);
  EXPECT_TRUE(f.fileName.empty());
  EXPECT_EQ(f.caption, "Kandrevoltinex 4.6 [Unbenannt3] ");
  EXPECT_NE(f.sink.messages.back().text.find("missing/book.xlsx"), std::string::npos);

  const std::string book = folder.File("book.xlsx");
  f.sink.QueueReply(MessageResult::Yes);
  f.dialog.QueueAnswer(book);
  EXPECT_TRUE(AskSaveChanges(f.doc));
  EXPECT_EQ(f.state.DocumentSaved, 1);
  EXPECT_EQ(f.caption, "Kandrevoltinex 4.6 [" + book + "] ");
  EXPECT_EQ(f.recent.Files().front(), book);

  // A text document: Yes saves it and lets the close go on though the
  // document counts as unsaved afterwards.
  f.dialog.QueueAnswer(folder.File("sheet.txt"));
  ASSERT_TRUE(SaveSheetAsText(f.doc));
  EXPECT_EQ(f.state.DocumentSaved, 0);
  EXPECT_EQ(f.sink.messages.back().icon, MessageIcon::Information);
  f.sink.QueueReply(MessageResult::Yes);
  EXPECT_TRUE(AskSaveChanges(f.doc));
  EXPECT_EQ(test::TempFolder::Read(folder.File("sheet.txt")), "Wert\r\n");
  f.sink.QueueReply(MessageResult::No);
  EXPECT_TRUE(AskSaveChanges(f.doc));
}

TEST(WorkbookDocument, OpenKeepsTheDocumentOnFailureAndCsvRoundTrips) {
  test::TempFolder folder;
  WorkbookDocFixture f;
  NewDocument(f.doc, 1);
  f.book.SetText(1, 1, "a;b");
  f.book.SetText(1, 2, "\"q\"");
  f.book.SetText(2, 1, "line\nbreak");
  const std::string csv = folder.File("table.csv");
  f.dialog.QueueAnswer(csv);
  ASSERT_TRUE(SaveSheetAsCsv(f.doc));
  EXPECT_EQ(f.state.DocumentSaved, 0);

  const std::string shownCaption = f.caption;
  const std::string broken = folder.Write("broken.xlsx", "PK\x03\x04 not a zip");
  EXPECT_FALSE(OpenDocument(f.doc, broken));
  EXPECT_FALSE(OpenDocument(f.doc, folder.File("absent.xlsx")));
  EXPECT_NE(f.sink.messages.back().text.find("nicht finden oder wegen"), std::string::npos);
  EXPECT_EQ(f.book.Text(1, 1), "a;b");
  EXPECT_EQ(f.fileName, csv);
  EXPECT_EQ(f.caption, shownCaption);

  WorkbookDocFixture g;
  ASSERT_TRUE(OpenDocument(g.doc, csv));
  EXPECT_EQ(g.book.Text(1, 1), "a;b");
  EXPECT_EQ(g.book.Text(1, 2), "\"q\"");
  EXPECT_EQ(g.book.Text(2, 1), "line\nbreak");
  EXPECT_EQ(g.caption, "Kandrevoltinex 4.6 [" + csv + "] ");
  // Save on a csv document runs the csv export with its dialog again.
  g.dialog.QueueAnswer(std::nullopt);
  EXPECT_FALSE(SaveDocument(g.doc));
  ASSERT_EQ(g.dialog.requests.size(), 1u);
  EXPECT_EQ(g.dialog.requests[0].request.start, csv);
}

}  // namespace
}  // namespace kvx
