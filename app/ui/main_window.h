// The main window: menu bar, workbook area and status line.
#pragma once

#include <QMainWindow>
#include <memory>

#include "platform/qt/qt_message_sink.h"
#include "platform/qt/qt_progress.h"
#include "platform/qt/workbook_view.h"
#include "platform/workbook/workbook.h"
#include "theories/moon_cache.h"
#include "theories/theory_state.h"
#include "theories/theory_types.h"
#include "theories/tle.h"

namespace kvx {

inline constexpr const char* kApplicationTitle = "Kandrevoltinex 4";
inline constexpr const char* kMainWindowCaption = "Kandrevoltinex 4.6";

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  const TTheoryState& TheoryState() const { return theory_; }
  TTheorySelection Selection() const { return selection_; }
  // Installs a theory selection by what is present (see ApplyTheorySelection).
  void SetTheorySelection(TTheorySelection requested);
  const TSatelliteFileState& SatelliteFile() const { return satellite_file_; }
  TMoonCacheState& MoonCache() { return moon_cache_; }
  // The workbook every table is written into, and its view.
  workbook::TWorkbook& Workbook() { return workbook_; }
  TWorkbookView* WorkbookView() const { return workbook_view_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The first show: probes the theory libraries, opens the position files,
  // creates the Moon cache and loads the satellite file of the data folder.
  void FormShow();

  bool shown_once_ = false;
  workbook::TWorkbook workbook_;
  TWorkbookView* workbook_view_ = nullptr;
  std::string data_folder_;
  TTheoryState theory_;
  TTheorySelection selection_;
  TSatelliteFileState satellite_file_;
  TMoonCacheState moon_cache_;
  std::unique_ptr<QtMessageSink> messages_;
  std::unique_ptr<QtProgress> progress_;
};

}  // namespace kvx
