#include "setup/ui/table_config_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/name_tables.h"
#include "core/quantity_headings.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/named_widgets.h"
#include "platform/settings_store.h"
#include "setup/table_config_model.h"

namespace kvx {

namespace {

namespace cf = column_flag;

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

constexpr const char* kSheetSection = "Window";
constexpr const char* kSheetValue = "TabcfgSheet";

FileDialogRequest EtdRequest(bool save) {
  FileDialogRequest request;
  if (save) request.title = ByLanguage("Tabellenkonfkiguration speichern", "Save table configuration");
  request.filters = {ByLanguage("Tabellenkonfigurationen (*.etd)", "Table configurations (*.etd)")};
  request.defaultExtension = "etd";
  return request;
}

// Tooltip of a box: the descriptions of the columns it switches.
QString FlagTooltip(std::size_t byte) {
  QStringList lines;
  for (int slot : SlotsOfFlag(byte)) {
    const std::string& text = DefaultColumnDescriptions[slot];
    if (!text.empty()) lines << QString::fromStdString(text);
  }
  return lines.join('\n');
}

}  // namespace

Ttabconfig::Ttabconfig(TTableConfigModel& model, QWidget* owner)
    : QDialog(owner), model_(model), boxes_(kUsedColumnFlagCount, nullptr) {
  setWindowTitle(Tr("Anzeige der Ephemeridentabelle konfigurieren", "Configuration of ephemeris tables"));
  SetHelpSection(this, "table-setup");
  auto* layout = new QVBoxLayout(this);
  pages_ = NewNamed<QTabWidget>("pages", this);
  // Boxes first, so the group page can show the summary boxes.
  pages_->addTab(FlagPage(kPageGeneral), Tr("Ephemeridengrößen", "General ephemerides"));
  pages_->addTab(GroupsPage(), Tr("Gruppen und Voreinstellungen", "Groups and settings"));
  pages_->addTab(DatePage(), Tr("Datum, Zeit, Äquinoktium", "Date, time, equinox"));
  pages_->addTab(FlagPage(kPageSpecial), Tr("Spezielle Ephemeriden", "Special ephemerides"));
  layout->addWidget(pages_);

  auto* previewRow = new QHBoxLayout;
  previewRow->addWidget(new QLabel(Tr("Vorschau für", "Preview for"), this));
  previewFor_ = NewNamed<QComboBox>("previewFor", this);
  previewFor_->addItem(Tr("Alle", "All"));
  for (const std::string& name : SearchBodyNames) previewFor_->addItem(QString::fromStdString(name));
  const QString integrated = Tr(" (integriert)", " (integrated)");
  previewFor_->addItem(QString::fromStdString(SearchBodyNames[10]) + integrated);
  previewFor_->addItem(QString::fromStdString(SearchBodyNames[11]) + integrated);
  previewRow->addWidget(previewFor_);
  previewRow->addStretch();
  layout->addLayout(previewRow);
  connect(previewFor_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index < 0) return;
    model_.PreviewKind = index;
    RebuildPreview();
  });

  preview_ = NewNamed<QTableWidget>("preview", 1, kPreviewColumnsPerRow, this);
  preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  preview_->horizontalHeader()->hide();
  preview_->verticalHeader()->hide();
  preview_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  preview_->verticalHeader()->setDefaultSectionSize(22);
  preview_->setMinimumSize(15 * 64, 4 * 22 + 4);
  layout->addWidget(preview_);

  auto* bottom = new QHBoxLayout;
  auto* load = NamedButton(this, Tr("Konfiguration Laden", "Load configuration"), "load");
  auto* save = NamedButton(this, Tr("Konfiguration Speichern", "Save configuration"), "save");
  undo_ = NamedButton(this, Tr("Rückgängig", "Undo"), "undo");
  auto* ok = NamedButton(this, Tr("&OK", "&OK"), "ok");
  ok->setDefault(true);
  auto* cancel = NamedButton(this, Tr("&Abbrechen", "&Cancel"), "cancel");
  for (QPushButton* button : {load, save, undo_}) bottom->addWidget(button);
  bottom->addStretch();
  bottom->addWidget(ok);
  bottom->addWidget(cancel);
  layout->addLayout(bottom);
  connect(load, &QPushButton::clicked, this, &Ttabconfig::Load);
  connect(save, &QPushButton::clicked, this, &Ttabconfig::Save);
  connect(undo_, &QPushButton::clicked, this, [this] {
    model_.Undo();
    Refresh();
  });
  connect(ok, &QPushButton::clicked, this, &Ttabconfig::accept);
  connect(cancel, &QPushButton::clicked, this, &Ttabconfig::reject);
}

