// The elements of an .xlsx workbook's parts that the reading needs, and
// the namespace each must stand in.
//
// The reading library reads an element only in the namespace of the
// format (http://schemas.openxmlformats.org/spreadsheetml/2006/main, or
// its strict form http://purl.oclc.org/ooxml/spreadsheetml/main) and passes
// over one of any other namespace with all it holds: a <sheetData> that
// declares another default namespace opens as an empty sheet, a <cellXfs>
// of another namespace as a workbook without formats. One walk of a
// namespace-aware parser over each part finds:
//   - whether the part is well-formed XML (every element closed);
//   - the root element's name and namespace;
//   - an element the reading needs that stands where the reading looks for
//     it, but in another namespace: a child, named in kNeededChildren, of an
//     element of the format's namespace (<sheetData> of <worksheet>, <v> of
//     <c>, <cellXfs> of <styleSheet>, <xf> of <cellXfs> ...); any child of
//     another namespace inside an element whose content is cells, texts or
//     formats throughout (<sheetData>, <row>, <c>, <si>, <cellXfs> ...), as
//     a wrapper would hide them; and one of the elements that hold the cells
//     (<sheetData>, <row>, <c>, <sheets>, <si>, <cellXfs>) of the format's
//     namespace inside an element of another;
//   - whether a worksheet's cells name shared strings (t="s") or cell
//     formats (s other than "0" on <c> or <row>);
//   - whether the part writes every element of the format's namespace with
//     one prefix ("x:worksheet", "x:c"), legal XML that the program's own
//     scans of the cell data (xlsx_numbers.h, xlsx_settings.h) do not
//     follow: UnprefixedElements gives such a part the default namespace.
// Elements of other namespaces elsewhere (extensions in <extLst>, markup
// compatibility blocks at the top of a part) are no fault: the reading
// needs nothing from them.
#pragma once

#include <string>
#include <string_view>

namespace kvx::workbook {

struct TXlsxPartWalk {
  bool WellFormed = false;      // parsed to its end with every element closed
  std::string RootName;         // local name of the root element
  std::string RootNamespace;    // its namespace, empty for none
  bool ForeignElement = false;  // an element the reading needs in another namespace (above)
  bool NamesSharedStrings = false;
  bool NamesFormats = false;
  std::string MainPrefix;  // the one prefix of every element of the format's namespace, when UnprefixedElements applies
};

// Walks one XML part.
TXlsxPartWalk WalkXlsxPart(std::string_view text);

// Removes the prefix `prefix` (walk.MainPrefix) from every start and end
// tag of the part and declares the format's namespace as the default one
// on the root element; comments, CDATA sections and processing
// instructions stay as they are. True when the part changed.
bool UnprefixedElements(std::string& text, std::string_view prefix);

}  // namespace kvx::workbook
