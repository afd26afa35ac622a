#include "tables/ui/satellite_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>

#include "core/name_tables.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/named_widgets.h"
#include "setup/ui/edit_controls.h"
#include "theories/tle.h"

namespace kvx {

namespace {

TSatelliteDialogDriver& Driver() {
  static TSatelliteDialogDriver driver;
  return driver;
}

int RunDialog(QDialog& dialog) {
  if (Driver()) return Driver()(dialog);
  return dialog.exec();
}

bool English() { return LanguageEnglish != 0; }
QString Tr(const char* german, const char* english) { return QString::fromUtf8(English() ? english : german); }

// Element sets in a file: lines that begin with "1 " (a cheap count for the
// note that only the first 500 were loaded).
int CountElementLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  int count = 0;
  while (std::getline(in, line)) {
    if (line.size() > 1 && line[0] == '1' && line[1] == ' ') ++count;
  }
  return count;
}

QString Fixed(double value, int decimals) {
  if (!std::isfinite(value)) return QString();
  return QString::number(value, 'f', decimals);
}

// The foot row of both dialogs after `ok`: the cancel button, which rejects
// `dialog`, and the help button ("Help", the dialog's help topic), all on
// the right of a new row at the end of `layout`.
struct TFootRow {
  QPushButton* Cancel;
  QPushButton* Help;
};
TFootRow AddFootRow(QDialog& dialog, QVBoxLayout& layout, QPushButton* ok, int topic) {
  auto* cancel = new QPushButton(&dialog);
  auto* help = NewNamed<QPushButton>("Help", &dialog);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(ok);
  row->addWidget(cancel);
  row->addWidget(help);
  layout.addLayout(row);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  SetHelpContext(&dialog, topic, help);
  return {cancel, help};
}

}  // namespace

void SetSatelliteDialogDriver(TSatelliteDialogDriver driver) { Driver() = std::move(driver); }

// ----------------------------------------------------------- the selection

TSatellitenwahlform::TSatellitenwahlform(QWidget* parent) : QDialog(parent) {
  setObjectName("Satellitenwahlform");
  auto* layout = new QVBoxLayout(this);
  fileLabel_ = NewNamed<QLabel>("Dateiname", this);
  open_ = NewNamed<QPushButton>("Oeffnen", this);
  layout->addWidget(open_);
  layout->addWidget(fileLabel_);

  auto* searchRow = new QHBoxLayout;
  searchLabel_ = new QLabel(this);
  search_ = NewNamed<QLineEdit>("Suche", this);
  searchLabel_->setBuddy(search_);
  status_ = NewNamed<QLabel>("Suchstatus", this);
  searchRow->addWidget(searchLabel_);
  searchRow->addWidget(search_, 1);
  searchRow->addWidget(status_);
  layout->addLayout(searchRow);

  list_ = NewNamed<QListWidget>("Satellitenliste", this);
  list_->setMinimumSize(360, 220);
  layout->addWidget(list_, 1);

  auto* options = new QGroupBox(this);
  options_ = options;
  auto* grid = new QGridLayout(options);
  window_ = NewSpinBox(options, "Epochenfenster", 0, kMaxEpochWindowDays);
  windowLabel_ = new QLabel(options);
  windowLabel_->setWordWrap(true);
  twilight_ = NewNamed<QComboBox>("Daemmerung", options);
  twilightLabel_ = new QLabel(options);
  grid->addWidget(window_, 0, 0);
  grid->addWidget(windowLabel_, 0, 1);
  grid->addWidget(twilightLabel_, 1, 0, 1, 2);
  grid->addWidget(twilight_, 2, 0, 1, 2);
  layout->addWidget(options);

  ok_ = NamedButton(this, "OK", "OK");
  ok_->setDefault(true);
  const TFootRow foot = AddFootRow(*this, *layout, ok_, kHelpTopicSatellites);
  cancel_ = foot.Cancel;
  help_ = foot.Help;

  connect(open_, &QPushButton::clicked, this, [this] { OpenFileClick(); });
  connect(ok_, &QPushButton::clicked, this, [this] { OkClick(); });
  SearchListAsTyped(search_, list_, status_);
}

