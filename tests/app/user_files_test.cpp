// The files the user picks, and the program's own files beside them, are
// written on one road: observations, a configuration, the user catalogue,
// start values, the database export, a converted catalogue, a position
// database and the data folder's copies.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/config_file.h"
#include "app/data_folder.h"
#include "catalogues/astorb_conversion.h"
#include "catalogues/position_database.h"
#include "catalogues/user_catalogue.h"
#include "engine/nbody_setup.h"
#include "orbitdet/observation_files.h"
#include "orbitdet/observations.h"
#include "orbitdet/start_values_file.h"
#include "platform/file_dialog.h"
#include "platform/messages.h"
#include "platform/number_text.h"
#include "platform/save_failure.h"
#include "platform/workbook/workbook.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

// One MPCORB record (the cross-check fixture's second asteroid).
constexpr const char* kMpcorbRecord =
    "00002    3.22  0.12 L00B8 145.72350   45.41609   73.45664   22.62498  0.5643763  0.00239079  55.3913725  0 "
    "MPO123456  7785  32 1990-2024 0.55 M-v 3Ek MPCLINUX   0000 (2) Synthetic1              20240101";

const TSaveFailureLead kLead = {"Die Datei {} konnte nicht geschrieben werden.", "The file {} could not be written."};

fs::perms Mode(const fs::path& path) { return fs::status(path).permissions() & fs::perms::mask; }

// A writer's result as its command shows it: the failure with its cause.
bool Shown(const std::string& name, const TWriteError& error, bool done) {
  if (!done) ShowSaveFailure(kLead, name, error, false);
  return done;
}

bool NoTemporaryIn(const fs::path& folder) {
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().find(".kvxtmp") != std::string::npos) return false;
  }
  return true;
}

class UserFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    od_.Create(scratch_.Path().string(), TTheorySelection{}, &observations_, kFullTheory, 10);
    // The observation table as "Beobachtungen speichern" finds it.
    sheet_.SetText(1, 1, "Beobachtungen");
    for (int k = 0; k < 3; ++k) {
      const double row[9] = {2025, 11, 10.0 + k, 12.5, 1.0203 + 0.01 * k, 10.203, 18.1, 0, 0};
      for (int col = 1; col <= 9; ++col) sheet_.SetNumber(3 + k, col, row[col - 1]);
    }
  }

  // A writer: the name of the file it writes in `folder`, what must be
  // there before (its input), and the write; a failure shown as the
  // program shows it.
  struct Writer {
    std::string Label;
    std::string Name;
    std::function<void(const fs::path& folder)> Prepare;
    std::function<bool(const fs::path& folder)> Write;
  };

  std::vector<Writer> Writers() {
    return {
        {"observations",
         "obs.txt",
         {},
         [this](const fs::path& folder) {
           files_.QueueAnswer((folder / "obs.txt").string());
           std::string name;
           return SaveObservationFile(od_, FileDialogRequest{}, name, sheet_);
         }},
        {"configuration",
         "a.ocf",
         {},
         [this](const fs::path& folder) { return config_.Save((folder / "a.ocf").string(), TConfigSettings{}); }},
        {"user catalogue",
         "user.csv",
         {},
         [](const fs::path& folder) {
           const std::string name = (folder / "user.csv").string();
           return SaveUserFile(name, kLead, nullptr, [&](TWriteError& error) {
             return WriteUserCatalogue(name, {kUserCatalogueFirstLine, "Vega;18.6156;38.7836;0;0;2000;0.03"}, error);
           });
         }},
        {"start values",
         "start.csv",
         {},
         [this](const fs::path& folder) {
           return WriteStartValuesFile((folder / "start.csv").string(), DefaultIntegrationSetup(), &startRead_);
         }},
        {"database export",
         "Ceres.csv",
         {},
         [](const fs::path& folder) { return SaveUserFile((folder / "Ceres.csv").string(), "Datum;RA\r\n", kLead); }},
        {"conversion", "MPCORB.CSV",
         [](const fs::path& folder) {
           std::ofstream(folder / "MPCORB.DAT") << "MPCORB header\n"
                                                << std::string(20, '-') << "\n"
                                                << kMpcorbRecord << "\n";
         },
         [](const fs::path& folder) {
           const TConversionResult r = ConvertMpcorbFile((folder / "MPCORB.DAT").string(), {});
           return Shown(r.Output, r.Error, r.Done && r.Written == 1);
         }},
        {"position database",
         "plu.vsc",
         {},
         [](const fs::path& folder) {
           const TPositionDatabaseResult r = WritePositionDatabase(
               TPositionDatabaseKind::Body, kPositionDatabasePlutoSlot, 40, folder.string(), {}, false);
           return Shown(r.File, r.Error, r.Outcome == TPositionDatabaseOutcome::Done);
         }},
        {"data folder copy", "OCCINP8.DAT",
         [this](const fs::path&) {
           shipped_.Write("shipped-files.txt", "OCCINP8.DAT\n");
           shipped_.Write("OCCINP8.DAT", "catalogue");
         },
         [this](const fs::path& folder) {
           const TShippedCopyResult r = CopyMissingShippedFiles(shipped_.Path().string(), folder.string());
           const TWriteError* failure = r.WriteFailureOf("OCCINP8.DAT");
           return Shown((folder / "OCCINP8.DAT").string(), failure != nullptr ? *failure : TWriteError{},
                        failure == nullptr && r.Copied.size() == 1);
         }},
    };
  }

  test::TempFolder scratch_;
  test::TempFolder shipped_;
  RecordingMessageSink messages_;
  ScopedMessageSink sinkScope_{messages_};
  test::RecordingFileDialog files_;
  ScopedFileDialog filesScope_{files_};
  TObservationList observations_;
  torbdet od_;
  workbook::TWorkbook sheet_;
  tconfig config_;
  TOpenedFile startRead_;
};

