// The central-meridian transit dialog refuses, at OK, a feature name the
// configuration file cannot keep (more than 50 characters, or a character
// without a Windows-1252 form) instead of cutting it or storing '?', and
// takes a name from the features file whole (offscreen).
#include "tables/ui/feature_transit_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "platform/globals.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"

namespace kvx {
namespace {

TEST(FeatureTransitDialog, NamesTheConfigurationCannotKeepAreRefusedNotCut) {
  LanguageEnglish = 1;
  RecordingMessageSink messages;
  ScopedMessageSink sink(messages);
  TPlanetenpassage dialog;
  const std::string longName(51, 'x');
  dialog.Features = {TSurfaceFeature{longName, {"jupiter1", 10.0}}};
  dialog.FormShow();
  dialog.ComboBoxes[1]->setCurrentIndex(0);
  dialog.ComboChanged(1);
  EXPECT_EQ(dialog.Edits[1]->text().toStdString(), longName) << "taken whole, not cut";
  dialog.OkClick();
  EXPECT_EQ(dialog.result(), 0);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "The name \"" + longName + "\" is longer than 50 characters.");

  dialog.Edits[1]->setText(QString::fromStdString(std::string(50, 'x')));
  dialog.Edits[3]->setText(QString::fromUtf8("Na\u03cc\u03c2"));
  dialog.OkClick();
  EXPECT_EQ(dialog.result(), 0);
  ASSERT_EQ(messages.messages.size(), 2u);
  EXPECT_NE(messages.messages[1].text.find("holds characters that the configuration file cannot store"),
            std::string::npos);

  dialog.Edits[3]->setText(QString::fromUtf8("Th\u00e9\u00e2tre \u2013 \u0160"));  // Windows-1252 holds these
  dialog.OkClick();
  EXPECT_EQ(dialog.result(), 1);
  EXPECT_EQ(dialog.Settings.name[1], std::string(50, 'x'));
  EXPECT_EQ(dialog.Settings.name[3], "Th\u00e9\u00e2tre \u2013 \u0160");
  EXPECT_EQ(messages.messages.size(), 2u);
  LanguageEnglish = 0;
}

}  // namespace
}  // namespace kvx
