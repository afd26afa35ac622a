// Every enabled menu command of the main window in turn, as a user who
// answers each dialog with its default button would run them, in German,
// then in English, then once more cancelling every dialog: no crash, no
// hang, no "nan"/"inf" shown anywhere (sheet, result grid, dialogs,
// messages, status line) and the window usable again after each command
// (enabled, no modal window left, no hourglass). F1 in every dialog met, in
// each language, opens the help on top of it at a section of the guide of
// that language which names the dialog's caption, from the help context
// the dialog names itself (Qt's own dialogs apart). Each item greyed after the
// start is named in each guide's section on greyed items.
//
// Bounds: a watchdog ends the run when one command takes longer than
// kCommandLimitSeconds; a computation that reports progress is cancelled
// after kProgressBudgetMs; within one command the first kAcceptsPerCommand
// modal windows are accepted, later ones rejected (a dialog that re-opens
// after a refused input ends that way).
//
// Skipped: "FileExitItem" ends the program, "EnglischeVersion1" switches the
// language between the passes, the two external-program items start
// another program (the search for one is not installed, so they stay
// hidden too). Hidden items are not reachable by a user and are left out.
// The asteroid-database builder's and the position-database tool's dialogs
// are only opened and closed: their default buttons start runs of many
// minutes (the whole shipped file, a century of daily positions).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QColor>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/menu_table.h"
#include "app/ui/catalogue_loader.h"
#include "app/ui/legend_dialog.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/settings_commands.h"
#include "app/ui/tip_dialog.h"
#include "core/name_tables.h"
#include "engine/mystringgrid.h"
#include "platform/ascii_case.h"
#include "platform/color_chooser.h"
#include "platform/desktop_opener.h"
#include "platform/file_dialog.h"
#include "platform/folder_chooser.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/workbook_view.h"
#include "platform/settings_store.h"
#include "platform/workbook/workbook.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/qt/shown_texts.h"
#include "support/recording_color_chooser.h"
#include "support/recording_desktop_opener.h"
#include "support/recording_file_dialog.h"
#include "support/recording_folder_chooser.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

constexpr int kCommandLimitSeconds = 120;
constexpr int kProgressBudgetMs = 1000;
constexpr int kAcceptsPerCommand = 3;
constexpr int kAnswersPerCommand = 40;

// "nan", "inf", "-nan", "infinity" standing as a word of their own, and
// the integer a NaN turns into when converted.
bool ShowsNonNumber(const std::string& text) {
  if (text.find("-2147483648") != std::string::npos) return true;
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  const std::string lower = AsciiLower(text);
  for (const std::string word : {"nan", "inf", "infinity"}) {
    for (std::size_t at = lower.find(word); at != std::string::npos; at = lower.find(word, at + 1)) {
      const bool before = at == 0 || !letter(lower[at - 1]);
      const bool after = at + word.size() == lower.size() || !letter(lower[at + word.size()]);
      if (before && after) return true;
    }
  }
  return false;
}

// Ends the process when one command runs past its limit (a hang holds the
// GUI thread, so only another thread can tell).
class Watchdog {
 public:
  Watchdog()
      : thread_([this] {
          while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            std::lock_guard<std::mutex> lock(mutex_);
            if (!command_.empty() && std::chrono::steady_clock::now() > deadline_) {
              std::fprintf(stderr, "menu walk: \"%s\" still runs after %d s\n", command_.c_str(), kCommandLimitSeconds);
              std::fflush(stderr);
              std::abort();
            }
          }
        }) {}
  ~Watchdog() {
    stop_ = true;
    thread_.join();
  }
  void Start(const std::string& command) {
    std::lock_guard<std::mutex> lock(mutex_);
    command_ = command;
    deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(kCommandLimitSeconds);
  }
  void Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    command_.clear();
  }

 private:
  std::mutex mutex_;
  std::string command_;
  std::chrono::steady_clock::time_point deadline_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Progress that keeps the window responsive and presses cancel once a run
