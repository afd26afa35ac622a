// The truncation-level dialog, offscreen: texts in both languages, the
// levels of the chosen items, OK and Cancel.
#include "theories/ui/vsop_accuracy_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

#include "platform/globals.h"
#include "support/qt_application.h"
#include "support/qt/answer_modal.h"

namespace kvx {
namespace {

QRadioButton* Item(QGroupBox* group, int item) {
  return group->findChild<QRadioButton*>(group->objectName() + "Item" + QString::number(item));
}

class VsopAccuracyDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    LanguageEnglish = 0;
  }
  void TearDown() override { LanguageEnglish = 0; }
};

TEST_F(VsopAccuracyDialogTest, ChoosingItemsAndOkReturnsTheirLevels) {
  TTruncationLevel ephemeris = -1, integration = 8;
  test::WhenModalShown<TVSOPRechengenauigkeit>([](TVSOPRechengenauigkeit& form) {
    EXPECT_EQ(form.RadioGroup1ItemIndex(), 0);
    EXPECT_EQ(form.RadioGroup2ItemIndex(), 3);
    Item(form.RadioGroup1, 4)->click();
    Item(form.RadioGroup2, 0)->click();
    form.OKBtn->click();
  });
  EXPECT_EQ(ShowVsopAccuracyDialog(ephemeris, integration), 1);
  EXPECT_EQ(ephemeris, 10);
  EXPECT_EQ(integration, -1);  // "Full" is -1, not 0
}

TEST_F(VsopAccuracyDialogTest, CancelAndClosingKeepTheLevels) {
  TTruncationLevel ephemeris = 6, integration = 4;
  test::WhenModalShown<TVSOPRechengenauigkeit>([](TVSOPRechengenauigkeit& form) {
    Item(form.RadioGroup1, 0)->click();
    form.CancelBtn->click();
  });
  EXPECT_EQ(ShowVsopAccuracyDialog(ephemeris, integration), 2);
  EXPECT_EQ(ephemeris, 6);
  EXPECT_EQ(integration, 4);
  test::WhenModalShown<TVSOPRechengenauigkeit>([](TVSOPRechengenauigkeit& form) {
    Item(form.RadioGroup2, 2)->click();
    form.reject();  // window closed or Escape
  });
  EXPECT_EQ(ShowVsopAccuracyDialog(ephemeris, integration), 2);
  EXPECT_EQ(integration, 4);
}

TEST_F(VsopAccuracyDialogTest, AnUnknownLevelSelectsNothingAndSurvivesOk) {
  TTruncationLevel ephemeris = 7, integration = 6;
  test::WhenModalShown<TVSOPRechengenauigkeit>([](TVSOPRechengenauigkeit& form) {
    EXPECT_EQ(form.RadioGroup1ItemIndex(), -1);
    EXPECT_EQ(form.RadioGroup2ItemIndex(), 2);
    form.OKBtn->click();
  });
  EXPECT_EQ(ShowVsopAccuracyDialog(ephemeris, integration), 1);
  EXPECT_EQ(ephemeris, 7);
  EXPECT_EQ(integration, 6);
}

TEST_F(VsopAccuracyDialogTest, TextsFollowTheLanguage) {
  TVSOPRechengenauigkeit form;
  form.show();
  QApplication::processEvents();
  EXPECT_EQ(form.windowTitle().toStdString(), "Rechengenauigkeit für die VSOP-Theorien");
  EXPECT_EQ(form.RadioGroup1->title().toStdString(), "Für &Ephemeridenrechnung");
  EXPECT_EQ(form.RadioGroup2->title().toStdString(), "Für numerische Integration");
  EXPECT_EQ(Item(form.RadioGroup2, 4)->text().toStdString(), "Sehr niedrige Genauigkeit");
  EXPECT_EQ(form.CancelBtn->text().toStdString(), "&Abbrechen");
  form.hide();
  LanguageEnglish = 1;
  form.show();
  QApplication::processEvents();
  EXPECT_EQ(form.windowTitle().toStdString(), "Accuracy of VSOP series");
  EXPECT_EQ(form.RadioGroup1->title().toStdString(), "For &ephemeris calculation");
  EXPECT_EQ(form.RadioGroup2->title().toStdString(), "For numeric integration");
  const char* english[5] = {"Full", "High", "Medium", "Low", "Very low"};
  for (int item = 0; item < 5; ++item) {
    EXPECT_EQ(Item(form.RadioGroup1, item)->text().toStdString(), english[item]);
    EXPECT_EQ(Item(form.RadioGroup2, item)->text().toStdString(), english[item]);
  }
  EXPECT_EQ(form.CancelBtn->text().toStdString(), "&Cancel");
  EXPECT_EQ(form.property("helpContext").toInt(), 151);
  form.hide();
}

TEST_F(VsopAccuracyDialogTest, AGroupWithoutAChosenItemChangesNothing) {
  TVSOPRechengenauigkeit form;
  form.EphemerisLevel = 8;
  form.SetRadioGroup1ItemIndex(-1);
  form.RadioGroup1Click();
  EXPECT_EQ(form.EphemerisLevel, 8);
  form.SetRadioGroup1ItemIndex(1);
  form.RadioGroup1Click();
  EXPECT_EQ(form.EphemerisLevel, 4);
}

}  // namespace
}  // namespace kvx
