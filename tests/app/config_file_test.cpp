#include "app/config_file.h"

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

#include "app/ui/document_commands.h"
#include "app/ui/element_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "catalogues/ui/element_dialogs.h"
#include "catalogues/ui/element_list_combo.h"
#include "catalogues/ui/variable_star_dialog.h"
#include "core/binary_fields.h"
#include "core/element_records.h"
#include "core/little_endian.h"
#include "core/name_tables.h"
#include "core/observer_record.h"
#include "core/time_scales.h"
#include "eclipses/star_catalogue.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/settings_store.h"
#include "support/fixed_clock.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/qt_application.h"
#include "config_window_test.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "theories/tle.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;
using test::ConfigWindow;
using test::LanguageGuard;

struct GoldenRun {
  std::size_t offset;
  const char* hex;
};
#include "fixtures/config_golden.inc"

std::vector<std::uint8_t> FromHex(const char* hex) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t k = 0; hex[k] != '\0' && hex[k + 1] != '\0'; k += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex + k, 2), nullptr, 16)));
  }
  return bytes;
}


std::uint8_t B(std::size_t offset) { return static_cast<std::uint8_t>(offset % 251 + 1); }
template <std::size_t N>
std::array<std::uint8_t, N> RawAt(std::size_t offset) {
  std::array<std::uint8_t, N> bytes{};
  for (std::size_t i = 0; i < N; ++i) bytes[i] = static_cast<std::uint8_t>((offset + i) % 256);
  return bytes;
}

