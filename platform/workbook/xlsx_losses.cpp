#include "platform/workbook/xlsx_losses.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <orcus/sax_ns_parser.hpp>
#include <orcus/xml_namespace.hpp>

#include "platform/ascii_case.h"
#include "platform/workbook/xlsx_text.h"
#include "platform/workbook/xml_walk.h"

namespace kvx::workbook {

namespace {

// True when `text` ends with `end` (lower case) in any letter case.
bool EndsWithFolded(std::string_view text, std::string_view end) {
  return text.size() >= end.size() &&
         std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
                    [](char lower, char c) { return lower == AsciiLower(c); });
}

// The formulas that stand for a truth value: TRUE() and FALSE(), in any
// letter case, blanks around them allowed.
bool TruthFormula(std::string_view formula) {
  while (!formula.empty() && std::isspace(static_cast<unsigned char>(formula.front()))) formula.remove_prefix(1);
  while (!formula.empty() && std::isspace(static_cast<unsigned char>(formula.back()))) formula.remove_suffix(1);
  std::string upper(formula);
  for (char& c : upper) c = AsciiUpper(c);
  return upper == "TRUE()" || upper == "FALSE()";
}

// Counts while the parser walks one part. The attributes of an element
// arrive before its start.
class TLossCounter : public orcus::sax_ns_handler {
 public:
  TLossCounter(bool worksheet, TReadLosses& losses) : worksheet_(worksheet), losses_(losses) {}

  void attribute(std::string_view, std::string_view) {}
  void attribute(const orcus::sax_ns_parser_attribute& attribute) {
    if (attribute.ns_alias.empty() && attribute.name == "t") type_ = attribute.value;
    // A password (by its old hash or a newer one), and the workbook's own
    // locks: the writer keeps a sheet's protection only, without them.
    const std::string_view name = attribute.name;
    const bool on = attribute.value == "1" || attribute.value == "true";
    if (name == "password" || name == "hashValue" || name == "workbookPassword" || name == "workbookHashValue" ||
        ((name == "lockStructure" || name == "lockWindows") && on)) {
      guarded_ = true;
    }
  }

  void start_element(const orcus::sax_ns_parser_element& element) {
    const std::string_view name = element.name;
    if (root_.empty()) root_ = name;
    if (guarded_ &&
        ((worksheet_ && name == "sheetProtection") || (root_ == "workbook" && name == "workbookProtection"))) {
      ++losses_[TReadLoss::Protections];
    }
    guarded_ = false;
    if (worksheet_) {
      if (name == "c") {
        cellType_ = type_;
        cellFormula_ = false;
        formula_.clear();
      } else if (name == "f") {
        cellFormula_ = true;
        inFormula_ = true;
      } else if (name == "mergeCell") {
        ++losses_[TReadLoss::MergedRanges];
      } else if (name == "dataValidation") {
        ++losses_[TReadLoss::DataValidations];
      } else if (name == "conditionalFormatting") {
        ++losses_[TReadLoss::ConditionalFormats];
      } else if (name == "hyperlink") {
        ++losses_[TReadLoss::Hyperlinks];
      }
    } else if (root_ == "wsDr" && (name == "pic" || name == "sp")) {
      ++losses_[TReadLoss::Pictures];
    } else if (root_ == "comments" && name == "comment") {
      ++losses_[TReadLoss::Comments];
    } else if (root_ == "sst" && name == "si") {
      runs_ = false;
    } else if (root_ == "sst" && name == "rPr") {
      runs_ = true;
    }
    type_.clear();
  }

  void end_element(const orcus::sax_ns_parser_element& element) {
    const std::string_view name = element.name;
    if (worksheet_ && name == "f") {
      inFormula_ = false;
    } else if (worksheet_ && name == "c") {
      if (cellType_ == "b" || (cellFormula_ && TruthFormula(formula_))) ++losses_[TReadLoss::Booleans];
      if (cellType_ == "e" && !cellFormula_) ++losses_[TReadLoss::ErrorValues];
    } else if (root_ == "sst" && name == "si" && runs_) {
      ++losses_[TReadLoss::TextRuns];
    }
  }

  void characters(std::string_view text, bool) {
    if (inFormula_) formula_.append(text);
  }

  // The root element's local name, once the parser has seen it.
  std::string_view Root() const { return root_; }

 private:
  bool worksheet_;
  TReadLosses& losses_;
  std::string root_;
  std::string type_;      // the "t" attribute of the element about to start
  std::string cellType_;  // of the cell being read
  bool cellFormula_ = false;
  bool inFormula_ = false;
  std::string formula_;
  bool runs_ = false;     // the shared string being read has runs of its own fonts
  bool guarded_ = false;  // the element about to start names a password or a lock
};

// The local name of the first element of an XML text; empty when there is
// none or a comment comes before it (the parse then decides).
std::string_view RootName(std::string_view xml) {
  for (std::size_t at = xml.find('<'); at != std::string_view::npos; at = xml.find('<', at + 1)) {
    if (at + 1 < xml.size() && xml[at + 1] == '?') continue;
    if (at + 1 < xml.size() && xml[at + 1] == '!') return {};
    std::size_t end = at + 1;
    while (end < xml.size() && xml[end] != ' ' && xml[end] != '>' && xml[end] != '/' && xml[end] != '\t' &&
           xml[end] != '\r' && xml[end] != '\n') {
      ++end;
    }
    const std::string_view name = xml.substr(at + 1, end - at - 1);
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
  }
  return {};
}

// Whether a part may hold something to count, by a scan much cheaper than
// the parse: a worksheet names the elements counted, a type "b" or "e",
// or a formula's "()"; another part has a root that is counted. Character
// references ("&#...;") could hide any of these: such a part is parsed.
bool MayHoldLosses(std::string_view text, bool worksheet) {
  if (text.find("&#") != std::string_view::npos) return true;
  if (worksheet) {
    for (const std::string_view mark :
         {"mergeCell", "dataValidation", "conditionalFormatting", "hyperlink", "()", "sheetProtection"}) {
      if (text.find(mark) != std::string_view::npos) return true;
    }
    return HoldsOneLetterValue(text, 'b') || HoldsOneLetterValue(text, 'e');
  }
  const std::string_view root = RootName(text);
  if (root.empty()) return true;
  if (root == "sst") return text.find("rPr") != std::string_view::npos;
  if (root == "workbook") return text.find("workbookProtection") != std::string_view::npos;
  return root == "wsDr" || root == "comments" || root == "chartSpace" || root == "table" ||
         root == "pivotTableDefinition";
}

}  // namespace

void CountPartLosses(const std::string& name, std::string_view text, bool worksheet, TReadLosses& losses) {
  if (EndsWithFolded(name, "vbaproject.bin")) {
    ++losses[TReadLoss::Macros];
    return;
  }
  if (!EndsWithFolded(name, ".xml") || !MayHoldLosses(text, worksheet)) return;
  // Counted apart first: a part that stops parsing half way adds nothing.
  TReadLosses counted;
  TLossCounter counter(worksheet, counted);
  if (!WalkXml(text, counter)) return;
  if (!worksheet) {
    if (counter.Root() == "chartSpace") ++counted[TReadLoss::Charts];
    if (counter.Root() == "table") ++counted[TReadLoss::Tables];
    if (counter.Root() == "pivotTableDefinition") ++counted[TReadLoss::PivotTables];
  }
  for (int k = 0; k < kReadLossKinds; ++k) losses.Counts[k] += counted.Counts[k];
}

}  // namespace kvx::workbook
