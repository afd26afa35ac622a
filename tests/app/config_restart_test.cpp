// The configuration saved and loaded again at the next start: the current
// objects, their files, the period and the element dialogs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <tuple>

#include "app/config_file.h"
#include "app/ui/document_commands.h"
#include "app/ui/element_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "catalogues/ui/element_dialogs.h"
#include "catalogues/ui/element_list_combo.h"
#include "catalogues/ui/variable_star_dialog.h"
#include "config_window_test.h"
#include "core/binary_fields.h"
#include "core/element_records.h"
#include "core/little_endian.h"
#include "core/name_tables.h"
#include "core/observer_record.h"
#include "core/time_scales.h"
#include "eclipses/star_catalogue.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/number_text.h"
#include "platform/settings_store.h"
#include "support/fixed_clock.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/qt_application.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "theories/observer_completion.h"
#include "theories/tle.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;
using test::ConfigWindow;

// The current asteroid, comet and variable star and the element files in
// use, saved with "Save configuration" (Alt+F1), are those of the next start:
// the items they enable are enabled at once and the windows load the files.
TEST_F(ConfigWindow, CurrentObjectsAndTheirFilesSurviveARestart) {
  ScopedSettingsStore settings(store_);
  ScopedMessageSink sink(messages_);
  const std::string stars = DataFolder() + "/mystars.csv";
  const std::string asteroids = DataFolder() + "/myasteroids.csv";
  TAsteroidElements ceres;
  TCometElements halley;
  TVariableStarElements delta;
  {
    TMainForm form;
    form.show();
    QApplication::processEvents();
    ASSERT_FALSE(form.Halted());
    fs::copy_file(DataFolder() + "/variab.csv", stars);
    fs::copy_file(DataFolder() + "/planeten.csv", asteroids);
    TElementDialogCommands& dialogs = *ElementDialogCommandsOf(form);
    dialogs.VariableStarDialog().FileName = stars;
    dialogs.AsteroidDialog().State.FileName = asteroids;
    TMainFormState& s = form.State();
    ceres = s.Objects.CurrentAsteroid;
    ceres.Name = "Ceres(1) 2022";
    ceres.SemiMajorAxis = 2.7674;
    ceres.H = 3.33;
    ceres.G = 0.12;
    halley = s.Objects.CurrentComet;
    halley.Name = "1P/Halley";
    halley.PerihelionDistance = 0.5859;
    delta = TVariableStarElements{22.2910, 58.2455, 3.5, 4.4, 2436075.445, 5.366, 2000, "Delta Cep", "c"};
    s.Objects.CurrentAsteroid = ceres;
    s.Objects.CurrentComet = halley;
    s.Objects.CurrentVariableStar = delta;
    ASSERT_TRUE(form.Commands().Trigger("Dateispeichern1"));
    EXPECT_TRUE(form.Commands().IsEnabled("VernderlicherStern1"));
  }
  TMainForm form;
  form.show();
  QApplication::processEvents();
  const TMainFormState& s = form.State();
  EXPECT_EQ(s.Objects.CurrentAsteroid.Name, ceres.Name);
  EXPECT_EQ(s.Objects.CurrentAsteroid.SemiMajorAxis, ceres.SemiMajorAxis);
  EXPECT_EQ(s.Objects.CurrentAsteroid.H, ceres.H);
  EXPECT_EQ(s.Objects.CurrentAsteroid.G, ceres.G);
  EXPECT_EQ(s.Objects.CurrentComet.Name, halley.Name);
  EXPECT_EQ(s.Objects.CurrentComet.PerihelionDistance, halley.PerihelionDistance);
  const TVariableStarElements& star = s.Objects.CurrentVariableStar;
  EXPECT_EQ(star.Name, delta.Name);
  EXPECT_EQ(star.Type, delta.Type);
  EXPECT_EQ(star.Epoch, delta.Epoch);
  EXPECT_EQ(star.Period, delta.Period);
  EXPECT_EQ(star.RA, delta.RA);
  EXPECT_TRUE(form.Commands().IsEnabled("VernderlicherStern1")) << "enabled from the start";
  TElementDialogCommands& dialogs = *ElementDialogCommandsOf(form);
  EXPECT_EQ(dialogs.VariableStarDialog().FileName, stars);
  EXPECT_EQ(dialogs.AsteroidDialog().State.FileName, asteroids);
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;
}