// has taken its budget.
class BoundedProgress : public ProgressReporter {
 public:
  void Begin(const std::string&, int) override {
    clock_.start();
    active_ = true;
  }
  void Step(int) override {
    ProcessEvents();
    if (active_ && clock_.elapsed() > kProgressBudgetMs && AbortRequested == 0) {
      AbortRequested = 1;
      ++cancelled;
    }
  }
  void ProcessEvents() override { QApplication::processEvents(); }
  void SetLabel(const std::string&) override {}
  void End() override { active_ = false; }
  bool Visible() const override { return active_; }

  int cancelled = 0;

 private:
  QElapsedTimer clock_;
  bool active_ = false;
};

// Answers every message with its default button, except that with
// `declining` a question is answered No (the save question before the view
// switch, so that the walk reaches the result grid too).
class WalkMessages : public RecordingMessageSink {
 public:
  MessageResult Show(const std::string& text, const std::string& caption, MessageIcon icon,
                     MessageButtons buttons) override {
    const MessageResult answer = RecordingMessageSink::Show(text, caption, icon, buttons);
    return declining && buttons != MessageButtons::Ok ? MessageResult::No : answer;
  }
  bool declining = false;
};

// Texts a user sees in a window: labels, edits, item views, text boxes.
void CollectShownTexts(QWidget& window, std::vector<std::string>& out) {
  for (auto* label : window.findChildren<QLabel*>()) out.push_back(label->text().toStdString());
  for (auto* edit : window.findChildren<QLineEdit*>()) out.push_back(edit->text().toStdString());
  for (auto* edit : window.findChildren<QPlainTextEdit*>()) out.push_back(edit->toPlainText().toStdString());
  for (auto* edit : window.findChildren<QTextEdit*>()) out.push_back(edit->toPlainText().toStdString());
  for (auto* box : window.findChildren<QComboBox*>()) out.push_back(box->currentText().toStdString());
  for (auto* view : window.findChildren<QAbstractItemView*>()) {
    const QAbstractItemModel* model = view->model();
    if (model == nullptr) continue;
    const int rows = std::min(model->rowCount(), 2000);
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < std::min(model->columnCount(), 200); ++c) {
        out.push_back(model->data(model->index(r, c)).toString().toStdString());
      }
    }
  }
}

// Texts that show the other language's words on purpose: the help's names
// of files, theories and formats, the sheets of a new workbook are named
// "Sheet1".. in both, a sheet inserted before a switch keeps its name
// ("Tabelle1"), and a free quantity slot is marked "Neu/New".
bool ShownInBothLanguages(const std::string& where, const std::string& text) {
  static const QRegularExpression sheetName(QStringLiteral("^(Sheet|Tabelle)\\d+(!.*)?$"));
  return where == "HelpTopics" || where == "HelpText" || where == "HelpMatches" ||
         sheetName.match(QString::fromStdString(text)).hasMatch() || text.find("Neu/New") != std::string::npos;
}

// The texts of `window` in the other language than the current one, each
// as "label [title] where: text". The result grid and the sheet tabs are left
// to CollectForeignTableTexts: a table keeps the language it was made in.
void CollectForeignTexts(const QWidget& window, const std::string& label, std::set<std::string>& out) {
  const bool english = LanguageEnglish != 0;
  for (const test::TShownText& shown : test::ShownTexts(window)) {
    if (shown.where == "mystringgrid1" || shown.where == "QHeaderView" || shown.where == "QTabBar") continue;
    if (ShownInBothLanguages(shown.where, shown.text)) continue;
    if (!test::WordsOfOtherLanguage(shown.text, english).empty()) {
      out.insert(label + " [" + window.windowTitle().toStdString() + "] " + shown.where + ": \"" + shown.text + "\"");
    }
  }
}

// The sheet names and the first rows of the sheet and the result grid, as
// "where: text".
std::set<std::string> TableTexts(TMainForm& form) {
  std::set<std::string> texts;
  const workbook::TWorkbook& book = form.Workbook();
  for (int s = 1; s <= book.NumSheets(); ++s) texts.insert("sheet name: " + book.SheetName(s));
  for (int row = 1; row <= std::min(book.LastRow(), 3); ++row) {
    for (int col = 1; col <= std::min(book.LastCol(), 60); ++col) texts.insert("sheet: " + book.Text(row, col));
  }
  const tmystringgrid& grid = form.Grid();
  for (int row = 0; row < std::min(grid.RowCount(), 3); ++row) {
    for (int col = 0; col < std::min(grid.ColCount(), 60); ++col) texts.insert("grid: " + grid.Cells(col, row));
  }
  return texts;
}

