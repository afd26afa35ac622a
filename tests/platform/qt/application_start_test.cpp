#include "platform/qt/application_start.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QProgressBar>
#include <QSpinBox>

#include "platform/locale_reader.h"
#include "platform/qt/decimal_box.h"

namespace kvx {
namespace {

// The windows' boxes show numbers as the cells do, whatever digits the
// desktop's own locale writes (the Egyptian desktop's run, tests/platform/qt):
// ASCII digits and the desktop's decimal mark.
TEST(BoxNumbers, BoxesShowTheCellsDigitsAndDecimalMark) {
  QSpinBox zoom;
  zoom.setRange(10, 400);
  zoom.setSuffix(" %");
  zoom.setValue(100);
  EXPECT_EQ(zoom.text(), "100 %");
  QDoubleSpinBox margin;
  margin.setDecimals(2);
  margin.setValue(2.5);
  EXPECT_EQ(margin.text(), QString("2") + DesktopSeparators().Decimal + "50");
  // The other of '.' and ',' typed where it groups nothing on this desktop
  // is no grouping mark in a box either: "1.5" is never 15.
  margin.setRange(-1000, 1000);
  const char other = DesktopSeparators().Decimal == ',' ? '.' : ',';
  if (DesktopSeparators().Thousands != other) {
    QString typed = QString("1") + other + "5";
    int cursor = 0;
    EXPECT_NE(margin.validate(typed, cursor), QValidator::Acceptable) << typed.toStdString();
  }
  // The page margins take '.' and ',' alike as the decimal mark, typed
  // key by key as the user types them.
  for (const char* typed : {"1.5", "1,5"}) {
    TDecimalBox box;
    box.setRange(-100, 100);
    box.setDecimals(2);
    box.setSuffix(" cm");
    box.selectAll();
    for (const char* key = typed; *key != '\0'; ++key) {
      QKeyEvent press(QEvent::KeyPress, *key, Qt::NoModifier, QString(QLatin1Char(*key)));
      QApplication::sendEvent(&box, &press);
    }
    box.interpretText();
    EXPECT_EQ(box.value(), 1.5) << typed;
    EXPECT_EQ(box.text(), QString("1") + DesktopSeparators().Decimal + "50 cm") << typed;
  }
  QProgressBar bar;
  bar.setRange(0, 100);
  bar.setValue(42);
  EXPECT_EQ(bar.text(), "42%");
}

}  // namespace
}  // namespace kvx
