// The element-file names the fuzz targets open and save under, taken from
// the lists' format tables, so that a new row is fuzzed without a change
// here.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "catalogues/element_file_formats.h"

namespace kvx::fuzz {

// An extension of the tables (".CSV") as a file name ends: ".csv".
inline std::string LowerExtension(std::string extension) {
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return extension;
}

// A name for each extension a list's table reads, in table order: `stem`
// with the extension in lower case. The asteroid catalogue row picks its
// reader by the file's name: it gets a name for each of its readers.
template <class TList>
std::vector<std::string> ElementReadNames(std::span<const TElementFileFormat<TList>> formats, const std::string& stem) {
  std::vector<std::string> names;
  for (const TElementFileFormat<TList>& format : formats) {
    const std::vector<std::string> stems =
        format.Format == TElementFormat::Catalogue ? std::vector<std::string>{"astorb", "mpcorb", "MPCORBCR"}
                                                   : std::vector<std::string>{stem};
    for (const std::string& extension : format.ReadExtensions) {
      for (const std::string& s : stems) {
        const std::string name = s + LowerExtension(extension);
        bool known = false;
        for (const std::string& n : names) known = known || n == name;
        if (!known) names.push_back(name);
      }
    }
  }
  return names;
}

// The name a row saves under: "out<k>" with its first save extension in
// lower case (k the row's place in its table).
template <class TList>
std::string ElementSaveName(std::span<const TElementFileFormat<TList>> formats, const TElementFileFormat<TList>& row) {
  const std::string extension = row.SaveExtensions.empty() ? std::string() : row.SaveExtensions.front();
  return "out" + std::to_string(&row - formats.data()) + LowerExtension(extension);
}

}  // namespace kvx::fuzz
