// The main window's command objects as the modules reach them: the menu
// commands, the table commands with the dispatcher, the document commands
// and the sheet commands. The main window implements it.
#pragma once

namespace kvx {

class TDocumentCommands;
class TMenuCommands;
class TSheetCommands;
class TTableCommands;

class THostCommands {
 public:
  virtual TMenuCommands& Commands() = 0;
  // The table commands and the dispatcher.
  virtual TTableCommands& Tables() = 0;
  virtual TDocumentCommands& Documents() = 0;
  // The sheet-editing commands, find and replace, the formatting tool bar.
  virtual TSheetCommands& Sheets() = 0;

 protected:
  ~THostCommands() = default;
};

}  // namespace kvx
