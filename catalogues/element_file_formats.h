// The element-file formats of the asteroid and the comet list, one table per
// list and one row per format (catalogues/element_format_row.h): its
// extensions, the code the list reports for it, its reader, its writer with
// its name and encoding, and its filters in the open and the save dialog.
// The lists' loaders and writers, the open dialog (data_file_kinds) and the
// save dialog all read these tables; a new format is a row plus its reader
// and writer. What the readers' lines hold, and which of their number
// fields may be blank, is said once, in element_format_fields.h.
//
// Codes. TElementFormat numbers each format once for both lists. The code a
// list reports (StoredCode, the list's ElementFileKind) is kept in the
// configuration file (one byte per list), so the comet list keeps its own
// codes for two formats: HomePlanet is 3 for asteroids and 2 for comets,
// Guide is 3 for comets. The rows of element_file_formats.cpp give each
// list's codes and extensions.
//
// Loading: the rows that read the file's extension are tried in table
// order; a reader that finds the file is not of its format passes it to the
// next such row, with the complaint of the one before dropped. The list
// reports the code of the last row tried. No row for the extension: the
// invalid-format warning, the reported code unchanged.
// Saving: the rows with a writer that write the chosen extension; more than
// one (".csv") are offered by their choice names. None: the save is refused
// ("Datei nicht gespeichert").
//
// A new format: a TElementFormat name, a row in each list that has it (with
// a StoredCode no row of that list uses yet, since stored codes are never
// reused), its reader with its line's fields in element_format_fields.h
// and, when it is saved, its writer with the format's name and encoding, as
// routines of the list.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "catalogues/asteroid_list.h"
#include "catalogues/comet_list.h"
#include "catalogues/element_dialog_model.h"
#include "catalogues/element_format_row.h"
#include "catalogues/list_messages.h"

namespace kvx {

// The table of a list type (AsteroidFileFormats, CometFileFormats).
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
// table order (empty: the extension is not saved, and the save dialog
// refuses it).
std::vector<std::string> ElementSaveChoices(TElementDialogKind kind, const std::string& fileName);
// Whether either list reads files with this extension (".OPL", upper case).
bool IsElementFileExtension(const std::string& upperExtension);
// The format a list's stored code stands for (nothing for an unknown code),
// and back.
std::optional<TElementFormat> ElementFormatOfCode(TElementDialogKind kind, std::uint8_t code);
std::optional<std::uint8_t> ElementCodeOfFormat(TElementDialogKind kind, TElementFormat format);

// The rows of `formats` that write `fileName`'s extension (SaveExtensionOf),
// in table order.
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
