// The star choice both occultation dialogs show below their settings:
// "Alle Sterne" and, with it unticked, a name typed into an edit with the
// star it finds beside it (the first star of the catalogue within the
// dialog's limiting magnitude whose name holds the text), and a progress
// bar for loading the catalogue on first need.
//
// Selected star: -1 all stars, 0 none found, else the catalogue index.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

#include "eclipses/ui/lunar_occultation_dialog.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

// The limiting magnitude row of both occultation dialogs, in row 0 of
// `grid` with children of `parent`: the title ("Label5", buddy of the bar),
// a bar ("ScrollBar1") in hundredths of a magnitude from `lowest` up to
// 8 mag for catalogue 1 and 10 mag otherwise, and the value ("floatedit1")
// with `decimals` decimals. `limit` (a non-finite one read as 8 mag) is
// taken to the bar's range and hundredths, and follows the bar.
struct TMagnitudeLimitRow {
  QScrollBar* Bar;
  QLabel* Value;
};
TMagnitudeLimitRow AddMagnitudeLimitRow(QWidget* parent, QGridLayout* grid, const QString& title, int lowest,
                                        std::uint8_t catalogueChoice, int decimals, float& limit);

class TStarChoiceRow : public QObject {
 public:
  // Adds the check box ("CheckBox2"), the row of title ("Label3"), edit
  // ("Edit1") and found name ("Label4"), and the hidden progress bar
  // ("ProgressBar1") to `layout` as children of `owner`. `limit` gives the
  // limiting magnitude for the name search.
  TStarChoiceRow(QWidget* owner, QVBoxLayout* layout, const QString& allCaption, const QString& starCaption,
                 TStarCatalogueAccess access, std::int32_t selectedStar, std::function<float()> limit);

  // The starting state, once the dialog is built: with one star wanted the
  // catalogue is loaded if need be and the star's name shown, a star not in
  // the catalogue becomes none.
  void Start();

  bool AllStars() const { return all_stars_; }
  std::int32_t SelectedStar() const { return all_stars_ ? -1 : selected_; }
  // False after the message "Kein Stern mit diesem Namen gefunden." when
  // one star is wanted and the name found none.
  bool ConfirmFound() const;

 private:
  void AllClicked();
  void NameChanged(const QString& text);

  TStarCatalogueAccess access_;
  std::function<float()> limit_;
  std::int32_t selected_;
  bool all_stars_;
  QCheckBox* all_box_;
  QLabel* star_title_;
  QLineEdit* name_edit_;
  QLabel* found_label_;
  QProgressBar* progress_;
};

}  // namespace kvx
