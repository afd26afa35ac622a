#include "app/ui/event_found.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/app_dialog_builders.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/qt/dialog_buttons.h"

namespace kvx {

namespace {
QString Text(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }
}  // namespace

TEreignisgefundenForm::TEreignisgefundenForm(const TEventFoundTexts& texts, bool offerDate, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(Text("Ereignis gefunden", "Event found"));
  auto* layout = new QVBoxLayout(this);
  // Label100 .. Label104 take the second, first, third, fourth and fifth text.
  const std::string* sources[5] = {&texts.Object, &texts.Heading, &texts.When, &texts.Details, &texts.NewDate};
  for (int i = 0; i < 5; ++i) {
    labels_[i] = new QLabel(QString::fromStdString(*sources[i]), this);
    labels_[i]->setObjectName(QStringLiteral("Label%1").arg(100 + i));
    labels_[i]->setTextFormat(Qt::PlainText);
  }
  // The heading stands first, the second text under it ("Konjunktion
  // zwischen Venus", then "und Jupiter").
  for (int i : {1, 0, 2, 3, 4}) layout->addWidget(labels_[i]);
  QFont heading = labels_[1]->font();
  heading.setBold(true);
  labels_[1]->setFont(heading);
  labels_[4]->setVisible(offerDate);

  auto* buttons = new QHBoxLayout;
  again_ = new QPushButton(Text("&Nochmals", "&Again"), this);
  close_ = new QPushButton(Text("&Schließen", "C&lose"), this);
  use_date_ = NewNamed<QPushButton>("Button500",
                                    Text("&Datum weiterverwenden", "&Use this date for further calculations"), this);
  use_date_->setVisible(offerDate);
  again_->setDefault(true);
  buttons->addWidget(again_);
  buttons->addWidget(use_date_);
  buttons->addStretch();
  // Help: its section of the guide (German only; English dialogs have no
  // help buttons).
  help_ = NewNamed<QPushButton>("HelpBtn", this);
  ApplyDialogButtonLanguage(nullptr, help_);
  buttons->addWidget(help_);
  buttons->addWidget(close_);
  layout->addLayout(buttons);
  connect(again_, &QPushButton::clicked, this, [this] { done(kEventAgain); });
  connect(close_, &QPushButton::clicked, this, [this] { done(kEventClose); });
  connect(use_date_, &QPushButton::clicked, this, [this] { done(kEventUseDate); });
  SetHelpContext(this, kHelpTopicEventFound, help_);
}

QLabel* TEreignisgefundenForm::Label(int number) const {
  return number >= 100 && number <= 104 ? labels_[number - 100] : nullptr;
}

int ShowEventFound(const std::string& heading, const std::string& object, const std::string& when, bool offerDate,
                   const std::string& newDate, const std::string& details, QWidget* parent) {
  TEreignisgefundenForm form({heading, object, when, details, newDate}, offerDate, parent);
  const int result = form.exec();
  // Closing by the window's frame counts as "close".
  return result == kEventAgain || result == kEventUseDate ? result : kEventClose;
}

}  // namespace kvx
