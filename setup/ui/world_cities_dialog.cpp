#include "setup/ui/world_cities_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>
#include <filesystem>

#include "core/text_conversion.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/dialog_rows.h"
#include "platform/qt/named_widgets.h"
#include "platform/settings_store.h"
#include "platform/text_encoding.h"
#include "setup/city_zones.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

constexpr const char* kSection = "CitiesDatabase";

// Decimal degrees and D°MM'SS''.
QString DegreesText(double degrees) {
  const std::string packed = FloatToTextSep(FormatFixed(DegToDmsPackedSec(degrees), 0, 4));
  return QString::number(degrees, 'f', 4).replace('.', QChar(IntlSeparators.Decimal)) + "  (" +
         QString::fromStdString(DmsTextWithMarks(packed)) + ")";
}

}  // namespace

TDlgCities::TDlgCities(const std::string& folder, const std::string& fileName, const TObserverRecord& record,
                       bool keepUT, QWidget* owner)
    : QDialog(owner), record_(record) {
  SetHelpSection(this, "world-cities");
  SettingsStore& settings = CurrentSettingsStore();
  fullSearchLength_ = static_cast<int>(std::clamp<std::int64_t>(settings.IntegerOr(kSection, "Suchlaenge", 3), 1, 35));
  previewCount_ =
      static_cast<int>(std::clamp<std::int64_t>(settings.IntegerOr(kSection, "Previewcount", 100), 1, 100000));
  const bool onEnter = settings.IntegerOr(kSection, "Sofortsuche", 1) != 0;

  file_.Open(folder + "/" + fileName);
  std::string indexText, error;
  indexValid_ = ReadFileBytes(folder + "/" + kCityIndexFileName, indexText, error) &&
                ParseCityIndex(indexText, file_.Count(), index_);
  if (!indexValid_) {
    ShowMessage("Die Datei " + folder + "/" + kCityIndexFileName +
                    " ist unvollständig oder passt nicht zur Ortsdatenbank. Die Suche nach Namen ist abgeschaltet.",
                "The file " + folder + "/" + kCityIndexFileName +
                    " is incomplete or does not fit the database. The search by name is switched off.",
                MessageIcon::Error);
  }
  zones_ = LoadCityZones(folder + "/" + kCityZonesFileName);
  if (zones_.size() < static_cast<std::size_t>(file_.Count())) zones_.clear();

  setWindowTitle(Tr("In weltweiter Ortsdatenbank suchen", "Search in the worldwide database"));
  auto* layout = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;

  auto* searchBox = new QGroupBox(Tr("Ort nach Bezeichnung suchen", "Find location by name"), this);
  auto* searchGrid = new QGridLayout(searchBox);
  auto* searchLabel = new QLabel(Tr("S&uchen:", "Find:"), searchBox);
  searchGrid->addWidget(searchLabel, 0, 0);
  search_ = NewNamed<QLineEdit>("search", searchBox);
  search_->installEventFilter(this);
  search_->setEnabled(indexValid_);
  searchGrid->addWidget(search_, 0, 1);
  stopButton_ = NamedButton(searchBox, Tr("Stop", "Stop"), "stop");
  stopButton_->setEnabled(false);
  searchGrid->addWidget(stopButton_, 0, 2);
  searching_ = new QLabel(Tr("Suche läuft", "Searching..."), searchBox);
  searching_->hide();
  searchGrid->addWidget(searching_, 1, 1);
  auto* modeBox = new QGroupBox(Tr("Suchmodus", "Starting search"), searchBox);
  auto* modeLayout = new QVBoxLayout(modeBox);
  typingMode_ =
      NewNamed<QRadioButton>("typingMode", Tr("Während der Eingabe suchen", "Immediately when typing"), modeBox);
  enterMode_ = NewNamed<QRadioButton>("enterMode", Tr("Nach ENTER suchen", "After pressing <ENTER>"), modeBox);
  (onEnter ? enterMode_ : typingMode_)->setChecked(true);
  modeLayout->addWidget(typingMode_);
  modeLayout->addWidget(enterMode_);
  searchGrid->addWidget(modeBox, 2, 0, 1, 3);
  auto* lengthRow = new QHBoxLayout;
  auto* lengthLabel = new QLabel(Tr("Volle Trefferliste &nach", "Schow list with matches after"), searchBox);
  lengthRow->addWidget(lengthLabel);
  fullLength_ = NewSpinBox(searchBox, "fullLength", 1, 35);
  fullLength_->setValue(fullSearchLength_);
  lengthRow->addWidget(fullLength_);
  lengthRow->addWidget(new QLabel(Tr("Zeichen", "Characters"), searchBox));
  searchGrid->addLayout(lengthRow, 3, 0, 1, 3);
  auto* help = NamedButton(searchBox, Tr("Suchhi&lfe", "He&lp on search"), "help");
  searchGrid->addWidget(help, 4, 0);
  left->addWidget(searchBox);

  auto* resultsLabel = new QLabel(Tr("&Suchergebnisse", "Results"), this);
  left->addWidget(resultsLabel);
  results_List_ = NewNamed<QListWidget>("results", this);
  left->addWidget(results_List_, 1);
  countLabel_ = NewNamed<QLabel>("count", this);
  left->addWidget(countLabel_);
  auto* findRow = new QHBoxLayout;
  auto* findLabel = new QLabel(Tr("In Ergebnisliste suc&hen:", "Find in results:"), this);
  findRow->addWidget(findLabel);
  findInResults_ = NewNamed<QLineEdit>("findInResults", this);
  findRow->addWidget(findInResults_);
  left->addLayout(findRow);
  layout->addLayout(left, 3);

  auto* right = new QVBoxLayout;
  auto* place = new QGridLayout;
  nameLabel_ = NewNamed<QLabel>("name", this);
  QFont bold = nameLabel_->font();
  bold.setBold(true);
  nameLabel_->setFont(bold);
  place->addWidget(nameLabel_, 0, 0, 1, 2);
  latitudeLabel_ = NewNamed<QLabel>("latitude", this);
  longitudeLabel_ = NewNamed<QLabel>("longitude", this);
  AddCaptionedField(place, 1, 0, Tr("Geogr. Breite:", "Latitude:"), latitudeLabel_);
  AddCaptionedField(place, 2, 0, Tr("Geogr. Länge:", "Longitude:"), longitudeLabel_);
  zone_ = NewSpinBox(this, "zone", -12, 12);
  // Beyond 12 h the zone's rest is in the minutes (+14 h: 12 h and 120 min).
  minutes_ = NewSpinBox(this, "minutes", -720, 720);
  auto* zoneLabel = new QLabel(Tr("&Zeitzone (geschätzt:)", "Time zone (assumed):"), this);
  place->addWidget(zoneLabel, 3, 0);
  place->addWidget(zone_, 3, 1);
  place->addWidget(new QLabel(Tr("Zusätzliche Differenz zur Zeitzone in Minuten:",
                                 "Additional difference to the time zone in minute:"),
                              this),
                   4, 0);
  place->addWidget(minutes_, 4, 1);
  keepUT_ = NewNamed<QCheckBox>("keepUT", Tr("&Weltzeit beibehalten", "Do not change UT"), this);
  keepUT_->setChecked(keepUT);
  place->addWidget(keepUT_, 5, 0, 1, 2);
  right->addLayout(place);

  auto* browse = new QGroupBox(Tr("Nach Datensatznummer suchen", "Find by dataset number"), this);
  auto* browseGrid = new QGridLayout(browse);
  auto* numberLabel = new QLabel(Tr("Date&nsatznummer:", "Dataset number:"), browse);
  browseGrid->addWidget(numberLabel, 0, 0);
  recordNumber_ = NewNamed<QLineEdit>("recordNumber", browse);
  browseGrid->addWidget(recordNumber_, 0, 1, 1, 3);
  scrollBar_ = NewNamed<QScrollBar>("scrollBar", Qt::Horizontal, browse);
  scrollBar_->setRange(0, static_cast<int>(std::max<std::int64_t>(0, file_.Count() - 1)));
  browseGrid->addWidget(scrollBar_, 1, 0, 1, 4);
  const char* moves[4][2] = {{"<<", "pageBack10"}, {"<", "pageBack"}, {">", "pageForward"}, {">>", "pageForward10"}};
  const int steps[4] = {-10, -1, 1, 10};
  for (int m = 0; m < 4; ++m) {
    auto* button = NamedButton(browse, QString::fromLatin1(moves[m][0]), moves[m][1]);
    browseGrid->addWidget(button, 2, m);
    connect(button, &QPushButton::clicked, this, [this, step = steps[m]] {
      const std::int64_t first = results_.empty() ? 1 : results_.front();
      ShowPage(first + static_cast<std::int64_t>(step) * previewCount_);
    });
  }
  browseGrid->addWidget(new QLabel(Tr("Datensätze im voraus anzeigen", "Number of datasets for preview"), browse), 3, 0,
                        1, 3);
  pageSize_ = NewSpinBox(browse, "pageSize", 1, 100000);
  pageSize_->setValue(previewCount_);
  browseGrid->addWidget(pageSize_, 3, 3);
  right->addWidget(browse);

  letters_ = NewNamed<QListWidget>("letters", this);
  letters_->setFlow(QListView::LeftToRight);
  letters_->setWrapping(true);
  letters_->setMaximumHeight(70);
  letters_->addItem(" ");
  for (char c = 'a'; c <= 'z'; ++c) letters_->addItem(QString(QChar(c)));
  letters_->setEnabled(indexValid_);
  right->addWidget(letters_);
  right->addStretch();

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  ok_ = NamedButton(this, Tr("&OK", "&OK"), "ok");
  ok_->setEnabled(false);
  auto* cancel = NamedButton(this, Tr("&Abbrechen", "&Cancel"), "cancel");
  buttons->addWidget(ok_);
  buttons->addWidget(cancel);
  right->addLayout(buttons);
  layout->addLayout(right, 2);

  searchLabel->setBuddy(search_);
  lengthLabel->setBuddy(fullLength_);
  resultsLabel->setBuddy(results_List_);
  findLabel->setBuddy(findInResults_);
  zoneLabel->setBuddy(zone_);
  numberLabel->setBuddy(recordNumber_);

  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(stopButton_, &QPushButton::clicked, this, [this] { stop_ = true; });
  connect(help, &QPushButton::clicked, this, [] {
    ShowMessage(CitySearchHelpText(false), CitySearchHelpText(true), MessageIcon::Information, MessageButtons::Ok,
                LanguageEnglish != 0 ? "" : "Hilfe zur Suche");
  });
  connect(search_, &QLineEdit::textEdited, this, [this] {
    if (typingMode_->isChecked()) Search();
  });
  connect(zone_, &QSpinBox::valueChanged, this, [this](int v) { record_.Zone = v; });
  connect(minutes_, &QSpinBox::valueChanged, this, [this](int v) { record_.ZoneMinutes = v; });
  connect(fullLength_, &QSpinBox::valueChanged, this, [this](int v) { fullSearchLength_ = v; });
  connect(pageSize_, &QSpinBox::valueChanged, this, [this](int v) { previewCount_ = v; });
  connect(results_List_, &QListWidget::currentRowChanged, this, &TDlgCities::ChooseResult);
  connect(findInResults_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (text.isEmpty()) return;
    for (int row = 0; row < results_List_->count(); ++row) {
      if (results_List_->item(row)->text().startsWith(text, Qt::CaseInsensitive)) {
        results_List_->setCurrentRow(row);
        return;
      }
    }
  });
  connect(recordNumber_, &QLineEdit::editingFinished, this, &TDlgCities::ReadRecordNumber);
  connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
    if (!busy_) ShowPage(value + 1);
  });
  connect(letters_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (indexValid_) ShowPage(index_[letters_->row(item)]);
  });
  UpdateCountLabel();
}