void TSatellitenwahlform::Prepare() {
  setWindowTitle(Tr("Satelliten", "Satellites"));
  open_->setText(Tr("Datei mit Bahnelementen &öffnen", "Open file with orbital elements"));
  searchLabel_->setText(Tr("&Suche nach:", "&Find:"));
  static_cast<QGroupBox*>(options_)->setTitle(Tr("Optionen", "Options"));
  windowLabel_->setText(
      Tr("Tage vor und nach der Epoche der Bahnelemente berechnen", "days before and after epoch of orbital elements"));
  twilightLabel_->setText(
      Tr("Sonnenhöhe (für Suche nach Sichtbarkeiten):", "Sun´s altitude (only for visibility-search):"));
  twilight_->clear();
  if (English()) {
    twilight_->addItems(
        {"Always", "Civil twighlight (<-6°)", "Nautical twighlight (<-12°)", "Astronomical twighlight (<-18°)"});
  } else {
    twilight_->addItems({"Immer", QString::fromUtf8("Bürgerliche Dämmerung (<-6°)"),
                         QString::fromUtf8("Nautische Dämmerung (<-12°)"),
                         QString::fromUtf8("Astronomische Dämmerung (<-18°)")});
  }
  ok_->setText(English() ? "Compute" : "OK");
  ApplyDialogButtonLanguage(cancel_, help_);
  FileLoaded = false;
  status_->clear();
  FillList();
  window_->setValue(std::clamp(EpochWindowDays, 0, kMaxEpochWindowDays));
  twilight_->setCurrentIndex(TwilightChoice <= 3 ? TwilightChoice : 0);
}

void TSatellitenwahlform::FillList() {
  fileLabel_->setText(QString::fromStdString(FileName));
  list_->clear();
  const int count = std::clamp(Count, 0, kSatelliteSlots);
  for (int s = 1; s <= count; ++s) {
    list_->addItem(QString::fromStdString(SatelliteNames[static_cast<std::size_t>(s)]));
  }
  search_->setEnabled(count > 0);
  if (CurrentSatelliteNumber >= 1 && CurrentSatelliteNumber <= count) {
    list_->setCurrentRow(CurrentSatelliteNumber - 1);
  }
}

void TSatellitenwahlform::LoadFile(const std::string& path) {
  FileLoaded = true;
  FileName = path;
  Count = LoadTleFile(path, true);
  if (Count >= kSatelliteSlots && CountElementLines(path) > kSatelliteSlots) {
    ShowMessage("Die Datei enthält mehr als 500 Bahnelemente; die ersten 500 wurden geladen.",
                "The file holds more than 500 element sets; the first 500 were loaded.", MessageIcon::Information);
  }
  CurrentSatelliteNumber = 1;
  FillList();
}

void TSatellitenwahlform::OpenFileClick() {
  FileDialogRequest request;
  request.title =
      English() ? "Open File with orbital elements for satellites" : "Datei mit Bahnelementen für Satelliten öffnen";
  request.filters = {"NORAD Two-Line (*.tle)", "Element-Sets (*.els)"};
  request.defaultExtension = "tle";
  request.start = FileName;
  const std::optional<std::string> path = AskOpenFileName(request);
  if (!path) return;
  LoadFile(*path);
}

void TSatellitenwahlform::OkClick() {
  // An empty list (or none chosen) keeps the current satellite.
  if (list_->count() > 0 && list_->currentRow() >= 0) CurrentSatelliteNumber = list_->currentRow() + 1;
  TwilightChoice = static_cast<std::uint8_t>(std::max(0, twilight_->currentIndex()));
  EpochWindowDays = window_->value();
  accept();
}

bool ShowSatelliteSelectionDialog(std::int32_t& count, std::int32_t& epochWindowDays, std::string& fileName,
                                  std::uint8_t& twilightChoice) {
  TSatellitenwahlform form(QApplication::activeWindow());
  form.Count = count;
  form.EpochWindowDays = epochWindowDays;
  form.FileName = fileName;
  form.TwilightChoice = twilightChoice;
  // Cancel undoes a file loaded meanwhile: the sets in use before come back.
  const auto sets = std::make_unique<decltype(SatelliteTable)>(SatelliteTable);
  const auto names = std::make_unique<decltype(SatelliteNames)>(SatelliteNames);
  const std::int32_t current = CurrentSatelliteNumber;
  form.Prepare();
  if (RunDialog(form) != QDialog::Accepted) {
    if (form.FileLoaded) {
      SatelliteTable = *sets;
      SatelliteNames = *names;
      CurrentSatelliteNumber = current;
    }
    return false;
  }
  count = form.Count;
  fileName = form.FileName;
  epochWindowDays = form.EpochWindowDays;
  twilightChoice = form.TwilightChoice;
  return true;
}

// --------------------------------------------------------------- the search

