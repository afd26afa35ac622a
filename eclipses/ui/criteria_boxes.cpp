#include "eclipses/ui/criteria_boxes.h"

#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <utility>

#include "core/text_conversion.h"
#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/named_widgets.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

}  // namespace

std::string EclipsePeriodText(std::int32_t startDay, std::int32_t startMonth, std::int32_t startYear,
                              std::int32_t endDay, std::int32_t endMonth, std::int32_t endYear) {
  std::string from, to;
  DateToText(startDay, startMonth, startYear, from, IntlSeparators.Date);
  DateToText(endDay, endMonth, endYear, to, IntlSeparators.Date);
  return from + ByLanguage(" bis ", " to ") + to;
}

QButtonGroup* AddKindBox(QDialog* dialog, QVBoxLayout* layout, const QString& title, const char* boxName,
                         const char* buttonPrefix, std::span<const char* const[2]> items, std::uint8_t& kind) {
  auto* box = new QGroupBox(title, dialog);
  box->setObjectName(boxName);
  auto* boxLayout = new QVBoxLayout(box);
  auto* group = new QButtonGroup(dialog);
  const int count = static_cast<int>(items.size());
  for (int i = 0; i < count; ++i) {
    auto* button = new QRadioButton(Tr(items[i][0], items[i][1]), box);
    button->setObjectName(QString("%1%2").arg(buttonPrefix).arg(i));
    group->addButton(button, i);
    boxLayout->addWidget(button);
  }
  if (QAbstractButton* current = group->button(kind < count ? kind : 0)) current->setChecked(true);
  QObject::connect(group, &QButtonGroup::idClicked, dialog, [&kind](int id) { kind = static_cast<std::uint8_t>(id); });
  layout->addWidget(box);
  return group;
}

TPeriodBox AddPeriodBox(QDialog* dialog, QVBoxLayout* layout, std::function<void()> change) {
  auto* box = new QGroupBox(Tr("&Suchzeitraum", "Time &span for search"), dialog);
  auto* boxLayout = new QHBoxLayout(box);
  auto* period = NewNamed<QLabel>("PeriodLabel", box);
  auto* button = NamedButton(box, Tr("&Ändern...", "C&hange..."), "ChangeButton");
  QObject::connect(button, &QPushButton::clicked, dialog, std::move(change));
  boxLayout->addWidget(period, 1);
  boxLayout->addWidget(button);
  layout->addWidget(box);
  return {period, button};
}

}  // namespace kvx
