// The integration set-up dialogs offscreen: the start-values dialog (an
// untouched OK keeps every bit, rows added and refused until filled, typed
// values kept over a count change, the centre body, the equinox buttons,
// Reset, open and save with the label, a one-body file's epoch), the
// output-format dialog (Adams, elements, the step warning and refusal) and
// the accuracy dialog; pictures of each in both languages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "orbitdet/integration_accuracy.h"
#include "orbitdet/start_values_file.h"
#include "orbitdet/ui/integration_dialogs.h"
#include "orbitdet/ui/start_values_dialog.h"
#include "platform/globals.h"
#include "platform/safe_file_write.h"
#include "support/qt/answer_modal.h"
#include "support/qt/save_png.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

template <class T>
T* Child(QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

void Type(QLineEdit* edit, const QString& text) {
  edit->setText(text);
  edit->setModified(true);
}

class IntegrationDialogs : public ::testing::Test {
 protected:
  // A German desktop: "," as the decimal separator.
  void SetUp() override { IntlSeparators.Decimal = ','; }
  void TearDown() override {
    LanguageEnglish = 0;
    IntlSeparators.Decimal = '.';
  }
  RecordingMessageSink sink_;
  ScopedMessageSink scoped_{sink_};
  test::RecordingFileDialog files_;
  ScopedFileDialog scoped_files_{files_};
  test::TempFolder folder_;
};

TEST_F(IntegrationDialogs, StartValuesKeepRefuseAndExtend) {
  const TIntegrationSetup defaults = DefaultIntegrationSetup();
  for (int english = 0; english < 2; ++english) {
    LanguageEnglish = static_cast<std::uint8_t>(english);
    TRKAnfgFrm dialog("/data/14Körper1997.csv", defaults, false, nullptr);
    dialog.resize(1300, 700);
    dialog.show();
    QApplication::processEvents();
    test::SavePng(dialog, english ? "start_values_dialog_en" : "start_values_dialog_de");
  }
  LanguageEnglish = 0;

  // Untouched OK: every bit stays, although the edits show 9 decimals.
  TRKAnfgFrm untouched("a.csv", defaults, false, nullptr);
  EXPECT_EQ(Child<QLineEdit>(untouched, "Edit4")->styleSheet(), "color: #800000;");
  EXPECT_EQ(Child<QLabel>(untouched, "lbFileName")->text(), "Werte aus Datei a.csv");
  untouched.accept();
  EXPECT_EQ(untouched.result(), QDialog::Accepted);
  EXPECT_EQ(EncodeIntegrationSetup(untouched.Setup()), EncodeIntegrationSetup(defaults));
  EXPECT_TRUE(sink_.messages.empty());

  TRKAnfgFrm dialog("a.csv", defaults, true, nullptr);
  EXPECT_TRUE(Child<QPushButton>(dialog, "Button1")->isHidden());  // Reset only for Runge-Kutta
  Child<QPushButton>(dialog, "Button5")->click();
  EXPECT_EQ(dialog.Setup().EquinoxJD, 2469807.5L);
  EXPECT_EQ(Child<QLineEdit>(dialog, "EDEquinox")->text(), "2469807,50000");
  Child<QPushButton>(dialog, "Button4")->click();
  // A typed value survives count changes; rows 11 and 12 come up empty.
  Type(Child<QLineEdit>(dialog, "State2_1"), "0,25");
  QSpinBox* count = Child<QSpinBox>(dialog, "spedn");
  count->setValue(12);
  EXPECT_EQ(Child<QLineEdit>(dialog, "State2_1")->text(), "0,250000000");
  EXPECT_TRUE(Child<QLineEdit>(dialog, "Edit12")->isEnabled());
  EXPECT_FALSE(Child<QLineEdit>(dialog, "Edit13")->isEnabled());
  EXPECT_EQ(Child<QLineEdit>(dialog, "Edit11")->text(), "");
  EXPECT_EQ(Child<QLineEdit>(dialog, "State11_1")->text(), "0,000000000");
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].caption, "Ungültiger Wert oder Koordinatensatz");
  EXPECT_EQ(sink_.beeps, 1);
  // Named but at the origin and massless: still refused; then placed.
  Type(Child<QLineEdit>(dialog, "Edit11"), "Ceres");
  Type(Child<QLineEdit>(dialog, "Edit12"), "Vesta");
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  Type(Child<QLineEdit>(dialog, "State11_1"), "2,5");
  Type(Child<QLineEdit>(dialog, "State12_2"), "-2,2");
  // Two bodies at one place are refused too.
  Type(Child<QLineEdit>(dialog, "State3_1"), "0");
  Type(Child<QLineEdit>(dialog, "State3_2"), "0");
  Type(Child<QLineEdit>(dialog, "State3_3"), "0");
  sink_.messages.clear();
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].text, "Die Körper 1 / 3 stehen am selben Ort.");
  Type(Child<QLineEdit>(dialog, "State3_1"), "0,7");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Setup().N, 12);
  EXPECT_EQ(dialog.Setup().StartValues[1][0], 0.25L);
  EXPECT_EQ(dialog.Setup().StartValues[10][0], 2.5L);
  EXPECT_EQ(dialog.Setup().Masses[10], 0.0L);
  EXPECT_EQ(dialog.Setup().StartValues[3][0], defaults.StartValues[3][0]);  // untouched, full precision

  // Lowering the count below the centre body moves it.
  TRKAnfgFrm lower("a.csv", defaults, false, nullptr);
  Child<QSpinBox>(lower, "spedn")->setValue(3);
  EXPECT_EQ(lower.Setup().CentreBody, 3);
  EXPECT_EQ(Child<QLineEdit>(lower, "Edit3")->styleSheet(), "color: #800000;");
  // Reset: the working state becomes the start.
  TIntegrationSetup moved = defaults;
  moved.WorkingState[5][0] = 9.5L;
  moved.JD = 2460000.5L;
  TRKAnfgFrm reset("a.csv", moved, false, nullptr);
  Child<QPushButton>(reset, "Button1")->click();
  EXPECT_EQ(reset.Setup().StartValues[5][0], 9.5L);
  EXPECT_EQ(Child<QLineEdit>(reset, "EDJD")->text(), "2460000,50000");
}