// The period comes back as it was saved, at the start-up load (the start
// then follows the clock) and from "Zeitraum aus Konfiguration": one given
// by its end date with "Enddatum automatisch" off (it came back as the start
// plus ten days), one of automatic length, and the files written while the
// end record's switch byte stayed 0 for a switch that was on (the end then
// follows from the start, or is the start itself when saved before the
// period was completed); a saved length the period dialog refuses comes
// back as the start-up length.
TEST_F(ConfigWindow, ThePeriodComesBackAsItWasSavedAfterARestart) {
  ScopedSettingsStore settings(store_);
  ScopedMessageSink sink(messages_);
  FixedClock clock(FixedClock::At(2026, 12, 9, 10, 0, 0));
  ScopedSystemClock now(clock);
  const std::string file = DataFolder() + "/Varbo4.ocf";
  const auto start = [](TMainForm& form) {
    form.show();
    for (int k = 0; k < 3; ++k) QApplication::processEvents();
    ASSERT_FALSE(form.Halted());
  };
  const auto setPeriod = [](TMainForm& form, bool autoEnd) {
    test::WhenModalShown([autoEnd](QDialog& dialog) {
      dialog.findChild<QCheckBox*>("AutoEnd")->setChecked(autoEnd);
      const auto type = [&dialog](const char* name, const char* text) {
        auto* edit = dialog.findChild<QLineEdit*>(name);
        ASSERT_NE(edit, nullptr) << name;
        edit->setText(text);
        edit->setModified(true);
        emit edit->editingFinished();
      };
      type("StartDate", autoEnd ? "01.03.2027" : "01.01.2027");
      type("StartTime", "00:00:00");
      if (autoEnd) {
        type("AutoDays", "20");
        type("AutoHours", "06:00:00");
      } else {
        type("EndDate", "31.12.2027");
        type("EndTime", "00:00:00");
      }
      dialog.findChild<QPushButton*>(autoEnd ? "Step3Days" : "Step5Days")->click();
      dialog.findChild<QPushButton*>("OKButton")->click();
    });
    ASSERT_TRUE(form.Commands().Trigger("ZeitraumfrTabelle1"));
    ASSERT_EQ(form.State().Period.AutoEnd, autoEnd ? 1 : 0);
  };
  const auto date = [](const TObserverRecord& r) {
    return WholeNumberText(r.Day) + "." + WholeNumberText(r.Month) + "." + WholeNumberText(r.Year);
  };
  // Another period, then the saved one from the menu.
  const auto restore = [](TMainForm& form) {
    TEphemerisPeriodState& p = form.State().Period;
    p.AutoEnd = 1 - p.AutoEnd;
    p.Start.Mjd += 400;
    UTToLocalTime(p.Start);
    p.Step = TTableStep{};
    ASSERT_TRUE(form.Commands().Trigger("DatumausKonfiguration2"));
    QApplication::processEvents();
  };

  {
    TMainForm form;
    start(form);
    setPeriod(form, false);
    ASSERT_TRUE(form.Commands().Trigger("Dateispeichern1"));
  }
  {
    TMainForm form;
    start(form);
    const TEphemerisPeriodState& p = form.State().Period;
    EXPECT_EQ(p.AutoEnd, 0);
    EXPECT_EQ(date(p.Start), "9.12.2026") << "the start is the clock's";
    EXPECT_EQ(date(p.End), "31.12.2027");
    restore(form);
    EXPECT_EQ(p.AutoEnd, 0);
    EXPECT_EQ(date(p.Start), "1.1.2027");
    EXPECT_EQ(date(p.End), "31.12.2027");
    EXPECT_NEAR(p.End.Mjd - p.Start.Mjd, 364, 1e-6);
    EXPECT_EQ(p.Step.Days, 5);
    EXPECT_EQ(p.Step.StepDays, 5);
    setPeriod(form, true);
    ASSERT_TRUE(form.Commands().Trigger("Dateispeichern1"));
  }
  const std::string automatic = Read(file);
  ASSERT_EQ(automatic.size(), kConfigFileSize);
  // The end record's switch byte and the period dialog's confirmed byte.
  constexpr std::size_t kSwitch = kConfigMagicSize + 28 + 736 + 736 - 72;
  EXPECT_EQ(automatic[kSwitch], 1);
  EXPECT_EQ(automatic[kSwitch + 1], 1);
  EXPECT_EQ(little_endian::GetI32(reinterpret_cast<const std::uint8_t*>(automatic.data()) + 32567), 20);
  EXPECT_EQ(little_endian::GetI32(reinterpret_cast<const std::uint8_t*>(automatic.data()) + 32571), 6);
  // Switch byte, confirmed byte, an end not yet completed (at the start, or
  // a few seconds before it, as a first start saved it when the clock moved
  // on between setting the end and the start): what the switch reads as.
  constexpr std::size_t kStartMjd = kConfigMagicSize + 28 + 36, kEndMjd = kStartMjd + 736;
  const auto mjdAt = [](const std::string& bytes, std::size_t at) {
    return little_endian::GetF64(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at);
  };
  EXPECT_NEAR(mjdAt(automatic, kEndMjd) - mjdAt(automatic, kStartMjd), 20.25, 1e-9);
  enum class EndAt { Saved, Start, BeforeStart };
  struct Stored {
    char switchByte, confirmed;
    EndAt end;
    int on;
  };
  for (const Stored& c : {Stored{1, 1, EndAt::Saved, 1},
                          {0, 0, EndAt::Saved, 1},
                          {0, 1, EndAt::Saved, 0},
                          {0, 0, EndAt::Start, 1},
                          {1, 1, EndAt::BeforeStart, 1}}) {
    std::string bytes = automatic;
    bytes[kSwitch] = c.switchByte;
    bytes[kSwitch + 1] = c.confirmed;
    if (c.end != EndAt::Saved) {
      const double end = mjdAt(bytes, kStartMjd) - (c.end == EndAt::BeforeStart ? 3.0 / 86400 : 0.0);
      little_endian::PutF64(reinterpret_cast<std::uint8_t*>(bytes.data()) + kEndMjd, end);
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    const int on = c.on;
    const std::string what =
        WholeNumberText(c.switchByte) + WholeNumberText(c.confirmed) + WholeNumberText(static_cast<int>(c.end));
    TMainForm form;
    start(form);
    const TEphemerisPeriodState& p = form.State().Period;
    EXPECT_EQ(p.AutoEnd, on) << what;
    if (on != 0) {
      EXPECT_NEAR(p.End.Mjd - p.Start.Mjd, 20.25, 1e-6) << "the length follows the clock's start";
    }
    restore(form);
    EXPECT_EQ(p.AutoEnd, on) << what;
    EXPECT_EQ(date(p.Start), "1.3.2027");
    EXPECT_EQ(date(p.End), "21.3.2027");
    EXPECT_NEAR(p.End.Mjd - p.Start.Mjd, 20.25, 1e-6) << what;
    EXPECT_EQ(p.Step.Days, 3);
  }

  // A saved automatic length the period dialog refuses (-400 days, the end
  // 400 days before the start) comes back as the start-up length of 10 days,
  // the end following from it, at the start-up load and from the menu.
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      << Read(KVX_FIXTURE_DIR "/bad-inputs/config_negative_automatic_length.ocf");
  {
    TMainForm form;
    start(form);
    const TEphemerisPeriodState& p = form.State().Period;
    EXPECT_EQ(p.AutoEnd, 1);
    EXPECT_EQ(p.End.PeriodDays, 10);
    EXPECT_NEAR(p.End.Mjd - p.Start.Mjd, 10, 1e-6);
    restore(form);
    EXPECT_EQ(p.AutoEnd, 1);
    EXPECT_EQ(date(p.Start), "3.4.2044");
    EXPECT_NEAR(p.End.Mjd - p.Start.Mjd, 10, 1e-6);
    EXPECT_EQ(date(p.End), "13.4.2044");
  }
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;
}

// A start record whose date fields say another year than its MJD (2226, or
// 20000 beyond the last day a table may reach) comes back from "Zeitraum
// aus Konfiguration" at the MJD's date, the automatic end 10 days after it;
// a start that is not a number comes back as 1 January 2000, not as MJD 0
// (17 November 1858). Every period lies within the date range and ends
// not before it starts, and the start's fields give back its MJD.
TEST_F(ConfigWindow, ADamagedOrNaNStartComesBackInStepWithItsInstant) {
  ScopedSettingsStore settings(store_);
  ScopedMessageSink sink(messages_);
  FixedClock clock(FixedClock::At(2026, 12, 9, 10, 0, 0));
  ScopedSystemClock now(clock);
  {
    TMainForm form;  // makes the data folder
    Start(form);
  }
  const std::string file = DataFolder() + "/Varbo4.ocf";
  const auto date = [](const TObserverRecord& r) {
    return WholeNumberText(r.Day) + "." + WholeNumberText(r.Month) + "." + WholeNumberText(r.Year);
  };
  constexpr std::size_t kStartMjd = kConfigMagicSize + 28 + observer_record_offsets::kMjd;
  struct Case {
    const char* file;
    bool nanStart;
    const char* start;
    const char* end;
  };
  for (const Case& c : {Case{"config_start_year_damaged_end_before_start.ocf", false, "21.11.2025", "1.12.2025"},
                        Case{"config_start_year_20000_beyond_last_day.ocf", false, "21.11.2025", "1.12.2025"},
                        Case{"config_start_year_damaged_end_before_start.ocf", true, "1.1.2000", "1.12.2025"}}) {
    SCOPED_TRACE(std::string(c.file) + (c.nanStart ? " with a NaN start" : ""));
    std::string bytes = Read(std::string(KVX_FIXTURE_DIR "/bad-inputs/") + c.file);
    ASSERT_EQ(bytes.size(), kConfigFileSize);
    if (c.nanStart) {
      little_endian::PutF64(reinterpret_cast<std::uint8_t*>(bytes.data()) + kStartMjd,
                            std::numeric_limits<double>::quiet_NaN());
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    TMainForm form;
    Start(form);
    TEphemerisPeriodState& p = form.State().Period;
    p.Start.Mjd += 400;
    UTToLocalTime(p.Start);
    ASSERT_TRUE(form.Commands().Trigger("DatumausKonfiguration2"));
    QApplication::processEvents();
    EXPECT_EQ(date(p.Start), c.start);
    EXPECT_EQ(date(p.End), c.end);
    EXPECT_LT(p.Start.Mjd, p.End.Mjd);
    EXPECT_GE(p.Start.Mjd, JdToMjd(0.0));
    EXPECT_LE(p.End.Mjd, JdToMjd(kLastTableJulianDay));
    TObserverRecord typed = p.Start;
    LocalTimeToUT(typed);
    EXPECT_NEAR(typed.Mjd, p.Start.Mjd, 1e-9) << "the date fields say the start's instant";
  }
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;
}

// An automatic end that the row limit cut stays off in the saved file, also
// after the period dialog was opened and cancelled (it came back switched
// on: no period had been confirmed). A configuration written with zone 14
// (Kiritimati, as files held it before zones kept within 12 h) loads as
// zone 12 with 120 minutes at the same instant, the status line names the
// zone "UTC+14", and the period dialog takes it as it is.
TEST_F(ConfigWindow, ACutAutomaticEndAndAZoneOf14HoursComeBackAsTheyShould) {
  ScopedSettingsStore settings(store_);
  FixedClock clock(FixedClock::At(2026, 12, 9, 10, 0, 0));
  ScopedSystemClock now(clock);
  const std::string file = DataFolder() + "/Varbo4.ocf";
  double cutLength = 0;
  {
    TMainForm form;
    form.show();
    QApplication::processEvents();
    ScopedMessageSink sink(messages_);  // the window installs its own
    TEphemerisPeriodState& p = form.State().Period;
    p.End.PeriodDays = 1000;
    p.Step = TTableStep{0, 1, 1.0 / 24};
    form.Tables().ComputeWithoutKind();
    ASSERT_EQ(p.AutoEnd, 0) << "the row limit cut the end";
    cutLength = p.End.Mjd - p.Start.Mjd;
    test::WhenModalShown([](QDialog& dialog) { dialog.reject(); });
    ASSERT_TRUE(form.Commands().Trigger("ZeitraumfrTabelle1"));
    ASSERT_TRUE(form.Commands().Trigger("Dateispeichern1"));
  }
  // Zone 14 and no extra minutes in both records, as written before: the
  // local date and time as they stand, the MJD 14 h before them.
  std::string bytes = Read(file);
  ASSERT_EQ(bytes.size(), kConfigFileSize);
  constexpr std::size_t kStart = kConfigMagicSize + 28;
  auto* data = reinterpret_cast<std::uint8_t*>(bytes.data());
  for (const std::size_t record : {kStart, kStart + kObserverRecordSize}) {
    little_endian::PutI32(data + record + observer_record_offsets::kZone, 14);
    little_endian::PutI32(data + record + observer_record_offsets::kZone + 8, 0);
    const TObserverRecord local =
        DecodeObserverRecord(std::span<const std::uint8_t, kObserverRecordSize>(data + record, kObserverRecordSize));
    little_endian::PutF64(data + record + observer_record_offsets::kMjd,
                          CalendarDateToMjd(local.Day, local.Month, local.Year, local.LocalHours - 14.0));
  }
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  messages_.messages.clear();
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  const TEphemerisPeriodState& p = form.State().Period;
  EXPECT_EQ(p.AutoEnd, 0);
  ASSERT_TRUE(form.Commands().Trigger("DatumausKonfiguration2"));
  QApplication::processEvents();
  EXPECT_EQ(p.AutoEnd, 0);
  EXPECT_NEAR(p.End.Mjd - p.Start.Mjd, cutLength, 1e-6);
  EXPECT_EQ(WholeNumberText(p.Start.Zone) + "/" + WholeNumberText(p.Start.ZoneMinutes), "12/120");
  EXPECT_EQ(WholeNumberText(p.End.Zone) + "/" + WholeNumberText(p.End.ZoneMinutes), "12/120");
  // The local date and time as stored, 14 h east of UT.
  const TObserverRecord stored =
      DecodeObserverRecord(std::span<const std::uint8_t, kObserverRecordSize>(data + kStart, kObserverRecordSize));
  EXPECT_NEAR(p.Start.Mjd, CalendarDateToMjd(stored.Day, stored.Month, stored.Year, stored.LocalHours - 14.0), 1e-8);
  const std::string panel = form.Panel("Datumpanel")->text().toStdString();
  EXPECT_NE(panel.find(" UTC+14 "), std::string::npos) << panel;
  test::WhenModalShown([](QDialog& dialog) {
    dialog.findChild<QPushButton*>("OKButton")->click();
    if (!dialog.isVisible()) return;
    ADD_FAILURE() << "the period dialog refused the zone";
    dialog.reject();
  });
  ASSERT_TRUE(form.Commands().Trigger("ZeitraumfrTabelle1"));
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;
  EXPECT_EQ(p.Start.ZoneMinutes, 120);
}

// The element dialogs' drop-down lists show the object the dialog names:
// none at the first start (the list showed its first item beside "No
// asteroid"), the saved objects after a restart (they showed the first item
// of their lists), the configuration's object after a load that brings
// another list, and none again for "no object" or an object the list lacks.
TEST_F(ConfigWindow, ElementDialogsShowTheCurrentObjectInTheirLists) {
  ScopedSettingsStore settings(store_);
  ScopedMessageSink sink(messages_);
  auto text = [](ElementListCombo* combo) { return combo->currentText().toStdString(); };
  // The variable-star dialog is modal: what its box and name show, then Cancel.
  auto starShown = [&text](TMainForm& form) {
    Telementevarform& dialog = ElementDialogCommandsOf(form)->VariableStarDialog();
    std::pair<std::string, std::string> seen;
    QTimer::singleShot(0, [&] {
      seen = {text(dialog.ListCombo()), dialog.NameLabel()->text().toStdString()};
      dialog.reject();
    });
    EXPECT_TRUE(form.Commands().Trigger("Vernderliche1"));
    return seen;
  };
  auto item = [](const auto& list, const std::string& name) {
    for (int k = 0; k < list.Count(); ++k) {
      if (list.Data(k).Name == name) return list.Data(k);
    }
    ADD_FAILURE() << name;
    return list.Data(0);
  };
  TAsteroidElements vesta;
  TCometElements encke;
  TVariableStarElements deltaCep;
  {
    TMainForm form;
    form.show();
    QApplication::processEvents();
    TElementDialogCommands& dialogs = *ElementDialogCommandsOf(form);
    TElementeplform& asteroids = dialogs.AsteroidDialog();
    TElementekoform& comets = dialogs.CometDialog();
    ASSERT_TRUE(form.Commands().Trigger("Planetoiden1"));
    ASSERT_GT(asteroids.Planetoidentabelle1.Count(), 3);
    EXPECT_EQ(asteroids.NameEdit()->text(), "No asteroid");
    EXPECT_EQ(asteroids.ListCombo()->currentIndex(), -1);
    ASSERT_TRUE(form.Commands().Trigger("Kometen1"));
    EXPECT_EQ(comets.NameEdit()->text(), "No comet");
    EXPECT_EQ(comets.ListCombo()->currentIndex(), -1);
    EXPECT_EQ(starShown(form), std::make_pair(std::string(), std::string("No variable star")));
    vesta = item(asteroids.Planetoidentabelle1, "Vesta(4) 2022");
    encke = item(comets.Kometentabelle1, "2P/Encke");
    deltaCep = item(dialogs.VariableStarDialog().variablentabelle1, "Delta Cep");
    asteroids.CancelClick();
    comets.CancelClick();
    TMainFormState& s = form.State();
    s.Objects.CurrentAsteroid = vesta;
    s.Objects.CurrentComet = encke;
    s.Objects.CurrentVariableStar = deltaCep;
    ASSERT_TRUE(form.Commands().Trigger("Dateispeichern1"));
  }

  TMainForm form;
  form.show();
  QApplication::processEvents();
  TElementDialogCommands& dialogs = *ElementDialogCommandsOf(form);
  TElementeplform& asteroids = dialogs.AsteroidDialog();
  TElementekoform& comets = dialogs.CometDialog();
  ASSERT_TRUE(form.Commands().Trigger("Planetoiden1"));
  EXPECT_EQ(asteroids.NameEdit()->text().toStdString(), "Vesta(4) 2022");
  EXPECT_EQ(text(asteroids.ListCombo()), "Vesta(4) 2022");
  ASSERT_TRUE(form.Commands().Trigger("Kometen1"));
  EXPECT_EQ(comets.NameEdit()->text().toStdString(), "2P/Encke");
  EXPECT_EQ(text(comets.ListCombo()), "2P/Encke");
  EXPECT_EQ(starShown(form), std::make_pair(std::string("Delta Cep"), std::string("Delta Cep")));

  // A configuration whose comet list is another file: the list under the
  // open dialog changes, the dialog keeps its comet, which that list lacks.
  const std::string other = DataFolder() + "/other_comets.csv";
  std::ofstream(other) << ":name;q;e;i;node;per; equinox;tm of per.(jd);epoche (jd);h;g\n"
                       << "1P/Halley;0,58597811;0,96714291;162,262691;58,420081;111,332485;2000,00;2446467,39532;"
                          "5,50;4,00;2449400,50000\n"
                       << "9P/Tempel 1;1,54257298;0,50958847;10,474003;68,748898;179,212396;2000,00;2457603,09088;"
                          "12,30;4,00;2457722,50000\n";
  TConfigSettings config = form.GatherConfiguration();
  config.Paths[kPathCometElements] = other;
  config.Comet = encke;
  config.Comet.Name = "9P/Tempel 1";  // edited elements: found by its name
  config.VariableStar.Name = "Mira";  // a star the list lacks
  form.ApplyConfiguration(config);
  ASSERT_EQ(comets.Kometentabelle1.Count(), 2);
  EXPECT_EQ(comets.NameEdit()->text().toStdString(), "2P/Encke");
  EXPECT_EQ(comets.ListCombo()->currentIndex(), -1);
  ASSERT_TRUE(form.Commands().Trigger("Kometen1"));
  EXPECT_EQ(comets.NameEdit()->text().toStdString(), "9P/Tempel 1");
  EXPECT_EQ(text(comets.ListCombo()), "9P/Tempel 1");
  EXPECT_EQ(comets.Record.PerihelionDistance, encke.PerihelionDistance) << "the record is not the list's";
  test::SavePng(comets, "comet_dialog_after_configuration_load");
  EXPECT_EQ(starShown(form), std::make_pair(std::string(), std::string("Mira")));

  // "No object" shows no object.
  comets.SetNoObject();
  EXPECT_EQ(comets.ListCombo()->currentIndex(), -1);
  asteroids.SetNoObject();
  EXPECT_EQ(asteroids.ListCombo()->currentIndex(), -1);
  EXPECT_EQ(asteroids.ListCombo()->count(), asteroids.Planetoidentabelle1.Count());
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;
}

}  // namespace
}  // namespace kvx
