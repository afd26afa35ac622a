#include "platform/qt/qt_help_viewer.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QUrl>
#include <QVBoxLayout>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>

#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

// A title in the list, indented by its level.
QString ListedTitle(const THelpSection& section) {
  return QString(2 * std::max(0, section.Level - 1), QLatin1Char(' ')) + QString::fromStdString(section.Title);
}

// The property in which a window shown while a menu command runs keeps the
// section of that command's menu (HelpFallbackSection at its last showing),
// for F1 after the command has returned (a window that stays open, a dialog
// opened without waiting for it).
constexpr const char* kHelpMenuSectionProperty = "helpMenuSection";

// The first value of `property` from `start` up through its window and the
// windows it belongs to; an owner window that is not shown (a form kept
// hidden for later) does not count.
QVariant FirstUp(QWidget* start, const char* property) {
  for (QWidget* widget = start; widget != nullptr; widget = widget->parentWidget()) {
    if (widget->isWindow() && widget != start->window() && !widget->isVisible()) continue;
    const QVariant value = widget->property(property);
    if (value.isValid()) return value;
  }
  return {};
}

// The help of the window in front: the first "helpContext" from its focus
// widget up (a dialog opened from another dialog gets that dialog's help),
// else the section of the menu whose command showed it or runs now, else
// the contents.
void ShowHelpOfWindow(QWidget& window) {
  QWidget* start = QApplication::focusWidget();
  if (start == nullptr || (start != &window && !window.isAncestorOf(start))) start = &window;
  if (ShowHelpContext(FirstUp(start, kHelpContextProperty))) return;
  const QVariant menu = FirstUp(&window, kHelpMenuSectionProperty);
  const std::string section = menu.isValid() ? menu.toString().toStdString() : HelpFallbackSection();
  if (section.empty()) {
    ShowHelpContents();
  } else {
    ShowHelpSection(section);
  }
}

// F1 in any window of the program but the main window (where F1 is the
// shortcut of "Contents") and the help's own windows: ShowHelpOfWindow.
// Also notes, in each window shown while a menu command runs, the section
// of that command's menu.
class HelpKeyFilter : public QObject {
 public:
  explicit HelpKeyFilter(QWidget* mainWindow) : main_(mainWindow) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType() && !HelpFallbackSection().empty()) {
      auto* window = static_cast<QWidget*>(watched);
      if (window->isWindow() && window != main_) {
        window->setProperty(kHelpMenuSectionProperty, QString::fromStdString(HelpFallbackSection()));
      }
    }
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
      return QObject::eventFilter(watched, event);
    }
    // The window the key went to; the window system delivers it to the
    // active one first.
    QWidget* front = watched->isWidgetType() ? static_cast<QWidget*>(watched)->window() : nullptr;
    if (front == nullptr) front = QApplication::activeModalWidget();
    if (front == nullptr) front = QApplication::activeWindow();
    if (front == nullptr || front == main_ || qobject_cast<THelpForm*>(front) != nullptr ||
        qobject_cast<THelpSearchDialog*>(front) != nullptr) {
      return QObject::eventFilter(watched, event);
    }
    ShowHelpOfWindow(*front);
    return true;
  }

 private:
  QWidget* main_;
};

// A picture standing alone on its line ("![description](file)") gets its
// description as a caption below it: the viewer shows every word of the
// guide.
std::string WithCaptions(const std::string& markdown) {
  std::string out;
  std::istringstream in(markdown);
  for (std::string line; std::getline(in, line);) {
    out += line;
    out += '\n';
    const std::size_t first = line.find_first_not_of(' ');
    const std::size_t last = line.find_last_not_of(" \r");
    if (first == std::string::npos || line.compare(first, 2, "![") != 0 || line[last] != ')') continue;
    const std::size_t close = line.find("](", first);
    if (close == std::string::npos || close <= first + 2) continue;
    out += "\n*" + line.substr(first + 2, close - first - 2) + "*\n";
  }
  return out;
}

// Shows a page of Markdown. Raw HTML is not interpreted, so that a text in
// angle brackets ("<ENTER>") shows as it stands: the guides use no HTML
// tag.
void ShowMarkdown(QTextEdit& view, const std::string& markdown) {
  view.document()->setMarkdown(
      QString::fromStdString(WithCaptions(markdown)),
      QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub | QTextDocument::MarkdownNoHTML));
  view.moveCursor(QTextCursor::Start);
}

}  // namespace

