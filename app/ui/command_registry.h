// The main window's command modules, installed from one list in their
// order: the table, document and sheet commands first (the later modules
// use them), then the searches, settings, element, orbit and catalogue
// commands.
#pragma once

namespace kvx {

class TCommandHost;
class TDocumentCommands;
class TSheetCommands;
class TTableCommands;

// Where the window keeps its command objects (children of the window). Each
// is set as soon as it is made: the modules installed after it reach it
// through the window.
struct TCommandObjects {
  TTableCommands*& Tables;
  TDocumentCommands*& Documents;
  TSheetCommands*& Sheets;
};

// Installs every command module on the window's menu commands; called once,
// by the window's constructor, after the menus, panels and views exist.
void InstallCommandModules(TCommandHost& host, const TCommandObjects& objects);

}  // namespace kvx