TSatellitensuche::TSatellitensuche(QWidget* parent) : QDialog(parent) {
  setObjectName("Satellitensuche");
  auto* layout = new QVBoxLayout(this);
  boxLabel_ = new QLabel(this);
  box_ = NewNamed<QComboBox>("Satellitenauswahl", this);
  box_->setMinimumWidth(300);
  boxLabel_->setBuddy(box_);
  layout->addWidget(boxLabel_);
  layout->addWidget(box_);
  for (int i = 0; i < kLines; ++i) {
    lines_[i] = new QLabel(this);
    lines_[i]->setObjectName(QString("Zeile%1").arg(i + 1));
    layout->addWidget(lines_[i]);
  }
  status_ = NewNamed<QLabel>("Status", this);
  layout->addWidget(status_);

  auto* row1 = new QHBoxLayout;
  find_ = new QPushButton(this);
  abort_ = new QPushButton(this);
  back_ = new QPushButton(this);
  forward_ = new QPushButton(this);
  row1->addWidget(find_);
  row1->addWidget(abort_);
  row1->addWidget(back_);
  row1->addWidget(forward_);
  layout->addLayout(row1);
  ok_ = new QPushButton(this);
  const TFootRow foot = AddFootRow(*this, *layout, ok_, kHelpTopicSatelliteVisibility);
  close_ = foot.Cancel;
  help_ = foot.Help;

  connect(find_, &QPushButton::clicked, this, [this] { SearchClick(); });
  connect(abort_, &QPushButton::clicked, this, [this] { CancelSearchClick(); });
  connect(back_, &QPushButton::clicked, this, [this] { StepBackClick(); });
  connect(forward_, &QPushButton::clicked, this, [this] { StepForwardClick(); });
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(box_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!filling_) SatelliteChanged(index);
  });
  search_.Progress = [this](double jd) {
    lines_[0]->setText("JD: " + Fixed(jd, 5));
    QApplication::processEvents();
  };
}

void TSatellitensuche::Activate(std::int32_t count, const TObserverRecord& record, const TSatelliteSettings& settings) {
  setWindowTitle(Tr("Satelliten", "Satellites"));
  boxLabel_->setText(Tr("A&ktuell verwendete Satelliten:", "A&ctually used satellites:"));
  find_->setText(Tr("&Sichtbarkeit suchen", "&Search visibility"));
  abort_->setText(Tr("&Abbruch", "Cancel"));
  back_->setText(Tr("Zeitschritt &zurück", "Step &back"));
  forward_->setText(Tr("Zeitschritt &vorwärts", "Step &forewards"));
  ok_->setText(Tr("Schließen &und übernehmen", "Close and &use new settings"));
  close_->setText(Tr("&Abbruch", "&Cancel"));
  ApplyDialogButtonLanguage(nullptr, help_);
  abort_->setEnabled(false);
  status_->clear();
  search_.TwilightLimitDeg = TwilightLimit(settings.TwilightChoice);
  azimuthOrigin_ = settings.AzimuthOrigin;
  search_.EpochWindowDays = settings.EpochWindowDays;
  filling_ = true;
  box_->clear();
  const int n = std::clamp(count, 0, kSatelliteSlots);
  for (int s = 1; s <= n; ++s) box_->addItem(QString::fromStdString(SatelliteNames[static_cast<std::size_t>(s)]));
  const int current = CurrentSatelliteNumber >= 1 && CurrentSatelliteNumber <= n ? CurrentSatelliteNumber : 1;
  if (n > 0) box_->setCurrentIndex(current - 1);
  filling_ = false;
  const bool any = n > 0;
  find_->setEnabled(any);
  back_->setEnabled(any);
  forward_->setEnabled(any);
  chosen_ = any ? current : 0;
  search_.Saved = record;
  LocalTimeToUT(search_.Saved);
  if (any) {
    search_.SelectSatellite(current);
  } else {
    search_.Record = search_.Saved;
  }
  ShowResult();
}

void TSatellitensuche::SatelliteChanged(int index) {
  if (index < 0) return;
  chosen_ = index + 1;
  status_->clear();
  search_.SelectSatellite(index + 1);
  ShowResult();
}

void TSatellitensuche::EnableControls(bool enable) {
  box_->setEnabled(enable);
  find_->setEnabled(enable);
  back_->setEnabled(enable);
  forward_->setEnabled(enable);
  ok_->setEnabled(enable);
  close_->setEnabled(enable);
  abort_->setEnabled(!enable);
}

