#include "platform/messages.h"

#include <gtest/gtest.h>

#include "platform/globals.h"
#include "platform/progress.h"
#include "support/recording_message_sink.h"
#include "support/recording_progress.h"

namespace kvx {
namespace {

TEST(MessageSeam, ShowsTheTextOfTheCurrentLanguageAndAnswersFromTheQueue) {
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  LanguageEnglish = 0;
  EXPECT_EQ(ShowMessage("Falsches Dateiformat", "Wrong file format", MessageIcon::Error), MessageResult::Ok);
  LanguageEnglish = 1;
  sink.QueueReply(MessageResult::No);
  EXPECT_EQ(ShowMessage("Weiter?", "Continue?", MessageIcon::Question, MessageButtons::YesNo), MessageResult::No);
  EXPECT_EQ(ShowMessage("Weiter?", "Continue?", MessageIcon::Question, MessageButtons::YesNo), MessageResult::Yes);
  LanguageEnglish = 0;

  ASSERT_EQ(sink.messages.size(), 3u);
  EXPECT_EQ(sink.messages[0].text, "Falsches Dateiformat");
  EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(sink.messages[1].text, "Continue?");
}

TEST(MessageSeam, GuardRestoresThePreviousSink) {
  RecordingMessageSink outer, inner;
  ScopedMessageSink outer_guard(outer);
  {
    ScopedMessageSink inner_guard(inner);
    ShowMessage("a", "a", MessageIcon::None);
  }
  ShowMessage("b", "b", MessageIcon::None);
  EXPECT_EQ(inner.messages.size(), 1u);
  EXPECT_EQ(outer.messages.size(), 1u);
}

TEST(ProgressSeam, RecordingDoubleSetsAbortAtTheChosenStep) {
  RecordingProgress progress;
  SetProgressReporter(&progress);
  AbortRequested = 0;
  progress.abort_at_step = 3;
  CurrentProgress().Begin("Rechne", 10);
  int steps_done = 0;
  for (int i = 1; i <= 10 && AbortRequested == 0; ++i) {
    CurrentProgress().Step(i);
    ++steps_done;
  }
  CurrentProgress().End();
  SetProgressReporter(nullptr);
  EXPECT_EQ(steps_done, 3);
  EXPECT_EQ(AbortRequested, 1);
  EXPECT_FALSE(progress.Visible());
  AbortRequested = 0;
}

}  // namespace
}  // namespace kvx