// The table texts a command wrote (not in `before`) in the other language.
void CollectForeignTableTexts(TMainForm& form, const std::set<std::string>& before, const std::string& label,
                              std::set<std::string>& out) {
  for (const std::string& text : TableTexts(form)) {
    if (before.count(text) != 0 || ShownInBothLanguages("", text.substr(text.find(": ") + 2))) continue;
    if (!test::WordsOfOtherLanguage(text, LanguageEnglish != 0).empty()) out.insert(label + " " + text);
  }
}

// A caption or a section's Markdown as running text: emphasis marks and
// escapes left out, line breaks and runs of blanks as one blank.
std::string FlatText(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '*' || c == '`') continue;
    if (c == '\\' && i + 1 < text.size()) continue;
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      if (!out.empty() && out.back() != ' ') out += ' ';
      continue;
    }
    out += c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// Windows (by class) whose F1 section need not name their caption, with the
// reason; F1 still opens a section.
const std::map<std::string, std::string> kF1Exceptions = {
    {"kvx::Teinzelephform", "the caption names the body (\"Ephemeride für Mars\"); one section serves every body"},
    {"kvx::TAboutBox", "the caption is the program's name and version"},
    {"QFontDialog", "Qt's font dialog, captioned by Qt"},
};

// Windows that Qt makes (the program cannot name their help): its font,
// print and page dialogs, and the message boxes those raise. The program's
// own messages go through the message seam.
bool MadeByQt(const QWidget& window) {
  static const std::set<std::string> dialogs = {"QFontDialog", "QPrintDialog", "QPageSetupDialog"};
  const std::string name = window.metaObject()->className();
  if (dialogs.count(name) != 0) return true;
  const QWidget* owner = window.parentWidget() != nullptr ? window.parentWidget()->window() : nullptr;
  return name == "QMessageBox" && owner != nullptr && dialogs.count(owner->metaObject()->className()) != 0;
}

// The help F1 in `window` opened: a section of the guide of the program's
// language that names the window's caption, from a help context the
// window names itself (not one it borrows from its owner or its menu);
// "" when it is, else the fault. Notes "language class "caption" ->
// anchor" in `shown`.
std::string F1Fault(QWidget& window, const THelpForm& help, std::set<std::string>& shown) {
  const std::string caption = FlatText(window.windowTitle().toStdString());
  const std::string owner = std::string(window.metaObject()->className()) + " \"" + caption + "\"";
  const std::optional<std::size_t> section = FindHelpAnchor(help.Sections(), help.ShownAnchor());
  shown.insert((LanguageEnglish != 0 ? "en " : "de ") + owner + " -> " + help.ShownAnchor());
  const bool german = !help.Sections().empty() && help.Sections().front().Title.find("Benutzerhandbuch") == 0;
  if (german != (LanguageEnglish == 0)) return "F1 in " + owner + " shows the other language";
  if (!section) return "F1 in " + owner + " opens the guide's first page, not a section";
  if (!MadeByQt(window) && HelpContextAnchor(window).empty()) {
    return owner + " names no help context of its own (F1 opens \"" + help.ShownTitle() + "\")";
  }
  if (kF1Exceptions.count(window.metaObject()->className()) != 0) return {};
  if (FlatText(help.Sections()[*section].Text).find(caption) == std::string::npos) {
    return "F1 in " + owner + " opens \"" + help.ShownTitle() + "\", which does not name the caption";
  }
  return {};
}

// A dialog and the help F1 opened on top of it, side by side in one picture.
void SaveSideBySide(QWidget& dialog, QWidget& help, const std::string& name) {
  const QImage left = dialog.grab().toImage();
  const QImage right = help.grab().toImage();
  QImage both(left.width() + right.width() + 8, std::max(left.height(), right.height()), QImage::Format_RGB32);
  both.fill(QColor(128, 128, 128));
  QPainter painter(&both);
  painter.drawImage(0, 0, left);
  painter.drawImage(left.width() + 8, 0, right);
  painter.end();
  const std::filesystem::path folder = std::filesystem::path(KVX_BINARY_DIR) / "test-output";
  std::filesystem::create_directories(folder);
  both.save(QString::fromStdString((folder / (name + ".png")).string()));
}

