#include "app/ui/catalogue_loader.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <thread>

#include "app/main_form_state.h"
#include "app/ui/main_window.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

std::string StarRecord(float ra, float dec, int number) {
  TOccultationStarRecord r;
  r.RightAscension = ra;
  r.Declination = dec;
  r.Magnitude100 = 600.f;
  const std::string name = std::to_string(number);
  r.NameLength = static_cast<std::uint8_t>(name.size());
  r.Name.fill(' ');
  for (std::size_t k = 0; k < name.size(); ++k) r.Name[k] = name[k];
  std::array<std::uint8_t, kOccultationStarRecordSize> bytes{};
  EncodeOccultationStarRecord(r, bytes);
  return std::string(bytes.begin(), bytes.end());
}

std::string SyntheticCatalogue(int stars) {
  std::string bytes;
  for (int i = 1; i <= stars; ++i) bytes += StarRecord(static_cast<float>(i % 360), 1.f, i);
  return bytes;
}

// Notes the thread every message box is asked for on.
class ThreadNotingSink : public RecordingMessageSink {
 public:
  MessageResult Show(const std::string& text, const std::string& caption, MessageIcon icon,
                     MessageButtons buttons) override {
    threads.push_back(std::this_thread::get_id());
    return RecordingMessageSink::Show(text, caption, icon, buttons);
  }
  std::vector<std::thread::id> threads;
};

bool WaitUntil(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > 20000) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

TEST(CatalogueLoader, LoadsOffTheGuiThreadAndPublishesOnlyAtTheQueuedHandOver) {
  test::TempFolder folder;
  folder.Write("OCCINP95.DAT", SyntheticCatalogue(20000));
  TCatalogueLoader loader;
  int finished = 0;
  Qt::HANDLE finishedOn = nullptr;
  QObject::connect(&loader, &TCatalogueLoader::Finished, [&] {
    ++finished;
    finishedOn = QThread::currentThreadId();
  });
  std::vector<int> progress;
  QObject::connect(&loader, &TCatalogueLoader::ProgressChanged, [&](int percent) { progress.push_back(percent); });

  loader.Start({folder.Path().string(), 2, -1});
  EXPECT_TRUE(loader.Busy());
  // The worker is done, yet nothing reached the GUI side before the event queue ran.
  loader.WaitForWorker();
  EXPECT_TRUE(loader.Busy());
  EXPECT_FALSE(loader.Result().has_value());
  EXPECT_EQ(finished, 0);
  EXPECT_TRUE(progress.empty());

  ASSERT_TRUE(WaitUntil([&] { return finished == 1; }));
  EXPECT_FALSE(loader.Busy());
  EXPECT_EQ(finishedOn, QThread::currentThreadId());
  ASSERT_TRUE(loader.Result()->Load.Catalogue);
  EXPECT_EQ(loader.Result()->Load.Catalogue->Count(), 20000);
  EXPECT_FALSE(progress.empty());
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));

  // A start while one runs replaces it: only the newest request is handed over.
  folder.Write("OCCINP8.DAT", SyntheticCatalogue(10));
  loader.Start({folder.Path().string(), 2, -1});
  loader.Start({folder.Path().string(), 1, -1});
  ASSERT_TRUE(WaitUntil([&] { return finished == 2 && !loader.Busy(); }));
  EXPECT_EQ(loader.Result()->Request.Choice, 1);
  EXPECT_EQ(loader.Result()->Load.Catalogue->Count(), 10);
}

TEST(CatalogueLoader, MainWindowGetsTheCatalogueOrTheMessageOnTheGuiThread) {
  test::TempFolder folder;
  folder.Write("OCCINP8.DAT", SyntheticCatalogue(50));
  folder.Write("OCCINP95.DAT", SyntheticCatalogue(50) + "cut");
  LanguageEnglish = 1;
  TMainForm form;
  ThreadNotingSink messages;
  ScopedMessageSink sink(messages);  // after the window installed its own
  TCatalogueLoader* loader = InstallBackgroundLoading(form);
  int refreshed = 0;
  form.RefreshMenusHook = [&] { ++refreshed; };
  form.State().DataFolder = folder.Path().string();
  form.State().StarCatalogue.Level = 2;
  form.State().StarCatalogue.Setting = 1;

  StartCatalogueLoad(form, *loader);
  EXPECT_EQ(form.State().StarCatalogue.Loading, 1);
  loader->WaitForWorker();
  EXPECT_FALSE(form.StarCatalogue());  // not before the hand-over
  EXPECT_EQ(refreshed, 0);
  ASSERT_TRUE(WaitUntil([&] { return refreshed == 1; }));
  EXPECT_EQ(form.State().StarCatalogue.Loading, 0);
  ASSERT_TRUE(form.StarCatalogue());
  EXPECT_EQ(form.StarCatalogue()->Count(), 50);
  const auto small = form.StarCatalogue();

  // The corrupt large file: the old catalogue stays, the message comes on
  // the GUI thread, the setting goes back down.
  form.State().StarCatalogue.Setting = 2;
  StartCatalogueLoad(form, *loader);
  ASSERT_TRUE(WaitUntil([&] { return refreshed == 2; }));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_NE(messages.messages[0].text.find("OCCINP95.DAT"), std::string::npos) << messages.messages[0].text;
  EXPECT_EQ(messages.threads[0], std::this_thread::get_id());
  EXPECT_EQ(form.StarCatalogue(), small);
  EXPECT_LT(form.State().StarCatalogue.Setting, 2);
  EXPECT_EQ(form.State().StarCatalogue.Loading, 0);
}

}  // namespace
}  // namespace kvx
