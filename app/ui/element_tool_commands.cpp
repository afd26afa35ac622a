#include "app/ui/element_tool_commands.h"

#include <QObject>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "catalogues/ui/element_calculators.h"
#include "catalogues/ui/element_editor_form.h"
#include "core/time_scales.h"
#include "core/two_body.h"
#include "core/vector_math.h"

namespace kvx {

namespace {

// Holds the kept values as a child of the form.
class TElementToolHolder : public QObject {
 public:
  explicit TElementToolHolder(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("ElementTools")); }
  TElementToolValues Values;
};

TElementToolHolder& Holder(TMainForm& form) {
  auto* holder = form.findChild<TElementToolHolder*>(QStringLiteral("ElementTools"), Qt::FindDirectChildrenOnly);
  if (holder == nullptr) holder = new TElementToolHolder(&form);
  return *holder;
}

constexpr bool kHints = true;

}  // namespace

TElementToolValues& ElementToolValues(TMainForm& form) { return Holder(form).Values; }

void InstallElementToolCommands(TMainForm& form) {
  TMenuCommands& commands = form.Commands();
  Holder(form);
  TMainForm* owner = &form;
  // The element-file editors of the file utilities menu.
  auto jd = [owner] { return MjdToJd(owner->State().Period.Start.Mjd); };
  commands.RegisterHandler("BahnelementedateienfrPlanetoideneditieren1",
                           [owner, jd] { EditAsteroidElementFile(owner->State().DataFolder, jd(), owner); });
  commands.RegisterHandler("BahnelementedateienfrKometeneditieren1",
                           [owner, jd] { EditCometElementFile(kHints, owner->State().DataFolder, jd(), owner); });
  commands.RegisterHandler("DateienmitVernderlichenSterneneditieren1",
                           [owner, jd] { EditVariableStarFile(kHints, owner->State().DataFolder, jd(), owner); });
  commands.RegisterHandler("TglicheBewegung1", [owner] {
    TElementToolValues& v = ElementToolValues(*owner);
    if (!InputSemimajorAxis(kHints, v.SemimajorAxis, owner)) return;
    ShowAxisAndDailyMotion(kHints, v.SemimajorAxis, MeanDailyMotion(v.SemimajorAxis), owner);
  });
  commands.RegisterHandler("Periheldistanz1", [owner] {
    TElementToolValues& v = ElementToolValues(*owner);
    if (!InputAQTransformation(kHints, v.AqAxis, v.AqEccentricity, 1, owner)) return;
    ShowAQResult(kHints, v.AqAxis, PerihelionDistance(v.AqEccentricity, v.AqAxis), owner);
  });
  commands.RegisterHandler("TransformationBahnlageelemente1", [owner] {
    TElementToolValues& v = ElementToolValues(*owner);
    const double jd = MjdToJd(owner->State().Period.Start.Mjd);
    if (!InputOrbitOrientationElements(kHints, v.Orientation, jd, owner)) return;
    TOrientationRecord result = v.Orientation;
    ReduceOrientationElements(result);
    ShowOrbitOrientationResult(kHints, result, owner);
  });
}

}  // namespace kvx