// Over a file of private mode reached through a symbolic link and with a
// second hard link, every writer leaves the mode, the link a link and both
// names with the new contents (it had left the second name with the old
// text), and no temporary file. Into a read-only folder nothing is written
// and the message names the folder as the cause (it had said only "cannot
// write", or "is no valid filename").
TEST_F(UserFiles, EveryWriterKeepsModeAndLinksAndNamesTheCause) {
  int k = 0;
  for (const Writer& w : Writers()) {
    SCOPED_TRACE(w.Label);
    const fs::path folder = scratch_.Path() / ("in" + WholeNumberText(k));
    const fs::path real = scratch_.Path() / ("real" + WholeNumberText(k));
    const fs::path locked = scratch_.Path() / ("locked" + WholeNumberText(k++));
    for (const fs::path& f : {folder, real, locked}) fs::create_directories(f);
    if (w.Prepare) w.Prepare(folder);
    messages_.messages.clear();
    if (w.Label != "data folder copy") {  // which never writes over a file
      const fs::path target = real / "target";
      std::ofstream(target) << "old text\n";
      fs::permissions(target, fs::perms(0600));
      fs::create_hard_link(target, real / "second");
      fs::create_symlink(fs::path("..") / real.filename() / "target", folder / w.Name);
      ASSERT_TRUE(w.Write(folder)) << (messages_.messages.empty() ? "" : messages_.messages[0].text);
      EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder / w.Name)));
      const std::string written = test::TempFolder::Read(target.string());
      EXPECT_NE(written, "old text\n");
      EXPECT_FALSE(written.empty());
      EXPECT_EQ(test::TempFolder::Read((real / "second").string()), written);
      EXPECT_EQ(Mode(target), fs::perms(0600));
      EXPECT_TRUE(NoTemporaryIn(folder) && NoTemporaryIn(real));
    } else {
      ASSERT_TRUE(w.Write(folder));
      EXPECT_EQ(test::TempFolder::Read((folder / w.Name).string()), "catalogue");
    }

    if (w.Prepare) w.Prepare(locked);
    fs::permissions(locked, fs::perms(0555));
    messages_.messages.clear();
    EXPECT_FALSE(w.Write(locked));
    fs::permissions(locked, fs::perms(0755));
    ASSERT_EQ(messages_.messages.size(), 1u);
    const RecordedMessage& m = messages_.messages[0];
    EXPECT_EQ(m.icon, MessageIcon::Error);
    EXPECT_NE(m.text.find("Der Ordner " + locked.string() +
                          " ist schreibgeschützt: in ihm kann keine Datei gespeichert werden."),
              std::string::npos)
        << m.text;
    EXPECT_FALSE(fs::exists(fs::symlink_status(locked / w.Name)));
    EXPECT_TRUE(NoTemporaryIn(locked));
  }
}

