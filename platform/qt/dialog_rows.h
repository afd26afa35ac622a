// Builders for the rows that dialogs lay out by hand: the captions of named
// labels and buttons from a table, and a grid row of a label with its field.
// They create and place widgets exactly as a dialog's own code would, so the
// window looks and tabs the same.
#pragma once

#include <span>

class QGridLayout;
class QLabel;
class QString;
class QWidget;

namespace kvx {

// The caption of one label or button: its object name and its German and
// English text (UTF-8).
struct TCaption {
  const char* Name;
  const char* German;
  const char* English;
};

// Sets the text of each label or button below `root` that `captions` names,
// in the interface language (LanguageEnglish). A name that is not found, or
// that is neither a label nor a button, is passed over.
void ApplyCaptions(QWidget& root, std::span<const TCaption> captions);

// Puts a new label named `labelName` (no text: its caption comes later) in
// column 0 of row `row` of `grid`, buddy of `field`, and `field` in column 1.
// The label's parent is the widget that holds `grid`. Returns the label.
QLabel* AddLabelledRow(QGridLayout* grid, int row, const char* labelName, QWidget* field);

// Puts a new label with the text `caption` in row `row`, column `column`
// of `grid`, and `field` beside it in the next column. The label's parent
// is the widget that holds `grid` (the field's while the grid has none).
// Returns the label.
QLabel* AddCaptionedField(QGridLayout* grid, int row, int column, const QString& caption, QWidget* field);

}  // namespace kvx