// Every field set to the value make_config_golden.py expects at its offset.
TConfigSettings DistinctiveSettings() {
  TConfigSettings s;
  s.Start.Latitude = 12.5;
  s.Start.PlaceName = "Start place";
  s.End.Latitude = -33.25;
  s.Asteroid.Name = "Distinct asteroid";
  s.Asteroid.SemiMajorAxis = 2.75;
  s.Comet.Name = "Distinct comet";
  s.Comet.PerihelionDistance = 0.5;
  s.VariableStar.Name = "Distinct Cepheid";
  s.VariableStar.Period = 5.366;
  s.VariableStar.Type = "c";
  for (std::size_t k = 0; k < kConfigPathCount; ++k) {
    s.Paths[k] = "/p/k" + std::to_string(k) + "/file" + std::to_string(k) + ".dat";
  }
  s.TableConfig.ColumnTitles[3] = "Distinct title";
  s.Step.Days = 7;
  s.EclipseSearchMinutes = 27899;
  s.EclipseSearchSpanHours = 27903;
  s.Integration.N = 3;
  s.LeadingZeros = B(30533);
  s.Selection.bytes = RawAt<12>(30534);
  s.Satellite = 30547;
  s.SatelliteDays = 30551;
  s.SatelliteSunAltitude = B(30555);
  s.ApparentTime = B(30556);
  s.MeridianFeatures.Mode = 30559;
  for (std::size_t k = 0; k < kMeridianFeatureCount; ++k) {
    s.MeridianFeatures.Longitudes[k] = 30563.5 + 8 * static_cast<double>(k);
    s.MeridianFeatures.Names[k] = "Feature " + std::to_string(k);
  }
  s.OccultationMagnitude = 30859.25f;
  s.OccultationSunAltitude = 30863;
  s.ConjunctionOptions = {1, 0, 1, 0x5B, 12.5, 4321, 5, 9, {0x12, 0x34}, 7, 11.5, -2.25};
  s.EventOptions = {7.75, 12345, 4, 10, {0x56, 0x78}};
  s.ResultsIntoTable = B(30923);
  s.OrbitOptionsRaw = RawAt<20>(30927);
  s.CsvSeparatorIndex = B(30947);
  s.AsteroidFileFormat = B(30948);
  s.CometFileFormat = B(30949);
  s.IntegratorChoice = B(30950);
  s.UseIntegrationDatabase = B(30951);
  s.OccultationCatalogue = B(30952);
  s.PlanetOccultationBodies = RawAt<9>(30953);
  s.PlanetOccultationMagnitude = 30963.25f;
  s.ConjunctionsOnly = B(30967);
  s.Fk4Positions = B(30968);
  s.AsteroidDiameter = 30971;
  s.VsopLevelA = 30975;
  s.VsopLevelB = 30979;
  s.OccultationStar = 30983;
  s.ConjunctionUserObject = 30987;
  s.ConjunctionStar = 30991;
  s.SolarEclipseKinds = B(30995);
  s.LunarEclipseKinds = 30999;
  s.LunarEclipseMoonAltitude = 31003;
  s.PhenomenaSunAltitude = 31007;
  s.PhenomenaPlanetAltitude = 31011;
  s.SaturnMoon = 31015;
  s.JupiterMoon = 31019;
  s.MoonEvent = B(31023);
  s.AzimuthFromNorth = B(31024);
  s.FastConjunctions = B(31025);
  s.ConjunctionUsesPeriod = B(31026);
  s.EventUsesPeriod = B(31027);
  s.ExactMoonParallax = B(31028);
  s.ExactSunMoon = B(31029);
  s.TableEquinox = 31031.5;
  s.MoonCacheSpan = 31039;
  s.MoonCacheOrder = 31043;
  s.NeverSlowElp = B(31055);
  s.ConjunctionListComets = B(31056);
  s.KeplerElementsInverted = B(31057);
  s.ConjunctionListDatabase = B(31058);
  s.PhenomenaAbbreviations = B(31059);
  s.MoonOption = B(31060);
  s.MoonCacheFlag = B(31061);
  s.SeparationLimit = 31067.5;
  s.CellLines = B(31619);
  s.FixedLines = B(31620);
  s.ReservedFlag = B(31621);
  for (std::size_t k = 0; k < 6; ++k) s.HorizonAltitudes[k] = static_cast<double>(31623 + 8 * k) + 0.5;
  for (std::size_t k = 0; k < kQuantityCount; ++k) {
    s.ColumnWidths[k] = static_cast<std::int32_t>(10000 + k);
    s.DataFormatDecimals[k] = static_cast<std::uint8_t>(k % 16);
    s.DataFormatKind[k] = static_cast<std::uint8_t>(k % 4);
  }
  s.FixedColWidth = 32555;
  s.FixedRowHeight = 32559;
  s.DialogTableKind = 32563;
  s.PeriodDays = 32567;
  s.PeriodHours = 32571;
  s.UserObject = 33019;
  s.ElementFileRanges = DecodeElementFileRanges(RawAt<24>(33023));
  s.AlmanacRaw = RawAt<39>(33047);
  s.RiseSetAsJulianDate = B(33086);
  s.ConjunctionSunAltitude = 33087;
  s.ConjunctionAltitude1 = 33091;
  s.ConjunctionAltitude2 = 33095;
  s.BackgroundColor = 33099;
  s.FixedColor = 33103;
  s.Font.Name = "Distinct Face";
  s.Font.Size = 17;
  return s;
}

std::vector<std::uint8_t> FileOf(const TConfigSettings& s) {
  TConfigRecordImage image{};
  GatherConfigRecord(s, image);
  return ConfigFileBytes(image);
}

