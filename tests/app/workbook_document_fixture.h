// A workbook document over its own workbook, state, caption and recent-files
// list, with the recording file dialog and message sink installed; the texts
// are the German ones, whatever a test before left.
#pragma once

#include <string>

#include "app/history_list.h"
#include "app/main_form_state.h"
#include "app/workbook_document.h"
#include "platform/globals.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"

namespace kvx::test {

struct WorkbookDocFixture {
  struct German {
    German() { LanguageEnglish = 0; }
  } german;
  workbook::TWorkbook book{1};
  TMainFormState state;
  std::string fileName;
  int fileType = 0;
  std::string caption = "Kandrevoltinex 4.6";
  TMyHistoryList recent;
  TWorkbookDocument doc{book, state.Document, fileName, fileType, caption, &recent, {}};
  RecordingFileDialog dialog;
  RecordingMessageSink sink;
  ScopedFileDialog scopedDialog{dialog};
  ScopedMessageSink scopedSink{sink};
};

}  // namespace kvx::test
