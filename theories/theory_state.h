// What the main window keeps for the theories: which theory libraries are
// present, the two truncation levels and the open precomputed position files
// with their block buffers and bounds. The main window owns one TTheoryState
// for the whole run and hands its parts to the Sun, Moon and planet routines.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "theories/position_files.h"
#include "theories/theory_libraries.h"
#include "theories/theory_types.h"

namespace kvx {

// File names of the per-body position files, body slots 0..8.
inline constexpr std::array<const char*, 9> kPositionFileNames = {"sun.vsc", "mer.vsc", "ven.vsc", "mar.vsc", "jup.vsc",
                                                                  "sat.vsc", "ura.vsc", "nep.vsc", "plu.vsc"};
inline constexpr const char* kIntegrationPositionFileName = "pos.vsp";

struct TTheoryState {
  TTheoryState() = default;
  ~TTheoryState();
  TTheoryState(const TTheoryState&) = delete;
  TTheoryState& operator=(const TTheoryState&) = delete;

  // One byte per theory library, set at start-up from the probes.
  TLibraryAvailability Libraries;

  // Truncation levels handed to the libraries: ephemerides and numerical
  // integration (-1 full, 4, 6, 8, 10).
  TTruncationLevel EphemerisLevel = kFullTheory;
  TTruncationLevel IntegrationLevel = kFullTheory;

  // The nine ".vsc" files: presence byte (all nine open), streams, block
  // buffers (kVscBlockBytes each, allocated only when present) and the block
  // bounds as six-byte reals (0 at start-up).
  std::uint8_t VscFilesPresent = 0;
  std::array<std::FILE*, 9> VscStreams{};
  std::array<std::vector<std::uint8_t>, 9> VscBlocks;
  std::array<std::array<std::uint8_t, 6>, 9> VscBlockStart{};
  std::array<std::array<std::uint8_t, 6>, 9> VscBlockEnd{};
  // Last usable Julian date of the ".vsc" files: the smallest over the nine
  // of (field 0 of the record three from the end) + 2413017.
  double VscLastJulianDate = 0.0;

  // "pos.vsp": presence byte, stream, block buffer (kVspBlockBytes), block
  // bounds (Julian dates, 0 at start-up), first and last Julian date
  // (field 0 of the first record and of the record three from the end,
  // + 2413017).
  std::uint8_t VspFilePresent = 0;
  std::FILE* VspStream = nullptr;
  std::vector<std::uint8_t> VspBlock;
  double VspBlockStart = 0.0;
  double VspBlockEnd = 0.0;
  double VspFirstJulianDate = 0.0;
  double VspLastJulianDate = 0.0;

  // The nine handles the Sun and planet routines receive (empty handles
  // while the ".vsc" files are absent).
  PositionFileHandles Handles();
};

// Start-up opening of the position files in `dataFolder`: "pos.vsp" when it
// exists, then the nine ".vsc" files when all of them exist. Resets every
// block bound to 0. A file that exists but cannot be opened or read (or is
// shorter than three records) clears its presence byte, frees streams and
// buffers and shows "Fehler beim Öffnen der Dateien mit Planetenpositionen
// (pos.vsp) für numerische Integrationen." or "Fehler beim Öffnen der Dateien
// mit Planetenpositionen." (English by LanguageEnglish, error icon).
void OpenPositionFiles(TTheoryState& state, const std::string& dataFolder);

// Closes every position file and frees the buffers; presence bytes 0.
void ClosePositionFiles(TTheoryState& state);

// Whether the planet theory (0 internal series, 1 VSOP87 D, 2 VSOP87 C, 3
// position files) can be chosen: the internal series always, the others
// while their library or files are present. The selection, the theory menu
// and the theory panel all take this answer.
bool PlanetTheoryOffered(std::uint8_t planetTheory, const TLibraryAvailability& libraries, bool positionFiles);

// The theory selection the main window installs for a requested one, by what
// is present:
//   planet theory 1 (VSOP87 D), 2 (VSOP87 C) or 3 (position files) is kept
//   when its library or files are there; otherwise it becomes 0 (internal
//   series) when 0 was asked or no position files are present, else 3;
//   the Moon theory becomes the ELP-2000/82 library (1) only when that
//   library is present and a non-zero Moon theory was asked, else 0;
//   the remaining bytes are copied.
// The Sun, Moon and planet routines rely on never finding a theory selected
// whose library or files are absent.
TTheorySelection ApplyTheorySelection(const TTheoryState& state, TTheorySelection requested);

// The date guard of the numerical integration before it reads "pos.vsp".
//   mode: the planet theory byte; 3 (position files) becomes 0 when jd (JD)
//         lies before 2415020.0 or after positionFilesLastJd - 3;
//   databaseSwitch: the integration-database switch; while it is set, jd must
//         lie within databaseFirstJd + 2003 .. databaseLastJd - 3, else the
//         switch is cleared.
// Returns true only when the switch is set and stays set.
bool CheckTheoryDateSpan(std::uint8_t& databaseSwitch, std::uint8_t& mode, double jd, double positionFilesLastJd,
                         double databaseFirstJd, double databaseLastJd);

}  // namespace kvx