template <std::size_t N>
bool BlockIs(const std::vector<std::uint8_t>& file, std::size_t offset, const std::array<std::uint8_t, N>& block) {
  return std::equal(block.begin(), block.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
}

TEST(ConfigFile, EveryFieldLandsAtItsOffsetOfTheRecordTable) {
  const TConfigSettings s = DistinctiveSettings();
  const std::vector<std::uint8_t> file = FileOf(s);
  ASSERT_EQ(file.size(), 33379u);
  for (const GoldenRun& run : kGoldenRuns) {
    const std::vector<std::uint8_t> expected = FromHex(run.hex);
    for (std::size_t k = 0; k < expected.size(); ++k) {
      ASSERT_EQ(file[run.offset + k], expected[k]) << "file offset " << run.offset + k;
    }
  }
  // The blocks of their own codecs, at their places.
  EXPECT_TRUE(BlockIs(file, 55, EncodeObserverRecord(s.Start)));
  EXPECT_TRUE(BlockIs(file, 791, EncodeObserverRecord(s.End)));
  EXPECT_TRUE(BlockIs(file, 1527, EncodeAsteroidElementRecord(s.Asteroid)));
  EXPECT_TRUE(BlockIs(file, 1659, EncodeCometElementRecord(s.Comet)));
  EXPECT_TRUE(BlockIs(file, 1783, EncodeVariableStarRecord(s.VariableStar)));
  EXPECT_TRUE(BlockIs(file, 5203, EncodeTableConfigRecord(s.TableConfig)));
  EXPECT_TRUE(BlockIs(file, 27879, EncodeTableStep(s.Step)));
  EXPECT_TRUE(BlockIs(file, 27907, EncodeIntegrationSetup(s.Integration)));
  std::array<std::uint8_t, kTableFontRecordSize> font{};
  EncodeTableFontRecord(s.Font, font);
  EXPECT_TRUE(BlockIs(file, 33107, font));

  // The tolerance as an 80-bit extended, hand-computed images.
  const std::pair<long double, const char*> tolerances[] = {
      {1.0L, kExtendedOne}, {1e-10L, kExtendedTenToMinusTen}, {std::numeric_limits<long double>::min(), kExtendedSmallestNormal}};
  for (const auto& [value, hex] : tolerances) {
    TConfigSettings t = s;
    t.Tolerance = value;
    const std::vector<std::uint8_t> bytes = FileOf(t);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 30523, bytes.begin() + 30533), FromHex(hex)) << hex;
    TConfigRecordImage image{};
    std::copy(bytes.begin() + 27, bytes.end(), image.begin());
    EXPECT_EQ(ReadConfigRecord(image).Tolerance, value);
  }

  // Reading gives back what was written.
  TConfigRecordImage image{};
  std::copy(file.begin() + 27, file.end(), image.begin());
  const TConfigSettings back = ReadConfigRecord(image);
  EXPECT_EQ(FileOf(back), file);
  EXPECT_EQ(back.Paths[kPathBrowser], "/p/k11/file11.dat");
  EXPECT_EQ(back.Comet.Name, "Distinct comet");
  EXPECT_EQ(back.Font.Name, "Distinct Face");
}

TEST(ConfigFile, UnstorablePathsAreSavedEmptyAndNamedOnce) {
  test::TempFolder folder;
  RecordingMessageSink messages;
  ScopedMessageSink sink(messages);
  TConfigSettings s;
  const std::string wide = "/data/\u65e5\u672c.tle";
  const std::string longPath = "/" + std::string(300, 'x');
  s.Paths[kPathTle] = wide;
  s.Paths[kPathBrowser] = longPath;
  s.Paths[kPathObservations] = "/data/Beobachtungen \u00e4.txt";  // Windows-1252 holds it
  // Names the record's Windows-1252 fields cannot hold (they were stored as
  // "? Cep" and "????" without a word) are named in the same warning.
  s.VariableStar.Name = "\u03b4 Cep";
  s.MeridianFeatures.Names[2] = "Na\u03cc\u03c2";
  s.Comet.Name = "C/2026 Z9 (\u0160m\u00eddov\u00e1-C\u00f4te)";  // Windows-1252 holds it
  tconfig config;
  const std::string name = (folder.Path() / "a.ocf").string();
  ASSERT_TRUE(config.Save(name, s));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].icon, MessageIcon::Warning);
  EXPECT_NE(messages.messages[0].text.find(wide), std::string::npos);
  EXPECT_NE(messages.messages[0].text.find(longPath), std::string::npos);
  EXPECT_NE(messages.messages[0].text.find(": \u03b4 Cep"), std::string::npos);
  EXPECT_NE(messages.messages[0].text.find(": Na\u03cc\u03c2"), std::string::npos);
  EXPECT_EQ(messages.messages[0].text.find("Z9"), std::string::npos);
  EXPECT_EQ(NamesNotStorable(TConfigSettings{}), std::vector<std::string>{}) << "the defaults are storable";
  TConfigSettings longName;
  longName.MeridianFeatures.Names[0] = std::string(51, 'x');
  EXPECT_EQ(NamesNotStorable(longName).size(), 1u);
  TConfigSettings back;
  ASSERT_EQ(config.Load(name, back), ConfigLoadResult::Loaded);
  EXPECT_EQ(back.Paths[kPathTle], "");
  EXPECT_EQ(back.Paths[kPathBrowser], "");
  EXPECT_EQ(back.Paths[kPathObservations], "/data/Beobachtungen \u00e4.txt");
  EXPECT_EQ(back.Comet.Name, s.Comet.Name);

  // Paths from elsewhere are found by their file name in the data folder.
  std::ofstream(folder.Path() / "Observ.txt") << "x";
  EXPECT_EQ(LocalConfigPath("C:\\Programme\\Varbo\\Observ.txt", folder.Path().string()),
            (folder.Path() / "Observ.txt").string());
  EXPECT_EQ(LocalConfigPath("D:\\x\\missing.txt", folder.Path().string()), "");
  EXPECT_EQ(LocalConfigPath("/home/u/Observ.txt", folder.Path().string()), "/home/u/Observ.txt");
}

