#include "app/ui/tip_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "app/ui/app_dialog_builders.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"

namespace kvx {

namespace {
QString Text(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }
}  // namespace

TTipOfTheDayForm::TTipOfTheDayForm(const TTipView& first, std::function<std::optional<TTipView>()> next,
                                   bool showAtStartup, QWidget* parent)
    : QDialog(parent), next_(std::move(next)) {
  // Also shown at start-up, outside any menu command.
  SetHelpSection(this, "menu-help");
  resize(480, 240);
  auto* layout = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  image_ = NewNamed<QLabel>("Image1", this);
  image_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
  image_->setAlignment(Qt::AlignTop);
  auto* texts = new QVBoxLayout;
  header_ = NewNamed<QLabel>("HeaderLabel", this);
  QFont bold = header_->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.3);
  header_->setFont(bold);
  tip_ = NewNamed<QLabel>("TipLabel", this);
  tip_->setTextFormat(Qt::PlainText);
  tip_->setWordWrap(true);
  tip_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  texts->addWidget(header_);
  texts->addWidget(tip_, 1);
  body->addWidget(image_);
  body->addLayout(texts, 1);
  layout->addLayout(body, 1);

  auto* bottom = new QHBoxLayout;
  check_ = NewNamed<QCheckBox>("ShowTipsCheck",
                               Text("&Bei jedem Programmstart anzeigen", "&Show tip of the day at startup"), this);
  check_->setChecked(showAtStartup);
  next_button_ = NewNamed<QPushButton>("NextBtn", Text("&Nächster Tip", "&Next tip"), this);
  ok_ = NewNamed<QPushButton>("OkBtn", Text("&Schließen", "&Close"), this);
  ok_->setDefault(true);
  bottom->addWidget(check_);
  bottom->addStretch();
  bottom->addWidget(next_button_);
  bottom->addWidget(ok_);
  layout->addLayout(bottom);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(next_button_, &QPushButton::clicked, this, [this] {
    if (!next_) return;
    if (std::optional<TTipView> view = next_()) Present(*view);
  });
  Present(first);
}

void TTipOfTheDayForm::Present(const TTipView& view) {
  setWindowTitle(QString::fromStdString(view.Caption));
  header_->setText(QString::fromStdString(view.Header));
  tip_->setText(QString::fromStdString(view.Text));
}

bool TTipOfTheDayForm::ShowAtStartup() const { return check_->isChecked(); }

TTipComponents::TTipComponents(TCommandHost& host) : QObject(&host.Window()), host_(host) {
  German.Tips = GermanTips();
  English.Tips = EnglishTips();
  for (TTipOfTheDay* component : {&German, &English}) {
    component->OnShowForm = [this](const TTipView& first, const std::function<std::optional<TTipView>()>& next,
                                   bool showAtStartup) {
      TTipOfTheDayForm window(first, next, showAtStartup, &host_.Window());
      window.exec();
      return window.ShowAtStartup();
    };
  }
}

TTipOfTheDay& TTipComponents::Current() { return LanguageEnglish != 0 ? English : German; }

TTipComponents* InstallTipsOfTheDay(TCommandHost& host) {
  auto* tips = new TTipComponents(host);
  const auto show = [&host, tips] {
    TTipOfTheDay& component = tips->Current();
    component.ShowTipsAtStartup = host.TipsFlag() != 0;
    if (component.ShowNextTip()) host.SetTipsFlag(component.ShowTipsAtStartup ? 1 : 0);
  };
  host.StartupTipHook = [&host, show] {
    // Once the window is visible.
    if (host.TipsFlag() != 0) QTimer::singleShot(0, &host.Window(), show);
  };
  host.Commands().RegisterHandler("TipdesTageszeigen1", show);
  host.Commands().RegisterHandler("showtipsoftheday1", [&host] { host.SetTipsFlag(host.TipsFlag() != 0 ? 0 : 1); });
  return tips;
}

}  // namespace kvx
