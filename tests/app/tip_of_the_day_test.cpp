#include "app/tip_of_the_day.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <filesystem>
#include <random>
#include <set>

#include "app/ui/tip_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"

namespace kvx {
namespace {

TEST(TipOfTheDay, SeededDrawsShowEveryTipOnceThenTheBox) {
  RecordingMessageSink messages;
  ScopedMessageSink sink(messages);
  TTipOfTheDay component;
  component.Tips = GermanTips();
  std::mt19937 engine(7);
  component.Random = [&engine](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(engine); };
  std::set<std::string> seen;
  component.OnShowForm = [&](const TTipView& first, const auto&, bool) {
    seen.insert(first.Text);
    EXPECT_EQ(first.Header, "Wußten Sie schon?");
    return false;
  };
  const std::size_t count = component.Tips.Tips().size();
  ASSERT_EQ(count, 79u);
  for (std::size_t i = 0; i < count; ++i) ASSERT_TRUE(component.ShowNextTip());
  EXPECT_EQ(seen.size(), count);
  EXPECT_FALSE(component.ShowTipsAtStartup);  // taken from the box
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_FALSE(component.ShowNextTip());
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].caption, "Tip of the day error");
  EXPECT_EQ(messages.messages[0].text, "I'm very sorry, but...\nall available tips have been shown.");

  TTipOfTheDay broken;
  broken.Tips.AddType("tip", "Tip of the day", "Did you know this?");
  broken.Tips.AddTip("NoSuchType", "never shown");
  bool shown = false;
  broken.OnShowForm = [&](const TTipView&, const auto&, bool) { return shown = true; };
  EXPECT_FALSE(broken.ShowNextTip());
  EXPECT_FALSE(shown);
  EXPECT_NE(messages.messages.back().text.find("unable to show you the next tip"), std::string::npos);
  EXPECT_EQ(broken.Tips.Tips()[0].Shown, 0);
  TTipOfTheDay empty;
  EXPECT_FALSE(empty.ShowNextTip());
  EXPECT_NE(messages.messages.back().text.find("forgot to provide"), std::string::npos);
}

TEST(TipOfTheDay, WindowShowsTheNextTipAndReportsItsCheckBox) {
  LanguageEnglish = 1;
  TTipOfTheDay component;
  component.Tips = EnglishTips();
  ASSERT_EQ(component.Tips.Tips().size(), 58u);
  component.Random = [](std::size_t) { return std::size_t{0}; };
  const TTipView first = component.NextTip();
  TTipOfTheDayForm window(first, [&] { return std::optional<TTipView>(component.NextTip()); }, true);
  window.show();
  EXPECT_EQ(window.windowTitle(), "Tip of the day");
  EXPECT_EQ(window.HeaderLabel()->text(), "Did you know this?");
  EXPECT_EQ(window.TipLabel()->text().toStdString(), component.Tips.Tips()[0].Text);
  window.NextBtn()->click();  // the first draw falls on a shown tip: the next unshown one follows
  EXPECT_EQ(window.TipLabel()->text().toStdString(), component.Tips.Tips()[1].Text);
  window.ShowTipsCheck()->setChecked(false);
  EXPECT_FALSE(window.ShowAtStartup());
  const std::filesystem::path folder = std::filesystem::path(KVX_BINARY_DIR) / "test-output";
  std::filesystem::create_directories(folder);
  window.grab().save(QString::fromStdString((folder / "tip_of_the_day.png").string()));
  window.OkBtn()->click();
  EXPECT_EQ(window.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace kvx
