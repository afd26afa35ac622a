#include "orbitdet/ui/file_browser.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "orbitdet/file_view.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/elided_label.h"
#include "platform/qt/named_widgets.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

struct Filter {
  const char* german;
  const char* english;
  const char* patterns;
};
// Patterns match both cases (the list is case-sensitive on Linux).
constexpr Filter kFilters[] = {
    {"Alle (*.*)", "All (*.*)", "*"},
    {"CSV-Dateien (*.csv)", "CSV Files (*.csv)", "*.csv *.CSV"},
    {"Textdateien (*.txt)", "Texfiles (*.txt)", "*.txt *.TXT"},
    {"HTML (*.html)", "HTM(L) (*.htm *.html)", "*.htm *.html *.HTM *.HTML"},
    {"Planetoiden (binär) (*.opl)", "Asteroids (binyra) (*.opl)", "*.opl *.OPL"},
    {"Kometen (binär) (*.oko)", "Cometen (binary) (*.oko)", "*.oko *.OKO"},
    {"Two-Line-Elements (*.tle)", "Two Line Elements (*.tle)", "*.tle *.TLE"},
    {"Beobachtungen (binär) (*.obs)", "Observations (binary) (*.obs)", "*.obs *.OBS"},
    {"Statusvektoren (*.stv)", "State Vectors (*.stv)", "*.stv *.STV"},
};

}  // namespace

TBrowserForm::TBrowserForm(const std::string& folder, const std::string& fileName, const TBrowserBounds& bounds,
                           QWidget* owner)
    : QDialog(owner), file_name_(fileName), bounds_(bounds) {
  SetHelpContext(this, kHelpTopicFileBrowser);
  setObjectName("BrowserForm");
  setWindowTitle("Browser");
  auto* layout = new QVBoxLayout(this);

  auto* top = new QHBoxLayout;
  location_ = NewNamed<QComboBox>("Location", this);
  location_->setEditable(true);
  // A long folder scrolls in the box: the window keeps the size it is given.
  location_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  location_->setMinimumContentsLength(16);
  for (const QString& place : {QString::fromStdString(folder), QDir::homePath(), QStringLiteral("/")}) {
    if (!place.isEmpty() && location_->findText(place) < 0) location_->addItem(place);
  }
  filter_ = NewNamed<QComboBox>("Filter", this);
  for (const Filter& f : kFilters) filter_->addItem(Tr(f.german, f.english));
  top->addWidget(location_, 2);
  top->addWidget(filter_, 1);
  layout->addLayout(top);

  auto* splitter = new QSplitter(Qt::Vertical, this);
  auto* choosers = new QSplitter(Qt::Horizontal, splitter);
  folders_ = new QFileSystemModel(this);
  folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  folders_->setRootPath("/");
  tree_ = NewNamed<QTreeView>("Folders", choosers);
  tree_->setModel(folders_);
  for (int c = 1; c < folders_->columnCount(); ++c) tree_->hideColumn(c);
  tree_->setHeaderHidden(true);
  files_ = new QFileSystemModel(this);
  files_->setFilter(QDir::Files | QDir::NoDotAndDotDot);
  files_->setNameFilterDisables(false);
  list_ = NewNamed<QListView>("Files", choosers);
  list_->setModel(files_);
  viewer_ = NewNamed<QPlainTextEdit>("Viewer", splitter);
  viewer_->setReadOnly(true);
  viewer_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  viewer_->setLineWrapMode(QPlainTextEdit::NoWrap);
  splitter->setStretchFactor(1, 2);
  layout->addWidget(splitter, 1);

  auto* bottom = new QHBoxLayout;
  name_label_ = NewNamed<TElidedLabel>("FileLabel", this, Qt::ElideMiddle);
  name_edit_ = NewNamed<QLineEdit>("FileName", this);
  name_edit_->setReadOnly(true);
  show_ = NamedButton(this, Tr("A&nzeigen", "Show"), "Show");
  wrap_ = NewNamed<QCheckBox>("WordWrap", Tr("&Zeilenumbruch", "&Word wrap"), this);
  auto* copy = NamedButton(this, Tr("Dateiname &kopieren", "Copy filename"), "Copy");
  auto* close = NamedButton(this, Tr("&Schließen", "&Close"), "Close");
  bottom->addWidget(name_edit_, 2);
  bottom->addWidget(show_);
  bottom->addWidget(wrap_);
  bottom->addWidget(copy);
  bottom->addWidget(close);
  layout->addWidget(name_label_);
  layout->addLayout(bottom);

  connect(show_, &QPushButton::clicked, this, [this] { ShowFile(); });
  connect(copy, &QPushButton::clicked, this, &TBrowserForm::CopyFileName);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(wrap_, &QCheckBox::toggled, this,
          [this](bool on) { viewer_->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap); });
  connect(filter_, &QComboBox::currentIndexChanged, this, &TBrowserForm::ApplyFilter);
  connect(location_, &QComboBox::textActivated, this, &TBrowserForm::SetFolder);
  connect(tree_, &QTreeView::clicked, this, [this](const QModelIndex& index) { SetFolder(folders_->filePath(index)); });
  connect(folders_, &QFileSystemModel::rowsInserted, this, &TBrowserForm::KeepFolderInView);
  connect(folders_, &QFileSystemModel::layoutChanged, this, &TBrowserForm::KeepFolderInView);
  connect(tree_->verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { following_ = false; });
  for (auto signal : {&QTreeView::expanded, &QTreeView::collapsed}) {
    connect(tree_, signal, this, [this] { following_ = following_ && opening_; });
  }
  connect(list_, &QListView::clicked, this,
          [this](const QModelIndex& index) { ChooseFile(files_->filePath(index).toStdString()); });
  connect(list_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
    ChooseFile(files_->filePath(index).toStdString());
    ShowFile();
  });

  ApplyFilter(0);
  QString start = QString::fromStdString(folder);
  if (!file_name_.empty() && QFileInfo(QString::fromStdString(file_name_)).isFile())
    start = QFileInfo(QString::fromStdString(file_name_)).absolutePath();
  SetFolder(start.isEmpty() ? QDir::homePath() : start);
  ChooseFile(file_name_);
}

