// The file browser ("Browser"): a folder tree and a file list with a
// filter, the chosen file's name, and a read-only fixed-pitch viewer of the
// file as text (orbitdet/file_view.h). Its geometry is kept in the settings
// ("Window": "Browser w", "Browser x", "Browser y", "Browser h").
#pragma once

#include <QDialog>
#include <string>

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QTreeView;

namespace kvx {

class TBrowserForm : public QDialog {
  Q_OBJECT

 public:
  // Opens on `folder` with `fileName` chosen (when it exists).
  TBrowserForm(const std::string& folder, const std::string& fileName, QWidget* owner = nullptr);

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
  void SetFolder(const QString& folder);
  void ApplyFilter(int index);

  std::string file_name_;
  QComboBox* location_;
  QComboBox* filter_;
  QFileSystemModel* folders_;
  QFileSystemModel* files_;
  QTreeView* tree_;
  QListView* list_;
  QLabel* name_label_;
  QLineEdit* name_edit_;
  QPushButton* show_;
  QCheckBox* wrap_;
  QPlainTextEdit* viewer_;
  bool placed_ = false;
};

// Runs the browser modally; on OK `fileName` becomes the chosen file.
bool ShowFileBrowser(const std::string& folder, std::string& fileName, QWidget* owner);

}  // namespace kvx
