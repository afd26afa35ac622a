#include "app/ui/document_commands.h"

#include <QApplication>
#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QHeaderView>
#include <QLineEdit>
#include <QPalette>
#include <QSpinBox>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "engine/table_sink.h"
#include "engine/ui/mystringgrid_view.h"

namespace kvx {

QColor ColorFromWindowsValue(std::uint32_t value) {
  if ((value & 0x80000000u) == 0) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
  }
  const QPalette palette = QApplication::palette();
  switch (value & 0xFF) {
    case 5:  // window background
      return palette.color(QPalette::Base);
    case 8:  // window text
    case 18:  // button text
      return palette.color(QPalette::Text);
    case 13:  // highlight
      return palette.color(QPalette::Highlight);
    case 14:  // highlighted text
      return palette.color(QPalette::HighlightedText);
    case 15:  // button face
      return palette.color(QPalette::Button);
    case 16:  // button shadow
      return palette.color(QPalette::Mid);
    default:
      return palette.color(QPalette::Window);
  }
}

TDocumentCommands::TDocumentCommands(TMainForm& form)
    : QObject(&form), form_(form), column_widths_(TTableOutputSettings::DefaultColumnWidths()) {
  TMenuCommands& commands = form.Commands();
  commands.RegisterHandler("ffnen1", [this] {
    if (form_.State().WorkbookView == 0) Open();
  });
  commands.RegisterHandler("Speichern1", [this] {
    if (form_.State().WorkbookView == 0) SaveAs();
  });
  commands.RegisterHandler("Speichernunter1", [this] {
    if (form_.State().WorkbookView == 0) SaveAs();
  });
  auto previous = form.OpenDocumentByName;
  form.OpenDocumentByName = [this, previous](const std::string& name) {
    if (form_.State().WorkbookView == 0) {
      OpenByName(name);
    } else if (previous) {
      previous(name);
    }
  };
}

TTableDocument TDocumentCommands::Document() {
  return TTableDocument{form_.Grid(), look_, form_.State(), column_widths_, caption_, &form_.RecentFiles()};
}

void TDocumentCommands::Finish(bool changed) {
  if (!changed) return;
  form_.setWindowTitle(QString::fromStdString(caption_));
  ShowLook();
}

bool TDocumentCommands::Open() {
  TTableDocument doc = Document();
  form_.ShowHourglass();
  const bool loaded = OpenTableFileCommand(doc);
  form_.RestoreCursor();
  Finish(loaded);
  return loaded;
}

bool TDocumentCommands::OpenByName(const std::string& fileName) {
  TTableDocument doc = Document();
  form_.ShowHourglass();
  const bool loaded = OpenTableFile(doc, fileName);
  form_.RestoreCursor();
  Finish(loaded);
  return loaded;
}

bool TDocumentCommands::SaveAs() {
  TTableDocument doc = Document();
  const bool saved = SaveTableFileAs(doc);
  if (saved) form_.setWindowTitle(QString::fromStdString(caption_));
  return saved;
}

void TDocumentCommands::ShowLook() {
  TMyStringGridView* view = form_.GridView();
  const TTableFontRecord& f = look_.Font;
  QFont font(QString::fromStdString(f.Name));
  if (f.Height < 0) {
    font.setPixelSize(-f.Height);
  } else if (f.Size > 0) {
    font.setPointSize(f.Size);
  }
  font.setBold((f.Style & kFontBold) != 0);
  font.setItalic((f.Style & kFontItalic) != 0);
  font.setUnderline((f.Style & kFontUnderline) != 0);
  font.setStrikeOut((f.Style & kFontStrikeOut) != 0);
  if (view != nullptr) {
    view->setFont(font);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, ColorFromWindowsValue(look_.GridColor));
    palette.setColor(QPalette::Button, ColorFromWindowsValue(look_.FixedColor));
    view->setPalette(palette);
    view->setShowGrid(look_.CellLines != 0);
    view->verticalHeader()->setDefaultSectionSize(form_.Grid().DefaultRowHeight());
    for (QHeaderView* header : {view->horizontalHeader(), view->verticalHeader()}) {
      header->setFrameStyle(look_.FixedLines != 0 ? QFrame::Panel | QFrame::Raised : QFrame::NoFrame);
    }
  }
  TMenuCommands& commands = form_.Commands();
  if (auto* box = qobject_cast<QComboBox*>(commands.ToolWidget("Arial"))) {
    box->setCurrentText(QString::fromStdString(f.Name));
  }
  QWidget* size = commands.ToolWidget("Fontsize");
  if (auto* spin = qobject_cast<QSpinBox*>(size)) {
    spin->setValue(f.Size);
  } else if (auto* combo = qobject_cast<QComboBox*>(size)) {
    combo->setCurrentText(QString::number(f.Size));
  } else if (auto* edit = qobject_cast<QLineEdit*>(size)) {
    edit->setText(QString::number(f.Size));
  }
  commands.SetChecked("Fett1", (f.Style & kFontBold) != 0);
  commands.SetChecked("Kursiv1", (f.Style & kFontItalic) != 0);
  commands.SetChecked("Unterstrichen1", (f.Style & kFontUnderline) != 0);
}

}  // namespace kvx
