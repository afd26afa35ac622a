// The file browser ("Browser"): a folder tree (opened down to the folder
// the path box shows) and a file list with a filter, the chosen file's name, and a read-only fixed-pitch viewer of the
// file as text (orbitdet/file_view.h). It opens at the bounds it is given,
// whatever folder and file it shows (a long path scrolls or is cut with
// "…"), and hands back where it stood when it closed; the main window keeps
// them in its settings ("Window": "Browser w", "Browser x", "Browser y",
// "Browser h").
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

#include "platform/qt/widget_forward.h"

namespace kvx {

class TElidedLabel;

// The browser window's left, top, width and height (pixels, screen
// coordinates).
struct TBrowserBounds {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t W = 590;
  std::int32_t H = 390;
};

class TBrowserForm : public QDialog {
  Q_OBJECT

 public:
  // Opens on `folder` with `fileName` chosen (when it exists), at `bounds`
  // kept on an available screen.
  TBrowserForm(const std::string& folder, const std::string& fileName, const TBrowserBounds& bounds = {},
               QWidget* owner = nullptr);
  // Where the window stands (after closing: where it stood).
  const TBrowserBounds& Bounds() const { return bounds_; }

  const std::string& FileName() const { return file_name_; }
  // Chooses a file as a click in the list does.
  void ChooseFile(const std::string& path);
  // "Anzeigen": loads the chosen file into the viewer. A file that cannot be
  // shown gives a message naming it, and the viewer stays as it was.
  bool ShowFile();
  void CopyFileName();
  QPlainTextEdit* Viewer() const { return viewer_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  // Shows `folder` in the path box, chosen in the tree (opened down to it)
  // and in the file list.
  void SetFolder(const QString& folder);
  void KeepFolderInView();
  void ApplyFilter(int index);

  std::string file_name_;
  TBrowserBounds bounds_;
  QComboBox* location_;
  QComboBox* filter_;
  QFileSystemModel* folders_;
  QFileSystemModel* files_;
  QTreeView* tree_;
  QListView* list_;
  TElidedLabel* name_label_;
  QLineEdit* name_edit_;
  QPushButton* show_;
  QCheckBox* wrap_;
  QPlainTextEdit* viewer_;
  bool placed_ = false;
  bool opening_ = false;    // the tree is being opened down to the chosen folder
  bool following_ = false;  // the tree keeps the chosen folder in sight
};

// Runs the browser modally at `bounds`; on OK `fileName` becomes the chosen
// file. `bounds` becomes where the window stood when it closed.
bool ShowFileBrowser(const std::string& folder, std::string& fileName, TBrowserBounds& bounds, QWidget* owner);

}  // namespace kvx
