// The two top rows every file editor window opens with: the name of the
// loaded file beside the load and new-file buttons, and the search edit with
// its word-start box. The editor connects the controls itself.
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

// "Keine Datei geladen" / "No file", by LanguageEnglish.
QString NoEditorFileText();

}  // namespace kvx
