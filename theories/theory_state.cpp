#include "theories/theory_state.h"

#include <filesystem>
#include <system_error>

#include "platform/messages.h"

namespace kvx {
namespace {

bool Exists(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

// Julian date of record `index` of an open file (field 0 + 2413017);
// index < 0 counts from the end (-3: the record three from the end).
bool RecordJulianDate(std::FILE* stream, std::size_t recordSize, long index, double& jd) {
  if (std::fseek(stream, 0, SEEK_END) != 0) return false;
  const long size = std::ftell(stream);
  if (size < 0) return false;
  const long records = size / static_cast<long>(recordSize);
  if (records < 3) return false;
  const long record = index < 0 ? records + index : index;
  if (record < 0 || record >= records) return false;
  std::uint8_t bytes[6];
  if (std::fseek(stream, record * static_cast<long>(recordSize), SEEK_SET) != 0) return false;
  if (std::fread(bytes, 1, 6, stream) != 6) return false;
  jd = Real48ToDouble(bytes) + kPositionFileEpoch;
  return true;
}

void CloseVsp(TTheoryState& state) {
  if (state.VspStream != nullptr) std::fclose(state.VspStream);
  state.VspStream = nullptr;
  state.VspBlock = {};
  state.VspFilePresent = 0;
  state.VspBlockStart = state.VspBlockEnd = 0.0;
  state.VspFirstJulianDate = state.VspLastJulianDate = 0.0;
}

void CloseVsc(TTheoryState& state) {
  for (std::FILE*& stream : state.VscStreams) {
    if (stream != nullptr) std::fclose(stream);
    stream = nullptr;
  }
  for (auto& block : state.VscBlocks) block = {};
  state.VscFilesPresent = 0;
  state.VscBlockStart = {};
  state.VscBlockEnd = {};
  state.VscLastJulianDate = 0.0;
}

bool OpenVsp(TTheoryState& state, const std::filesystem::path& path) {
  state.VspStream = std::fopen(path.c_str(), "rb");
  if (state.VspStream == nullptr) return false;
  if (!RecordJulianDate(state.VspStream, kVspRecordSize, 0, state.VspFirstJulianDate)) return false;
  if (!RecordJulianDate(state.VspStream, kVspRecordSize, -3, state.VspLastJulianDate)) return false;
  state.VspBlock.assign(kVspBlockBytes, 0);
  return true;
}

bool OpenVsc(TTheoryState& state, const std::filesystem::path& folder) {
  double last = 0.0;
  for (std::size_t slot = 0; slot < kPositionFileNames.size(); ++slot) {
    state.VscBlocks[slot].assign(kVscBlockBytes, 0);
    state.VscStreams[slot] = std::fopen((folder / kPositionFileNames[slot]).c_str(), "rb");
    if (state.VscStreams[slot] == nullptr) return false;
    double jd = 0.0;
    if (!RecordJulianDate(state.VscStreams[slot], kVscRecordSize, -3, jd)) return false;
    if (slot == 0 || jd < last) last = jd;
  }
  state.VscLastJulianDate = last;
  return true;
}

}  // namespace

TTheoryState::~TTheoryState() { ClosePositionFiles(*this); }

PositionFileHandles TTheoryState::Handles() {
  PositionFileHandles handles{};
  if (VscFilesPresent == 0) return handles;
  for (std::size_t slot = 0; slot < handles.size(); ++slot) {
    handles[slot].stream = VscStreams[slot];
    handles[slot].block = VscBlocks[slot].data();
    handles[slot].blockStart = VscBlockStart[slot].data();
    handles[slot].blockEnd = VscBlockEnd[slot].data();
  }
  return handles;
}

void ClosePositionFiles(TTheoryState& state) {
  CloseVsp(state);
  CloseVsc(state);
}

void OpenPositionFiles(TTheoryState& state, const std::string& dataFolder) {
  ClosePositionFiles(state);
  const std::filesystem::path folder(dataFolder);

  state.VspFilePresent = Exists(folder / kIntegrationPositionFileName) ? 1 : 0;
  if (state.VspFilePresent != 0 && !OpenVsp(state, folder / kIntegrationPositionFileName)) {
    CloseVsp(state);
    ShowMessage("Fehler beim Öffnen der Dateien mit Planetenpositionen (pos.vsp) für numerische Integrationen.",
                "Error while opening the files with planetary positions (pos.vsp) for numerical Integrations.",
                MessageIcon::Error);
  }

  bool all = true;
  for (const char* name : kPositionFileNames) all = all && Exists(folder / name);
  state.VscFilesPresent = all ? 1 : 0;
  if (state.VscFilesPresent != 0 && !OpenVsc(state, folder)) {
    CloseVsc(state);
    ShowMessage("Fehler beim Öffnen der Dateien mit Planetenpositionen.",
                "Error while opening the files with planetary positions.", MessageIcon::Error);
  }
}

bool PlanetTheoryOffered(std::uint8_t planetTheory, const TLibraryAvailability& libraries, bool positionFiles) {
  switch (planetTheory) {
    case kPlanetTheoryInternal:
      return true;
    case kPlanetTheoryVsop87D:
      return libraries.Vsop87D != 0;
    case kPlanetTheoryVsop87C:
      return libraries.Vsop87C != 0;
    case kPlanetTheoryPositionFiles:
      return positionFiles;
    default:
      return false;
  }
}

TTheorySelection ApplyTheorySelection(const TTheoryState& state, TTheorySelection requested) {
  TTheorySelection installed = requested;
  const std::uint8_t asked = requested.PlanetTheory();
  const bool files = state.VscFilesPresent != 0;
  if (asked == kPlanetTheoryInternal || !PlanetTheoryOffered(asked, state.Libraries, files))
    installed.bytes[0] =
        (asked == kPlanetTheoryInternal || !files) ? kPlanetTheoryInternal : kPlanetTheoryPositionFiles;
  installed.bytes[1] = (state.Libraries.Elp2000 != 0 && requested.MoonTheory() != 0) ? 1 : 0;
  return installed;
}

bool CheckTheoryDateSpan(std::uint8_t& databaseSwitch, std::uint8_t& mode, double jd, double positionFilesLastJd,
                         double databaseFirstJd, double databaseLastJd) {
  if (mode == kPlanetTheoryPositionFiles && (jd < 2415020.0 || jd > positionFilesLastJd - 3.0))
    mode = kPlanetTheoryInternal;
  if (databaseSwitch == 0) return false;
  if (databaseFirstJd + 3.0 + 2000.0 <= jd && jd <= databaseLastJd - 3.0) return true;
  databaseSwitch = 0;
  return false;
}

}  // namespace kvx
