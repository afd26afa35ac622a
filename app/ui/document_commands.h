// The document commands of the File menu: in the result-grid view Open,
// Save and Save as of the own table file; in the workbook view New, Open,
// Save, Save as, the text and csv exports, the print area, printer set-up
// and Print; the question before the window closes; and the result grid's
// look (table font, colours, lines) on screen.
#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <string>

#include "app/table_document.h"
#include "app/workbook_document.h"

class QColor;

namespace kvx {

class TCommandHost;

// A Windows colour value as a Qt colour: 0x00BBGGRR, or with the top bit
// set a system colour whose index (low byte) maps to the palette role the
// program uses it for (5 window, 15 button face, 8 window text, ...).
QColor ColorFromWindowsValue(std::uint32_t value);

class TDocumentCommands : public QObject {
  Q_OBJECT

 public:
  // Registers the commands on the window's menu table and installs the
  // recent-file opener for the result-grid view.
  explicit TDocumentCommands(TCommandHost& host);

  TResultGridLook& Look() { return look_; }
  TTableDocument Document();
  TWorkbookDocument WorkbookDocument();
  // The question before the document is left (close, New, Open).
  bool MayLeave();
  // A new document (File > New, the view switch, the external program): no
  // table kind kept (the caption without a name), a new workbook of
  // `sheets` sheets, the result grid reset to 2 x 2 with "  Bereit".
  void BeginNewDocument(int sheets);

  bool Open();
  bool OpenByName(const std::string& fileName);
  bool SaveAs();
  // The view follows the look: font, colours, line flags, row heights;
  // the tool-bar font boxes and the bold/italic/underline states.
  void ShowLook();

 private:
  void Finish(bool changed);
  // After a document was opened: no table kind from before is kept.
  void ForgetTableKind();
  void ShowWorkbookCaption();
  bool eventFilter(QObject* watched, QEvent* event) override;
  void SetPrintArea();

  TCommandHost& host_;
  TResultGridLook look_;
  std::string caption_;
  std::string workbook_file_;
  int workbook_file_type_ = 0;
  std::string workbook_caption_;
};

}  // namespace kvx
