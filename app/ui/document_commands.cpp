#include "app/ui/document_commands.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QPalette>
#include <QSpinBox>

#include "app/history_list.h"
#include "app/main_form_state.h"
#include "app/settings_io.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "app/ui/page_setup_dialog.h"
#include "app/ui/table_commands.h"
#include "engine/table_sink.h"
#include "engine/ui/mystringgrid_view.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/workbook_dialogs.h"

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
    case 8:   // window text
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

TDocumentCommands::TDocumentCommands(TCommandHost& host) : QObject(&host.Window()), host_(host) {
  TMenuCommands& commands = host.Commands();
  auto inGrid = [this] { return host_.DocumentState().WorkbookView == 0; };
  commands.RegisterHandler("Neu1", [this] {
    if (!MayLeave()) return;
    BeginNewDocument(host_.DocumentState().DefaultSheetNumber);
  });
  commands.RegisterHandler("ffnen1", [this, inGrid] {
    if (inGrid()) {
      Open();
      return;
    }
    TWorkbookDocument doc = WorkbookDocument();
    host_.ShowHourglass();
    const bool opened = OpenWorkbookCommand(doc);
    host_.RestoreCursor();
    if (!opened) return;
    ForgetTableKind();
    ShowWorkbookCaption();
  });
  // Save and Save as: the grid's Save as in the grid view; otherwise `save`
  // on the workbook document, the caption following when it succeeded.
  auto saveCommand = [this, inGrid](bool (*save)(TWorkbookDocument&)) {
    return [this, inGrid, save] {
      if (inGrid()) {
        SaveAs();
        return;
      }
      TWorkbookDocument doc = WorkbookDocument();
      if (save(doc)) ShowWorkbookCaption();
    };
  };
  commands.RegisterHandler("Speichern1", saveCommand(SaveDocument));
  commands.RegisterHandler("Speichernunter1", saveCommand(SaveWorkbookAs));
  commands.RegisterHandler("Saveastextfile1", [this] {
    TWorkbookDocument doc = WorkbookDocument();
    if (SaveSheetAsText(doc)) ShowWorkbookCaption();
  });
  commands.RegisterHandler("AlscsvDateispeichern1", [this, inGrid] {
    TWorkbookDocument doc = WorkbookDocument();
    if (inGrid()) {
      host_.ShowHourglass();
      const bool exported = ExportGridCsv(doc, host_.Grid(), caption_);
      host_.RestoreCursor();
      if (exported) host_.Window().setWindowTitle(QString::fromStdString(caption_));
      return;
    }
    if (SaveSheetAsCsv(doc)) ShowWorkbookCaption();
  });
  commands.RegisterHandler("Druckbereichfestlegen1", [this] { SetPrintArea(); });
  commands.RegisterHandler("Aufheben1", [this] { host_.Workbook().DeleteName("Print_Area"); });
  commands.RegisterHandler("Seiteeinrichten2", [this] { ShowPageSetupDialog(&host_.Window(), host_.Workbook()); });
  commands.RegisterHandler("Druckereinrichten", [this] { ShowPrinterSetupDialog(&host_.Window(), host_.Workbook()); });
  commands.RegisterHandler("Dateidrucken1", [this] { PrintWorkbook(&host_.Window(), host_.Workbook(), true); });
  host.Window().installEventFilter(this);
  // Table kind 6: the csv file of the document into the sheet.
  host.Tables().Dispatcher().Register(6, [this] {
    TWorkbookDocument doc = WorkbookDocument();
    if (ReadCsvIntoSheet(doc, workbook_file_)) ShowWorkbookCaption();
  });
  // The first change of the sheet after a save or open makes the document
  // unsaved (the workbook reports only that first change).
  host.Workbook().AddListener([this](workbook::TChange change) {
    if (change == workbook::TChange::Modified) host_.DocumentState().DocumentSaved = 0;
  });
  host.OpenDocumentByName = [this](const std::string& name) {
    if (host_.DocumentState().WorkbookView == 0) {
      OpenByName(name);
      return;
    }
    if (!MayLeave()) return;
    TWorkbookDocument doc = WorkbookDocument();
    if (!OpenDocument(doc, name)) return;
    ForgetTableKind();
    ShowWorkbookCaption();
  };
}

