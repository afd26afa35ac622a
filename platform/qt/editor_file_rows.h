// The rows every file editor window has: at the top the name of the loaded
// file beside the load and new-file buttons, and the search edit with its
// word-start box; at the foot the record buttons and the status labels. The
// editor connects the controls itself.
#pragma once

#include <QString>

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

}  // namespace kvx