// Answers the modal window on top from a repeating timer, so it also runs
// inside the dialogs' own event loops.
class ModalAnswerer {
 public:
  ModalAnswerer() {
    timer_.setInterval(15);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start();
  }
  // `acceptNone`: every modal window of the command is rejected.
  void NewCommand(const std::string& command, bool acceptNone = false) {
    command_ = command;
    answers_ = 0;
    accept_none_ = acceptNone;
  }
  int Answers() const { return answers_; }
  std::vector<std::string> faults;
  std::set<std::string> helped;  // "dialog class -> section anchor" of every help button pressed
  std::set<std::string> f1Shown;  // "language dialog class "caption" -> section anchor" of every F1 pressed
  std::set<std::string> windows;  // "command: title" of every modal window met
  std::set<std::string> foreign;  // texts in the other language

 private:
  // The dialog's help button: German, visible and enabled; none in English.
  QAbstractButton* HelpButton(QWidget& modal) {
    for (auto* button : modal.findChildren<QAbstractButton*>()) {
      const QString text = button->text().remove(QLatin1Char('&'));
      if (!button->isVisible() || (text != QLatin1String("Hilfe") && text != QLatin1String("Help"))) continue;
      if (LanguageEnglish != 0) {
        faults.push_back(command_ + ": the English dialog \"" + modal.windowTitle().toStdString() +
                         "\" shows a help button");
        return nullptr;
      }
      if (button->isEnabled()) return button;
    }
    return nullptr;
  }

  // The help a help button opened on top of its dialog: the section of the
  // dialog's topic, from the guide of the program's language.
  void CheckHelp(THelpForm& help) {
    QWidget* dialog = help.parentWidget();
    const std::string owner =
        dialog != nullptr ? dialog->metaObject()->className() + (" " + dialog->windowTitle().toStdString()) : "(none)";
    const std::string anchor = dialog != nullptr ? HelpContextAnchor(*dialog) : std::string();
    helped.insert(owner + " -> " + help.ShownAnchor());
    if (anchor.empty()) {
      faults.push_back(command_ + ": the help button of " + owner + " names no known topic");
    } else if (help.ShownAnchor() != anchor) {
      faults.push_back(command_ + ": the help of " + owner + " shows \"" + help.ShownTitle() + "\", not " + anchor);
    }
    const bool german = !help.Sections().empty() && help.Sections().front().Title.find("Benutzerhandbuch") == 0;
    if (german != (LanguageEnglish == 0)) faults.push_back(command_ + ": the help of " + owner + " speaks the other language");
    help.reject();
  }

  // F1 pressed in `modal` as a user would (to the widget with the focus):
  // the help comes up on top of it and is checked by CheckF1Help.
  void PressF1(QWidget& modal) {
    f1_owner_ = &modal;
    f1_seen_ = false;
    QWidget* target = modal.focusWidget() != nullptr ? modal.focusWidget() : &modal;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    if (!f1_seen_) faults.push_back(command_ + ": F1 in \"" + modal.windowTitle().toStdString() + "\" opened no help");
    f1_owner_ = nullptr;
  }

  // The help F1 opened on top of the dialog.
  void CheckF1Help(THelpForm& help) {
    f1_seen_ = true;
    QWidget& dialog = *f1_owner_;
    const std::string fault = F1Fault(dialog, help, f1Shown);
    if (!fault.empty()) faults.push_back(command_ + ": " + fault);
    if (dialog.objectName() == QLatin1String("Zeitraumform")) {
      SaveSideBySide(dialog, help, std::string("f1_help_") + (LanguageEnglish != 0 ? "en" : "de") + "_period");
    }
    help.reject();
  }

