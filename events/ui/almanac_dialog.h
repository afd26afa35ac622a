// TAlmanachdlg: the choice of bodies, event kinds and sections of the
// almanac, and the two conjunction options it uses. Works on copies; the
// caller takes them back unless the result is Cancel.
#pragma once

#include <QDialog>
#include <array>

#include "events/almanac.h"
#include "events/search_options.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

// Results: OK (create the almanac), Cancel, Close (store only).
inline constexpr int kAlmanacDialogOk = 1;
inline constexpr int kAlmanacDialogCancel = 2;
inline constexpr int kAlmanacDialogClose = 6;

class TAlmanachdlg : public QDialog {
 public:
  TAlmanachdlg(const TConjunctionOptions& conjunction, const TAlmanacOptions& options, QWidget* parent = nullptr);

  TConjunctionOptions Conjunction;
  TAlmanacOptions Options;

  void AlmanacRecordToForm();
  void AlmanacFormToRecord();
  // Button1/Button2 (bodies) and Button4/Button3 (bytes 0..28).
  void SetAllBodies(bool on);
  void SetAllEvents(bool on);

 private:
  void SetCaptions();
  std::array<QCheckBox*, 10> bodies_{};
  // The event kinds, then the sections (almanac_section::kSolarEclipses ..).
  std::array<QCheckBox*, kEventKindCount + almanac_section::kCount> events_{};
  QCheckBox* topocentric_ = nullptr;  // CheckBox39
  QCheckBox* inLongitude_ = nullptr;  // CheckBox40
};

// Runs the dialog modally on the two records; they change unless the result
// is Cancel. Returns the result (1, 2 or 6).
int ConfigureAlmanac(TConjunctionOptions& conjunction, TAlmanacOptions& options, QWidget* parent);

}  // namespace kvx
