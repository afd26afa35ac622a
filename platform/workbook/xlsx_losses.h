// What an .xlsx package holds that the program's workbook does not keep,
// counted part by part from the parts' XML (read_losses.h).
#pragma once

#include <string>
#include <string_view>

#include "platform/workbook/read_losses.h"

namespace kvx::workbook {

// Adds to `losses` what one part holds that the workbook does not keep.
// A worksheet part (`worksheet`): its merged ranges; its truth values, the
// cells of type "b" (values and formula results alike) and the formulas
// TRUE() and FALSE() of other types; its error values that are no formula
// results (cells of type "e" without a formula); its data validation rules,
// conditional formats and hyperlinks. Any other part by its root element:
// the workbook's password or locks of its protection, a chart, the
// pictures and shapes of a drawing, the comments, a table, a
// pivot table, the shared strings with fonts of their own for runs of the
// text; a macro project by its name. Counted from the elements and
// attributes as an XML parser reads them, so that text inside cells and
// attribute values never counts. The part must be well-formed XML
// (checked before); a part that does not parse adds nothing. Only a part
// that a scan of its text shows to hold what is counted is parsed (most
// worksheets hold none of it).
void CountPartLosses(const std::string& name, std::string_view text, bool worksheet, TReadLosses& losses);

}  // namespace kvx::workbook
