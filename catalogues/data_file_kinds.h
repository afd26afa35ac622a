// The kinds of data file the open dialog knows: their filters, titles,
// default extensions, descriptions and the first lines that identify them,
// and the check of a chosen file against its kind.
//
// Kinds by keyword (compared in lower case): "ortebin", "planetoiden",
// "kometen", "variable", "konfig"; any other word (the location choice
// passes "orte") is the text location file. "nil" is looked up like any
// other word but its files are never checked.
#pragma once

#include <string>
#include <vector>

namespace kvx {

struct TDataFileKind {
  std::string Keyword;  // lower case; "orte" for every other word
  // Filters as "text|pattern|text|pattern..." in German and English.
  std::string FilterGerman, FilterEnglish;
  std::string DefaultExtension;  // without the dot
  // A first line is accepted when its text before the first "!" is one of
  // these (a line without "!" has no such text).
  std::vector<std::string> AcceptedBeforeBang;
  // Or when the whole first line equals this one (empty: none).
  std::string AcceptedWholeLine;
  std::string TitleGerman, TitleEnglish;
  std::string DescriptionGerman, DescriptionEnglish;
  int HelpContext = 0;
};

// The kind of `keyword` (any letter case).
const TDataFileKind& DataFileKindFor(const std::string& keyword);

// Whether `path` may be opened as a file of `kind`:
//   "ortebin"  the file must exist;
//   "konfig"   always;
//   others     the extensions the element lists read (any case, see
//              catalogues/element_file_formats.h) without reading, ".csv"
//              only for asteroids and comets; otherwise by the first line
//              (above). A file that cannot be opened, or a folder, is
//              refused.
bool DataFileAccepted(const TDataFileKind& kind, const std::string& path);

// "text|pattern|..." as the file-dialog seam's filters "text (pattern)"
// (a text that already names its pattern in parentheses stays as it is).
std::vector<std::string> DialogFilters(const std::string& filter);

}  // namespace kvx
