#include "setup/location_editor.h"

#include <cmath>
#include <cstdio>

#include "catalogues/element_lines.h"
#include "catalogues/text_line_reader.h"
#include "core/text_conversion.h"
#include "platform/globals.h"
#include "platform/messages.h"

namespace kvx {

bool TLocationEditorList::ReadFile(const std::string& fileName) {
  const TOpenedFile seen = TOpenedFile::Seen(fileName);
  TTextLineReader reader;
  if (!reader.Open(fileName)) return false;
  ClearLocationTable();
  Lines = {};
  Truncated = false;
  std::string name;
  TOrtdatens place;
  ReadEditorLines(reader, Lines, [&](const std::string& line, int number) {
    const char* field = nullptr;
    if (!ParseLocationLine(line, name, place, &field)) {
      if (field != nullptr) skipped_.Add(number, field);
      return TEditorLineUse::Kept;
    }
    if (Count() >= kMaxLocations) {
      Truncated = true;
      return TEditorLineUse::Stop;
    }
    names_.push_back(name);
    places_.push_back(place);
    return TEditorLineUse::Taken;
  });
  Lines.Opened = seen;
  return true;
}

void TLocationEditorList::ReplaceAt(int index, const std::string& name, const TOrtdatens& place) {
  names_[static_cast<std::size_t>(index)] = name;
  places_[static_cast<std::size_t>(index)] = place;
  SetItemIndex(index);
}

int TLocationEditorList::Add(const std::string& name, const TOrtdatens& place) {
  names_.push_back(name);
  places_.push_back(place);
  SetItemIndex(Count() - 1);
  return Count() - 1;
}

void TLocationEditorList::Remove(int index) {
  names_.erase(names_.begin() + index);
  places_.erase(places_.begin() + index);
  SetItemIndex(-1);
}

TFieldState CheckLocationCoordinate(const std::string& text, double limit, double& packed) {
  const std::string t = TrimBlanks(text);
  if (t.empty() || t == "-" || t == "+" || t == "." || t == "," || t == "-." || t == "-,") return TFieldState::Pending;
  std::uint8_t isDecimal = 1;
  std::string number;
  ParseDegreeText(t, isDecimal, number);
  double x = 0;
  if (!StrToFloatDot(number, x) || !std::isfinite(x)) return TFieldState::Refused;
  // Always packed D.MMSS, whatever marks were typed.
  const double degrees = DmsPackedToDeg(x);
  if (!std::isfinite(degrees) || std::fabs(degrees) > limit) return TFieldState::Refused;
  // Whole seconds, rounded with the carry (59.96" is the next minute).
  packed = RoundPackedToWholeSeconds(x);
  return TFieldState::Accepted;
}

std::string LocationRecordToLine(const std::string& name, const TOrtdatens& place) {
  std::string line = WritableName(name, ';');
  line += ';';
  line += LocationCoordinateText(place.Longitude);
  line += ';';
  line += LocationCoordinateText(place.Latitude);
  line += ';';
  line += std::to_string(place.Zone);
  line += ';';
  line += std::to_string(place.ExtraMinutes);
  if (!place.Postcode.empty()) {
    line += ';';
    line += WritableName(place.Postcode, ';');
  }
  return line;
}

bool TLocationEditorModel::Load(const std::string& fileName) {
  HasSnapshot = false;
  if (!List.Neuedateiladen(fileName, 0, true)) {
    FileName.clear();
    ReadOnly = false;
    return false;
  }
  FileName = fileName;
  ReadOnly = List.Truncated;
  if (ReadOnly) {
    ShowMessage("Die Datei " + fileName + " hat mehr Einträge, als die Liste fassen kann; sie wird nur angezeigt.",
                "The file " + fileName + " holds more entries than the list can take; it is shown read-only.",
                MessageIcon::Warning);
  }
  ShowSelected();
  return true;
}

void TLocationEditorModel::ShowSelected() {
  const int at = List.ItemIndex();
  if (at < 0) return;
  WorkingName = List.Name(at);
  Working = List.Place(at);
  snapshotName_ = WorkingName;
  snapshot_ = Working;
  HasSnapshot = true;
}

bool TLocationEditorModel::Store() {
  const int at = List.ItemIndex();
  if (at < 0 || ReadOnly) return false;
  List.ReplaceAt(at, EditorName(WorkingName, 255), Working);
  WorkingName = List.Name(at);
  return Save();
}

bool TLocationEditorModel::Undo() {
  const int at = List.ItemIndex();
  if (!HasSnapshot || at < 0 || ReadOnly) return false;
  WorkingName = snapshotName_;
  Working = snapshot_;
  List.ReplaceAt(at, WorkingName, Working);
  return Save();
}

bool TLocationEditorModel::NewRecord() {
  if (ReadOnly || FileName.empty()) return false;
  List.Add(ByLanguage("Neuer Ort", "New location"), TOrtdatens{0, 0, 0, 0, {}});
  ShowSelected();
  return Save();
}

bool TLocationEditorModel::DeleteSelected() {
  if (ReadOnly) return false;
  const int at = List.ItemIndex();
  if (List.Count() <= 1 || at < 0) {
    ShowMessage("Der letzte Datensatz kann nicht gelöscht werden.", "You cannot delete the last dataset.",
                MessageIcon::Error);
    return false;
  }
  List.Remove(at);
  List.SetItemIndex(at < List.Count() ? at : List.Count() - 1);
  ShowSelected();
  return Save();
}

bool TLocationEditorModel::CreateFile(const std::string& fileName) {
  const std::string text = std::string(kLocationFileFirstLine) + "\r\n" + kLocationFileSecondLine + "\r\n" +
                           LocationRecordToLine(ByLanguage("Neuer Ort", "New location"), TOrtdatens{0, 0, 0, 0, {}});
  return CreateEditorFile(fileName, text);
}

bool TLocationEditorModel::Save() {
  if (ReadOnly) return false;
  std::vector<std::string> entries;
  entries.reserve(static_cast<std::size_t>(List.Count()));
  for (int k = 0; k < List.Count(); ++k) entries.push_back(LocationRecordToLine(List.Name(k), List.Place(k)));
  return SaveEditorFile(FileName, List.Lines, entries);
}

}  // namespace kvx
