// The working state of the table configuration dialog, without Qt: the
// result, working and undo copies of the table configuration record, the two
// output switches (as given at opening and as edited), the additional equinox
// as a year, the error and active flags and the preview entry; the group,
// set and preset buttons; and the preview of the column headings.
//
// Preview entries (TTableConfigModel::PreviewKind, 0 .. 14): 0 all bodies,
// 1 Sun, 2-9 Mercury to Pluto (no Earth), 10 Moon, 11 asteroid, 12 comet,
// 13 asteroid integrated, 14 comet integrated.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/table_config.h"
#include "setup/table_config_file.h"

namespace kvx {

inline constexpr int kPreviewKindCount = 15;
inline constexpr int kPreviewColumnsPerRow = 15;

// The four group button pairs, in the order of the dialog.
enum class ColumnGroup { Coordinates = 0, Topocentric = 1, Physical = 2, Elements = 3 };

// The preset buttons: A-H of setup/column_sets.h.
enum class ColumnPreset { A, B, C, D, E, F, G, H };

// Heading texts of the columns the flags give for preview entry `kind`, in
// table order. `secondEquinoxYear` is appended (rounded, no blank) to the
// headings of bytes 24-29; `elementsForPlanets` shows bytes 96-108 for
// Mercury to Pluto as well.
std::vector<std::string> PreviewHeadings(const TTableConfigRecord& record, int kind, double secondEquinoxYear,
                                         bool elementsForPlanets);

// The format slots heading the columns of flag `byte` (0 .. 113).
std::vector<int> SlotsOfFlag(std::size_t byte);

// Reads an equinox year typed with the locale's decimal separator (or a
// point). True with `year` set for a number from -4000 to 10000.
bool ParseEquinoxYear(const std::string& text, double& year);

class TTableConfigModel {
 public:
  // Step 1 of the opener: the record into all three copies, the year from
  // the Julian centuries of the equinox, both switches, the preview entry.
  TTableConfigModel(const TTableConfigRecord& record, double equinoxCenturies, std::uint8_t julianDateSwitch,
                    std::uint8_t siderealSwitch, int previewKind);

  TTableConfigRecord& Working() { return working_; }
  const TTableConfigRecord& Working() const { return working_; }
  const TTableConfigRecord& Result() const { return result_; }

  std::uint8_t JulianDateSwitch = 0;  // working bytes
  std::uint8_t SiderealSwitch = 0;
  double EquinoxYear = 2000.0;
  bool Error = false;
  bool Active = false;
  int PreviewKind = 0;
  bool ElementsForPlanets = false;  // the main window's planet-element switch

  bool UndoAvailable() const { return undoAvailable_; }
  void SaveUndo();
  void Undo();  // the record only; the switches stay

  // Group "on"/"off": the group's summary byte and member boxes; box 36 of
  // the coordinates group follows summary byte 1.
  void SetGroup(ColumnGroup group, bool on);
  void SetDefault();  // default set, both switches 0
  void SelectAll();   // every column, both switches 1
  void ClearAll();    // no column, both switches 0
  void ApplyPreset(ColumnPreset preset);

  // The equinox field when it is left: an empty text keeps the year; a number
  // from -4000 to 10000 becomes the year; anything else sets the error flag,
  // shows the message and returns false. `text` is then the year to show.
  bool CheckEquinoxText(std::string& text);
  // The year with two decimals and the locale's separator.
  std::string EquinoxText() const;

  // Summary bytes recomputed from the boxes (OK and save).
  void Commit();
  // OK: clears the error flag, checks the equinox text, commits and copies
  // the working copy into the result. False (dialog stays open) when the
  // equinox was refused.
  bool Accept(std::string& equinoxText);

  std::vector<std::string> Preview() const;

  // The ".etd" file of the working state, and a loaded one taken over
  // (after saving the undo copy).
  TTableConfigFile ToFile() const;
  void TakeFile(const TTableConfigFile& file);

  // Step 3 of the opener, after OK.
  void CopyBack(int& previewKind, double& equinoxCenturies, TTableConfigRecord& record, std::uint8_t& julianDateSwitch,
                std::uint8_t& siderealSwitch) const;

 private:
  TTableConfigRecord result_;
  TTableConfigRecord working_;
  TTableConfigRecord undo_;
  bool undoAvailable_ = false;
};

}  // namespace kvx
