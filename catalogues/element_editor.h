// The element-file editors' model: one file of the asteroid, comet or
// variable-star list opened for editing record by record. Every accepted
// change is written at once (the form calls Store when a field is left).
//
// File: the leading ":" lines (HeaderLines) stay at the top; then one line
// per entry in list order (EditorRecordToLine); then, unchanged, the lines
// the list could not read and ":" lines found after the first entry
// (KeptLines), so a save never loses a line. A file the list read in another
// format (HomePlanet, SkyMap ...) is refused; a file cut at the list's item
// limit opens read-only. Writes go through a temporary file; a failed write
// reports it and keeps the old file (the entries on screen stay changed).
//
// Field checks: a text the user is still typing ("", "-", "+", ".", ",")
// is pending: neither stored nor refused. A complete text outside the
// field's rule is refused with the rule's message. Stored values are never
// checked: a foreign value outside a rule is shown as it is.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "catalogues/asteroid_list.h"
#include "catalogues/comet_list.h"
#include "catalogues/variable_star_list.h"
#include "platform/save_failure.h"

namespace kvx {

class TTextLineReader;

// What a field accepts.
enum class TFieldTest : std::uint8_t {
  Any,           // any number
  Positive,      // x > 0
  NonNegative,   // x >= 0
  Eccentricity,  // 0 <= x < 1 (closed orbits)
  Angle,         // 0 <= x < 360
  Hours,         // 0 <= x < 24
  Declination,   // -90 <= x <= 90
  Magnitude,     // -2 <= x < 30
};

struct TEditorFieldRule {
  const char* Control;  // the edit's object name
  TFieldTest Test;
  int Decimals;  // shown with this many decimals
  // The message of a refused value (German caption and text, English
  // caption and text); a null German text: the field is only reset.
  const char* GermanCaption;
  const char* GermanText;
  const char* EnglishCaption;
  const char* EnglishText;
};

enum class TFieldState : std::uint8_t { Accepted, Pending, Refused };

bool FieldValueAccepted(TFieldTest test, double x);
// Reads a typed value ("," or "." as decimal mark).
TFieldState CheckEditorField(const TEditorFieldRule& rule, const std::string& text, double& value);

// Per-editor constants and field tables.
struct TEditorKind {
  const char* Section;      // settings section
  const char* DefaultFile;  // in the data folder
  const char* OfferedFile;  // offered when the registered file is missing
  const char* FirstLine;    // first line of a new file
  const char* NewNameGerman;
  const char* NewNameEnglish;
  std::size_t NameLength;  // characters kept of a typed name
};

extern const TEditorKind kAsteroidEditor;
extern const TEditorKind kCometEditor;
extern const TEditorKind kVariableStarEditor;

// The fields of each editor in the order of the record's numeric members.
std::span<const TEditorFieldRule> AsteroidEditorFields();      // a e i node per M n equinox epoch H G
std::span<const TEditorFieldRule> CometEditorFields();         // q e i node per equinox T H G epoch
std::span<const TEditorFieldRule> VariableStarEditorFields();  // RA Dec max min epoch period equinox

// The numeric fields of a record by the index of its field table.
double& EditorField(TAsteroidElements& r, std::size_t field);
double& EditorField(TCometElements& r, std::size_t field);
double& EditorField(TVariableStarElements& r, std::size_t field);

// One entry line of the file (no line end).
std::string EditorRecordToLine(const TAsteroidElements& r);
std::string EditorRecordToLine(const TCometElements& r);
std::string EditorRecordToLine(const TVariableStarElements& r);

// A new entry at the Julian day `jd` with the editor's new-entry name.
TAsteroidElements NewAsteroidEditorRecord(double jd);
TCometElements NewCometEditorRecord(double jd);
TVariableStarElements NewVariableStarEditorRecord(double jd);

// A typed name: ";" (it would split the line) removed, cut to `length`
// characters (UTF-8 aware).
std::string EditorName(const std::string& typed, std::size_t length);

// The lines of a file around its entries.
struct TEditorFileLines {
  std::vector<std::string> HeaderLines;  // leading ":" lines
  std::vector<std::string> KeptLines;    // unreadable lines and later ":" lines
  TOpenedFile Opened;                    // the file as read, to ask before writing over another program's change
};
// Splits a file's lines: the leading ":" lines, and after them every line
// that is a ":" line or whose number is in `skipped` (the list's unusable
// lines). Empty lines are dropped.
TEditorFileLines ReadEditorFileLines(const std::string& fileName, const std::vector<TSkippedElementLine>& skipped);

// What a reader of an editor file does with a line that is not a ":" line.
enum class TEditorLineUse { Kept, Taken, Stop };
// Reads the rest of an opened file: the leading ":" lines into
// `lines.HeaderLines`, later ":" lines into `lines.KeptLines`, empty lines
// dropped; every other line goes to `entry` (with its line number), and
// into `lines.KeptLines` when it answers Kept. Stop ends the reading.
void ReadEditorLines(TTextLineReader& reader, TEditorFileLines& lines,
                     const std::function<TEditorLineUse(const std::string& line, int lineNumber)>& entry);

// Writes header, entries and kept lines through a temporary file. False
// (with the message "Speichern nicht möglich" / "File cannot be saved"
// naming the file) when the file does not exist or cannot be replaced,
// and when another program changed the file since `lines` were read and
// the user keeps its change. The text is written as UTF-8 (the editors'
// files are the program's own).
bool SaveEditorFile(const std::string& fileName, TEditorFileLines& lines, const std::vector<std::string>& entryLines);

// Creates a new file holding `text` and a line end. False with a message
// when it cannot be written.
bool CreateEditorFile(const std::string& fileName, const std::string& text);

}  // namespace kvx
