// Helpers of the element-list tests: a German, point-separated start state,
// a recording message sink and a scratch folder per test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/globals.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx::test {

class CatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LanguageEnglish = 0;
    IntlSeparators.Decimal = ',';
  }
  void TearDown() override {
    LanguageEnglish = 0;
    IntlSeparators.Decimal = '.';
  }
  // Texts of the messages shown so far, joined by newlines.
  std::string Shown() const {
    std::string all;
    for (const RecordedMessage& m : sink.messages) all += m.text + " [" + m.caption + "]\n";
    return all;
  }

  RecordingMessageSink sink;
  ScopedMessageSink scoped{sink};
  TempFolder folder;
};

}  // namespace kvx::test