TEST_F(IntegrationDialogs, StartValuesOpenSaveAndShowBack) {
  // A one-body file: epoch and equinox 0, refused until an epoch is typed.
  const std::string one = folder_.File("one.csv");
  ASSERT_TRUE(WriteFileReplacing(one, std::string(kStartValuesHeader) + "\r\nSonne;0;0;0;0;0;0;1;2451545;2450600.5\r\n"));
  const std::string other = folder_.File("other.txt");
  ASSERT_TRUE(WriteFileReplacing(other, "hello\n"));
  TIntegrationSetup setup = DefaultIntegrationSetup();
  TRKAnfgFrm dialog("old.csv", setup, false, nullptr);
  files_.QueueAnswer(other);
  dialog.OpenFile();
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].caption, "Fehlerhaftes Dateiformat");
  EXPECT_EQ(dialog.Setup().N, 10);
  files_.QueueAnswer(one);
  dialog.OpenFile();
  EXPECT_EQ(files_.requests.back().request.title, "Datei mit Startwerten für Integration öffnen");
  EXPECT_EQ(files_.requests.back().request.filters[0], "Startwerte für Integration (*.csv)");
  EXPECT_EQ(Child<QLabel>(dialog, "lbFileName")->text(), QString::fromStdString("Werte aus Datei " + one));
  EXPECT_EQ(dialog.Setup().N, 1);
  EXPECT_FALSE(Child<QLineEdit>(dialog, "Edit2")->isEnabled());
  sink_.messages.clear();
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(sink_.messages.size(), 1u);
  Type(Child<QLineEdit>(dialog, "EDJD"), "2450600,5");
  Child<QPushButton>(dialog, "Button4")->click();
  // Save validates first: a lone Sun at rest is fine; it is written.
  const std::string saved = folder_.File("saved.csv");
  files_.QueueAnswer(saved);
  dialog.SaveFile();
  EXPECT_EQ(dialog.FileName(), saved);
  EXPECT_TRUE(IsStartValuesFile(saved));
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Setup().StartJD, 2450600.5L);

  // ShowStartValuesDialog: Cancel after an emptied name changes nothing;
  // OK sets the working JD to the start epoch and clamps the centre body.
  std::string name = "x.csv";
  TOpenedFile read;
  const TIntegrationSetupBytes before = EncodeIntegrationSetup(setup);
  test::WhenModalShown<TRKAnfgFrm>([](TRKAnfgFrm& d) {
    d.findChild<QLineEdit*>("Edit2")->setFocus();
    d.findChild<QLineEdit*>("Edit2")->clear();
    d.findChild<QPushButton*>("Abbruch")->setFocus();
    d.findChild<QPushButton*>("Abbruch")->click();
  });
  sink_.messages.clear();
  EXPECT_FALSE(ShowStartValuesDialog(name, read, setup, false, nullptr));
  EXPECT_TRUE(sink_.messages.empty());
  EXPECT_EQ(EncodeIntegrationSetup(setup), before);
  setup.JD = 2460000.5L;
  test::WhenModalShown<TRKAnfgFrm>([](TRKAnfgFrm& d) {
    d.findChild<QSpinBox*>("spedn")->setValue(2);
    d.findChild<QPushButton*>("OK")->click();
  });
  EXPECT_TRUE(ShowStartValuesDialog(name, read, setup, false, nullptr));
  EXPECT_EQ(setup.N, 2);
  EXPECT_EQ(setup.CentreBody, 2);
  EXPECT_EQ(setup.JD, 2450600.5L);
}