void TBrowserForm::ApplyFilter(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kFilters))) return;
  files_->setNameFilters(QString(kFilters[index].patterns).split(' '));
}

void TBrowserForm::SetFolder(const QString& folder) {
  if (!QFileInfo(folder).isDir()) return;
  location_->setEditText(folder);
  // The tree opens down to the folder and shows it chosen.
  const QModelIndex at = folders_->index(folder);
  opening_ = true;
  for (QModelIndex above = at.parent(); above.isValid(); above = above.parent()) tree_->expand(above);
  opening_ = false;
  tree_->setCurrentIndex(at);
  following_ = true;
  KeepFolderInView();
  list_->setRootIndex(files_->setRootPath(folder));
}

void TBrowserForm::KeepFolderInView() {
  // The folders around the chosen one are read and sorted after the tree
  // was opened and push it out of sight: scroll it back, until the user
  // scrolls or opens a folder of the tree.
  if (following_ && tree_->currentIndex().isValid()) {
    tree_->scrollTo(tree_->currentIndex(), QAbstractItemView::EnsureVisible);
  }
}

void TBrowserForm::ChooseFile(const std::string& path) {
  // Only a regular file is chosen; anything else leaves the choice as it was.
  const QFileInfo info(QString::fromStdString(path));
  const bool file = !path.empty() && info.isFile();
  if (file) {
    file_name_ = path;
    list_->setCurrentIndex(files_->index(info.absoluteFilePath()));
  }
  name_label_->SetWholeText(QString::fromStdString(file_name_));
  name_edit_->setText(QString::fromStdString(file_name_));
  show_->setEnabled(!file_name_.empty());
}

bool TBrowserForm::ShowFile() {
  const std::string path = name_edit_->text().toStdString();
  const TFileView view = LoadFileView(path);
  if (!view.Ok) {
    ShowMessage(view.ErrorGerman, view.ErrorEnglish, MessageIcon::Error);
    return false;
  }
  QString text;
  for (const std::string& line : view.Lines) {
    text += QString::fromStdString(line);
    text += '\n';
  }
  if (!text.isEmpty()) text.chop(1);
  viewer_->setPlainText(text);
  if (view.TooLarge) ShowFileViewTooLarge();
  return true;
}

void TBrowserForm::CopyFileName() {
  if (!name_edit_->text().isEmpty()) QGuiApplication::clipboard()->setText(name_edit_->text());
}

void TBrowserForm::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    const auto within = [](std::int32_t v) { return static_cast<int>(std::clamp<std::int32_t>(v, -100000, 100000)); };
    QRect bounds(within(bounds_.X), within(bounds_.Y), std::max(200, within(bounds_.W)),
                 std::max(150, within(bounds_.H)));
    // Kept on an available screen.
    QScreen* screen = QGuiApplication::screenAt(bounds.center());
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
      const QRect area = screen->availableGeometry();
      bounds.setWidth(std::min(bounds.width(), area.width()));
      bounds.setHeight(std::min(bounds.height(), area.height()));
      bounds.moveLeft(std::clamp(bounds.left(), area.left(), area.right() - bounds.width() + 1));
      bounds.moveTop(std::clamp(bounds.top(), area.top(), area.bottom() - bounds.height() + 1));
    }
    setGeometry(bounds);
  }
  QDialog::showEvent(event);
}

void TBrowserForm::done(int result) {
  const QRect bounds = geometry();
  bounds_ = TBrowserBounds{bounds.x(), bounds.y(), bounds.width(), bounds.height()};
  QDialog::done(result);
}

bool ShowFileBrowser(const std::string& folder, std::string& fileName, TBrowserBounds& bounds, QWidget* owner) {
  TBrowserForm browser(folder, fileName, bounds, owner);
  const bool chosen = browser.exec() == QDialog::Accepted;
  bounds = browser.Bounds();
  if (chosen) fileName = browser.FileName();
  return chosen;
}

}  // namespace kvx
