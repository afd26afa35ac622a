// The rows every file editor window has: at the top the name of the loaded
// file beside the load and new-file buttons, and the search edit with its
// word-start box; at the foot the record buttons and the status labels. The
// editor connects the controls itself. TFileEditorForm is the window those
// editors share: the rows, the status texts, the start file and the settings.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QBoxLayout;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kvx {

struct TEditorFileRows {
  QLabel* FileLabel = nullptr;     // "LabelFile"
  QPushButton* Load = nullptr;     // "Button1"
  QPushButton* NewFile = nullptr;  // "Button50"
  QLineEdit* Search = nullptr;     // "Edit1", buddy of "s&uchen nach:" / "find:"
  QCheckBox* WordStart = nullptr;  // "wortanfang"
};

// Adds both rows to `layout`. The captions of the load button and of the
// word-start box differ between the editors and are passed in; the file
// label starts with NoEditorFileText().
TEditorFileRows AddEditorFileRows(QBoxLayout* layout, const QString& loadCaption, const QString& wordStartCaption);

struct TEditorRecordRow {
  QPushButton* Undo = nullptr;    // "Button4", "&Rückgängig" / "&Undo", disabled
  QPushButton* Delete = nullptr;  // "Button2", "Datensatz &löschen" / the English caption given
  QPushButton* New = nullptr;     // "Button3", "Datensatz &neu" / "&New"
  QPushButton* Finish = nullptr;  // "BitBtn1", the caption given, at the right end
  QLabel* Status = nullptr;       // "Label6"
  QLabel* Position = nullptr;     // "Label13"
};

// Adds the foot row to `layout`: undo, delete and new, the status and
// position labels, a stretch, and the button that ends the editing.
TEditorRecordRow AddEditorRecordRow(QBoxLayout* layout, const char* deleteEnglish, const QString& finishCaption);

// "Keine Datei geladen" / "No file", by LanguageEnglish.
QString NoEditorFileText();

// A modal editor of one data file, a record at a time. The derived form
// builds its layout, calling AddFileRows and AddRecordRow where the rows
// belong; the buttons and the search edit call the click routines below.
class TFileEditorForm : public QDialog {
  Q_OBJECT

 public:
  QString Status() const;
  QString Position() const;
  // "File" (when it exists) and "Wortanf" into the editor's settings section.
  void StoreSettings();

  virtual bool LoadFile(const std::string& fileName) = 0;
  virtual void UndoClick() = 0;
  virtual void DeleteClick() = 0;
  virtual void NewClick() = 0;
  virtual void NewFileClick() = 0;
  virtual void LoadClick() = 0;
  virtual void Search(const QString& text) = 0;

 protected:
  // `section` names the settings section; `dataFolder` holds the default
  // and offered files.
  TFileEditorForm(const char* section, const std::string& dataFolder, QWidget* owner);

  // The file rows (load, new file and search connected); the word-start box
  // as the settings section stores it.
  void AddFileRows(QBoxLayout* layout, const QString& loadCaption, const QString& wordStartCaption);
  // The foot row (undo, delete and new connected); the caller connects the
  // finishing button it returns.
  QPushButton* AddRecordRow(QBoxLayout* layout, const char* deleteEnglish, const QString& finishCaption);
  // The opening sequence: the registered file, else the file the user
  // chooses starting at the offered one; cancelled, the offered one, created
  // first when it is missing.
  void OpenRegisteredOrOffered(const char* defaultFile, const char* offeredFile);
  // "Geändert" in red with undo enabled; "Gespeichert".
  void ShowChanged();
  void ShowSaved();
  static bool IsFile(const std::string& path);

  // The file dialog of the kind (nothing when cancelled), the creation of a
  // new file, and the name of the loaded file.
  virtual std::optional<std::string> AskFileToOpen(const std::string& start) = 0;
  virtual bool CreateEditorFile(const std::string& fileName) = 0;
  virtual std::string EditedFileName() const = 0;

  std::string section_;
  std::string dataFolder_;
  QLabel* fileLabel_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* position_ = nullptr;
  QCheckBox* wordStart_ = nullptr;
  QLineEdit* search_ = nullptr;
  QPushButton* undo_ = nullptr;
  bool showing_ = false;  // the form is filling its controls: no edits taken
};

// Opens the start file and shows `form` modally, or runs `driver` on it
// (tests); then stores the settings.
template <typename TForm>
void RunFileEditor(TForm& form, const std::function<void(TForm&)>& driver) {
  form.OpenStartFile();
  if (driver) {
    driver(form);
  } else {
    form.exec();
  }
  form.StoreSettings();
}

}  // namespace kvx
