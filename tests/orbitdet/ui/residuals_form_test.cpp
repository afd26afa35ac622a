// The residuals form offscreen: an untouched "continue" keeps every bit,
// element edits recompute the state (and only the edited values are read
// back), the refusals, load and save through the file-dialog seam, the help
// button, and the reduced form of "Statevektor erfassen..."; pictures of
// both forms in both languages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "orbitdet/orbit_output.h"
#include "orbitdet/state_capture.h"
#include "orbitdet/state_elements.h"
#include "orbitdet/ui/orbit_forms.h"
#include "platform/globals.h"
#include "setup/ui/edit_controls.h"
#include "support/qt/save_png.h"
#include "support/recording_file_dialog.h"
#include "support/recording_help_viewer.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

constexpr double kEpoch = 2461000.123456789;

// A main-belt state with every digit in use.
TResidualsFill MainBeltFill() {
  TResidualsFill fill;
  fill.FileName = "mainbelt.obs";
  fill.State = {2.123456789012345, -1.234567890123456, 0.345678901234567,
                0.456789012345678, 0.678901234567891,  0.123456789012345};
  fill.Epoch = kEpoch;
  fill.JD = {2460990.5, 2461000.5, 2461010.5};
  fill.RA = {3.5, 3.6, 3.7};
  fill.Dec = {20.1, 20.3, 20.5};
  fill.DRA = {1e-5, -2e-5, 0};
  fill.DDec = {3e-4, 0, -1e-4};
  fill.HasResiduals = true;
  fill.Rms = 0.5 / 3600;
  fill.ChangeRate = 0.1;
  fill.Method = 2;
  fill.Topocentric = 1;
  return fill;
}

TFloatEdit* Edit(TResidualsForm& form, const QString& name) {
  auto* edit = form.findChild<TFloatEdit*>(name);
  EXPECT_NE(edit, nullptr) << name.toStdString();
  return edit;
}

// Types a text and leaves the box.
void Leave(TFloatEdit* edit, const QString& text) {
  edit->setText(text);
  emit edit->editingFinished();
}

QPushButton* Button(QWidget& form, const char* name) { return form.findChild<QPushButton*>(name); }

class ResidualsFormTest : public ::testing::Test {
 protected:
  void TearDown() override { LanguageEnglish = 0; }
  RecordingMessageSink sink_;
  ScopedMessageSink scoped_{sink_};
};