TDlgCities::~TDlgCities() {
  SettingsStore& settings = CurrentSettingsStore();
  settings.WriteInteger(kSection, "Suchlaenge", fullSearchLength_);
  settings.WriteInteger(kSection, "Previewcount", previewCount_);
  settings.WriteInteger(kSection, "Sofortsuche", enterMode_->isChecked() ? 1 : 0);
}

bool TDlgCities::KeepUT() const { return keepUT_->isChecked(); }

bool TDlgCities::eventFilter(QObject* watched, QEvent* event) {
  if (watched != search_ || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (search_->text().startsWith('*') || search_->text().startsWith('?')) search_->clear();
  if (busy_) return true;
  if (search_->text().isEmpty() && (key->text() == "*" || key->text() == "?")) return true;
  if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
    if (enterMode_->isChecked()) Search();
    return true;  // Enter never closes the dialog from here
  }
  return false;
}

void TDlgCities::Search() {
  if (busy_ || !indexValid_) return;
  const std::string typed = search_->text().toStdString();
  if (typed.empty() || typed[0] == '*' || typed[0] == '?') return;
  busy_ = true;
  searching_->show();
  stopButton_->setEnabled(true);
  ClearResults();
  const TCitySearchResult found = SearchCities(
      file_, index_, typed, fullSearchLength_, [] { QCoreApplication::processEvents(); }, &stop_);
  stop_ = false;
  searching_->hide();
  stopButton_->setEnabled(false);
  busy_ = false;
  if (!found.Full) {
    if (found.JumpTo > 0) ShowPage(found.JumpTo);
    return;
  }
  for (std::int64_t n : found.Matches) AddResult(n);
  UpdateCountLabel();
  if (!results_.empty()) results_List_->setCurrentRow(0);
}