TEST(ConfigFile, RefusesForeignShortLongAndReadOnlyFilesWithoutChangingAnything) {
  test::TempFolder folder;
  RecordingMessageSink messages;
  ScopedMessageSink sink(messages);
  LanguageGuard language;
  LanguageEnglish = 1;
  tconfig config;
  const std::string good = (folder.Path() / "good.ocf").string();
  TConfigSettings s = DistinctiveSettings();
  ASSERT_TRUE(config.Save(good, s));
  const TConfigRecordImage record = config.Record();
  std::string bytes;
  {
    std::ifstream in(good, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  auto write = [&](const std::string& file, const std::string& content) {
    std::ofstream(folder.Path() / file, std::ios::binary) << content;
    return (folder.Path() / file).string();
  };
  std::string tableMagic = bytes;
  tableMagic[1] = 'b';
  const std::string cases[] = {write("table.ocf", tableMagic), write("short.ocf", bytes.substr(0, 33000)),
                               write("long.ocf", bytes + "x"), write("tiny.ocf", bytes.substr(0, 5))};
  const ConfigLoadResult expected[] = {ConfigLoadResult::WrongMagic, ConfigLoadResult::WrongLength,
                                       ConfigLoadResult::WrongLength, ConfigLoadResult::WrongMagic};
  for (std::size_t k = 0; k < 4; ++k) {
    messages.messages.clear();
    TConfigSettings untouched;
    untouched.Satellite = 77;
    EXPECT_EQ(config.Load(cases[k], untouched), expected[k]) << cases[k];
    EXPECT_EQ(untouched.Satellite, 77);
    EXPECT_EQ(config.FileName(), good);
    EXPECT_TRUE(config.Record() == record);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Error while loading configuration file");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Error);
    if (expected[k] == ConfigLoadResult::WrongMagic) {
      EXPECT_EQ(messages.messages[0].text, "This is no Kandrevoltinex 4.6 configuration file.");
    } else {
      EXPECT_NE(messages.messages[0].text.find(cases[k]), std::string::npos);
    }
  }
  messages.messages.clear();
  TConfigSettings none;
  EXPECT_EQ(config.Load((folder.Path() / "missing.ocf").string(), none), ConfigLoadResult::Missing);
  EXPECT_TRUE(messages.messages.empty());

  // A read-only target is refused with its cause, not replaced by the rename.
  ::chmod(good.c_str(), 0444);
  s.Satellite = 5;
  EXPECT_FALSE(config.Save(good, s));
  EXPECT_EQ(config.FileName(), "");
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "The configuration was not saved in " + good +
                                           ". The file is read-only and is not written over. The file stays as it "
                                           "was.");
  std::ifstream in(good, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes);
  ::chmod(good.c_str(), 0644);
}

TEST(ConfigFile, ClampsEveryUncheckedValueToItsRangeOrDefault) {
  TConfigSettings s;
  const TConfigSettings d;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  s.DataFormatDecimals[0] = 16;
  s.DataFormatDecimals[1] = 255;
  s.DataFormatKind[2] = 200;
  s.CsvSeparatorIndex = 4;
  s.ColumnWidths[5] = -3;
  s.FixedColWidth = -1;
  s.FixedRowHeight = -9;
  s.Tolerance = 0;
  s.Font.Size = 0;
  s.HorizonAltitudes[1] = nan;
  s.HorizonAltitudes[4] = 95;
  s.TableEquinox = nan;
  s.SeparationLimit = nan;
  s.JupiterMoon = 9;
  s.SaturnMoon = 0;
  s.MoonEvent = 7;
  s.AsteroidDiameter = 5000;
  s.PhenomenaSunAltitude = -400;
  s.OccultationMagnitude = std::numeric_limits<float>::infinity();
  s.PlanetOccultationMagnitude = 1e30f;
  s.Step.StepDays = nan;
  s.MeridianFeatures.Mode = 5;
  s.MeridianFeatures.Longitudes[3] = nan;
  EXPECT_GE(ClampConfigSettings(s), 20);
  EXPECT_LE(s.DataFormatDecimals[0], 15);
  EXPECT_LE(s.DataFormatDecimals[1], 15);
  EXPECT_LE(s.DataFormatKind[2], 3);
  EXPECT_EQ(s.CsvSeparatorIndex, 3);
  EXPECT_GE(s.ColumnWidths[5], 0);
  EXPECT_EQ(s.FixedColWidth, d.FixedColWidth);
  EXPECT_EQ(s.FixedRowHeight, d.FixedRowHeight);
  EXPECT_EQ(s.Tolerance, 1e-10L);
  EXPECT_EQ(s.Font.Size, 10);
  EXPECT_EQ(s.HorizonAltitudes[1], 8.0);
  EXPECT_EQ(s.HorizonAltitudes[4], -12.0);
  EXPECT_EQ(s.TableEquinox, 0.0);
  EXPECT_EQ(s.SeparationLimit, 360.0);
  EXPECT_EQ(s.JupiterMoon, 4);
  EXPECT_EQ(s.SaturnMoon, 1) << "0 becomes the first moon";
  EXPECT_EQ(s.MoonEvent, 0) << "an event code beyond the four gives the first";
  EXPECT_EQ(s.AsteroidDiameter, 2000);
  EXPECT_EQ(s.PhenomenaSunAltitude, -90);
  EXPECT_EQ(s.OccultationMagnitude, 8.0f);
  EXPECT_EQ(s.PlanetOccultationMagnitude, 10.0f) << "the planets' dialog goes to 10 mag";
  EXPECT_EQ(s.Step.StepDays, 1.0);
  EXPECT_EQ(s.MeridianFeatures.Mode, 2) << "a system beyond Saturn System III gives the default";
  EXPECT_EQ(s.MeridianFeatures.Longitudes[3], 0.0);
  for (long double bad : {-1e-10L, std::numeric_limits<long double>::quiet_NaN()}) {
    s.Tolerance = bad;
    ClampConfigSettings(s);
    EXPECT_EQ(s.Tolerance, 1e-10L);
  }
  s.Font.Size = 500;
  s.PlanetOccultationMagnitude = -3.5f;
  ClampConfigSettings(s);
  EXPECT_EQ(s.Font.Size, 240);
  EXPECT_EQ(s.PlanetOccultationMagnitude, 0.0f);
  TConfigSettings fine;
  EXPECT_EQ(ClampConfigSettings(fine), 0) << "the defaults are in range";

  // A period starting beyond the year 9999 with an automatic length of -400
  // days: the start comes back to the last day a table may reach, and the
  // period checked before a table ends not before it starts. An end before
  // JD 0 comes to the first day.
  TConfigSettings late;
  late.Start.Mjd = 4456200;
  UTToLocalTime(late.Start);
  late.End = late.Start;
  late.End.Mjd -= 400;
  late.End.PeriodDays = -400;
  SetAutoEndSwitch(late.End, 1);
  EXPECT_GE(ClampConfigSettings(late), 2);
  EXPECT_EQ(late.Start.Mjd, JdToMjd(5373484.0));
  EXPECT_EQ(late.Start.Year, 9999);
  TEphemerisPeriodState period;
  RestoreSavedPeriod(period, late.Start, late.End);
  period.ShowMessages = 0;
  CheckEphemerisPeriod(period);
  EXPECT_GE(period.End.Mjd, period.Start.Mjd);
  EXPECT_EQ(period.End.Year, 9999);
  late.Start.Mjd = -2500000;
  late.End.Mjd = nan;
  ClampConfigSettings(late);
  EXPECT_EQ(late.Start.Mjd, JdToMjd(0.0));
  EXPECT_EQ(late.Start.Year, -4712);
  EXPECT_TRUE(std::isfinite(late.End.Mjd));

  // Records the fuzzer found where a second clamp still changed something
  // (read as its target reads any bytes): clamped once, they are a fixed
  // point of the clamp and of storage.
  for (const char* name :
       {"fuzz_config_file_clamping_twice_changes.bin", "fuzz_config_file_clamping_twice_changes_2.bin"}) {
    std::ifstream in(std::string(KVX_FIXTURE_DIR "/bad-inputs/") + name, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GT(bytes.size(), 30000u) << name;
    const std::size_t from = CheckConfigFileBytes(bytes) == ConfigLoadResult::WrongMagic ? 0 : kConfigMagicSize;
    TConfigRecordImage image{};
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                std::min(bytes.size() - from, kConfigRecordSize), image.begin());
    TConfigSettings clamped = ReadConfigRecord(image);
    ClampConfigSettings(clamped);
    TConfigSettings again = clamped;
    EXPECT_EQ(ClampConfigSettings(again), 0) << name;
    TConfigRecordImage stored = image;
    GatherConfigRecord(clamped, stored);
    TConfigSettings loaded = ReadConfigRecord(stored);
    EXPECT_EQ(ClampConfigSettings(loaded), 0) << name;
  }
}

// --- through the main window ------------------------------------------------------


TEST_F(ConfigWindow, StartSavesTheDefaultFileAndLoadApplySaveIsByteExact) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ScopedMessageSink sink(messages_);
  ASSERT_NO_FATAL_FAILURE(Start(form));
  const std::string startup = DataFolder() + "/Varbo4.ocf";
  ASSERT_TRUE(fs::exists(startup)) << "the start-up saves the configuration when none was loaded";
  EXPECT_EQ(form.Configuration().FileName(), startup);
  const std::string first = Read(startup);
  ASSERT_EQ(first.size(), 33379u);

  // Padding and reserved bytes of a loaded file survive; the zero ranges
  // are cleared again.
  struct Range {
    std::size_t offset, size;
  };
  const Range kept[] = {{27, 28},   {4179, 256}, {30546, 1}, {30557, 2},   {30924, 3}, {30962, 1}, {30969, 2},
                        {30996, 3}, {31030, 1},  {31064, 3}, {31075, 544}, {31622, 1}, {33017, 2}, {30858, 1}};
  const Range zeroed[] = {{31047, 8}, {31062, 2}};
  std::string marked = first;
  for (const Range& r : kept) marked.replace(r.offset, r.size, r.size, '\xAA');
  for (const Range& r : zeroed) marked.replace(r.offset, r.size, r.size, '\xAA');
  const std::string loaded = DataFolder() + "/marked.ocf";
  std::ofstream(loaded, std::ios::binary) << marked;
  ASSERT_TRUE(form.LoadConfiguration(loaded));
  const std::string saved = DataFolder() + "/saved.ocf";
  ASSERT_TRUE(form.SaveConfiguration(saved));
  std::string expected = marked;
  for (const Range& r : zeroed) expected.replace(r.offset, r.size, r.size, '\0');
  const std::string written = Read(saved);
  ASSERT_EQ(written.size(), expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k) {
    ASSERT_EQ(written[k], expected[k]) << "file offset " << k;
  }
  EXPECT_EQ(form.Configuration().FileName(), saved);
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;

  // A configuration with changed settings: applied through the setters,
  // then written back unchanged.
  TConfigRecordImage image{};
  std::copy(first.begin() + 27, first.end(), reinterpret_cast<char*>(image.data()));
  TConfigSettings s = ReadConfigRecord(image);
  s.MoonCacheSpan = 15;
  s.Tolerance = 1e-12L;
  s.TableEquinox = 0.5;
  s.AzimuthFromNorth = 1;
  s.ConjunctionOptions.Spare1 = 0x5A;
  s.AlmanacRaw[38] = 0x11;
  s.VariableStar.Name = "Delta Cephei";
  s.Font.Size = 12;
  s.Font.Name = "Courier";
  TConfigRecordImage changed = image;
  GatherConfigRecord(s, changed);
  const std::vector<std::uint8_t> changedFile = ConfigFileBytes(changed);
  const std::string changedName = DataFolder() + "/changed.ocf";
  std::ofstream(changedName, std::ios::binary).write(reinterpret_cast<const char*>(changedFile.data()),
                                                     static_cast<std::streamsize>(changedFile.size()));
  ASSERT_TRUE(form.LoadConfiguration(changedName));
  EXPECT_EQ(form.State().Computing.NumericOptions.MoonCacheSpan, 15);
  EXPECT_EQ(form.MoonCache().SpanDays, 15);
  EXPECT_EQ(form.State().Computing.AccuracyDigits, 12);
  EXPECT_EQ(AzimuthOrigin(form.State().Computing.NumericOptions), 180.0);
  EXPECT_EQ(TableRequestOf(form.Period(), form.TableState(), form.Computing(), 0).Output.SecondEquinoxText, " 2050");
  EXPECT_EQ(form.Documents().Look().Font.Name, "Courier");
  ASSERT_TRUE(form.SaveConfiguration(saved));
  EXPECT_EQ(Read(saved), std::string(changedFile.begin(), changedFile.end()));
}

