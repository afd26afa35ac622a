#include "tables/ui/single_date_page_view.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayoutItem>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/globals.h"
#include "platform/help.h"
#include "platform/qt/dialog_buttons.h"

namespace kvx {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

void ClearLayout(QGridLayout* layout) {
  while (QLayoutItem* item = layout->takeAt(0)) {
    delete item->widget();
    delete item;
  }
}

}  // namespace

std::function<void(Teinzelephform&)>& Teinzelephform::Driver() {
  static std::function<void(Teinzelephform&)> driver;
  return driver;
}

Teinzelephform::Teinzelephform(QWidget* parent) : QDialog(parent) {
  SetHelpContext(this, kHelpTopicSingleDatePage);
  setObjectName("Einzelephform");
  // Left column: the coordinates; middle: the physical ephemeris; right:
  // visibility and twilight.
  auto* columns = new QHBoxLayout;
  QVBoxLayout* column[3] = {new QVBoxLayout, new QVBoxLayout, new QVBoxLayout};
  const int columnOf[kSingleDateBoxCount] = {0, 0, 0, 0, 0, 1, 1, 2, 2};
  for (int i = 0; i < kSingleDateBoxCount; ++i) {
    boxes_[i] = new QGroupBox(this);
    layouts_[i] = new QGridLayout(boxes_[i]);
    layouts_[i]->setHorizontalSpacing(12);
    column[columnOf[i]]->addWidget(boxes_[i]);
  }
  for (QVBoxLayout* c : column) {
    c->addStretch(1);
    columns->addLayout(c);
  }
  ok_ = new QPushButton(this);
  help_ = new QPushButton(this);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(help_, &QPushButton::clicked, this, [this] { HilfeClick(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(help_);
  auto* main = new QVBoxLayout(this);
  main->addLayout(columns);
  main->addLayout(buttons);
}

void Teinzelephform::ShowSingleDateEphemeris(const TEphemerisResultRecord& result, TBodyIndex kind,
                                             const std::string& name, TObserverRecord observer, const TKepler* body) {
  result_ = result;
  kind_ = kind;
  name_ = name;
  observer_ = observer;
  body_ = body;
  Context.English = LanguageEnglish;
  FormActivate();
  if (Driver()) {
    Driver()(*this);
  } else {
    exec();
  }
  body_ = nullptr;
}

void Teinzelephform::FormActivate() {
  model_ = BuildSingleDatePage(result_, kind_, name_, observer_, body_, Context);
  setWindowTitle(Q(model_.Caption));
  ok_->setText(Q(model_.OkText));
  help_->setText(Q(model_.HelpText));
  ApplyDialogButtonLanguage(nullptr, help_);
  for (int i = 0; i < kSingleDateBoxCount; ++i) {
    const TSingleDateBox& box = model_.Boxes[static_cast<std::size_t>(i)];
    boxes_[i]->setTitle(Q(box.Title));
    boxes_[i]->setVisible(box.Visible);
    ClearLayout(layouts_[i]);
    int row = 0;
    for (const TSingleDateLine& line : box.Lines) {
      layouts_[i]->addWidget(new QLabel(Q(line.Caption)), row, 0);
      auto* value = new QLabel(Q(line.Value));
      value->setTextInteractionFlags(Qt::TextSelectableByMouse);
      layouts_[i]->addWidget(value, row, 1, Qt::AlignRight);
      if (!line.Value2.empty()) layouts_[i]->addWidget(new QLabel(Q(line.Value2)), row, 2, Qt::AlignRight);
      ++row;
    }
  }
  adjustSize();
}

void Teinzelephform::HilfeClick() { ShowWindowHelp(*this); }

}  // namespace kvx