TEST_F(ResidualsFormTest, ElementEditsRecomputeTheStateAndBadValuesAreRefused) {
  TResidualsForm form;
  TOrbitElementRecord shown;
  const TResidualsFill fill = MainBeltFill();
  ASSERT_TRUE(form.Fill(fill, shown));
  ASSERT_EQ(form.Lines()->count(), 3);
  EXPECT_NE(form.Lines()->item(1)->text().indexOf("DA=-1.08  |  DD=0.00"), -1);
  auto* rms = form.findChild<QLabel*>("Rms");
  ASSERT_NE(rms, nullptr);
  EXPECT_EQ(rms->text(), "RMS Fehler: 0.50 Bogensekunden");
  // The first orbit's pass has no residuals yet: no error is shown, not 0.00.
  TResidualsFill first = fill;
  first.DRA.clear();
  first.DDec.clear();
  first.HasResiduals = false;
  first.Rms = 0;
  TOrbitElementRecord firstShown;
  ASSERT_TRUE(form.Fill(first, firstShown));
  EXPECT_EQ(rms->text(), "RMS Fehler:");
  EXPECT_EQ(form.Lines()->item(1)->text().indexOf("DA="), -1);
  ASSERT_TRUE(form.Fill(fill, shown));
  EXPECT_EQ(form.SizeLabel()->text(), "a:");
  EXPECT_EQ(form.TimeLabel()->text(), "M:");

  // Untouched "continue": every bit kept.
  Button(form, "Continue")->click();
  EXPECT_EQ(form.result(), 6);
  EXPECT_EQ(form.State(), fill.State);
  EXPECT_EQ(form.Epoch(), fill.Epoch);
  EXPECT_EQ(form.ChangeRate(), 0.1);

  // i := 12.5: the new state gives back the same elements with the new i.
  Leave(Edit(form, "Element3"), "12.5");
  TOrbitElementRecord after;
  ASSERT_TRUE(OrbitElementsFromState(form.State(), kEpoch, 1.0, after));
  EXPECT_NEAR(after.I, 12.5, 1e-8);
  EXPECT_NEAR(after.Size, shown.Size, 1e-9 * shown.Size);
  EXPECT_NEAR(after.E, shown.E, 1e-9);
  EXPECT_NEAR(after.Node, shown.Node, 1e-8);
  EXPECT_NEAR(after.Peri, shown.Peri, 1e-8);
  EXPECT_NEAR(after.TimeElement, shown.TimeElement, 1e-6);
  EXPECT_EQ(Edit(form, "State0")->text(), QString::number(form.State()[0], 'f', 7));
  Button(form, "Continue")->click();
  EXPECT_NEAR(form.State()[0], Edit(form, "State0")->text().toDouble(), 1e-7);
  EXPECT_NE(form.State()[0], Edit(form, "State0")->text().toDouble()) << "read back at display precision";

  // A typed x is taken as typed, the rest untouched.
  const TStateVector before = form.State();
  Leave(Edit(form, "State0"), "1.5");
  Button(form, "Continue")->click();
  EXPECT_EQ(form.State()[0], 1.5);
  for (std::size_t k = 1; k < 6; ++k) EXPECT_EQ(form.State()[k], before[k]) << k;

  // e = 1 makes a parabola through the same perihelion: "q:", "JD:".
  const double q = form.Elements().Size * (1 - form.Elements().E);
  Leave(Edit(form, "Element1"), "1");
  EXPECT_EQ(form.SizeLabel()->text(), "q:");
  EXPECT_EQ(form.TimeLabel()->text(), "JD:");
  EXPECT_EQ(Edit(form, "Element0")->text(), QString::number(q, 'f', 5));

  // Refusals: the message, the previous text, the state unchanged.
  const TStateVector kept = form.State();
  struct Bad {
    const char* Edit;
    const char* Text;
    const char* Message;
  };
  for (const Bad& b : {Bad{"Element0", "-2", "Die Periheldistanz q muss größer als 0 sein."},
                       Bad{"Epoch", "9999999", "Die Epoche liegt außerhalb des zulässigen Bereichs."},
                       Bad{"ChangeRate", "0", "Die Änderungsrate muss größer als 0 und höchstens 100 % sein."},
                       Bad{"State2", "abc", "Bitte eine Zahl eingeben!"}}) {
    SCOPED_TRACE(b.Edit);
    TFloatEdit* edit = Edit(form, b.Edit);
    const QString previous = edit->text();
    sink_.messages.clear();
    Leave(edit, b.Text);
    ASSERT_EQ(sink_.messages.size(), 1u);
    EXPECT_EQ(sink_.messages[0].text, b.Message);
    EXPECT_EQ(edit->text(), previous);
    EXPECT_EQ(form.State(), kept);
  }
  // A zero position: the third zero is refused.
  sink_.messages.clear();
  Leave(Edit(form, "State0"), "0");
  Leave(Edit(form, "State1"), "0");
  Leave(Edit(form, "State2"), "0");
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].text, "Der Ortsvektor darf nicht null sein.");
  EXPECT_EQ(form.State()[2], kept[2]);

  // An orbit in the reference plane with its perihelion on the x axis.
  for (const char* name : {"Element3", "Element4", "Element5"}) Leave(Edit(form, name), "0");
  EXPECT_EQ(form.PLine()->text(), "P: 1.0000000  0.0000000  0.0000000");
  EXPECT_EQ(form.QLine()->text(), "Q: 0.0000000  1.0000000  0.0000000");
}