void TDlgCities::ShowPage(std::int64_t number) {
  const std::int64_t count = file_.Count();
  if (count == 0) return;
  number = std::clamp<std::int64_t>(number, 1, count);
  busy_ = true;
  recordNumber_->setText(QString::number(number));
  scrollBar_->setValue(static_cast<int>(number - 1));
  ClearResults();
  const std::int64_t last = std::min<std::int64_t>(count, number + previewCount_ - 1);
  for (std::int64_t n = number; n <= last; ++n) AddResult(n);
  busy_ = false;
  UpdateCountLabel();
  results_List_->setCurrentRow(0);
}

void TDlgCities::ReadRecordNumber() {
  if (busy_) return;
  const QString text = recordNumber_->text().trimmed();
  bool ok = false;
  const qlonglong number = text.toLongLong(&ok);
  if (!ok || text.contains('-')) {  // no sign: a record number is never negative
    recordNumber_->setText(results_.empty() ? QString() : QString::number(results_.front()));
    return;
  }
  ShowPage(number);
}

void TDlgCities::ClearResults() {
  results_.clear();
  results_List_->clear();
}

void TDlgCities::AddResult(std::int64_t number) {
  results_.push_back(number);
  results_List_->addItem(QString::fromStdString(Cp1252ToUtf8(file_.Name(number))));
}

