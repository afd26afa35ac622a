// The event-found window: reports one event of the event and conjunction
// searches; the user searches again, closes, or takes the event's date over.
//
// ShowEventFound results: kEventAgain (4), kEventClose (2), kEventUseDate (500).
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

namespace kvx {

inline constexpr int kEventAgain = 4;
inline constexpr int kEventClose = 2;
inline constexpr int kEventUseDate = 500;

// The five texts of one event, named by the label they fill.
struct TEventFoundTexts {
  std::string Heading;  // first text: the kind of event (second label)
  std::string Object;   // second text: what was searched (first label)
  std::string When;     // third text: date and time
  std::string Details;  // fourth text: further values
  std::string NewDate;  // fifth text: the date to take over (only with the flag)
};

class TEreignisgefundenForm : public QDialog {
  Q_OBJECT

 public:
  TEreignisgefundenForm(const TEventFoundTexts& texts, bool offerDate, QWidget* parent = nullptr);

  QLabel* Label(int number) const;  // 100 .. 104
  QPushButton* AgainButton() const { return again_; }
  QPushButton* CloseButton() const { return close_; }
  QPushButton* UseDateButton() const { return use_date_; }
  QPushButton* HelpButton() const { return help_; }

 private:
  QLabel* labels_[5]{};
  QPushButton* again_ = nullptr;
  QPushButton* close_ = nullptr;
  QPushButton* use_date_ = nullptr;
  QPushButton* help_ = nullptr;
};

// Shows the window modally; the arguments keep the order of the searches'
// calls (first, second, third text, flag, fifth, fourth).
int ShowEventFound(const std::string& heading, const std::string& object, const std::string& when, bool offerDate,
                   const std::string& newDate, const std::string& details, QWidget* parent = nullptr);

}  // namespace kvx