QWidget* Ttabconfig::FlagPage(ColumnFlagPage which) {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  grid->setVerticalSpacing(2);
  constexpr int kRowsPerColumn = 16;
  int n = 0;
  for (const TColumnFlagInfo& info : ColumnFlagTable) {
    if (info.page != which) continue;
    const std::size_t b = info.byte;
    auto* box = new QCheckBox(Tr(info.german, info.english), page);
    box->setObjectName(QString("flag%1").arg(b));
    box->setToolTip(FlagTooltip(b));
    boxes_[b] = box;
    grid->addWidget(box, n % kRowsPerColumn, n / kRowsPerColumn);
    ++n;
    connect(box, &QCheckBox::toggled, this, [this] {
      if (!model_.Active) return;
      ReadBoxes();
      RebuildPreview();
    });
  }
  grid->setRowStretch(kRowsPerColumn, 1);
  return page;
}

QWidget* Ttabconfig::GroupsPage() {
  auto* page = new QWidget(this);
  auto* layout = new QHBoxLayout(page);
  auto* groups = new QGroupBox(Tr("Gruppen", "Groups"), page);
  auto* grid = new QGridLayout(groups);
  for (int g = 0; g < 4; ++g) {
    const TColumnFlagInfo& info = ColumnFlagTable[g];
    auto* box = new QCheckBox(Tr(info.german, info.english), groups);
    box->setObjectName(QString("flag%1").arg(g));
    boxes_[g] = box;
    connect(box, &QCheckBox::toggled, this, [this] {
      if (!model_.Active) return;
      ReadBoxes();
      RebuildPreview();
    });
    auto* on = new QPushButton(Tr("ein", "on"), groups);
    on->setObjectName(QString("groupOn%1").arg(g));
    auto* off = new QPushButton(Tr("aus", "off"), groups);
    off->setObjectName(QString("groupOff%1").arg(g));
    grid->addWidget(box, g, 0);
    grid->addWidget(on, g, 1);
    grid->addWidget(off, g, 2);
    for (bool value : {true, false}) {
      connect(value ? on : off, &QPushButton::clicked, this, [this, g, value] {
        model_.Active = false;
        ReadBoxes();
        model_.SetGroup(static_cast<ColumnGroup>(g), value);
        Refresh();
      });
    }
  }
  layout->addWidget(groups);

  auto* sets = new QGroupBox(Tr("Voreinstellungen", "Settings"), page);
  auto* setGrid = new QGridLayout(sets);
  struct Button {
    const char* name;
    const char* german;
    const char* english;
    std::function<void(TTableConfigModel&)> act;
  };
  const Button buttons[] = {
      {"standard", "&Standard", "Default", [](TTableConfigModel& m) { m.SetDefault(); }},
      {"selectAll", "Alles aus&wählen", "Select all", [](TTableConfigModel& m) { m.SelectAll(); }},
      {"clearAll", "Alles l&öschen", "Clear all", [](TTableConfigModel& m) { m.ClearAll(); }},
      {"presetE", "Planeten aktuell", "Planets (equinox of date)",
       [](TTableConfigModel& m) { m.ApplyPreset(ColumnPreset::E); }},
      {"presetF", "Planeten 2000", "Planets 2000", [](TTableConfigModel& m) { m.ApplyPreset(ColumnPreset::F); }},
      {"presetG", "Planetoiden", "Asteroids", [](TTableConfigModel& m) { m.ApplyPreset(ColumnPreset::G); }},
      {"presetD", "Bahnelemente Planetoiden", "Orbital elements asteroids",
       [](TTableConfigModel& m) { m.ApplyPreset(ColumnPreset::D); }},
      {"presetC", "Kometen", "Comets", [](TTableConfigModel& m) { m.ApplyPreset(ColumnPreset::C); }},
      {"presetH", "Bahnelemente Kometen", "Orbital elements comets",
       [](TTableConfigModel& m) { m.ApplyPreset(ColumnPreset::H); }},
      {"presetA", "Physische Ephemeriden", "Physical Eehemerides",
       [](TTableConfigModel& m) { m.ApplyPreset(ColumnPreset::A); }},
      {"presetB", "Auf/Untergang", "Rise/set", [](TTableConfigModel& m) { m.ApplyPreset(ColumnPreset::B); }},
  };
  int n = 0;
  for (const Button& b : buttons) {
    auto* button = new QPushButton(Tr(b.german, b.english), sets);
    button->setObjectName(b.name);
    setGrid->addWidget(button, n % 6, n / 6);
    ++n;
    connect(button, &QPushButton::clicked, this, [this, act = b.act] {
      model_.Active = false;
      ReadBoxes();
      act(model_);
      Refresh();
    });
  }
  layout->addWidget(sets);
  return page;
}

