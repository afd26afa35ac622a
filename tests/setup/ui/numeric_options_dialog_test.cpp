#include "setup/ui/numeric_options_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>

#include "dialog_test_support.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"

namespace kvx {
namespace {

using test::Child;

// Types `text` into an altitude field and leaves it.
void TypeAndLeave(QDialog& dialog, int field, const QString& text) {
  auto* edit = Child<QLineEdit>(dialog, QString("altitude%1").arg(field).toLatin1().constData());
  edit->setText(text);
  edit->setModified(true);  // as typed by the user
  emit edit->editingFinished();
}

class NumericOptionsDialogTest : public ::testing::Test {
 protected:
  NumericOptionsDialogTest() : guard_(messages) {}
  RecordingMessageSink messages;

 private:
  ScopedMessageSink guard_;
};

TEST_F(NumericOptionsDialogTest, ReferenceAltitudesAreCheckedWhenLeftAndOnOk) {
  TNumericOptions options;
  options.HorizonAltitudes[2] = -50.0;
  TNumOptions dialog(options, 0, nullptr);
  dialog.show();
  auto* sun = Child<QLineEdit>(dialog, "altitude2");
  EXPECT_EQ(sun->text(), "-50");

  TypeAndLeave(dialog, 0, "-5399,9");  // either decimal mark
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(dialog.Options().HorizonAltitudes[0], -5399.9);

  TypeAndLeave(dialog, 2, "5400");
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "Bitte einen Wert <5400 und >-5400 eingeben!");
  EXPECT_EQ(messages.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(sun->text(), "-50");  // refilled from the stored values
  EXPECT_EQ(dialog.Options().HorizonAltitudes[2], -50.0);

  TypeAndLeave(dialog, 4, "zwölf");
  ASSERT_EQ(messages.messages.size(), 2u);
  EXPECT_EQ(messages.messages[1].text, "Bitte einen Wert <90 und >-90 eingeben!");
  // The refusal on leaving also refuses the next close request (OK may
  // have been what took the focus away).
  Child<QPushButton>(dialog, "ok")->click();
  EXPECT_TRUE(dialog.isVisible());
  TypeAndLeave(dialog, 5, "89.99");
  EXPECT_EQ(messages.messages.size(), 2u);

  // A refused field keeps the dialog open on OK.
  auto* civil = Child<QLineEdit>(dialog, "altitude3");
  civil->setText("-90");
  Child<QPushButton>(dialog, "ok")->click();
  EXPECT_EQ(messages.messages.size(), 3u);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), 0);
  EXPECT_EQ(civil->text(), "-6");
  Child<QPushButton>(dialog, "ok")->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(NumericOptionsDialogTest, ControlsButtonsAndTheCopyBackSwitch) {
  TNumericOptions options;
  options.MoonCacheOrder = 9;
  options.ConjunctionMinAltitude1 = 20;
  std::uint8_t fullCalculation = 0;
  bool shown = false;
  test::WhenModalShown([&](QDialog& dialog) {
    shown = true;
    EXPECT_EQ(Child<QSpinBox>(dialog, "order")->value(), 9);
    EXPECT_EQ(Child<QLabel>(dialog, "conjunctionObject1Value")->text(), "20°");
    EXPECT_EQ(Child<QLabel>(dialog, "magnitudeValue")->text(), "8.00 mag");
    Child<QScrollBar>(dialog, "magnitude")->setValue(550);
    EXPECT_EQ(Child<QLabel>(dialog, "magnitudeValue")->text(), "5.50 mag");
    Child<QScrollBar>(dialog, "phenomenaObject")->setValue(15);
    Child<QScrollBar>(dialog, "conjunctionSun")->setValue(-12);
    Child<QPushButton>(dialog, "polar")->click();
    EXPECT_EQ(Child<QSpinBox>(dialog, "span")->value(), 15);
    Child<QCheckBox>(dialog, "exactParallax")->setChecked(true);
    EXPECT_FALSE(Child<QLineEdit>(dialog, "altitude1")->isEnabled());
    Child<QCheckBox>(dialog, "fk4")->setChecked(true);
    Child<QCheckBox>(dialog, "fullCalculation")->setChecked(true);
    TypeAndLeave(dialog, 0, "-40");
    test::SavePicture(dialog, "numeric_options");
    Child<QPushButton>(dialog, "ok")->click();
  });
  ASSERT_EQ(ShowNumericOptionsDialog(options, fullCalculation, false, nullptr), QDialog::Accepted);
  EXPECT_TRUE(shown);
  EXPECT_EQ(options.MagnitudeLimit, 8.0f);          // not copied back
  EXPECT_EQ(options.PhenomenaMinObjectAltitude, 6);  // not copied back
  EXPECT_EQ(options.ConjunctionMaxSunAltitude, -12);
  EXPECT_EQ(options.MoonCacheOrder, 11);
  EXPECT_EQ(options.MoonCacheSpan, 15);
  EXPECT_EQ(options.ExactMoonParallax, 1);
  EXPECT_EQ(options.Fk4Positions, 1);
  EXPECT_EQ(fullCalculation, 1);
  EXPECT_EQ(options.HorizonAltitudes[0], -40.0);

  // With the switch on the four values come back; Cancel changes nothing.
  test::WhenModalShown([&](QDialog& dialog) {
    Child<QScrollBar>(dialog, "magnitude")->setValue(550);
    Child<QPushButton>(dialog, "valueDefaults")->click();  // back to 8 mag, n 13
    EXPECT_EQ(Child<QScrollBar>(dialog, "magnitude")->value(), 800);
    Child<QScrollBar>(dialog, "magnitude")->setValue(625);
    Child<QPushButton>(dialog, "altitudeDefaults")->click();
    EXPECT_EQ(Child<QLineEdit>(dialog, "altitude0")->text(), "-34");
    Child<QPushButton>(dialog, "ok")->click();
  });
  ASSERT_EQ(ShowNumericOptionsDialog(options, fullCalculation, true, nullptr), QDialog::Accepted);
  EXPECT_EQ(options.MagnitudeLimit, 6.25f);
  EXPECT_EQ(options.MoonCacheOrder, 13);
  EXPECT_EQ(options.HorizonAltitudes[0], -34.0);
  EXPECT_EQ(options.Fk4Positions, 1);  // switches are not defaults of the buttons

  const TNumericOptions before = options;
  test::WhenModalShown([&](QDialog& dialog) {
    Child<QScrollBar>(dialog, "conjunctionSun")->setValue(45);
    Child<QCheckBox>(dialog, "fk4")->setChecked(false);
    EXPECT_TRUE(Child<QCheckBox>(dialog, "fullCalculation")->isChecked());
    Child<QCheckBox>(dialog, "fullCalculation")->setChecked(false);
    Child<QPushButton>(dialog, "cancel")->click();
  });
  EXPECT_EQ(ShowNumericOptionsDialog(options, fullCalculation, true, nullptr), QDialog::Rejected);
  EXPECT_EQ(options, before);
  EXPECT_EQ(fullCalculation, 1);
  EXPECT_TRUE(messages.messages.empty());
}

}  // namespace
}  // namespace kvx
