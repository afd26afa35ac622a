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
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "theories/tle.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

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

// Keeps the language and the global tables a configuration sets for the
// other tests.
struct LanguageGuard {
  std::uint8_t saved = LanguageEnglish;
  std::array<std::uint8_t, kQuantityCount> decimals = DataFormatDecimals;
  std::array<std::uint8_t, kQuantityCount> kinds = DataFormatKind;
  ~LanguageGuard() {
    LanguageEnglish = saved;
    DataFormatDecimals = decimals;
    DataFormatKind = kinds;
  }
};

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

  // A read-only target is refused, not replaced by the rename.
  ::chmod(good.c_str(), 0444);
  if (::access(good.c_str(), W_OK) != 0) {  // root may write anyway
    s.Satellite = 5;
    EXPECT_FALSE(config.Save(good, s));
    EXPECT_EQ(config.FileName(), "");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, good + " is no valid filename.");
    std::ifstream in(good, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes);
  }
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

class ConfigWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", (home_.Path() / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_.Path() / "config").c_str(), 1);
    InitAstroNameTables();
    LanguageEnglish = 1;
    store_.WriteBool("Settings", "FirstRun", false);
  }
  std::string DataFolder() const { return (home_.Path() / "data" / "kandrevoltinex").string(); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  test::TempFolder home_;
  MemorySettingsStore store_;
  // Shows the window as at a start: the settings loaded, the start done.
  static void Start(TMainForm& form) {
    form.show();
    QApplication::processEvents();
    ASSERT_FALSE(form.Halted());
  }

  RecordingMessageSink messages_;
  LanguageGuard language_;
};

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

namespace kvx {
namespace {

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
    return std::to_string(r.Day) + "." + std::to_string(r.Month) + "." + std::to_string(r.Year);
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
  for (const Stored& c : {Stored{1, 1, EndAt::Saved, 1}, {0, 0, EndAt::Saved, 1}, {0, 1, EndAt::Saved, 0},
                          {0, 0, EndAt::Start, 1}, {1, 1, EndAt::BeforeStart, 1}}) {
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
        std::to_string(c.switchByte) + std::to_string(c.confirmed) + std::to_string(static_cast<int>(c.end));
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
  // Zone 14 and no extra minutes in both records, as written before.
  std::string bytes = Read(file);
  ASSERT_EQ(bytes.size(), kConfigFileSize);
  constexpr std::size_t kStart = kConfigMagicSize + 28;
  auto* data = reinterpret_cast<std::uint8_t*>(bytes.data());
  for (const std::size_t record : {kStart, kStart + kObserverRecordSize}) {
    little_endian::PutI32(data + record + observer_record_offsets::kZone, 14);
    little_endian::PutI32(data + record + observer_record_offsets::kZone + 8, 0);
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
  EXPECT_EQ(std::to_string(p.Start.Zone) + "/" + std::to_string(p.Start.ZoneMinutes), "12/120");
  EXPECT_EQ(std::to_string(p.End.Zone) + "/" + std::to_string(p.End.ZoneMinutes), "12/120");
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
