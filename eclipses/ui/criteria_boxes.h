// The boxes both eclipse criteria dialogs open with and end with: the kind
// of eclipses to search for, as radio buttons, and the search period with
// its change button, filled by one routine for both.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "platform/qt/widget_forward.h"

class QButtonGroup;
class QDialog;

namespace kvx {

// A box titled `title` named `boxName` at the end of `layout`, holding one
// radio button a pair of captions of `items` (German, English), named
// `buttonPrefix` and its number, in a new button group of `dialog` with the
// numbers as ids. `kind` picks the checked button (0 when beyond the items)
// and takes the id of each button clicked. Returns the group.
QButtonGroup* AddKindBox(QDialog* dialog, QVBoxLayout* layout, const QString& title, const char* boxName,
                         const char* buttonPrefix, std::span<const char* const[2]> items, std::uint8_t& kind);

// What the criteria dialogs need of the main window: the period label's
// text and the period command.
struct TEclipsePeriodHooks {
  std::function<std::string()> PeriodText;
  std::function<void()> ChangePeriod;
};

// The period label's text: the start date, " bis " / " to ", the end date
// (both local dates of the records), each in the short date form with the
// locale's date separator (DateToText).
std::string EclipsePeriodText(std::int32_t startDay, std::int32_t startMonth, std::int32_t startYear,
                              std::int32_t endDay, std::int32_t endMonth, std::int32_t endYear);

// The box "Suchzeitraum" at the end of `layout`: the period text
// ("PeriodLabel"), and the button "Ändern..." ("ChangeButton") that calls
// `change`, the dialog being the context of the call.
struct TPeriodBox {
  QLabel* Period;
  QPushButton* Change;
};
TPeriodBox AddPeriodBox(QDialog* dialog, QVBoxLayout* layout, std::function<void()> change);

}  // namespace kvx
