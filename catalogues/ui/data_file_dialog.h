// The open dialog for the program's data files (VamurDateien): it sets the
// filter, title and default extension by the kind of file
// (catalogues/data_file_kinds.h), runs the open dialog through the
// file-dialog seam and refuses a chosen file that does not fit the kind:
// the previous file name comes back and "Dies ist keine <description>.
// Bitte noch einmal mit anderem Dateinamen versuchen." titled "Fehler beim
// Dateiöffnen" / "This is no <description>. Please retry with another
// filename." titled "Error while opening file" is shown.
#pragma once

#include <string>

#include "catalogues/data_file_kinds.h"

namespace kvx {

class VamurDateien {
 public:
  VamurDateien();

  // "ENGLISH" (any case) switches to English, any other word to German.
  void SetFileDialogLanguage(const std::string& word);
  // Stores the kind keyword and applies its filter, title and extension.
  void SetFileDialogKind(const std::string& keyword);
  // Runs the dialog. True when a file was chosen and fits the kind; the
  // chosen name is then in FileName. False on Cancel or refusal (FileName
  // keeps the previous name).
  bool Execute();

  std::string FileName;    // start and result
  std::string InitialDir;  // start folder when FileName is empty
  const std::string& Language() const { return language_; }
  bool English() const { return english_; }
  const TDataFileKind& Kind() const { return *kind_; }
  std::string Title() const;
  std::string Filter() const;  // "text|pattern|..." of the language

 private:
  std::string language_ = "GERMAN";
  bool english_ = false;
  std::string keyword_;
  const TDataFileKind* kind_;
};

}  // namespace kvx