TEST_F(ConfigWindow, ApplyFallsBackWhereFilesCatalogueOrDatabaseAreMissing) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ScopedMessageSink sink(messages_);
  ASSERT_NO_FATAL_FAILURE(Start(form));
  TConfigSettings s = form.GatherConfiguration();
  s.Paths[kPathTle] = DataFolder() + "/missing.tle";
  s.OccultationStar = 60;
  s.ConjunctionStar = 61;
  s.UseIntegrationDatabase = 1;
  s.OccultationCatalogue = 2;
  std::swap(s.Start.Mjd, s.End.Mjd);
  form.PublishStarCatalogue(std::make_shared<TStarCatalogue>(1, "OCCINP8.DAT", std::vector<tsterndatensatz>(50)));
  fs::remove(DataFolder() + "/OCCINP95.DAT");
  form.State().StarCatalogue.Level = OccultationCatalogueLevelOf(DataFolder());
  form.ApplyConfiguration(s);
  EXPECT_EQ(form.SatelliteFile().count, 1);
  EXPECT_EQ(form.SatelliteFile().fileName, DataFolder() + "/*.tle");
  EXPECT_EQ(SatelliteNames[1], "Mir");
  EXPECT_EQ(form.State().StarCatalogue.SelectedStar, -1);
  EXPECT_EQ(form.GatherConfiguration().ConjunctionStar, 1);
  EXPECT_EQ(form.State().Computing.UseIntegrationDatabase, form.State().Computing.IntegrationDatabase != 0 ? 1 : 0);
  EXPECT_EQ(form.State().StarCatalogue.Setting, 1) << "lowered to the catalogue found";
  EXPECT_EQ(form.ReversedPeriod(), s.Start.Mjd > s.End.Mjd ? 1 : 0);
}