  void Tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    if (auto* help = qobject_cast<THelpForm*>(modal)) return f1_owner_ != nullptr ? CheckF1Help(*help) : CheckHelp(*help);
    // A window whose button runs right now (a search started by its OK)
    // is left alone; message boxes it opens are answered.
    for (const QPointer<QWidget>& w : answering_) {
      if (w == modal) return;
    }
    ++answers_;
    const std::string title = modal->windowTitle().toStdString();
    if (windows.insert(title + " <" + modal->metaObject()->className() + ">").second) {
      std::string name = "walk_" + std::string(LanguageEnglish ? "en_" : "de_") + command_;
      if (answers_ > 1) name += "_" + std::to_string(answers_);
      test::SavePng(*modal, name, test::FolderViews(*modal));
    }
    std::vector<std::string> texts;
    CollectShownTexts(*modal, texts);
    for (const std::string& text : texts) {
      if (ShowsNonNumber(text)) faults.push_back(command_ + ": dialog \"" + title + "\" shows \"" + text + "\"");
    }
    CollectForeignTexts(*modal, command_, foreign);
    if (answers_ > kAnswersPerCommand) {
      faults.push_back(command_ + ": modal windows keep coming (\"" + title + "\")");
    }
    const bool accept = !accept_none_ && answers_ <= kAcceptsPerCommand;
    answering_.emplace_back(modal);
    // Each dialog's help button once, before it is answered.
    QPointer<QAbstractButton> help = HelpButton(*modal);
    const std::string dialog = std::string(modal->metaObject()->className()) + " " + title;
    if (help != nullptr && !helped_.insert(dialog).second) help = nullptr;
    // F1 once in each dialog (class and caption) and language.
    const bool f1 = qobject_cast<THelpSearchDialog*>(modal) == nullptr &&
                    f1_done_.insert((LanguageEnglish != 0 ? "en " : "de ") + dialog).second;
    QTimer::singleShot(0, modal, [this, modal, accept, help, f1] {
      if (help != nullptr) help->click();
      if (f1) PressF1(*modal);
      if (accept) {
        Accept(*modal);
      } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
      } else {
        modal->close();
      }
      std::erase_if(answering_, [modal](const QPointer<QWidget>& w) { return w.isNull() || w.data() == modal; });
    });
  }

  static void Accept(QWidget& modal) {
    auto usable = [](QAbstractButton* b) { return b->isVisible() && b->isEnabled(); };
    for (auto* button : modal.findChildren<QPushButton*>()) {
      if (button->isDefault() && usable(button)) return button->click();
    }
    for (auto* box : modal.findChildren<QDialogButtonBox*>()) {
      QPushButton* ok = box->button(QDialogButtonBox::Ok);
      if (ok != nullptr && usable(ok)) return ok->click();
    }
    for (auto* button : modal.findChildren<QPushButton*>()) {
      QString text = button->text().remove(QLatin1Char('&')).trimmed();
      if ((text.compare(QLatin1String("OK"), Qt::CaseInsensitive) == 0) && usable(button)) return button->click();
    }
    if (auto* dialog = qobject_cast<QDialog*>(&modal)) return dialog->accept();
    modal.close();
  }

  QTimer timer_;
  std::string command_;
  int answers_ = 0;
  std::vector<QPointer<QWidget>> answering_;
  bool accept_none_ = false;
  std::set<std::string> helped_;  // the dialogs (class and title) whose help button was pressed
  std::set<std::string> f1_done_;  // language, class and title of the dialogs F1 was pressed in
  QPointer<QWidget> f1_owner_;     // the dialog F1 is pressed in now
  bool f1_seen_ = false;
};

class MenuWalk : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 1;
    store_.WriteString("Settings", "Language", "0");  // German first
  }
  void TearDown() override { LanguageEnglish = 1; }
};

