#include "app/ui/about_box.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/program_caption.h"
#include "app/ui/app_dialog_builders.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"

namespace kvx {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  SetHelpSection(this, "menu-help");
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QString::fromUtf8(kMainWindowCaption));
  auto* title = new QLabel(QString::fromUtf8(kMainWindowCaption), this);
  QFont big = title->font();
  big.setPointSize(big.pointSize() * 2);
  big.setBold(true);
  title->setFont(big);
  title->setAlignment(Qt::AlignCenter);
  text_ = new QLabel(this);
  text_->setAlignment(Qt::AlignCenter);
  ok_ = NewNamed<QPushButton>("OKButton", QStringLiteral("OK"), this);
  info_ = NewNamed<QPushButton>("Button1", QStringLiteral("&Info"), this);
  timer_ = NewNamed<QTimer>("Timer1", this);
  timer_->setInterval(3000);
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, &TAboutBox::Timer1Timer);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(info_, &QPushButton::clicked, this, &TAboutBox::Button1Click);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(info_);
  buttons->addWidget(ok_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(30, 24, 30, 18);
  layout->addWidget(title);
  layout->addSpacing(12);
  layout->addWidget(text_);
  layout->addSpacing(18);
  layout->addLayout(buttons);
}

void TAboutBox::showEvent(QShowEvent* event) {
  text_->setText(
      QString::fromUtf8(ByLanguage("Ephemeriden für Sonne, Mond, Planeten, Kleinplaneten, Kometen und Sterne",
                                   "Ephemerides of the Sun, Moon, planets, asteroids, comets and stars")));
  QDialog::showEvent(event);
}

void TAboutBox::ShowAsSplash() {
  ok_->hide();
  info_->hide();
  setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  show();
  repaint();
  timer_->start();
}

void TAboutBox::EndSplash() {
  timer_->stop();
  hide();
  setWindowFlags(Qt::Dialog);
}

void TAboutBox::ShowModalInfo() {
  timer_->stop();
  setWindowFlags(Qt::Dialog);
  ok_->show();
  info_->show();
  exec();
}

void TAboutBox::Timer1Timer() { ok_->show(); }

void TAboutBox::Button1Click() {
  ShowMessage(std::string(kMainWindowCaption) + "\nQt " + qVersion(),
              std::string(kMainWindowCaption) + "\nQt " + qVersion(), MessageIcon::Information, MessageButtons::Ok,
              kMainWindowCaption);
}

}  // namespace kvx
