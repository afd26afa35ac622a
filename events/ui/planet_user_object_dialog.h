// TKonjPlanStar: "Konjunktionen von Planeten mit benutzerdefinierten
// Objekten" / "Conjunctions of planets and user defined objects". One body
// (radio group: Sun, Mercury .. Pluto, Moon) against a range of the user
// catalogue over the main window's period (TBodyUserObjectConjunctionRun).
// OK (accept) keeps the events for the conjunction table.
#pragma once

#include "events/ui/user_conjunction_dialog_base.h"

namespace kvx {

class TKonjPlanStar : public TUserConjunctionDialog {
  Q_OBJECT

 public:
  TKonjPlanStar(TBodyUserObjectConjunctionRun& run, TUserConjunctionDialogHooks hooks, QWidget* parent = nullptr);

  void FormShow();
  // "&Suchen": the search; false when the step was refused.
  bool Button1Click();
  // A body chosen: Pluto outside the planet theory's range becomes Neptune.
  void RadioGroup1Click(int item);
  // Pluto becomes Neptune when the theory has no Pluto at `mjd`.
  void CheckPlutoDate(double mjd);

  QButtonGroup* BodyGroup() const { return body_; }

 private:
  TBodyUserObjectConjunctionRun& plan_run_;
  QButtonGroup* body_ = nullptr;
};

}  // namespace kvx
