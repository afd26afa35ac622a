// Titles and filters of the main window's file dialogs in German and
// English, filters in Qt form ("Name (*.ext);;Other (*.x)"). The language
// switch installs one language's set (SetFileDialogLanguage); the dialogs
// read their texts with FileDialogTitle and FileDialogFilter.
#pragma once

#include <string>
#include <vector>

namespace kvx {

struct TFileDialogTextRow {
  const char* Name;  // the dialog's object name
  const char* GermanTitle;
  const char* GermanFilter;
  const char* EnglishTitle;
  const char* EnglishFilter;
};

const std::vector<TFileDialogTextRow>& FileDialogTextRows();

// Copies one language's titles and filters into the current set.
void SetFileDialogLanguage(bool english);
// The current title and filter of a dialog (empty for an unknown name).
const std::string& FileDialogTitle(const std::string& name);
const std::string& FileDialogFilter(const std::string& name);
// The default suffix of the observation save dialog: "stv" in German, none
// in English.
const std::string& ObservationSaveSuffix();

}  // namespace kvx