TEST_F(IntegrationDialogs, OutputFormatAndAccuracy) {
  TIntegrationSetup setup = DefaultIntegrationSetup();
  for (int english = 0; english < 2; ++english) {
    LanguageEnglish = static_cast<std::uint8_t>(english);
    TrkAusgkfFrm output(setup, false, nullptr);
    output.show();
    QApplication::processEvents();
    test::SavePng(output, english ? "output_format_dialog_en" : "output_format_dialog_de");
    TRechengenauigkeit accuracy(TTheorySelection{}, false, true, 12, nullptr);
    accuracy.show();
    QApplication::processEvents();
    test::SavePng(accuracy, english ? "accuracy_dialog_en" : "accuracy_dialog_de");
    EXPECT_EQ(Child<QCheckBox>(accuracy, "CheckBox10")->text(), english ? "Earth" : "Erde");
  }
  LanguageEnglish = 0;

  TrkAusgkfFrm adams(setup, true, nullptr);
  EXPECT_TRUE(Child<QGroupBox>(adams, "StepGroup")->isHidden());
  TrkAusgkfFrm dialog(setup, false, nullptr);
  EXPECT_FALSE(Child<QGroupBox>(dialog, "StepGroup")->isHidden());
  EXPECT_TRUE(Child<QCheckBox>(dialog, "CheckBox24")->isHidden() == false);
  EXPECT_TRUE(Child<QCheckBox>(dialog, "CheckBox25")->isHidden());  // row 11 of 10 bodies
  Child<QRadioButton>(dialog, "RadioButton2")->setChecked(true);
  EXPECT_FALSE(Child<QRadioButton>(dialog, "RadioButton3")->isEnabled());
  EXPECT_FALSE(Child<QWidget>(dialog, "ComboBox1")->isEnabled());
  EXPECT_TRUE(Child<QRadioButton>(dialog, "RadioButton3")->isChecked());  // kept
  // -600 d warns and is kept; 0 is refused.
  QLineEdit* step = Child<QLineEdit>(dialog, "eddeltat");
  Type(step, "-600");
  dialog.StepLeft();
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].text, "Schrittweite zu groß!");
  EXPECT_EQ(sink_.messages[0].icon, MessageIcon::Information);
  Type(step, "0");
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(sink_.messages.size(), 2u);
  Type(step, "-600");
  Child<QSpinBox>(dialog, "speausgint")->setValue(3);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Setup().H, -600.0L);
  EXPECT_EQ(dialog.Setup().Elements, 1);
  EXPECT_EQ(dialog.Setup().Cartesian, setup.Cartesian);
  EXPECT_EQ(dialog.Setup().OutputInterval, 3);
  // An untouched step keeps its full value.
  setup.H = 0.123456789L;
  TrkAusgkfFrm untouched(setup, false, nullptr);
  untouched.accept();
  EXPECT_EQ(untouched.Setup().H, 0.123456789L);

  TTheorySelection selection;
  selection.bytes.fill(0);
  TRechengenauigkeit accuracy(selection, true, true, 136, nullptr);
  EXPECT_EQ(Child<QSpinBox>(accuracy, "SpinEdit1")->value(), 8);  // low 7 bits
  EXPECT_TRUE(accuracy.Adams());
  EXPECT_TRUE(accuracy.NeverVsop());
  Child<QPushButton>(accuracy, "Button1")->click();
  Child<QRadioButton>(accuracy, "RungeKutta")->setChecked(true);
  Child<QSpinBox>(accuracy, "SpinEdit1")->setValue(18);
  const TTheorySelection chosen = accuracy.Selection();
  for (std::size_t b = 0; b < 12; ++b) EXPECT_EQ(chosen.bytes[b], b >= 3 ? 1 : 0) << b;
  EXPECT_FALSE(accuracy.Adams());
  EXPECT_EQ(accuracy.Digits(), 18);

  EXPECT_EQ(DigitsToTolerance(7), 1e-18L);
  EXPECT_EQ(DigitsToTolerance(8), 1e-8L);
  EXPECT_EQ(DigitsToTolerance(17), 1e-17L);
  EXPECT_EQ(DigitsToTolerance(18), 1e-18L);
  EXPECT_EQ(DigitsToTolerance(136), 1e-8L);
}

}  // namespace
}  // namespace kvx