// A configuration that asks for a theory this installation lacks (the
// position files, gone since it was saved) computes by the fallback and
// says so once, in the program's language; the file keeps its theory.
TEST_F(ConfigWindow, AMissingTheoryIsNamedOnceAndTheFileKeepsIt) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ScopedMessageSink sink(messages_);
  ASSERT_NO_FATAL_FAILURE(Start(form));
  ASSERT_EQ(form.TheoryState().VscFilesPresent, 0);
  ASSERT_EQ(form.Selection().PlanetTheory(), kPlanetTheoryVsop87D);
  TConfigSettings s = form.GatherConfiguration();
  s.Selection.bytes[0] = kPlanetTheoryPositionFiles;
  TConfigRecordImage image = form.Configuration().Record();
  GatherConfigRecord(s, image);
  const std::vector<std::uint8_t> bytes = ConfigFileBytes(image);
  const std::string file = DataFolder() + "/with_position_files.ocf";
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  const std::string stored = Read(file);
  for (std::uint8_t english : {0, 1}) {
    LanguageEnglish = english;
    messages_.messages.clear();
    ASSERT_TRUE(form.LoadConfiguration(file));
    form.Commands().Trigger("Sonne1");
    QApplication::processEvents();
    ASSERT_EQ(messages_.messages.size(), 1u) << int{english};
    EXPECT_EQ(messages_.messages[0].text,
              english != 0 ? "The configuration asks for the planetary theory \"Positions from file\", which is "
                             "not present; \"Newcomb\" is used instead."
                           : "Die Konfiguration verlangt die Planetentheorie \"Positionen aus Datei\", die nicht "
                             "vorhanden ist; gerechnet wird mit \"Newcomb\".");
    EXPECT_EQ(messages_.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(form.Selection().PlanetTheory(), kPlanetTheoryInternal);
    EXPECT_EQ(form.Panel("PanelVSOP")->text(), "Newcomb");
    EXPECT_EQ(Read(file), stored) << "the configuration keeps what it asked for";
  }
}

