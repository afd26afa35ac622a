// The element-file formats of the asteroid and the comet list, one table per
// list and one row per format: its extensions, the number the list reports
// for it, its reader and writer and its filters in the open and the save
// dialog. The lists' loaders, the open dialog (data_file_kinds), the save
// dialog and its save-target query all read these tables; a new format is a
// row plus its reader and writer.
//
// Numbers. TElementFormat numbers each format once for both lists. The
// number a list reports (StoredCode, the list's ElementFileKind) is kept in
// the configuration file (one byte per list), so the comet list keeps its
// own codes for two formats: HomePlanet is 3 for asteroids and 2 for
// comets, Guide is 3 for comets. Everything else agrees with TElementFormat.
//
//   format      asteroids          comets
//   OwnText     0 ".csv"           0 ".csv", ".txt" the MPC reader refuses
//   Binary      1 ".opl"           1 ".oko"
//   Catalogue   2 ".dat" (ASTORB, MPCORB)
//   HomePlanet  3 ".csv"           2 ".csv"
//   SkyMap      4 ".sky", ".cat"   4 ".sky", ".cat"
//   MpcText     5 ".txt"           5 ".txt" (saved as the VDS listing)
//   Guide                          3 ".dat"
//
// Loading: the rows that read the file's extension are tried in table
// order; a reader that finds the file is not of its format passes it to the
// next such row, with the complaint of the one before dropped. The list
// reports the code of the last row tried. No row for the extension: the
// invalid-format warning, the reported code unchanged.
// Saving: the rows that write the chosen extension; more than one (".csv")
// are offered by their ChoiceName.
//
// A new format: a TElementFormat name, a row in each list that has it (with
// a StoredCode no row of that list uses yet, since stored codes are never
// reused), its reader and writer as routines of the list, and a
// TElementWriter label when it is saved.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "catalogues/element_dialog_model.h"

namespace kvx {

class Planetoidentabelle;
class Kometentabelle;

enum class TElementFormat : std::uint8_t {
  OwnText = 0,
  Binary = 1,
  Catalogue = 2,
  HomePlanet = 3,
  SkyMap = 4,
  MpcText = 5,
  Guide = 6,
};

// What a reader made of a file.
enum class TFormatRead {
  Read,           // the list holds the file's records
  Failed,         // the file is of this format but could not be used
  NotThisFormat,  // the next row reading the extension may try
};

// One filter of a file dialog: the texts as the dialog shows them and the
// pattern ("*.csv").
struct TFormatFilter {
  const char* German;
  const char* English;
  const char* Pattern;
};

template <class TList>
struct TElementFileFormat {
  TElementFormat Format = TElementFormat::OwnText;
  std::uint8_t StoredCode = 0;
  // Extensions with the dot, upper case; the file's extension matches in
  // any case.
  std::vector<std::string> ReadExtensions;
  // errorText: a reason that names the file, for the lists' error message.
  TFormatRead (*Read)(TList& list, const std::string& fileName, bool showMessages, std::string& errorText) = nullptr;
  std::vector<std::string> SaveExtensions;
  TElementWriter Writer = TElementWriter::Refused;
  bool (*Write)(TList& list, const std::string& fileName) = nullptr;
  // The list's code after saving: StoredCode, or -1 to keep the code it had.
  int CodeAfterSave = -1;
  const char* ChoiceName = "";
  // Where the format's filters stand in the dialogs (1 first; 0 none).
  int OpenPosition = 0;
  std::vector<TFormatFilter> OpenFilters;
  int SavePosition = 0;
  std::vector<TFormatFilter> SaveFilters;

  bool Reads(const std::string& upperExtension) const { return Has(ReadExtensions, upperExtension); }
  bool Writes(const std::string& upperExtension) const { return Has(SaveExtensions, upperExtension); }

 private:
  static bool Has(const std::vector<std::string>& list, const std::string& extension) {
    for (const std::string& e : list) {
      if (e == extension) return true;
    }
    return false;
  }
};

std::span<const TElementFileFormat<Planetoidentabelle>> AsteroidFileFormats();
std::span<const TElementFileFormat<Kometentabelle>> CometFileFormats();
// The table of a list type.
template <class TList>
std::span<const TElementFileFormat<TList>> ElementFileFormats() {
  if constexpr (std::is_same_v<TList, Planetoidentabelle>) {
    return AsteroidFileFormats();
  } else {
    return CometFileFormats();
  }
}

// The open dialog's filter of a list as "text|pattern|text|pattern...".
std::string ElementOpenFilter(TElementDialogKind kind, bool english);
// The save dialog's filters of a list in the seam's form "text (pattern)".
std::vector<std::string> ElementSaveFilters(TElementDialogKind kind, bool english);
// The choice names of the formats that write `fileName`'s extension, in
// table order (empty: the extension is not saved).
std::vector<std::string> ElementSaveChoices(TElementDialogKind kind, const std::string& fileName);
// Whether either list reads files with this extension (".OPL", upper case).
bool IsElementFileExtension(const std::string& upperExtension);
// The format a list's stored code stands for (nothing for an unknown code),
// and back.
std::optional<TElementFormat> ElementFormatOfCode(TElementDialogKind kind, std::uint8_t code);
std::optional<std::uint8_t> ElementCodeOfFormat(TElementDialogKind kind, TElementFormat format);

// The upper-case extension of a name chosen in the save dialog, with its
// dot (empty when the last dot is in a folder name or there is none; a
// name that is only an extension, "/x/.csv", has one).
std::string SaveExtensionOf(const std::string& fileName);

// The rows of `formats` that write `fileName`'s extension, in table order.
template <class TList>
std::vector<const TElementFileFormat<TList>*> FormatsWriting(std::span<const TElementFileFormat<TList>> formats,
                                                             const std::string& fileName) {
  const std::string extension = SaveExtensionOf(fileName);
  std::vector<const TElementFileFormat<TList>*> rows;
  for (const TElementFileFormat<TList>& format : formats) {
    if (format.Writes(extension)) rows.push_back(&format);
  }
  return rows;
}

}  // namespace kvx
