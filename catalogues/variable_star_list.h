// The variable-star list: the light elements of the stars of one
// semicolon-separated file, sorted by name. No built-in list, no item limit,
// no binary form.
//
// File: text lines; empty lines and lines beginning with ":" are headers or
// comments (the editor writes ":ELEMENTE VARIABLE VAMUR!**Elemente fuer
// veraenderliche Sterne**"); data lines
//   Name;RA;Dec;MaxMag;MinMag;Epoch;Period;Equinox;Type
// RA packed hours H.MMSS, Dec packed degrees D.MMSS of the equinox (a
// year), Epoch a Julian day, Period days; either decimal mark.
#pragma once

#include <string>

#include "catalogues/element_list.h"
#include "core/variable_star_elements.h"

namespace kvx {

class variablentabelle : public TElementList<TVariableStarElements> {
 public:
  variablentabelle() : TElementList(1 << 30) {}

  // Reads the file; on success selects `index` (item 0 when out of range)
  // and raises the change hook. On failure the list keeps its content and,
  // with `showMessages`, "Datei/File <name> nicht gefunden/not found!" is
  // shown.
  bool Neuedateiladen(const std::string& fileName, int index, bool showMessages);
  // False when the file cannot be opened (the list untouched); true also
  // for a file without data lines. Unusable lines (period <= 0) are skipped
  // and kept in SkippedLines.
  bool ReadVariableFile(const std::string& fileName);
};

}  // namespace kvx