// The texts of the current sheet and of the result grid that show a
// non-number, at most a few.
std::vector<std::string> NonNumbersInTables(TMainForm& form) {
  std::vector<std::string> found;
  const workbook::TWorkbook& book = form.Workbook();
  const int lastRow = std::min(book.LastRow(), 5000);
  const int lastCol = std::min(book.LastCol(), 300);
  for (int row = 1; row <= lastRow && found.size() < 3; ++row) {
    for (int col = 1; col <= lastCol && found.size() < 3; ++col) {
      const std::string text = book.Text(row, col);
      if (ShowsNonNumber(text)) found.push_back("sheet R" + std::to_string(row) + "C" + std::to_string(col) + " \"" + text + "\"");
      // A written value is never shown as "####" (its column too narrow).
      if (form.WorkbookView() != nullptr && !text.empty() && text[0] != '#' &&
          form.WorkbookView()->Canvas()->ShownText(row, col).startsWith('#')) {
        found.push_back("sheet R" + std::to_string(row) + "C" + std::to_string(col) + " too narrow for \"" + text +
                        "\"");
      }
    }
  }
  const tmystringgrid& grid = form.Grid();
  for (int row = 0; row < std::min(grid.RowCount(), 5000) && found.size() < 6; ++row) {
    for (int col = 0; col < grid.ColCount() && found.size() < 6; ++col) {
      if (ShowsNonNumber(grid.Cells(col, row))) {
        found.push_back("grid R" + std::to_string(row) + "C" + std::to_string(col) + " \"" + grid.Cells(col, row) + "\"");
      }
    }
  }
  return found;
}

// The commands of the menu bar's items in menu order, each once.
std::vector<std::string> MenuCommandsInOrder() {
  std::vector<std::string> names;
  std::set<std::string> seen;
  for (const TMenuRow& row : MenuTable()) {
    if (row.Kind != TMenuRowKind::Item || row.Command[0] == '\0') continue;
    if (seen.insert(row.Command).second) names.emplace_back(row.Command);
  }
  return names;
}

// Each item of the menu bar that is greyed after the start is named, under
// its caption, in the section of each guide that says why and what enables it.
void ExpectGreyedItemsExplained(TMenuCommands& commands) {
  for (const bool english : {false, true}) {
    std::ifstream in(std::filesystem::path(KVX_BINARY_DIR "/share/kandrevoltinex/data") / HelpFileName(english),
                     std::ios::binary);
    std::ostringstream guide;
    guide << in.rdbuf();
    const std::vector<THelpSection> sections = SplitHelpSections(guide.str());
    const std::optional<std::size_t> at = FindHelpAnchor(sections, "greyed-items");
    ASSERT_TRUE(at.has_value()) << english;
    const std::string& text = sections[*at].Text;
    std::set<std::string> menus;  // the menu bar's menus and their sub-menus
    int greyed = 0;
    for (const TMenuRow& row : MenuTable()) {
      const bool inBar = row.Parent[0] == '\0' || menus.count(row.Parent) != 0;
      if (row.Kind == TMenuRowKind::Menu && inBar) menus.insert(row.Name);
      if (row.Kind != TMenuRowKind::Item || row.Command[0] == '\0' || menus.count(row.Parent) == 0) continue;
      const QAction* action = commands.Action(row.Command);
      if (commands.IsEnabled(row.Command) || action == nullptr || !action->isVisible()) continue;
      ++greyed;
      std::string caption;
      for (const char* c = RowCaption(row, english); *c != '\0'; ++c) {
        if (*c != '&') caption += *c;
      }
      EXPECT_NE(text.find(caption), std::string::npos) << (english ? "en " : "de ") << row.Name << " \"" << caption << "\"";
    }
    EXPECT_GE(greyed, 5) << english;
  }
}