void TDocumentCommands::BeginNewDocument(int sheets) {
  host_.Tables().KeineTabelle1Click();
  TWorkbookDocument doc = WorkbookDocument();
  NewDocument(doc, sheets);
  ResetGridToReady(host_.Grid(), look_);
  ShowWorkbookCaption();
}

void TDocumentCommands::ForgetTableKind() {
  TTableState& s = host_.TableState();
  s.TableKind = kNoTableKind;
  s.PreviousTableKind = kNoTableKind;
}

TTableDocument TDocumentCommands::Document() {
  const std::string& folder = host_.StoredSettings().DefaultFolder;
  return TTableDocument{host_.Grid(),
                        look_,
                        host_.Period(),
                        host_.EclipseSettings(),
                        host_.DocumentState(),
                        host_.TableState().ColumnWidthTable,
                        caption_,
                        &host_.RecentFiles(),
                        folder};
}

TWorkbookDocument TDocumentCommands::WorkbookDocument() {
  const std::string& folder = host_.StoredSettings().DefaultFolder;
  return TWorkbookDocument{host_.Workbook(),  host_.DocumentState(), workbook_file_, workbook_file_type_,
                           workbook_caption_, &host_.RecentFiles(),  folder};
}

bool TDocumentCommands::MayLeave() {
  TWorkbookDocument doc = WorkbookDocument();
  // In the result grid the table shown is the document: Yes saves it as a
  // table file, not the workbook behind it.
  const bool allowed =
      host_.DocumentState().WorkbookView == 0 ? AskSaveChanges(doc, [this] { return SaveAs(); }) : AskSaveChanges(doc);
  ShowWorkbookCaption();
  return allowed;
}

void TDocumentCommands::ShowWorkbookCaption() {
  if (host_.DocumentState().DocumentSaved != 0) host_.Workbook().SetModified(false);
  if (!workbook_caption_.empty()) host_.Window().setWindowTitle(QString::fromStdString(workbook_caption_));
}

bool TDocumentCommands::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Close && !MayLeave()) {
    event->ignore();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

void TDocumentCommands::SetPrintArea() {
  workbook::TWorkbook& book = host_.Workbook();
  bool single = false;
  if (book.SelectionCount() == 1) {
    const workbook::TRange range = book.SelectionRange(0);
    single = range.Row1 == range.Row2 && range.Col1 == range.Col2;
  }
  if (book.SelectionCount() == 0 || single) {
    ShowMessage("Bitte einen Druckbereich auf dem Tabellenblatt markieren", "Please select a print area on the sheet",
                MessageIcon::Warning, MessageButtons::Ok,
                LanguageEnglish != 0 ? "No print area selected" : "Kein Druckbereich selektiert");
    return;
  }
  book.SetPrintAreaFromSelection();
}

void TDocumentCommands::Finish(bool changed) {
  if (!changed) return;
  ForgetTableKind();
  host_.Window().setWindowTitle(QString::fromStdString(caption_));
  ShowLook();
}

bool TDocumentCommands::Open() {
  TTableDocument doc = Document();
  host_.ShowHourglass();
  const bool loaded = OpenTableFileCommand(doc);
  host_.RestoreCursor();
  Finish(loaded);
  return loaded;
}

bool TDocumentCommands::OpenByName(const std::string& fileName) {
  TTableDocument doc = Document();
  host_.ShowHourglass();
  const bool loaded = OpenTableFile(doc, fileName);
  host_.RestoreCursor();
  Finish(loaded);
  return loaded;
}

bool TDocumentCommands::SaveAs() {
  TTableDocument doc = Document();
  const bool saved = SaveTableFileAs(doc);
  if (saved) host_.Window().setWindowTitle(QString::fromStdString(caption_));
  return saved;
}

void TDocumentCommands::ShowLook() {
  TMyStringGridView* view = host_.GridView();
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
    view->verticalHeader()->setDefaultSectionSize(host_.Grid().DefaultRowHeight());
    for (QHeaderView* header : {view->horizontalHeader(), view->verticalHeader()}) {
      header->setFrameStyle(look_.FixedLines != 0 ? QFrame::Panel | QFrame::Raised : QFrame::NoFrame);
    }
  }
  TMenuCommands& commands = host_.Commands();
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