QWidget* Ttabconfig::DatePage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  dateOnly_ = NewNamed<QRadioButton>("dateOnly", Tr("nur &Datum anzeigen", "Show date only"), page);
  dateAndTime_ = NewNamed<QRadioButton>("dateAndTime", Tr("Datum und &Uhrzeit anzeigen", "Show date and time"), page);
  layout->addWidget(dateOnly_);
  layout->addWidget(dateAndTime_);
  connect(dateOnly_, &QRadioButton::toggled, this, [this] {
    if (!model_.Active) return;
    ReadBoxes();
    RebuildPreview();
  });
  julianSwitch_ = new QCheckBox(Tr("Auf-, Untergangs- und Dämmerungszeiten als julianisches Datum",
                                   "Rise, set and twilight times as Julian Date"),
                                page);
  julianSwitch_->setObjectName("julianSwitch");
  siderealSwitch_ = NewNamed<QCheckBox>("siderealSwitch", Tr("Scheinbare Sternzeit", "Apparent sidereal time"), page);
  layout->addWidget(julianSwitch_);
  layout->addWidget(siderealSwitch_);
  connect(julianSwitch_, &QCheckBox::toggled, this, [this](bool on) { model_.JulianDateSwitch = on ? 1 : 0; });
  connect(siderealSwitch_, &QCheckBox::toggled, this, [this](bool on) { model_.SiderealSwitch = on ? 1 : 0; });

  auto* equinoxBox = new QGroupBox(Tr("Zusätzliches Äquinoktium", "Additional equinox"), page);
  auto* equinoxRow = new QHBoxLayout(equinoxBox);
  equinox_ = NewNamed<QLineEdit>("equinox", equinoxBox);
  auto* y2000 = NamedButton(equinoxBox, "2000", "equinox2000");
  auto* y1950 = NamedButton(equinoxBox, "1950", "equinox1950");
  equinoxRow->addWidget(equinox_);
  equinoxRow->addWidget(y2000);
  equinoxRow->addWidget(y1950);
  layout->addWidget(equinoxBox);
  layout->addStretch();
  connect(equinox_, &QLineEdit::editingFinished, this, &Ttabconfig::LeaveEquinox);
  for (auto [button, year] : {std::pair{y2000, 2000.0}, std::pair{y1950, 1950.0}}) {
    connect(button, &QPushButton::clicked, this, [this, year = year] {
      model_.EquinoxYear = year;
      equinox_->setText(QString::fromStdString(model_.EquinoxText()));
      RebuildPreview();
    });
  }
  return page;
}

void Ttabconfig::showEvent(QShowEvent* event) {
  const std::int64_t sheet = CurrentSettingsStore().IntegerOr(kSheetSection, kSheetValue, 1);
  pages_->setCurrentIndex(sheet >= 1 && sheet <= 3 ? static_cast<int>(sheet) - 1 : 3);
  model_.Active = false;
  model_.Error = false;
  previewFor_->setCurrentIndex(model_.PreviewKind);
  Refresh();
  QDialog::showEvent(event);
}

void Ttabconfig::done(int result) {
  CurrentSettingsStore().WriteInteger(kSheetSection, kSheetValue, pages_->currentIndex() + 1);
  QDialog::done(result);
}