TEST_F(MenuWalk, EveryEnabledCommandRunsToItsEndInBothLanguages) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  InstallBackgroundLoading(form);
  // Seeded draws, so that the tips the pictures show are the same each run.
  TTipComponents* tips = InstallTipsOfTheDay(form);
  for (TTipOfTheDay* tip : {&tips->German, &tips->English}) {
    tip->Random = [engine = std::mt19937(20261208)](std::size_t count) mutable {
      return std::uniform_int_distribution<std::size_t>(0, count - 1)(engine);
    };
  }
  InstallLegendCommand(form);
  WalkMessages messages;
  ScopedMessageSink sink(messages);
  test::RecordingFileDialog files;
  ScopedFileDialog fileDialogs(files);
  RecordingFolderChooser folders;
  FolderChooser* previousFolders = SetFolderChooser(&folders);
  test::RecordingColorChooser colors;
  ScopedColorChooser colorChooser(colors);
  RecordingDesktopOpener desktop;
  ScopedDesktopOpener opener(desktop);
  BoundedProgress progress;
  ProgressReporter* previousProgress = SetProgressReporter(&progress);
  Watchdog watchdog;
  ModalAnswerer answerer;
  answerer.NewCommand("start");
  watchdog.Start("start");
  ShowForm(form);
  watchdog.Stop();
  ASSERT_FALSE(form.Halted());
  ExpectGreyedItemsExplained(form.Commands());

  const std::set<std::string> skipped = {"FileExitItem", "EnglischeVersion1", "ExternesProgramm1",
                                         "ExternesProgrammstarten1_"};
  // Tools whose default button starts a run of many minutes over the whole
  // shipped file (without the progress seam): their dialogs are only
  // opened and closed.
  const std::set<std::string> closedOnly = {"BahnelementeDatenbanktool1", "Datenbankenerstellen1"};
  TMenuCommands& commands = form.Commands();
  std::vector<std::string> faults;
  std::vector<std::pair<double, std::string>> durations;
  std::set<std::string> toolWindowsHelped;  // language, class and title of the tool windows F1 was pressed in
  int run = 0;
  int longestSheet = 0, longestGrid = 0;
  // The view switch ends each pass, so that a pass runs in one view: the
  // sheet-only commands, greyed in the result grid, run in the sheet.
  std::vector<std::string> order = MenuCommandsInOrder();
  std::stable_partition(order.begin(), order.end(),
                        [](const std::string& command) { return command != "Tabellenkalkulation1"; });
  // German accepting, English accepting, English cancelling every dialog.
  for (int pass = 0; pass < 3; ++pass) {
    if (pass == 1) commands.Trigger("EnglischeVersion1");
    ASSERT_EQ(LanguageEnglish, pass == 0 ? 0 : 1);
    CollectForeignTexts(form, pass == 0 ? "de main window" : "en main window", answerer.foreign);
    const bool cancelling = pass == 2;
    for (const std::string& command : order) {
      if (skipped.count(command) != 0 || !commands.IsEnabled(command)) continue;
      QAction* action = commands.Action(command);
      if (action == nullptr || !action->isVisible()) continue;
      const std::string label = std::string(pass == 0 ? "de " : (cancelling ? "en cancel " : "en ")) + command;
      const std::size_t messagesBefore = messages.messages.size();
      const std::set<std::string> tablesBefore = TableTexts(form);
      answerer.NewCommand(command, cancelling || closedOnly.count(command) != 0);
      messages.declining = command == "Tabellenkalkulation1";
      watchdog.Start(label);
      QElapsedTimer clock;
      clock.start();
      action->trigger();
      QApplication::processEvents();
      watchdog.Stop();
      durations.emplace_back(clock.elapsed() / 1000.0, label);
      ++run;

      // Closes the tool windows the command left open, as the user would,
      // F1 pressed in each first (once per window and language): the help
      // window beside the main window shows its section.
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != &form && window->isVisible() && qobject_cast<QMenu*>(window) == nullptr) {
          const std::string key = (LanguageEnglish != 0 ? "en " : "de ") +
                                  std::string(window->metaObject()->className()) + " " +
                                  window->windowTitle().toStdString();
          if (qobject_cast<THelpForm*>(window) == nullptr && toolWindowsHelped.insert(key).second) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
            QApplication::sendEvent(window->focusWidget() != nullptr ? window->focusWidget() : window, &press);
            auto* help = form.findChild<THelpForm*>(QStringLiteral("HelpForm"), Qt::FindDirectChildrenOnly);
            if (help == nullptr || !help->isVisible()) {
              faults.push_back(label + ": F1 in the window \"" + window->windowTitle().toStdString() +
                               "\" opened no help");
            } else {
              const std::string fault = F1Fault(*window, *help, answerer.f1Shown);
              if (!fault.empty()) faults.push_back(label + ": " + fault);
              help->close();
            }
          }
          std::vector<std::string> texts;
          CollectShownTexts(*window, texts);
          for (const std::string& text : texts) {
            if (ShowsNonNumber(text)) faults.push_back(label + ": window shows \"" + text + "\"");
          }
          CollectForeignTexts(*window, label, answerer.foreign);
          window->close();
        }
      }
      QApplication::processEvents();

      for (std::size_t m = messagesBefore; m < messages.messages.size(); ++m) {
        const RecordedMessage& shown = messages.messages[m];
        if (ShowsNonNumber(shown.text)) faults.push_back(label + ": message \"" + shown.text + "\"");
        for (const std::string& text : {shown.text, shown.caption}) {
          if (!test::WordsOfOtherLanguage(text, LanguageEnglish != 0).empty()) {
            answerer.foreign.insert(label + " message: \"" + text + "\"");
          }
        }
      }
      CollectForeignTexts(*form.statusBar(), label, answerer.foreign);
      CollectForeignTableTexts(form, tablesBefore, label, answerer.foreign);
      for (const std::string& shown : NonNumbersInTables(form)) faults.push_back(label + ": " + shown);
      longestSheet = std::max(longestSheet, form.Workbook().LastRow());
      longestGrid = std::max(longestGrid, form.Grid().RowCount());
      for (const char* panel : {"StatusLine", "Datumpanel", "Ortpanel", "Panel5", "Finsternispanel"}) {
        if (QLabel* label_ = form.Panel(panel); label_ != nullptr && ShowsNonNumber(label_->text().toStdString())) {
          faults.push_back(label + ": status panel " + panel + " \"" + label_->text().toStdString() + "\"");
        }
      }
      if (!form.isEnabled()) faults.push_back(label + ": the main window stays disabled");
      if (QApplication::overrideCursor() != nullptr || form.HourglassDepth() != 0) {
        faults.push_back(label + ": the hourglass stays");
      }
      if (QApplication::activeModalWidget() != nullptr) faults.push_back(label + ": a modal window stays open");
      if (progress.Visible()) faults.push_back(label + ": the progress run never ended");
      AbortRequested = 0;
    }
  }
  for (const std::string& fault : answerer.faults) faults.push_back(fault);

  std::sort(durations.rbegin(), durations.rend());
  std::printf("menu walk: %d commands run, %zu modal windows, %d runs cancelled after %d ms\n", run,
              answerer.windows.size(), progress.cancelled, kProgressBudgetMs);
  std::printf("help buttons pressed: %zu\n", answerer.helped.size());
  for (const std::string& helped : answerer.helped) std::printf("  %s\n", helped.c_str());
  std::printf("F1 pressed: %zu\n", answerer.f1Shown.size());
  for (const std::string& shown : answerer.f1Shown) std::printf("  %s\n", shown.c_str());
  for (std::size_t i = 0; i < std::min<std::size_t>(durations.size(), 12); ++i) {
    std::printf("  %6.2f s  %s\n", durations[i].first, durations[i].second.c_str());
  }
  EXPECT_GT(run, 600) << "the three passes run most of the menu";
  // The help buttons and F1 contexts the walk meets, each listed above: a
  // dialog that gains or loses one changes these counts.
  EXPECT_EQ(answerer.helped.size(), 24u) << "the German dialogs' help buttons";
  EXPECT_EQ(answerer.f1Shown.size(), 185u) << "F1 in the dialogs and windows of both languages";
  EXPECT_GT(longestSheet, 50) << "tables reach the sheet";
  EXPECT_GT(longestGrid, 50) << "tables reach the result grid after the view switch";
  // Each language alone: no window, message or new table shows a word of
  // the other one.
  EXPECT_EQ(answerer.foreign.size(), 0u) << "texts in the other language, the first 40 follow";
  int listed = 0;
  for (const std::string& text : answerer.foreign) {
    if (listed++ < 40) ADD_FAILURE() << text;
  }
  EXPECT_EQ(faults.size(), 0u) << "the first 40 follow";
  for (std::size_t i = 0; i < std::min<std::size_t>(faults.size(), 40); ++i) ADD_FAILURE() << faults[i];

  SetProgressReporter(previousProgress);
  SetFolderChooser(previousFolders);
  form.close();
}

}  // namespace
}  // namespace kvx