void TDlgCities::UpdateCountLabel() {
  countLabel_->setText(QString::number(results_.size()) + Tr(" von ", " of ") + QString::number(file_.Count()));
}

void TDlgCities::ChooseResult(int row) {
  if (row < 0 || row >= static_cast<int>(results_.size())) return;
  const std::int64_t number = results_[row];
  const tcitieobj city = file_.Record(number);
  nameLabel_->setText(QString::fromStdString(Cp1252ToUtf8(city.Name)));
  if (!city.Usable()) {  // damaged coordinates are never taken over
    latitudeLabel_->setText("-");
    longitudeLabel_->setText("-");
    ok_->setEnabled(false);
    return;
  }
  latitudeLabel_->setText(DegreesText(city.Latitude));
  longitudeLabel_->setText(DegreesText(city.Longitude));
  TZoneOffsets offsets;
  const std::string zoneName = number <= static_cast<std::int64_t>(zones_.size()) ? zones_[number - 1] : "";
  if (!ZoneOffsetsAt(zoneName, record_.Mjd, offsets)) {
    offsets = TZoneOffsets{EstimatedZone(city.Longitude), 0, 0};
  }
  zone_->setValue(offsets.Zone);
  minutes_->setValue(offsets.ZoneMinutes);
  record_.Longitude = city.Longitude;
  record_.Latitude = city.Latitude;
  record_.Zone = offsets.Zone;
  record_.ZoneMinutes = offsets.ZoneMinutes;
  record_.DaylightHours = offsets.DaylightHours;
  record_.PlaceName = Cp1252ToUtf8(city.Name);
  ok_->setEnabled(true);
}

void ShowWorldCitiesMissing() {
  ShowMessage("Datei mit weltweiter Datenbank nicht gefunden. Bitte geben sie den Pfad an.",
              "File with world wide database with location not found. Please select the folder.", MessageIcon::Error);
}

bool ShowWorldCitiesDialog(const std::string& folder, const std::string& fileName, TObserverRecord& record,
                           bool& keepUT, QWidget* owner) {
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(folder + "/" + fileName, ignored) ||
      !std::filesystem::is_regular_file(folder + "/" + kCityIndexFileName, ignored)) {
    ShowWorldCitiesMissing();
    return false;
  }
  TDlgCities dialog(folder, fileName, record, keepUT, owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  const TObserverRecord& chosen = dialog.Record();
  record.PlaceName = chosen.PlaceName;
  record.Longitude = chosen.Longitude;
  record.Latitude = chosen.Latitude;
  record.Zone = chosen.Zone;
  record.ZoneMinutes = chosen.ZoneMinutes;
  record.DaylightHours = chosen.DaylightHours;
  keepUT = dialog.KeepUT();
  return true;
}

}  // namespace kvx