void TSatellitensuche::SearchClick() {
  if (box_->count() == 0) return;
  status_->hide();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  EnableControls(false);
  search_.Satellite = box_->currentIndex() + 1;
  const TSatelliteVisibilitySearch::TOutcome outcome = search_.Search();
  EnableControls(true);
  QApplication::restoreOverrideCursor();
  status_->clear();
  if (outcome == TSatelliteVisibilitySearch::TOutcome::Found) {
    chosen_ = search_.Satellite;
  } else if (outcome == TSatelliteVisibilitySearch::TOutcome::Cancelled) {
    status_->setText(Tr("Suche abgebrochen", "Search canceled"));
  } else {
    status_->setText(Tr("Keine Sichtbarkeit gefunden.", "No visibility found."));
  }
  status_->show();
  ShowResult();
}

void TSatellitensuche::CancelSearchClick() { search_.Cancelled = true; }

void TSatellitensuche::StepBackClick() {
  if (box_->count() == 0) return;
  search_.StepBack();
  ShowResult();
}

void TSatellitensuche::StepForwardClick() {
  if (box_->count() == 0) return;
  search_.StepForward();
  ShowResult();
}

void TSatellitensuche::ShowResult() {
  TObserverRecord r = search_.Record;
  UTToLocalTime(r);
  lines_[0]->setText("JD: " + Fixed(MjdToJd(r.Mjd), 5));
  std::string local, ut;
  HourToTimeText(r.LocalHours, local);
  double utHours = (r.Mjd - std::floor(r.Mjd)) * 24.0;
  HourToTimeText(utHours, ut);
  QString when = QString::fromStdString(WeekdayNames[static_cast<std::size_t>(std::clamp(r.Weekday, 0, 6))]) + " " +
                 QString("%1.%2.%3").arg(r.Day).arg(r.Month).arg(r.Year) + " " + QString::fromStdString(local) + " ";
  if (ZoneBeyondNames(r.Zone, r.ZoneMinutes)) {
    when += QString::fromStdString(ZoneOffsetName(r.Zone, r.ZoneMinutes));
  } else {
    when += QString::fromStdString(ZoneName(r.Zone));
    if (r.ZoneMinutes != 0) when += "+" + QString::number(r.ZoneMinutes) + "min";
  }
  when += " " + QString::fromStdString(DaylightSavingMarks[r.DaylightHours != 0 ? 1 : 0]) + " " +
          QString::fromStdString(ut) + " UT";
  lines_[1]->setText(when);
  const TSatelliteResult& s = search_.Last;
  if (box_->count() == 0 || s.Computable == 0) {
    const QString none = box_->count() == 0
                             ? Tr("Keine Satellitenbahnelemente geladen.", "No satellite elements loaded.")
                             : Tr("Nicht berechenbar", "Not computable");
    lines_[2]->setText(none);
    for (int i = 3; i < kLines; ++i) lines_[i]->clear();
    return;
  }
  const QString degree = QString::fromUtf8("°");
  lines_[2]->setText("h: " + Fixed(s.Elevation, 1) + degree);
  lines_[3]->setText("Az: " + Fixed(Mod360(azimuthOrigin_ + s.Azimuth), 1) + degree);
  lines_[4]->setText(Tr("Breite: ", "Latitude: ") + Fixed(s.Latitude, 2) + degree);
  lines_[5]->setText(Tr("Länge: ", "Longitude: ") + Fixed(s.Longitude, 2) + degree);
  lines_[6]->setText(Tr("Höhe: ", "Altitude: ") + Fixed(s.Height, 1) + " km");
  lines_[7]->setText("RD: " + Fixed(s.Range, 1) + " km");
  lines_[8]->setText(s.Lit != 0 ? Tr("Beleuchtet", "Not eclipsed") : Tr("Unbeleuchtet", "Eclipsed"));
}

QString TSatellitensuche::ResultText() const {
  QStringList parts;
  for (const QLabel* line : lines_) parts << line->text();
  return parts.join('\n');
}

int ShowSatelliteVisibilityDialog(std::int32_t count, TObserverRecord& record, const TSatelliteSettings& settings) {
  TSatellitensuche form(QApplication::activeWindow());
  form.Activate(count, record, settings);
  const int result = RunDialog(form);
  if (result == QDialog::Accepted) {
    TObserverRecord r = form.Search().Record;
    UTToLocalTime(r);
    record = r;
    if (form.ChosenSatellite() > 0) CurrentSatelliteNumber = form.ChosenSatellite();
  }
  return result;
}

}  // namespace kvx
