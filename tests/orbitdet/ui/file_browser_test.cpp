// The file browser offscreen: a file chosen and shown, word wrap, the
// clipboard, a refused file leaving the viewer as it was, the too-large
// box, the bounds it is given and hands back, the same size whatever
// folder it shows, and the folder tree open at the folder of the path box;
// pictures in both languages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
#include <QTreeView>
#include <filesystem>

#include "core/element_records.h"
#include "orbitdet/ui/file_browser.h"
#include "platform/globals.h"
#include "platform/qt/elided_label.h"
#include "platform/safe_file_write.h"
#include "support/qt/save_png.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

// The folder the tree shows chosen, after a second in which the tree
// loads and sorts the folders it shows; empty when the chosen folder is not opened
// down to, or is scrolled out of sight.
std::string FolderShownInTree(QWidget& browser) {
  auto* tree = browser.findChild<QTreeView*>("Folders");
  auto* model = tree != nullptr ? qobject_cast<QFileSystemModel*>(tree->model()) : nullptr;
  if (model == nullptr) return "(no tree)";
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 1000) {
    QApplication::processEvents();
    QThread::msleep(10);
  }
  const QModelIndex at = tree->currentIndex();
  for (QModelIndex above = at.parent(); above.isValid(); above = above.parent()) {
    if (!tree->isExpanded(above)) return "";
  }
  if (!at.isValid() || !tree->viewport()->rect().intersects(tree->visualRect(at))) return "";
  return model->filePath(at).toStdString();
}

TEST(FileBrowser, ShowWrapCopyRefuseAndGeometry) {
  RecordingMessageSink sink;
  ScopedMessageSink scoped(sink);
  test::TempFolder folder;
  const std::string fixtures =
      (std::filesystem::path(KVX_FIXTURE_DIR).parent_path().parent_path() / "fixtures").string();
  TBrowserBounds closed;
  {
    TBrowserForm browser(fixtures, fixtures + "/view_asteroids.opl");
    browser.show();
    QApplication::processEvents();
    EXPECT_EQ(browser.geometry().width(), 590);
    EXPECT_EQ(browser.geometry().height(), 390);
    EXPECT_TRUE(browser.findChild<QPushButton*>("Show")->isEnabled());
    EXPECT_EQ(FolderShownInTree(browser), fixtures);
    browser.findChild<QPushButton*>("Show")->click();
    const QString shown = browser.Viewer()->toPlainText();
    EXPECT_TRUE(shown.startsWith("(1) Ceres  2.7691652  0.0760091")) << shown.toStdString();
    EXPECT_EQ(shown.count('\n'), 2);
    browser.findChild<QCheckBox*>("WordWrap")->setChecked(true);
    EXPECT_EQ(browser.Viewer()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    browser.CopyFileName();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), fixtures + "/view_asteroids.opl");
    test::SavePng(browser, "file_browser_de", test::FolderViews(browser));
    // A folder chosen by name: a message naming it, the viewer unchanged.
    browser.ChooseFile(folder.Path().string());
    EXPECT_TRUE(browser.findChild<QPushButton*>("Show")->isEnabled());  // still the last file
    const std::string vanished = folder.File("gone.txt");
    ASSERT_TRUE(WriteFileReplacing(vanished, "x\n"));
    browser.ChooseFile(vanished);
    std::filesystem::remove(vanished);
    EXPECT_FALSE(browser.ShowFile());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].text.find(vanished), std::string::npos);
    EXPECT_EQ(browser.Viewer()->toPlainText(), shown);
    browser.move(40, 30);
    browser.resize(700, 450);
    browser.accept();
    EXPECT_EQ(browser.FileName(), vanished);
    closed = browser.Bounds();
  }
  EXPECT_EQ(closed.W, 700);
  EXPECT_EQ(closed.H, 450);

  // 40,000 records: the box once, 32,000 lines.
  TAsteroidElements e;
  e.Name = "n";
  const TAsteroidElementRecordBytes one = EncodeAsteroidElementRecord(e);
  std::string many;
  for (int i = 0; i < 40000; ++i) many.append(reinterpret_cast<const char*>(one.data()), one.size());
  ASSERT_TRUE(WriteFileReplacing(folder.File("many.opl"), many));
  LanguageEnglish = 1;
  TBrowserForm english(folder.Path().string(), folder.File("many.opl"), closed);
  english.show();
  QApplication::processEvents();
  EXPECT_EQ(english.geometry().width(), 700);
  sink.messages.clear();
  EXPECT_TRUE(english.ShowFile());
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].caption, "File too large!");
  EXPECT_EQ(english.Viewer()->blockCount(), 32000);
  test::SavePng(english, "file_browser_en", test::FolderViews(english));
  LanguageEnglish = 0;

  // A folder far longer than the window is wide, with blanks and umlauts:
  // the window keeps its size, the folder box scrolls, and the file's name
  // is cut in the middle (the whole path in its tooltip).
  const std::string segment = "Ärger mit ünï und einem sehr langen Ordnernamen für den Test der Pfade";
  const std::filesystem::path deep = folder.Path() / segment / segment / segment;
  std::filesystem::create_directories(deep);
  const std::string deepFile = (deep / "view_asteroids.opl").string();
  std::filesystem::copy_file(fixtures + "/view_asteroids.opl", deepFile);
  TBrowserForm far(deep.string(), deepFile);
  far.show();
  QApplication::processEvents();
  EXPECT_EQ(far.geometry().width(), 590);
  EXPECT_EQ(far.geometry().height(), 390);
  EXPECT_EQ(far.findChild<QComboBox*>("Location")->currentText().toStdString(), deep.string());
  EXPECT_EQ(FolderShownInTree(far), deep.string());
  auto* label = far.findChild<TElidedLabel*>("FileLabel");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text().toStdString(), deepFile);
  EXPECT_TRUE(label->ShownText().endsWith("view_asteroids.opl")) << label->ShownText().toStdString();
  EXPECT_LT(label->ShownText().size(), label->text().size());
  EXPECT_EQ(label->toolTip().toStdString(), deepFile);
  EXPECT_TRUE(far.ShowFile());
  EXPECT_TRUE(far.Viewer()->toPlainText().startsWith("(1) Ceres"));
  test::SavePng(far, "file_browser_long_path", test::FolderViews(far));
}

}  // namespace
}  // namespace kvx
