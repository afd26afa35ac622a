// Fuzz target: the configuration file's reader. Any bytes get the file check
// (a configuration only at its exact size behind its magic), and as a record
// image (behind the magic if they carry it; short images padded with zeros,
// long ones cut) every field is read, written back and read again: the
// image written from what was read is a fixed point of read-and-write. The
// clamping brings every value into its range once and for all: clamped
// settings survive storage without a further change. A file that passes the
// check loads through the configuration object to the same record; one
// that fails it leaves the object as it was.
//
// `fuzz_config_file --write-seeds=<folder>` writes the seed files with the
// program's own encoder and stops (tests/fuzz/make_seeds.py runs it).
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/config_file.h"
#include "fuzz/fuzz_support.h"

using namespace kvx;

namespace {

void WriteSeed(const std::string& folder, const char* name, const TConfigSettings& settings) {
  TConfigRecordImage record{};
  GatherConfigRecord(settings, record);
  const std::vector<std::uint8_t> bytes = ConfigFileBytes(record);
  std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The start-up settings with paths, and the same with the planets'
// occultation options out of every range the dialog allows.
void WriteSeeds(const std::string& folder) {
  TConfigSettings valid;
  valid.Paths[kPathAsteroidElements] = "/home/user/kandrevoltinex/Bahnelemente Köln.txt";
  valid.Paths[kPathBrowser] = "C:\\Programme\\Browser\\browser.exe";
  valid.PlanetOccultationBodies = {1, 0, 1, 1, 0, 0, 0, 0, 1};
  valid.PlanetOccultationMagnitude = 7.5f;
  valid.AsteroidDiameter = 940;
  WriteSeed(folder, "start_up.ocf", valid);

  TConfigSettings wild = valid;
  wild.PlanetOccultationBodies = {2, 255, 0, 7, 128, 1, 0, 3, 9};
  wild.PlanetOccultationMagnitude = -1e30f;
  wild.ConjunctionsOnly = 200;
  wild.AsteroidDiameter = -2147483647 - 1;
  wild.OccultationCatalogue = 9;
  wild.OccultationMagnitude = 1e30f;
  wild.OccultationStar = -7;
  WriteSeed(folder, "planet_occultation_out_of_range.ocf", wild);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  const std::string_view flag = "--write-seeds=";
  for (int k = 1; k < *argc; ++k) {
    const std::string_view arg = (*argv)[k];
    if (arg.substr(0, flag.size()) == flag) {
      WriteSeeds(std::string(arg.substr(flag.size())));
      std::exit(0);
    }
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const ConfigLoadResult check = CheckConfigFileBytes(bytes);
  const std::size_t magicLength = std::strlen(kConfigFileMagic);
  const bool magic = size > magicLength && data[0] == magicLength &&
                     std::memcmp(data + 1, kConfigFileMagic, magicLength) == 0;
  fuzz::Require(check == (!magic                       ? ConfigLoadResult::WrongMagic
                          : size != kConfigFileSize ? ConfigLoadResult::WrongLength
                                                    : ConfigLoadResult::Loaded),
                "the file check follows magic and size");

  TConfigRecordImage image{};
  const std::size_t from = magic ? std::min(size, kConfigMagicSize) : 0;
  std::copy_n(data + from, std::min(size - from, kConfigRecordSize), image.begin());

  const TConfigSettings read = ReadConfigRecord(image);
  TConfigRecordImage once = image;
  GatherConfigRecord(read, once);
  TConfigRecordImage twice = once;
  GatherConfigRecord(ReadConfigRecord(once), twice);
  fuzz::Require(twice == once, "a written image reads and writes back unchanged");

  TConfigSettings clamped = read;
  ClampConfigSettings(clamped);
  fuzz::Require(clamped.PlanetOccultationMagnitude >= 0 && clamped.PlanetOccultationMagnitude <= 10 &&
                    clamped.AsteroidDiameter >= 0 && clamped.AsteroidDiameter <= 2000 &&
                    clamped.OccultationCatalogue <= 2,
                "the planets' occultation options lie in their dialog's ranges");
  fuzz::Require(fuzz::Finite(clamped.Step.StepDays) && clamped.Step.StepDays != 0 &&
                    fuzz::Finite(clamped.TableEquinox) && fuzz::Finite(clamped.SeparationLimit) &&
                    std::isfinite(clamped.OccultationMagnitude) && clamped.Tolerance > 0,
                "clamped numbers are finite");
  TConfigSettings again = clamped;
  fuzz::Require(ClampConfigSettings(again) == 0, "clamping twice changes nothing");
  TConfigRecordImage stored = image;
  GatherConfigRecord(clamped, stored);
  TConfigSettings loaded = ReadConfigRecord(stored);
  fuzz::Require(ClampConfigSettings(loaded) == 0, "clamped settings survive storage");
  TConfigRecordImage restored = stored;
  GatherConfigRecord(loaded, restored);
  fuzz::Require(restored == stored, "clamped settings write back unchanged");

  if (magic) {
    tconfig config;
    config.SetName("held.ocf");
    config.Record().fill(0xA5);
    const TConfigRecordImage held = config.Record();
    TConfigSettings settings;
    const std::string& path = fuzz::WriteScratch(bytes, ".ocf");
    fuzz::Require(config.Load(path, settings) == check, "loading gives the file check's answer");
    if (check == ConfigLoadResult::Loaded) {
      fuzz::Require(config.Record() == image && config.FileName() == path, "the loaded record is the file's");
    } else {
      fuzz::Require(config.Record() == held && config.FileName() == "held.ocf", "a refused file changes nothing");
    }
    std::remove(path.c_str());
  }
  return 0;
}