void Ttabconfig::Refresh() {
  model_.Active = false;
  equinox_->setText(QString::fromStdString(model_.EquinoxText()));
  const TColumnFlags& flags = model_.Working().Flags;
  for (std::size_t b = 0; b < kUsedColumnFlagCount; ++b) {
    if (boxes_[b] != nullptr) boxes_[b]->setChecked(flags[b] != 0);
  }
  dateOnly_->setChecked(flags[cf::kDateOnly] != 0);
  dateAndTime_->setChecked(flags[cf::kDateOnly] == 0);
  julianSwitch_->setChecked(model_.JulianDateSwitch != 0);
  siderealSwitch_->setChecked(model_.SiderealSwitch != 0);
  undo_->setEnabled(model_.UndoAvailable());
  model_.Active = true;
  RebuildPreview();
}

void Ttabconfig::ReadBoxes() {
  TColumnFlags& flags = model_.Working().Flags;
  for (std::size_t b = 0; b < kUsedColumnFlagCount; ++b) {
    if (boxes_[b] != nullptr) flags[b] = boxes_[b]->isChecked() ? 1 : 0;
  }
  flags[cf::kDateOnly] = dateOnly_->isChecked() ? 1 : 0;
}

void Ttabconfig::RebuildPreview() {
  const std::vector<std::string> headings = model_.Preview();
  const int rows =
      std::max<int>(1, (static_cast<int>(headings.size()) + kPreviewColumnsPerRow - 1) / kPreviewColumnsPerRow);
  preview_->clearContents();
  preview_->setRowCount(rows);
  for (std::size_t i = 0; i < headings.size(); ++i) {
    preview_->setItem(static_cast<int>(i) / kPreviewColumnsPerRow, static_cast<int>(i) % kPreviewColumnsPerRow,
                      new QTableWidgetItem(QString::fromStdString(headings[i])));
  }
}

void Ttabconfig::LeaveEquinox() {
  std::string text = equinox_->text().toStdString();
  if (!model_.CheckEquinoxText(text)) {
    equinox_->setText(QString::fromStdString(text));
    return;
  }
  RebuildPreview();
}

void Ttabconfig::Save() {
  const std::optional<std::string> path = AskSaveFileName(EtdRequest(true));
  if (!path) return;
  std::string text = equinox_->text().toStdString();
  if (!model_.CheckEquinoxText(text)) {
    equinox_->setText(QString::fromStdString(text));
    return;
  }
  model_.JulianDateSwitch = julianSwitch_->isChecked() ? 1 : 0;
  model_.SiderealSwitch = siderealSwitch_->isChecked() ? 1 : 0;
  ReadBoxes();
  model_.Commit();
  SaveTableConfigFile(*path, model_.ToFile());
  Refresh();
}

void Ttabconfig::Load() {
  const std::optional<std::string> path = AskOpenFileName(EtdRequest(false));
  if (!path) return;
  TTableConfigFile file;
  if (!LoadTableConfigFile(*path, file)) return;  // the message is shown; nothing changes
  TitlesFollowLanguage(file.Record, LanguageEnglish != 0);
  model_.TakeFile(file);
  Refresh();
}

void Ttabconfig::accept() {
  // A refusal when the equinox field was left (OK may have taken the focus)
  // refuses this close request once.
  if (model_.Error) {
    model_.Error = false;
    equinox_->setFocus();
    return;
  }
  std::string text = equinox_->text().toStdString();
  ReadBoxes();
  if (!model_.Accept(text)) {
    equinox_->setText(QString::fromStdString(text));
    model_.Error = false;  // refused once: the next OK may close
    equinox_->setFocus();
    return;
  }
  QDialog::accept();
}

void Ttabconfig::reject() {
  model_.Error = false;
  QDialog::reject();
}

int ShowTableConfigDialog(int& previewKind, double& equinoxCenturies, TTableConfigRecord& record,
                          std::uint8_t& julianDateSwitch, std::uint8_t& siderealSwitch, bool elementsForPlanets,
                          QWidget* owner) {
  TTableConfigModel model(record, equinoxCenturies, julianDateSwitch, siderealSwitch, previewKind);
  model.ElementsForPlanets = elementsForPlanets;
  Ttabconfig dialog(model, owner);
  const int result = dialog.exec() == QDialog::Accepted ? 1 : 2;
  if (result == 1) model.CopyBack(previewKind, equinoxCenturies, record, julianDateSwitch, siderealSwitch);
  return result;
}

}  // namespace kvx
