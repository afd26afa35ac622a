// The location-file editor's model: one location file opened for editing
// place by place. Every accepted change writes the whole file at once.
//
// File: the leading ":" lines stay at the top; then one line per place in
// list order (name;longitude;latitude;zone;extra minutes[;postcode], the
// coordinates packed D.MMSS with four decimals and the configured decimal
// separator); then, unchanged, the lines the list could not read and ":"
// lines found after the first place, so a save never loses a line. A file
// cut at the list's limit of places opens read-only. The file is written as
// UTF-8 (a Windows-1252 file is read and saved as UTF-8) through a temporary
// file; a failed write reports it and keeps the old file.
//
// Coordinates are typed as packed D.MMSS (degrees.minutes seconds, "," or
// "." as decimal mark, longitude east negative) and stored with whole
// seconds. A text still being typed ("", "-", "+", ".", ",") is pending.
#pragma once

#include <string>

#include "catalogues/element_editor.h"
#include "setup/location_list.h"

namespace kvx {

inline constexpr const char* kLocationFileFirstLine = ":ORTDATEI VAMUR!";
inline constexpr const char* kLocationFileSecondLine =
    ":Ort;Geographische Länge;Geographische Breite;Zeitzone;Postleitzahl";

// A location list the editor can change; its reader also keeps the lines
// around the places (decoded as UTF-8 or Windows-1252).
class TLocationEditorList : public Orttabelle {
 public:
  bool ReadFile(const std::string& fileName) override;
  void ReplaceAt(int index, const std::string& name, const TOrtdatens& place);
  int Add(const std::string& name, const TOrtdatens& place);
  void Remove(int index);

  TEditorFileLines Lines;
  bool Truncated = false;  // the file holds more places than the list
};

// A typed coordinate: packed D.MMSS whose degrees are at most `limit` in
// magnitude; `packed` gets the value rounded to whole seconds, with the carry
// into the next minute (-88.215996 gives -88.22).
TFieldState CheckLocationCoordinate(const std::string& text, double limit, double& packed);

// One place as a line of the file (no line end).
std::string LocationRecordToLine(const std::string& name, const TOrtdatens& place);

class TLocationEditorModel {
 public:
  // Reads the file; false (with a message) when it cannot be read.
  bool Load(const std::string& fileName);
  // The selected place becomes the working record (and the undo copy).
  void ShowSelected();
  // The working record into the selected place; then the file is written.
  bool Store();
  // Restores every field of the place as it was selected; writes the file.
  bool Undo();
  // Adds "Neuer Ort" / "New location" with all values 0; writes the file.
  bool NewRecord();
  // "Der letzte Datensatz kann nicht gelöscht werden." with one place left.
  bool DeleteSelected();
  // A new file with the two header lines and one new place.
  static bool CreateFile(const std::string& fileName);
  bool Save();

  TLocationEditorList List;
  std::string FileName;
  bool ReadOnly = false;
  std::string WorkingName;
  TOrtdatens Working;
  bool HasSnapshot = false;

 private:
  std::string snapshotName_;
  TOrtdatens snapshot_;
};

}  // namespace kvx
