#include "app/file_dialog_texts.h"

#include <map>

namespace kvx {

namespace {

struct TCurrentText {
  std::string Title;
  std::string Filter;
};

std::map<std::string, TCurrentText>& Current() {
  static std::map<std::string, TCurrentText> current;
  return current;
}

std::string& CurrentSuffix() {
  static std::string suffix = "stv";
  return suffix;
}

}  // namespace

const std::vector<TFileDialogTextRow>& FileDialogTextRows() {
  static const std::vector<TFileDialogTextRow> rows = {
      {"SaveDialog", "Konfigurationsdatei speichern unter", "Konfigurationsdateien (*.ocf)", "Save configuration file",
       "Configuration files (*.ocf)"},
      {"OpenDialog", "Konfigurationsdatei öffnen", "Konfigurationsdateien (*.ocf)", "Load configuration",
       "Configuration files (*.ocf)"},
      {"SaveDialog3", "Ephemeridentabelle speichern", "Kandrevoltinex-Dateien (*.kvx)", "Save ephemeris table as",
       "Kandrevoltinex files (*.kvx)"},
      {"OpenDialog3", "Ephemeridentabelle öffnen", "Kandrevoltinex-Dateien (*.kvx)", "Load ephemeris table",
       "Kandrevoltinex files (*.kvx)"},
      {"StateVectDlg", "Statusvektor speichern", "Statusvektoren (*.stv)", "Save state vector as",
       "State vectors (*.stv)"},
      {"StateVectDialog", "Datei mit Statusvektoren öffnen", "Statusvektoren (*.stv)", "Load state vector",
       "State vectors (*.stv)"},
      {"FileSaveDlg", "Speichern unter", "Excel-Arbeitsmappe (*.xlsx)", "Save as", "Excel workbook (*.xlsx)"},
      {"SaveDialog1", "Speichern unter", "Excel-Arbeitsmappe (*.xlsx)", "Save as", "Excel workbook (*.xlsx)"},
      {"ObsSaveDlg", "Beobachtete Örter speichern als", "Beobachtungen (*.obs);;Beobachtungen (*.txt)",
       "Save observed positions as", "Observations (*.obs);;Observations (*.txt)"},
      {"SaveDialog2", "Aktives Tabellenblatt speichern unter", "Text mit Trennzeichen (*.csv)", "Save active sheet as",
       "Text with separators (*.csv)"},
      // Any file may be a program; the executable bit is checked on OK.
      {"OpenDialog1", "Externes Programm suchen", "Programme (*)", "Find application", "Programs (*)"},
      {"Bahndateidialog", "Datei mit beobachteten Örtern öffnen",
       "Textdateien mit Beobachtungen (*.txt);;Binärdateien mit Beobachtungen (*.obs);;MPE-Zirkulare (*.htm *.html)",
       "Load file with observed positions",
       "Textfiles with observations (*.txt);;Binary files with observations (*.obs);;MPE circulars (*.htm *.html)"},
      {"FileOpenDlg", "Öffnen",
       "Excel-Arbeitsmappe (*.xlsx);;Text (Tabs getrennt) (*.txt);;Text mit Trennzeichen (*.csv)", "Load file",
       "Excel workbook (*.xlsx);;Text with tabs (*.txt);;Text with separator (*.csv)"},
      {"OpenDialog2", "Bahnelemente aus MPEC laden", "MPE-Zirkular (HTML) (*.htm *.html);;MPE-Zirkular (*.txt)",
       "Load orbital elements from MPEC", "MPE circular (HTML) (*.htm *.html);;MPE circular (*.txt)"},
      {"KonfigOpenDialog", "Konfigurationsdatei öffnen", "Tabellenkonfigurationen (*.etd)", "Load table configuration",
       "Table configurations (*.etd)"},
      {"OpenDialog4", "HTM(L)-Datei auswählen", "htm(l)-Dateien (*.htm *.html)", "Select HTM(L)",
       "htm(l) files (*.htm *.html)"},
  };
  return rows;
}

void SetFileDialogLanguage(bool english) {
  auto& current = Current();
  for (const TFileDialogTextRow& row : FileDialogTextRows()) {
    current[row.Name] = {english ? row.EnglishTitle : row.GermanTitle, english ? row.EnglishFilter : row.GermanFilter};
  }
  CurrentSuffix() = english ? "" : "stv";
}

const std::string& FileDialogTitle(const std::string& name) {
  static const std::string empty;
  const auto found = Current().find(name);
  return found == Current().end() ? empty : found->second.Title;
}

const std::string& FileDialogFilter(const std::string& name) {
  static const std::string empty;
  const auto found = Current().find(name);
  return found == Current().end() ? empty : found->second.Filter;
}

const std::string& ObservationSaveSuffix() { return CurrentSuffix(); }

}  // namespace kvx