// A file the user opened in the program and another program changed since
// is written over only when the user says so ("Datei geändert", No the
// default); a file as the program wrote it, or only touched since, is not
// asked about.
TEST_F(UserFiles, AFileChangedSinceItWasOpenedIsAskedAbout) {
  struct Opened {
    std::string Label;
    std::string Name;
    std::function<bool(const std::string& path)> Open;
    std::function<bool(const std::string& path)> Save;
  };
  const std::vector<Opened> cases = {
      {"configuration", "b.ocf",
       [&](const std::string& path) {
         TConfigSettings loaded;
         return config_.Load(path, loaded) == ConfigLoadResult::Loaded;
       },
       [&](const std::string& path) { return config_.Save(path, TConfigSettings{}); }},
      {"start values", "start.csv",
       [&](const std::string& path) {
         TIntegrationSetup setup = DefaultIntegrationSetup();
         return ReadStartValuesFile(path, setup, &startRead_);
       },
       [&](const std::string& path) { return WriteStartValuesFile(path, DefaultIntegrationSetup(), &startRead_); }},
      {"observations", "obs.txt", [&](const std::string& path) { return OpenObservationFileNamed(od_, path); },
       [&](const std::string& path) {
         files_.QueueAnswer(path);
         std::string name;
         return SaveObservationFile(od_, FileDialogRequest{}, name, sheet_);
       }},
  };
  for (const Opened& c : cases) {
    SCOPED_TRACE(c.Label);
    const std::string path = scratch_.File(c.Name);
    messages_.messages.clear();
    ASSERT_TRUE(c.Save(path));  // a first file, the program's own
    ASSERT_TRUE(c.Open(path));
    ASSERT_TRUE(c.Save(path));
    EXPECT_TRUE(messages_.messages.empty()) << "the file as the program left it";
    const std::string ours = test::TempFolder::Read(path);
    scratch_.Write(c.Name, ours);  // only touched: the same bytes
    ASSERT_TRUE(c.Save(path));
    EXPECT_TRUE(messages_.messages.empty()) << "a file only touched";

    const std::string theirs = ours + "\r\n";  // another program's save
    scratch_.Write(c.Name, theirs);
    messages_.QueueReply(MessageResult::No);
    EXPECT_FALSE(c.Save(path));
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0].caption, "Datei geändert");
    EXPECT_EQ(messages_.messages[0].buttons, MessageButtons::YesNoDefaultNo);
    EXPECT_NE(messages_.messages[0].text.find("Die Datei " + path + " wurde seit dem Öffnen"), std::string::npos);
    EXPECT_NE(messages_.messages[0].text.find("nichts wird gespeichert"), std::string::npos);
    EXPECT_EQ(test::TempFolder::Read(path), theirs);
    messages_.QueueReply(MessageResult::Yes);
    EXPECT_TRUE(c.Save(path));
    EXPECT_EQ(test::TempFolder::Read(path), ours);
    EXPECT_EQ(messages_.messages.size(), 2u);
  }
}

}  // namespace
}  // namespace kvx
