// Small routines shared by the main window, the dialogs and the event lists:
// the kinds of conjunction of the conjunction search, the standard message
// boxes of input checks, the cell-text matchers of find and replace, path and
// folder routines and a few number and text utilities.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace kvx {

// --- Conjunction kinds -------------------------------------------------------
// The options of the conjunction search are a 40-byte record; its byte 1 asks
// for conjunctions in longitude, byte 2 for the smallest angular separation.
inline constexpr std::size_t kConjunctionOptionsSize = 40;

// 3 (smallest separation) when byte 2 is set, else 2 (longitude) when byte 1
// is set, else 1 (right ascension).
int ConjunctionKindOf(std::span<const std::uint8_t> options);
// Caption of a kind, German or English by LanguageEnglish.
std::string ConjunctionKindText(int kind);
// "A.S.", "K.L." or "K.RA".
std::string ConjunctionKindAbbrev(std::span<const std::uint8_t> options);

// --- Standard message boxes ------------------------------------------------
void ShowRowLimitReached();
void ShowLatitudeRangeError();
void ShowLongitudeRangeError();
void ShowImplausibleValues();
void ShowNoEventFound();
// Chooses the language by the main window's own language byte
// (0 German, non-zero English), not by LanguageEnglish.
void ShowIntegrationStartTooNear(std::uint8_t mainWindowLanguageEnglish);

// Checks the minimal distance typed into an edit (degrees, decimal or with
// degree and minute marks). Accepted when it is a number from 0.01 to 40 as
// typed: `value` becomes it in decimal degrees and the result is true.
// Otherwise a stop box names the range, `editText` is set back to `value`
// written as degrees, minutes and seconds, and the result is false.
bool CheckMinimalDistanceInput(std::string& editText, double& value);

// --- Cell-text matchers of find and replace ---------------------------------
// `position` is the 1-based character position of the match (1 for the
// whole-text matchers). The no-case variants compare upper-cased texts
// (umlauts included).
bool MatchWholeCase(const std::string& searched, const std::string& cell, int& position);
bool MatchWholeNoCase(const std::string& searched, const std::string& cell, int& position);
bool MatchPartCase(const std::string& searched, const std::string& cell, int& position);
bool MatchPartNoCase(const std::string& searched, const std::string& cell, int& position);
// The text upper-cased, with the letters of Windows-1252 beyond ASCII.
std::string UpperCaseText(const std::string& text);

// --- Paths and folders -------------------------------------------------------
// The absolute form of `path` with each existing component spelt as the file
// system stores it (a component that matches an entry only when case is
// ignored takes the entry's spelling). From the first component that does
// not exist on, the rest of the path is kept as given.
void LongPathName(const std::string& path, std::string& result);
// Removes one trailing path separator ("/" or "\"); a root stays as it is.
std::string StripTrailingBackslash(std::string& path);
// Removes the first ".".
std::string RemoveFirstDot(const std::string& text);
// Asks the installed folder chooser (platform/folder_chooser.h). True when the
// user confirmed; `folder` then holds the chosen folder.
bool SelectFolder(std::string& folder, int helpContext, unsigned options);
// Calls `found` with the path of every regular file in `folder` and its
// subfolders whose name matches `mask` ("*" and "?" wildcards, case
// ignored), in sorted order. Symbolic links to folders are not followed;
// unreadable folders are skipped.
void SearchFilesRecursive(const std::string& folder, const std::string& mask,
                          const std::function<void(const std::string&)>& found);
// True when `name` matches the wildcard mask, case ignored.
bool WildcardMatch(const std::string& mask, const std::string& name);

// --- Small utilities ----------------------------------------------------------
// A cell reference like "B:12": row 12, column 2 (A = 1). Anything else gives
// row 1 and column 1.
void ParseColumnRowRef(const std::string& text, std::int32_t& row, std::int32_t& column);
// An hour value of [0, 24) as a whole hour, rounded, but never "24". "--"
// for a value that is not a finite number or has a magnitude of 1e15 or more.
std::string RoundedHourText(double hours);
// " nördlich" / " northern" for x >= 0, " südlich" / " southern" otherwise.
std::string NorthSouthText(double x);
// The name of item i of the main window's list of objects; empty when i is
// outside the list.
std::string ObjectNameByIndex(const std::vector<std::string>& objectNames, int index);
std::int32_t LargerInt(std::int32_t a, std::int32_t b);
double SmallerDouble(double a, double b);

}  // namespace kvx