// "Satelite.tle" put into the data folder after the first start is the
// satellite list of the next start: the default configuration, written at
// the first start with the built-in set's "*.tle", leaves it as it is. A
// configuration that names a file takes that file.
TEST_F(ConfigWindow, SatelliteFileOfTheDataFolderSurvivesTheDefaultConfiguration) {
  ScopedSettingsStore settings(store_);
  ScopedMessageSink sink(messages_);
  {
    TMainForm first;
    first.show();
    QApplication::processEvents();
    ASSERT_EQ(SatelliteNames[1], "Mir");
  }
  ASSERT_TRUE(fs::exists(DataFolder() + "/Varbo4.ocf"));
  const std::string line1 = "1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753";
  const std::string line2 = "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667";
  std::ofstream(DataFolder() + "/Satelite.tle") << "VANGUARD 1\n" << line1 << "\n" << line2 << "\n";
  std::ofstream(DataFolder() + "/other.tle") << "OTHER\n" << line1 << "\n" << line2 << "\n";
  TMainForm form;
  form.show();
  QApplication::processEvents();
  EXPECT_EQ(form.SatelliteFile().fileName, DataFolder() + "/Satelite.tle");
  EXPECT_EQ(form.SatelliteFile().count, 1);
  EXPECT_EQ(SatelliteNames[1], "VANGUARD 1");
  TConfigSettings s = form.GatherConfiguration();
  s.Paths[kPathTle] = DataFolder() + "/other.tle";
  form.ApplyConfiguration(s);
  EXPECT_EQ(SatelliteNames[1], "OTHER");
}

}  // namespace
}  // namespace kvx