// --- the help window ----------------------------------------------------------------

THelpForm::THelpForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("HelpForm"));
  setWindowFlag(Qt::WindowMinMaxButtonsHint);
  resize(980, 680);
  auto* layout = new QVBoxLayout(this);
  auto* splitter = new QSplitter(this);
  topics_ = new QListWidget(splitter);
  topics_->setObjectName(QStringLiteral("HelpTopics"));
  text_ = new QTextEdit(splitter);
  text_->setObjectName(QStringLiteral("HelpText"));
  text_->setReadOnly(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
  text_->viewport()->installEventFilter(this);
  splitter->addWidget(topics_);
  splitter->addWidget(text_);
  splitter->setStretchFactor(1, 3);
  splitter->setSizes({260, 720});
  layout->addWidget(splitter, 1);
  auto* buttons = new QHBoxLayout;
  search_ = new QPushButton(this);
  search_->setObjectName(QStringLiteral("HelpSearch"));
  how_to_ = new QPushButton(this);
  how_to_->setObjectName(QStringLiteral("HelpHowToUse"));
  close_ = new QPushButton(this);
  close_->setObjectName(QStringLiteral("HelpClose"));
  buttons->addWidget(search_);
  buttons->addWidget(how_to_);
  buttons->addStretch(1);
  buttons->addWidget(close_);
  layout->addLayout(buttons);
  connect(topics_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0 && row != shown_) ShowSection(static_cast<std::size_t>(row));
  });
  connect(search_, &QPushButton::clicked, this, &THelpForm::SearchClick);
  connect(how_to_, &QPushButton::clicked, this, [this] { ShowPage(HowToUseHelpText(LanguageEnglish != 0)); });
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
  SetCaptions();
}

void THelpForm::SetCaptions() {
  setWindowTitle(Tr("Hilfe", "Help"));
  search_->setText(Tr("&Suchen...", "&Search..."));
  how_to_->setText(Tr("&Hilfe benutzen", "&Using help"));
  close_->setText(Tr("S&chließen", "C&lose"));
}

QTextEdit* THelpForm::Viewer() const { return text_; }

