// The page set-up dialog: filled from the sheet, confirmed, refused and
// cancelled, with a picture of it in the test-output folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <filesystem>
#include <functional>

#include "app/ui/page_setup_dialog.h"
#include "platform/globals.h"
#include "support/qt/answer_modal.h"
#include "support/recording_message_sink.h"

namespace kvx {
namespace {

TEST(PageSetupDialog, MarginsInCentimetresAndRefusedValues) {
  workbook::TWorkbook book(1);
  book.PageSetup().LeftMargin = 1.0;
  TPageSetupFields fields = PageSetupFieldsOf(book.PageSetup());
  EXPECT_NEAR(fields.LeftCm, 2.54, 1e-12);
  fields.TopCm = 2.54;
  fields.ScalePercent = 80;
  ASSERT_EQ(ApplyPageSetupFields(fields, book.PageSetup()), "");
  EXPECT_NEAR(book.PageSetup().TopMargin, 1.0, 1e-9);
  EXPECT_NEAR(PageSetupFieldsOf(book.PageSetup()).TopCm, 2.54, 1e-8);

  const workbook::TPageSetup before = book.PageSetup();
  for (auto spoil : {+[](TPageSetupFields& f) { f.LeftCm = -0.1; }, +[](TPageSetupFields& f) { f.ScalePercent = 401; },
                     +[](TPageSetupFields& f) { f.ScalePercent = 9; }, +[](TPageSetupFields& f) { f.PagesTall = 0; },
                     +[](TPageSetupFields& f) { f.LeftCm = 15; f.RightCm = 6; }}) {
    TPageSetupFields bad = PageSetupFieldsOf(before);
    spoil(bad);
    EXPECT_NE(ApplyPageSetupFields(bad, book.PageSetup()), "");
    EXPECT_EQ(book.PageSetup().LeftMargin, before.LeftMargin);
    EXPECT_EQ(book.PageSetup().ScalePercent, 80);
  }
  // Landscape A4 is 29.7 cm wide: the same margins fit.
  TPageSetupFields wide = PageSetupFieldsOf(before);
  wide.LeftCm = 15;
  wide.RightCm = 6;
  wide.Landscape = true;
  EXPECT_EQ(ApplyPageSetupFields(wide, book.PageSetup()), "");
}

TEST(PageSetupDialog, ConfirmRefuseAndCancelOnTheSheet) {
  workbook::TWorkbook book(1);
  RecordingMessageSink sink;
  ScopedMessageSink scoped(sink);
  LanguageEnglish = 1;
  // Refused first (a negative margin), then a right value confirmed.
  int round = 0;
  std::function<void(TFrmPageSetup&)> fill = [&](TFrmPageSetup& dialog) {
    if (round == 0) {
      dialog.EdLinks->setValue(-1.0);
    } else {
      dialog.EdLinks->setValue(2.54);
      dialog.MmHeader->setPlainText(QStringLiteral("Ephemeris &D"));
      dialog.rblandscape->setChecked(true);
      dialog.edskalieren->setValue(120);
      dialog.adjustSize();
      const std::filesystem::path folder = std::filesystem::path(KVX_BINARY_DIR) / "test-output";
      std::filesystem::create_directories(folder);
      dialog.grab().save(QString::fromStdString((folder / "page_setup_dialog.png").string()));
    }
    ++round;
    dialog.accept();
    if (round < 2) test::WhenModalAppears<TFrmPageSetup>(fill);
  };
  test::WhenModalAppears<TFrmPageSetup>(fill);
  EXPECT_TRUE(ShowPageSetupDialog(nullptr, book));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Margins must not be negative.");
  EXPECT_NEAR(book.PageSetup().LeftMargin, 1.0, 1e-9);
  EXPECT_EQ(book.PageSetup().Header, "Ephemeris &D");
  EXPECT_TRUE(book.PageSetup().Landscape);
  EXPECT_EQ(book.PageSetup().ScalePercent, 120);

  // Cancel changes nothing.
  test::WhenModalAppears<TFrmPageSetup>([](TFrmPageSetup& dialog) { dialog.reject(); });
  book.PageSetup().ScalePercent = 90;
  EXPECT_FALSE(ShowPageSetupDialog(nullptr, book));
  EXPECT_EQ(book.PageSetup().ScalePercent, 90);
  LanguageEnglish = 0;
}

}  // namespace
}  // namespace kvx