TEST_F(ResidualsFormTest, LoadSaveHelpAndTheReducedFormInBothLanguages) {
  test::TempFolder folder;
  test::RecordingFileDialog files;
  ScopedFileDialog scopedFiles(files);
  RecordingHelpViewer help;
  ScopedHelpViewer scopedHelp(help);
  TResidualsForm form;
  TOrbitElementRecord shown;
  TResidualsFill fill = MainBeltFill();
  ASSERT_TRUE(form.Fill(fill, shown));
  EXPECT_FALSE(Button(form, "Load")->isEnabled());
  torbdet od;
  std::string fileName;
  form.SetStateVectorFiles({&od, &fileName, FileDialogRequest{}, FileDialogRequest{}});
  ASSERT_TRUE(Button(form, "Load")->isEnabled());

  // Save commits the typed x first; load brings the file back and refills.
  Leave(Edit(form, "State0"), "2.5");
  files.QueueAnswer(folder.File("orbit.stv"));
  Button(form, "Save")->click();
  ASSERT_TRUE(std::filesystem::exists(folder.File("orbit.stv")));
  EXPECT_EQ(fileName, folder.File("orbit.stv"));
  EXPECT_EQ(od.StateVector[0], 2.5);
  const TStateVector saved = form.State();
  Leave(Edit(form, "State1"), "7");
  Leave(Edit(form, "Element3"), "30");
  files.QueueAnswer(folder.File("orbit.stv"));
  Button(form, "Load")->click();
  for (std::size_t k = 0; k < 6; ++k) EXPECT_NEAR(form.State()[k], saved[k], 1e-14) << k;
  EXPECT_EQ(Edit(form, "State1")->text(), QString::number(form.State()[1], 'f', 7));
  EXPECT_EQ(Edit(form, "Element3")->text(), QString::number(form.Elements().I, 'f', 5));
  EXPECT_TRUE(sink_.messages.empty());

  Button(form, "Help")->click();
  EXPECT_EQ(help.shown, std::vector<std::string>{"topic " + std::to_string(kHelpTopicResiduals)});

  for (int english = 0; english <= 1; ++english) {
    LanguageEnglish = static_cast<std::uint8_t>(english);
    const std::string suffix = english ? "_en" : "_de";
    ASSERT_TRUE(form.Fill(fill, shown));
    form.show();
    EXPECT_EQ(Button(form, "Help")->isVisible(), english == 0);
    EXPECT_EQ(Button(form, "Continue")->text(), english ? "C&ontinue" : "&Rechnung fortsetzen");
    test::SavePng(form, "residuals" + suffix);
    form.hide();

    // The reduced form: a changed e and OK hand its vector over.
    bool checked = false;
    QTimer::singleShot(0, [&] {
      EXPECT_EQ(form.windowTitle(), english ? "State vector from sheet" : "State vector aus Tabelle");
      EXPECT_FALSE(form.Lines()->isVisible());
      EXPECT_FALSE(Button(form, "Continue")->isVisible());
      EXPECT_FALSE(Button(form, "Load")->isVisible());
      EXPECT_TRUE(Button(form, "Save")->isVisible());
      EXPECT_TRUE(Button(form, "Ok")->isVisible());
      EXPECT_TRUE(Button(form, "Cancel")->isVisible());
      EXPECT_TRUE(Edit(form, "Element1")->isVisible());
      test::SavePng(form, "residuals_reduced" + suffix);
      Leave(Edit(form, "Element1"), "0.2");
      checked = true;
      Button(form, english ? "Cancel" : "Ok")->click();
    });
    TStateVector state{};
    double epoch = 0;
    const bool ok = form.ShowStateVectorFromSheet(fill, state, epoch);
    EXPECT_TRUE(checked);
    EXPECT_EQ(ok, english == 0);
    if (ok) {
      EXPECT_EQ(state, form.State());
      EXPECT_EQ(epoch, kEpoch);
      TOrbitElementRecord el;
      ASSERT_TRUE(OrbitElementsFromState(state, epoch, 1.0, el));
      EXPECT_NEAR(el.E, 0.2, 1e-9);
    } else {
      EXPECT_EQ(state, (TStateVector{}));
    }
    EXPECT_EQ(form.windowTitle(), english ? "Residuals" : "Residuen");
    EXPECT_FALSE(Button(form, "Continue")->isHidden());
    EXPECT_TRUE(Button(form, "Ok")->isHidden());
  }
}

}  // namespace
}  // namespace kvx