bool THelpForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == text_->viewport() && event->type() == QEvent::MouseButtonRelease) {
    const QString anchor = text_->anchorAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (!anchor.isEmpty()) {
      FollowLink(anchor);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void THelpForm::SetPictureFolder(const std::string& folder) { pictures_ = folder; }

// The pictures of a page ("![...](name)") go into the document as resources
// before it is shown, read from the picture folder; the viewer then loads
// no file itself (which would show the hourglass).
void THelpForm::AddPictures(const std::string& markdown) {
  for (std::size_t at = markdown.find("]("); at != std::string::npos; at = markdown.find("](", at + 2)) {
    const std::size_t open = markdown.rfind("![", at);
    const std::size_t end = markdown.find(')', at);
    if (open == std::string::npos || end == std::string::npos || markdown.find(']', open) != at) continue;
    const QString name = QString::fromStdString(markdown.substr(at + 2, end - at - 2));
    const QImage image(QString::fromStdString((std::filesystem::path(pictures_) / name.toStdString()).string()));
    if (!image.isNull()) text_->document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
  }
}

void THelpForm::FollowLink(const QString& link) {
  const std::string anchor = QUrl(link).fragment().toStdString();
  if (const std::optional<std::size_t> index = FindHelpAnchor(sections_, anchor)) ShowSection(*index);
}

void THelpForm::SetSections(std::vector<THelpSection> sections) {
  sections_ = std::move(sections);
  shown_ = -1;
  topics_->clear();
  for (const THelpSection& section : sections_) topics_->addItem(ListedTitle(section));
  if (!sections_.empty()) ShowSection(0);
}

void THelpForm::ShowSection(std::size_t index) {
  if (index >= sections_.size()) return;
  shown_ = static_cast<int>(index);
  ShowMarkdown(*text_, sections_[index].Text);
  AddPictures(sections_[index].Text);
  // The page was laid out before its pictures were known (a picture without
  // its size covers the lines above it): lay it out again with their sizes.
  QTextDocument* document = text_->document();
  document->markContentsDirty(0, document->characterCount());
  topics_->setCurrentRow(shown_);
  topics_->scrollToItem(topics_->item(shown_));
}

void THelpForm::ShowPage(const std::string& markdown) {
  shown_ = -1;
  topics_->setCurrentRow(-1);
  ShowMarkdown(*text_, markdown);
}

std::string THelpForm::ShownTitle() const {
  return shown_ >= 0 ? sections_[static_cast<std::size_t>(shown_)].Title : std::string();
}

std::string THelpForm::ShownAnchor() const {
  return shown_ >= 0 ? sections_[static_cast<std::size_t>(shown_)].Anchor : std::string();
}

void THelpForm::SearchClick() {
  THelpSearchDialog search(sections_, this, places_);
  if (search.exec() == QDialog::Accepted && search.Chosen() >= 0) {
    ShowSection(static_cast<std::size_t>(search.Chosen()));
  }
}

// --- the search dialog ------------------------------------------------------------------

THelpSearchDialog::THelpSearchDialog(const std::vector<THelpSection>& sections, QWidget* parent, THelpPlaceNames places)
    : QDialog(parent), sections_(sections), search_(sections, std::move(places)) {
  setObjectName(QStringLiteral("HelpSearchDialog"));
  setWindowTitle(Tr("Hilfe durchsuchen", "Search help"));
  resize(460, 420);
  auto* layout = new QVBoxLayout(this);
  keyLabel_ = new QLabel(Tr("&Suchbegriff:", "&Search for:"), this);
  key_ = new QLineEdit(this);
  key_->setObjectName(QStringLiteral("HelpKey"));
  keyLabel_->setBuddy(key_);
  matchesLabel_ = new QLabel(this);
  matchesLabel_->setObjectName(QStringLiteral("HelpMatchesCaption"));
  matchesLabel_->setWordWrap(true);
  matches_ = new QListWidget(this);
  matches_->setObjectName(QStringLiteral("HelpMatches"));
  matchesLabel_->setBuddy(matches_);
  layout->addWidget(keyLabel_);
  layout->addWidget(key_);
  layout->addWidget(matchesLabel_);
  layout->addWidget(matches_, 1);
  auto* buttons = new QHBoxLayout;
  show_ = new QPushButton(Tr("&Anzeigen", "&Show"), this);
  show_->setObjectName(QStringLiteral("HelpShow"));
  show_->setDefault(true);
  cancel_ = new QPushButton(Tr("&Abbrechen", "&Cancel"), this);
  buttons->addStretch(1);
  buttons->addWidget(show_);
  buttons->addWidget(cancel_);
  layout->addLayout(buttons);
  connect(key_, &QLineEdit::textChanged, this, &THelpSearchDialog::Refill);
  connect(matches_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  connect(show_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  Refill();
}

namespace {

// Words of the key for a label: as typed, in quotes, a '&' shown as such.
QString QuotedWords(const std::vector<std::string>& words) {
  QStringList list;
  for (const std::string& word : words) list << QString::fromStdString(word);
  return QLatin1Char('"') + list.join(QLatin1Char(' ')).replace(QLatin1Char('&'), QStringLiteral("&&")) +
         QLatin1Char('"');
}

// The caption above the list: what was found, what not, or that the list
// holds the contents because nothing was.
QString MatchesCaption(const THelpFindings& findings, bool contents) {
  if (contents) {
    return Tr("Kein Abschnitt enthält %1. Das &Inhaltsverzeichnis:", "No section contains %1. The &contents:")
        .arg(QuotedWords(findings.Unknown));
  }
  if (!findings.Unknown.empty()) {
    return Tr("Kein Abschnitt enthält %1; &gefunden für die übrigen Wörter:",
              "No section contains %1; sections &found for the other words:")
        .arg(QuotedWords(findings.Unknown));
  }
  if (!findings.AllWords) {
    return Tr("Kein Abschnitt enthält alle Wörter; Abschnitte mit den &meisten:",
              "No section contains all the words; sections with &most of them:");
  }
  return Tr("&Gefundene Abschnitte:", "Sections &found:");
}

}  // namespace

// A key the guide holds nowhere lists the contents instead, so that the
// reader can go on from there.
void THelpSearchDialog::Refill() {
  const THelpFindings findings = search_.Search(key_->text().toStdString());
  found_ = findings.Sections;
  const bool contents = found_.empty();
  if (contents) {
    found_.resize(sections_.size());
    std::iota(found_.begin(), found_.end(), std::size_t{0});
  }
  matches_->clear();
  for (std::size_t index : found_) {
    matches_->addItem(contents ? ListedTitle(sections_[index]) : QString::fromStdString(sections_[index].Title));
  }
  matchesLabel_->setText(MatchesCaption(findings, contents));
  if (!found_.empty()) matches_->setCurrentRow(0);
  show_->setEnabled(!found_.empty());
}

int THelpSearchDialog::Chosen() const {
  const int row = matches_->currentRow();
  return row >= 0 && static_cast<std::size_t>(row) < found_.size()
             ? static_cast<int>(found_[static_cast<std::size_t>(row)])
             : -1;
}

// --- the viewer on the seam -----------------------------------------------------------

QtHelpViewer::QtHelpViewer(std::string helpFile, QWidget* parent)
    : file_(std::move(helpFile)), parent_(parent), f1_(new HelpKeyFilter(parent)) {
  QApplication::instance()->installEventFilter(f1_);
}

QtHelpViewer::~QtHelpViewer() {
  delete f1_;
  delete kept_;
}

THelpForm* QtHelpViewer::Prepare() {
  std::ifstream in(file_, std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  if (!in || text.str().empty()) {
    ShowMessage("Die Hilfedatei " + file_ + " kann nicht gelesen werden.",
                "The help file " + file_ + " cannot be read.", MessageIcon::Error);
    return nullptr;
  }
  THelpForm* form = nullptr;
  QWidget* modal = QApplication::activeModalWidget();
  if (modal != nullptr && modal != kept_) {
    form = new THelpForm(modal);  // freed by Present or Discard
  } else {
    if (kept_ == nullptr) kept_ = new THelpForm(parent_);
    form = kept_;
  }
  form->SetCaptions();
  form->SetPictureFolder(std::filesystem::path(file_).parent_path().string());
  form->SetPlaceNames(places_);
  // The kept window keeps its place in an unchanged text.
  if (form != kept_ || text.str() != kept_text_) form->SetSections(SplitHelpSections(text.str()));
  if (form == kept_) kept_text_ = text.str();
  last_ = form;
  return form;
}

void QtHelpViewer::Present(THelpForm* form) {
  if (form != kept_) {
    form->exec();
    Discard(form);
    return;
  }
  form->show();
  form->raise();
  form->activateWindow();
}

void QtHelpViewer::Discard(THelpForm* form) {
  if (form == kept_) return;
  if (last_ == form) last_ = kept_;
  delete form;
}

void QtHelpViewer::ShowContents() {
  if (THelpForm* form = Prepare()) Present(form);
}

void QtHelpViewer::ShowSearch() {
  THelpForm* form = Prepare();
  if (form == nullptr) return;
  QWidget* owner = QApplication::activeModalWidget();
  THelpSearchDialog search(form->Sections(), owner != nullptr ? owner : parent_, places_);
  if (search.exec() != QDialog::Accepted || search.Chosen() < 0) {
    Discard(form);
    return;
  }
  form->ShowSection(static_cast<std::size_t>(search.Chosen()));
  Present(form);
}

void QtHelpViewer::ShowHowToUse() {
  THelpForm* form = Prepare();
  if (form == nullptr) return;
  form->ShowPage(HowToUseHelpText(LanguageEnglish != 0));
  Present(form);
}

void QtHelpViewer::ShowTopic(int topic) {
  const char* anchor = HelpTopicAnchor(topic);
  ShowSection(anchor != nullptr ? anchor : "");
}

void QtHelpViewer::ShowSection(const std::string& anchor) {
  THelpForm* form = Prepare();
  if (form == nullptr) return;
  const std::optional<std::size_t> index = FindHelpAnchor(form->Sections(), anchor);
  form->ShowSection(index.value_or(0));
  Present(form);
}

}  // namespace kvx
