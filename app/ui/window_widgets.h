// The main window's widgets as the command modules reach them: the window
// itself (the parent of dialogs, its title, tool bars and status bar), the
// status panels, the hint line, the views and the clock bar. The main window
// implements it.
#pragma once

class QLabel;
class QMainWindow;
class QStackedWidget;
class QString;

namespace kvx {

class TMyStringGridView;
class TWorkbookView;

class TWindowWidgets {
 public:
  virtual QMainWindow& Window() = 0;
  virtual QLabel* Panel(const char* objectName) const = 0;
  virtual void ShowHint(const QString& hint) = 0;
  virtual QStackedWidget* CentralStack() const = 0;
  virtual TWorkbookView* WorkbookView() const = 0;
  virtual TMyStringGridView* GridView() const = 0;
  // Shows or hides the clock panel; its timer runs only while it shows.
  virtual void ShowClockBar(bool visible) = 0;

 protected:
  ~TWindowWidgets() = default;
};

}  // namespace kvx
