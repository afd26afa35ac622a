// The checks of an .xlsx package before the reading library sees it
// (xlsx_checks.h): the parts' XML, the strict namespaces, the package's
// relationships, the <col> ranges, the fallback of bad formulas and inline
// strings, and the count of what the workbook does not keep; the zip
// container itself is read and written in xlsx_zip.cpp.
#include "platform/workbook/xlsx_checks.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <orcus/sax_ns_parser.hpp>
#include <orcus/xml_namespace.hpp>
#include <string_view>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/number_text.h"
#include "platform/text_encoding.h"
#include "platform/workbook/cell_reference.h"
#include "platform/workbook/formula_engine.h"
#include "platform/workbook/read_failure.h"
#include "platform/workbook/text_and_range_helpers.h"
#include "platform/workbook/xlsx_elements.h"
#include "platform/workbook/xlsx_losses.h"
#include "platform/workbook/xlsx_numbers.h"
#include "platform/workbook/xlsx_text.h"
#include "platform/workbook/xlsx_zip_internal.h"
#include "platform/workbook/xml_walk.h"

namespace kvx::workbook {

using internal::Entry;
using internal::InflateChecked;
using internal::ReadDirectory;
using internal::StoredZip;

namespace {

using internal::AllDigits;

// A whole number of at most nine digits (one an int holds).
bool SmallNumber(std::string_view s) { return AllDigits(s) && s.size() <= 9; }

std::string_view LocalName(std::string_view name) {
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// Every <col> element of the text has 1 <= min <= max <= 16384.
bool ColumnsHaveRanges(std::string_view text) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    std::size_t i = at + 1;
    std::size_t nameEnd = i;
    while (nameEnd < text.size() && !space(text[nameEnd]) && text[nameEnd] != '/' && text[nameEnd] != '>') ++nameEnd;
    if (LocalName(text.substr(i, nameEnd - i)) != "col") continue;
    std::string_view min;
    std::string_view max;
    i = nameEnd;
    while (true) {
      while (i < text.size() && space(text[i])) ++i;
      if (i >= text.size()) return false;
      if (text[i] == '/' || text[i] == '>') break;
      const std::size_t attrStart = i;
      while (i < text.size() && text[i] != '=' && !space(text[i]) && text[i] != '>') ++i;
      const std::string_view attr = LocalName(text.substr(attrStart, i - attrStart));
      while (i < text.size() && space(text[i])) ++i;
      if (i >= text.size() || text[i] != '=') return false;
      ++i;
      while (i < text.size() && space(text[i])) ++i;
      if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) return false;
      const std::size_t close = text.find(text[i], i + 1);
      if (close == std::string_view::npos) return false;
      const std::string_view value = text.substr(i + 1, close - i - 1);
      if (attr == "min") min = value;
      if (attr == "max") max = value;
      i = close + 1;
    }
    if (!SmallNumber(min) || !SmallNumber(max)) return false;
    const long first = std::stol(std::string(min));
    const long last = std::stol(std::string(max));
    if (first < 1 || first > last || last > 16384) return false;
  }
  return true;
}

// ------------------------------------------------------ formula fallback

// An element found in the XML text: its qualified name, where it starts,
// where its start tag ends (after '>'), where it ends (after its end tag or
// the self-closing tag) and where its content ends.
struct Element {
  std::string_view QName;
  std::size_t Start = 0;
  std::size_t TagEnd = 0;
  std::size_t ContentEnd = 0;
  std::size_t End = 0;
  bool Empty = false;
};

// The next element of local name `local` from `from` on (before `limit`).
bool FindElement(std::string_view text, std::string_view local, std::size_t from, std::size_t limit, Element& e) {
  for (std::size_t at = text.find('<', from); at != std::string_view::npos && at < limit; at = text.find('<', at + 1)) {
    std::size_t nameEnd = at + 1;
    while (nameEnd < limit && text[nameEnd] != ' ' && text[nameEnd] != '>' && text[nameEnd] != '/' &&
           text[nameEnd] != '\t' && text[nameEnd] != '\r' && text[nameEnd] != '\n') {
      ++nameEnd;
    }
    const std::string_view qname = text.substr(at + 1, nameEnd - at - 1);
    if (LocalName(qname) != local || qname.empty() || qname[0] == '/') continue;
    const std::size_t close = XmlTagEnd(text, nameEnd);
    if (close == std::string_view::npos || close >= limit) return false;
    e.QName = qname;
    e.Start = at;
    e.TagEnd = close + 1;
    e.Empty = text[close - 1] == '/';
    if (e.Empty) {
      e.ContentEnd = e.End = e.TagEnd;
      return true;
    }
    const std::string endTag = "</" + std::string(qname) + ">";
    const std::size_t endAt = text.find(endTag, e.TagEnd);
    if (endAt == std::string_view::npos || endAt + endTag.size() > limit) return false;
    e.ContentEnd = endAt;
    e.End = endAt + endTag.size();
    return true;
  }
  return false;
}

// A part rebuilt with some of its stretches replaced, in the order they
// stand in it; the text between them is copied as it is. The part must
// not change until Into.
class TPartRewrite {
 public:
  explicit TPartRewrite(const std::string& part) : part_(part) {}
  // Puts `with` in place of the part's bytes [start, end).
  void Replace(std::size_t start, std::size_t end, std::string_view with) {
    if (!changed_) out_.reserve(part_.size() + 256);
    out_.append(part_, copied_, start - copied_);
    out_ += with;
    copied_ = end;
    changed_ = true;
  }
  // False when nothing was replaced; else `part` takes the new text.
  bool Into(std::string& part) {
    if (!changed_) return false;
    out_.append(part_, copied_, std::string::npos);
    part = std::move(out_);
    return true;
  }

 private:
  const std::string& part_;
  std::string out_;
  std::size_t copied_ = 0;
  bool changed_ = false;
};

// The value of an attribute (by local name) of a start tag; empty if none.
std::string_view Attribute(std::string_view tag, std::string_view local) {
  std::size_t i = tag.find_first_of(" \t\r\n");
  while (i != std::string_view::npos && i < tag.size()) {
    while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t' || tag[i] == '\r' || tag[i] == '\n')) ++i;
    const std::size_t eq = tag.find('=', i);
    if (eq == std::string_view::npos || eq + 1 >= tag.size()) return {};
    const std::string_view name = tag.substr(i, eq - i);
    const char quote = tag[eq + 1];
    const std::size_t close = tag.find(quote, eq + 2);
    if (close == std::string_view::npos) return {};
    if (LocalName(name) == local) return tag.substr(eq + 2, close - eq - 2);
    i = close + 1;
  }
  return {};
}

// The start tag without its attribute `local` and without the closing '>'.
std::string WithoutAttribute(std::string_view tag, std::string_view local) {
  std::string out;
  std::size_t i = 0;
  while (i < tag.size()) {
    const std::size_t eq = tag.find('=', i);
    if (eq == std::string_view::npos || eq + 1 >= tag.size()) break;
    std::size_t nameStart = eq;
    while (nameStart > i && tag[nameStart - 1] != ' ' && tag[nameStart - 1] != '\t' && tag[nameStart - 1] != '\n' &&
           tag[nameStart - 1] != '\r') {
      --nameStart;
    }
    const char quote = tag[eq + 1];
    const std::size_t close = tag.find(quote, eq + 2);
    if (close == std::string_view::npos) break;
    out += tag.substr(i, nameStart - i);
    if (LocalName(tag.substr(nameStart, eq - nameStart)) != local) out += tag.substr(nameStart, close + 1 - nameStart);
    i = close + 1;
  }
  out += tag.substr(i);
  while (!out.empty() && (out.back() == '>' || out.back() == '/')) out.pop_back();
  return out;
}

// A formula the workbook's scan refuses, or the formula engine cannot
// parse with the file's sheet names (the reading library refuses the whole
// file for some, and loses the text and the stored value of the others).
bool BadFormula(std::string_view escapedText, const TFormulaChecker& checker) {
  const std::string text = DecodeXmlEntities(escapedText);
  return !text.empty() && !checker.Accepts(text);
}

// Replaces every cell whose formula is bad by the value the file stored
// for it (a number, a truth value, a text) or, without one, by the
// formula's text. Shared formulas whose first cell is bad go with it.
// True when the part changed.
bool ReplaceBadFormulas(std::string& part, int sheet, const TFormulaChecker& checker,
                        std::vector<TXlsxTextCell>& texts) {
  if (part.find("<f") == std::string::npos && part.find(":f") == std::string::npos) return false;
  const std::string_view text(part);
  std::vector<std::string> badShared;
  Element f;
  for (std::size_t at = 0; FindElement(text, "f", at, text.size(), f); at = f.End) {
    const std::string_view tag = text.substr(f.Start, f.TagEnd - f.Start);
    if (!f.Empty && Attribute(tag, "t") == "shared" &&
        BadFormula(text.substr(f.TagEnd, f.ContentEnd - f.TagEnd), checker)) {
      badShared.emplace_back(Attribute(tag, "si"));
    }
  }
  TPartRewrite rewrite(part);
  Element c;
  for (std::size_t at = 0; FindElement(text, "c", at, text.size(), c); at = c.End) {
    if (c.Empty || !FindElement(text, "f", c.TagEnd, c.ContentEnd, f)) continue;
    const std::string_view formulaTag = text.substr(f.Start, f.TagEnd - f.Start);
    const std::string_view formula = text.substr(f.TagEnd, f.ContentEnd - f.TagEnd);
    bool bad = !f.Empty && BadFormula(formula, checker);
    if (Attribute(formulaTag, "t") == "shared") {
      for (const std::string& si : badShared) bad = bad || Attribute(formulaTag, "si") == si;
    }
    if (!bad) continue;
    const std::string_view cellTag = text.substr(c.Start, c.TagEnd - c.Start);
    const std::string_view type = Attribute(cellTag, "t");
    const std::string prefix(c.QName.substr(0, c.QName.size() - 1));  // "" or "x:"
    Element v;
    const bool hasValue = FindElement(text, "v", c.TagEnd, c.ContentEnd, v) && !v.Empty;
    const std::string_view value = hasValue ? text.substr(v.TagEnd, v.ContentEnd - v.TagEnd) : std::string_view();
    std::string cell = WithoutAttribute(cellTag, "t");
    if (hasValue && (type.empty() || type == "n" || type == "b")) {
      if (type == "b") cell += " t=\"b\"";
      for (const std::string_view piece :
           {std::string_view("><"), std::string_view(prefix), std::string_view("v>"), value, std::string_view("</"),
            std::string_view(prefix), std::string_view("v></"), c.QName, std::string_view(">")}) {
        cell.append(piece);
      }
    } else {
      // The reading library takes no texts but shared ones: the cell stays
      // empty here and gets its text after the reading.
      std::string shown = hasValue && type == "str" ? std::string() : std::string("=");
      shown.append(hasValue && type == "str" ? value : formula);
      if (const auto at = ParseRange(Attribute(cellTag, "r")); at && at->IsSingleCell() && sheet >= 0) {
        const std::string_view style = Attribute(cellTag, "s");
        texts.push_back(TXlsxTextCell{sheet, at->Row1, at->Col1, DecodeXmlEntities(shown),
                                      SmallNumber(style) ? std::stoi(std::string(style)) : -1});
      }
      cell += "/>";
    }
    rewrite.Replace(c.Start, c.End, cell);
  }
  return rewrite.Into(part);
}

// Replaces every cell holding an inline string (t="inlineStr", as some
// programs write all their texts) or an error value that is no formula's
// result (t="e": the reading library drops it) by an empty cell of its
// style, and puts its text into `texts`: the reading library takes no
// texts but shared ones. The text of an inline string is that of the <t>
// elements of its <is>, phonetic runs left out; that of an error value
// its <v> ("#DIV/0!"); the cell keeps its format. `richTexts` counts the
// inline strings with fonts of their own for runs of the text (<rPr>),
// which the workbook does not keep. True when the part changed.
bool ReplaceTextCells(std::string& part, int sheet, std::vector<TXlsxTextCell>& texts, int& richTexts) {
  if (part.find("inlineStr") == std::string::npos && !HoldsOneLetterValue(part, 'e')) return false;
  const std::string_view text(part);
  TPartRewrite rewrite(part);
  Element c;
  for (std::size_t at = 0; FindElement(text, "c", at, text.size(), c); at = c.End) {
    const std::string_view cellTag = text.substr(c.Start, c.TagEnd - c.Start);
    const std::string_view type = Attribute(cellTag, "t");
    if (type != "inlineStr" && type != "e") continue;
    const auto where = ParseRange(Attribute(cellTag, "r"));
    if (!where || !where->IsSingleCell() || sheet < 0) continue;
    std::string value;
    Element inner;
    if (type == "e") {
      if (c.Empty || FindElement(text, "f", c.TagEnd, c.ContentEnd, inner)) continue;  // a formula's result
      if (FindElement(text, "v", c.TagEnd, c.ContentEnd, inner) && !inner.Empty) {
        value = text.substr(inner.TagEnd, inner.ContentEnd - inner.TagEnd);
      }
    } else if (!c.Empty && FindElement(text, "is", c.TagEnd, c.ContentEnd, inner) && !inner.Empty) {
      const Element is = inner;
      if (text.substr(is.TagEnd, is.ContentEnd - is.TagEnd).find("rPr") != std::string_view::npos) ++richTexts;
      std::vector<std::pair<std::size_t, std::size_t>> phonetic;
      Element r;
      for (std::size_t from = is.TagEnd; FindElement(text, "rPh", from, is.ContentEnd, r); from = r.End) {
        phonetic.emplace_back(r.Start, r.End);
      }
      Element t;
      for (std::size_t from = is.TagEnd; FindElement(text, "t", from, is.ContentEnd, t); from = t.End) {
        const bool inPhonetic = std::any_of(phonetic.begin(), phonetic.end(), [&](const auto& range) {
          return t.Start > range.first && t.End <= range.second;
        });
        if (!inPhonetic && !t.Empty) value.append(text.substr(t.TagEnd, t.ContentEnd - t.TagEnd));
      }
    }
    const std::string_view style = Attribute(cellTag, "s");
    const int xf = SmallNumber(style) ? std::stoi(std::string(style)) : -1;
    if (!value.empty()) texts.push_back(TXlsxTextCell{sheet, where->Row1, where->Col1, DecodeXmlEntities(value), xf});
    rewrite.Replace(c.Start, c.End, WithoutAttribute(cellTag, "t") + "/>");
  }
  return rewrite.Into(part);
}

// The entry of a part name: the same name, else one that differs only in
// the case of its letters (part names compare without case); null if none.
const Entry* FindPart(const std::vector<Entry>& entries, const std::string& name) {
  const Entry* folded = nullptr;
  for (const Entry& entry : entries) {
    if (entry.Name == name) return &entry;
    if (folded == nullptr && entry.Name.size() == name.size() &&
        std::equal(name.begin(), name.end(), entry.Name.begin(),
                   [](char a, char b) { return AsciiLower(a) == AsciiLower(b); })) {
      folded = &entry;
    }
  }
  return folded;
}

struct Relationship {
  std::string Id;
  std::string Type;
  std::string Target;  // as written (entities decoded)
  bool External = false;
  bool Found = false;           // the package holds the part it names (Target is then its name)
  std::size_t TargetStart = 0;  // where the attribute's value stands in the part
  std::size_t TargetLength = 0;
};

std::vector<Relationship> Relationships(std::string_view part) {
  std::vector<Relationship> relationships;
  Element e;
  for (std::size_t at = 0; FindElement(part, "Relationship", at, part.size(), e); at = e.End) {
    const std::string_view tag = part.substr(e.Start, e.TagEnd - e.Start);
    Relationship r;
    r.Id = DecodeXmlEntities(Attribute(tag, "Id"));
    r.Type = DecodeXmlEntities(Attribute(tag, "Type"));
    const std::string_view target = Attribute(tag, "Target");
    r.Target = DecodeXmlEntities(target);
    r.External = Attribute(tag, "TargetMode") == "External";
    r.TargetStart = static_cast<std::size_t>(target.data() - part.data());
    r.TargetLength = target.size();
    relationships.push_back(std::move(r));
  }
  return relationships;
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The local name of the first element of an XML text.
std::string_view RootElement(std::string_view xml) {
  for (std::size_t at = xml.find('<'); at != std::string_view::npos; at = xml.find('<', at + 1)) {
    if (at + 1 < xml.size() && (xml[at + 1] == '?' || xml[at + 1] == '!')) continue;
    std::size_t end = at + 1;
    while (end < xml.size() && xml[end] != ' ' && xml[end] != '>' && xml[end] != '/' && xml[end] != '\t' &&
           xml[end] != '\r' && xml[end] != '\n') {
      ++end;
    }
    return LocalName(xml.substr(at + 1, end - at - 1));
  }
  return {};
}

// The target that names `part` from the folder of `source` with relative
// steps only ("../" to go up): the form the reading library follows.
std::string RelativeTarget(const std::string& source, const std::string& part) {
  const std::size_t folderEnd = source.rfind('/');
  std::vector<std::string_view> from;
  if (folderEnd != std::string::npos) {
    for (const auto piece : internal::SplitAt(std::string_view(source).substr(0, folderEnd), '/'))
      from.push_back(piece);
  }
  const std::vector<std::string_view> to = internal::SplitAt(part, '/');
  std::size_t common = 0;
  while (common < from.size() && common + 1 < to.size() && from[common] == to[common]) ++common;
  std::string target;
  for (std::size_t k = common; k < from.size(); ++k) target += "../";
  for (std::size_t k = common; k < to.size(); ++k) {
    if (k > common) target += '/';
    target += to[k];
  }
  return target;
}

std::string EscapeAttribute(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& ch : out) ch = AsciiLower(ch);
  return out;
}

constexpr std::string_view kOfficeRelationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// The relationship type that names a part of this root element for the
// reading library (the worksheets, the shared strings, the styles); empty
// for a part it does not read through the workbook's relationships.
std::string RelationshipTypeOf(std::string_view root) {
  if (root == "worksheet") return std::string(kOfficeRelationships) + "/worksheet";
  if (root == "sst") return std::string(kOfficeRelationships) + "/sharedStrings";
  if (root == "styleSheet") return std::string(kOfficeRelationships) + "/styles";
  return {};
}

// The kinds of sheet a workbook's <sheet> may name: worksheets, and chart,
// dialog and macro sheets (which the workbook does not read).
bool KnownSheetType(std::string_view type) {
  if (type == std::string(kOfficeRelationships) + "/worksheet") return true;
  for (const std::string_view other : {"/chartsheet", "/dialogsheet"}) {
    if (type == std::string(kOfficeRelationships) + std::string(other)) return true;
  }
  return type == "http://schemas.microsoft.com/office/2006/relationships/xlMacrosheet" ||
         type == "http://schemas.microsoft.com/office/2006/relationships/xlIntlMacrosheet";
}

// Whether every <sheet> of the workbook part names its part by an "id"
// attribute in the namespace of the relationships: the reading library
// passes over a sheet whose attribute is in another, and reads it empty.
struct SheetIdNamespaces : orcus::sax_ns_handler {
  bool Foreign = false;
  bool ownId = false;
  bool anyId = false;
  void attribute(std::string_view, std::string_view) {}
  void attribute(const orcus::sax_ns_parser_attribute& attribute) {
    if (attribute.name != "id" || attribute.ns_alias.empty()) return;
    anyId = true;
    ownId = ownId || (attribute.ns != nullptr && std::string_view(attribute.ns) == kOfficeRelationships);
  }
  void start_element(const orcus::sax_ns_parser_element& element) {
    if (element.name == "sheet" && anyId && !ownId) Foreign = true;
    ownId = anyId = false;
  }
};

bool SheetIdsInForeignNamespace(std::string_view workbook) {
  SheetIdNamespaces handler;
  return WalkXml(workbook, handler) && handler.Foreign;  // not well-formed: refused before
}

// The package as the reading library will walk it: the workbook part and,
// in the workbook's order, the names of the sheets and their worksheet
// parts ("" for a sheet of another kind, a chart sheet). Relationship parts
// whose targets the library would not find (a target from the package
// root, "./", other letter case) get the relative targets it follows, and
// every relationship part the name the library looks for: `names[k]`.
struct Package {
  std::string Workbook;
  std::vector<std::string> SheetNames;
  std::vector<std::string> SheetParts;
  // The workbook's relationships (targets found: the parts' names) and the
  // index of their part.
  std::vector<Relationship> WorkbookRelations;
  std::size_t WorkbookRelationsPart = 0;
};

bool ReadPackage(const std::vector<Entry>& entries, std::vector<std::string>& texts, std::vector<std::string>& names,
                 std::vector<bool>& changed, Package& package, TPreparedXlsx& prepared, std::string& error) {
  std::map<std::string, std::vector<Relationship>> relationsOf;  // by source part, lower case
  std::map<std::string, std::size_t> relationsPartOf;            // the same: the index of their part
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const std::string& name = entries[k].Name;
    const std::string lower = Lower(name);
    const std::size_t folder = lower.rfind("_rels/");
    if (!EndsWith(lower, ".rels") || folder == std::string::npos || lower.find('/', folder + 6) != std::string::npos ||
        (folder > 0 && lower[folder - 1] != '/')) {
      continue;
    }
    std::string source = name.substr(0, folder) + name.substr(folder + 6, name.size() - folder - 6 - 5);
    if (!source.empty()) {
      if (const Entry* found = FindPart(entries, source)) source = found->Name;
    }
    // Where the library looks for the relationships of the source part.
    const std::size_t sourceFolder = source.rfind('/');
    const std::string expected = sourceFolder == std::string::npos ? "_rels/" + source + ".rels"
                                                                   : source.substr(0, sourceFolder + 1) + "_rels/" +
                                                                         source.substr(sourceFolder + 1) + ".rels";
    if (expected != name && FindPart(entries, expected) == &entries[k]) names[k] = expected;

    std::string& part = texts[k];
    std::vector<Relationship> relations = Relationships(part);
    TPartRewrite rewrite(part);
    for (Relationship& r : relations) {
      if (r.External || r.TargetLength == 0) continue;
      const Entry* found = FindPart(entries, ResolvePartName(source, r.Target));
      if (found == nullptr) continue;
      const std::string target = RelativeTarget(source, found->Name);
      if (target != r.Target) rewrite.Replace(r.TargetStart, r.TargetStart + r.TargetLength, EscapeAttribute(target));
      r.Target = found->Name;  // from here on: the part's name
      r.Found = true;
    }
    if (rewrite.Into(part)) changed[k] = true;
    relationsOf[Lower(source)] = std::move(relations);
    relationsPartOf[Lower(source)] = k;
  }
  // The workbook: the package's office document, whose root is <workbook>.
  const Entry* workbookEntry = nullptr;
  for (const Relationship& r : relationsOf[""]) {
    if (!r.External && EndsWith(r.Type, "/officeDocument")) {
      if (const Entry* found = FindPart(entries, r.Target)) workbookEntry = found;
    }
  }
  const std::string_view workbook =
      workbookEntry != nullptr ? std::string_view(texts[static_cast<std::size_t>(workbookEntry - entries.data())])
                               : std::string_view();
  if (workbookEntry == nullptr || RootElement(workbook) != "workbook") {
    error = ReadFailure(TReadFailure::NoWorkbookPart);
    return false;
  }
  package.Workbook = workbookEntry->Name;
  if (SheetIdsInForeignNamespace(workbook)) {
    error = ReadFailure(TReadFailure::UnknownNamespace, package.Workbook);
    return false;
  }
  const std::vector<Relationship>& sheets = relationsOf[Lower(package.Workbook)];
  package.WorkbookRelations = sheets;
  if (const auto found = relationsPartOf.find(Lower(package.Workbook)); found != relationsPartOf.end()) {
    package.WorkbookRelationsPart = found->second;
  }
  // A part the library reads (a worksheet, the shared strings, the styles)
  // named by a relationship of another type would be passed over by it.
  for (const Relationship& r : sheets) {
    const Entry* found = r.External ? nullptr : FindPart(entries, r.Target);
    if (found == nullptr) continue;
    const std::string type = RelationshipTypeOf(RootElement(texts[static_cast<std::size_t>(found - entries.data())]));
    if (!type.empty() && r.Type != type) {
      error = ReadFailure(TReadFailure::UnknownRelationship, found->Name);
      return false;
    }
  }
  bool anyWorksheet = false;
  Element e;
  for (std::size_t at = 0; FindElement(workbook, "sheet", at, workbook.size(), e); at = e.End) {
    const std::string_view tag = workbook.substr(e.Start, e.TagEnd - e.Start);
    const std::string id = DecodeXmlEntities(Attribute(tag, "id"));
    const std::string name = DecodeXmlEntities(Attribute(tag, "name"));
    const std::string_view state = Attribute(tag, "state");
    if (state == "hidden" || state == "veryHidden") ++prepared.Losses[TReadLoss::HiddenSheets];
    std::string part;
    bool worksheet = true;
    for (const Relationship& r : sheets) {
      if (r.Id != id) continue;
      if (!KnownSheetType(r.Type)) {
        error = ReadFailure(TReadFailure::UnknownRelationship, r.Target.empty() ? name : r.Target);
        return false;
      }
      worksheet = EndsWith(r.Type, "/worksheet");
      if (FindPart(entries, r.Target) != nullptr) part = r.Target;
    }
    if (worksheet && part.empty()) {
      error = ReadFailure(TReadFailure::MissingSheetPart, name);
      return false;
    }
    anyWorksheet = anyWorksheet || worksheet;
    package.SheetNames.push_back(name);
    package.SheetParts.push_back(worksheet ? part : std::string());
  }
  if (!anyWorksheet) {
    error = ReadFailure(TReadFailure::NoSheets);
    return false;
  }
  // The names the user gave: not the built-in ones ("_xlnm.", print areas
  // and what other programs keep for themselves), not hidden ones, not
  // those that name nothing ("#REF!").
  for (std::size_t at = 0; FindElement(workbook, "definedName", at, workbook.size(), e); at = e.End) {
    const std::string_view tag = workbook.substr(e.Start, e.TagEnd - e.Start);
    const std::string_view value = workbook.substr(e.TagEnd, e.ContentEnd - e.TagEnd);
    if (Attribute(tag, "name").substr(0, 6) != "_xlnm." && Attribute(tag, "hidden") != "1" && value != "#REF!") {
      ++prepared.DefinedNames;
    }
  }
  return true;
}

// Adds a relationship of `type` to `target` at the end of a relationship
// part, in the prefix of its root element, with an identifier no other
// relationship of `relations` has.
bool AddRelationship(std::string& part, const std::vector<Relationship>& relations, const std::string& type,
                     const std::string& target) {
  const std::size_t end = part.rfind("</");
  const std::size_t close = end == std::string::npos ? end : part.find('>', end);
  if (close == std::string::npos ||
      LocalName(std::string_view(part).substr(end + 2, close - end - 2)) != "Relationships") {
    return false;
  }
  const std::string_view root = std::string_view(part).substr(end + 2, close - end - 2);
  const std::string prefix(root.substr(0, root.size() - LocalName(root).size()));
  std::string id = "rIdUsualName";
  for (int n = 1; std::any_of(relations.begin(), relations.end(), [&](const Relationship& r) { return r.Id == id; });
       ++n) {
    id = "rIdUsualName" + WholeNumberText(n);
  }
  part.insert(end, "<" + prefix + "Relationship Id=\"" + id + "\" Type=\"" + type + "\" Target=\"" +
                       EscapeAttribute(target) + "\"/>");
  return true;
}

// The parts the cells need besides the worksheets: the shared strings
// (when a cell names one) and the styles (whose first format every cell
// without one of its own has). Each is found through the workbook's
// relationship of its type or, where the producer left that out (or names
// a part the package lacks), by its usual name beside the workbook part:
// then a relationship to it is added for the reading library, and the part
// is counted. A part the cells name that is neither is refused, named.
bool FindCellParts(const std::vector<Entry>& entries, std::vector<std::string>& texts, std::vector<bool>& changed,
                   const std::vector<TXlsxPartWalk>& walks, const Package& package, TPreparedXlsx& prepared,
                   std::string& error) {
  bool namesStrings = false;
  bool namesFormats = false;
  for (const std::string& sheet : package.SheetParts) {
    if (const Entry* found = sheet.empty() ? nullptr : FindPart(entries, sheet)) {
      const TXlsxPartWalk& walk = walks[static_cast<std::size_t>(found - entries.data())];
      namesStrings = namesStrings || walk.NamesSharedStrings;
      namesFormats = namesFormats || walk.NamesFormats;
    }
  }
  struct CellPart {
    std::string_view Type;
    std::string_view Root;
    std::string_view UsualName;
    bool Wanted;  // read when found
    bool Named;   // refused when not found
  };
  const CellPart cellParts[] = {{"/sharedStrings", "sst", "sharedStrings.xml", namesStrings, namesStrings},
                                {"/styles", "styleSheet", "styles.xml", true, namesFormats}};
  const std::string folder = package.Workbook.substr(0, package.Workbook.rfind('/') + 1);
  for (const CellPart& cellPart : cellParts) {
    if (!cellPart.Wanted) continue;
    const std::string type = std::string(kOfficeRelationships) + std::string(cellPart.Type);
    std::string missing;  // the part a relationship names that the package lacks
    bool found = false;
    for (const Relationship& r : package.WorkbookRelations) {
      if (r.External || r.Type != type) continue;
      found = found || r.Found;
      if (!r.Found && missing.empty()) missing = ResolvePartName(package.Workbook, r.Target);
    }
    if (found) continue;
    const std::string usual = folder + std::string(cellPart.UsualName);
    const Entry* part = FindPart(entries, usual);
    const std::size_t k = part != nullptr ? static_cast<std::size_t>(part - entries.data()) : 0;
    if (part != nullptr && RootElement(texts[k]) == cellPart.Root &&
        AddRelationship(texts[package.WorkbookRelationsPart], package.WorkbookRelations, type,
                        RelativeTarget(package.Workbook, part->Name))) {
      changed[package.WorkbookRelationsPart] = true;
      ++prepared.Losses[TReadLoss::PartsByUsualName];
    } else if (cellPart.Named) {
      error = ReadFailure(TReadFailure::MissingPart, missing.empty() ? usual : missing);
      return false;
    }
  }
  return true;
}

constexpr std::string_view kRelationshipsNamespace = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr std::string_view kSpreadsheetNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

// The namespace of the first element of an XML text, as its start tag
// declares it (xmlns, or xmlns:prefix for a prefixed name); empty when
// the tag declares none.
std::string RootNamespace(std::string_view xml) {
  for (std::size_t at = xml.find('<'); at != std::string_view::npos; at = xml.find('<', at + 1)) {
    if (at + 1 < xml.size() && (xml[at + 1] == '?' || xml[at + 1] == '!')) continue;
    const std::size_t close = XmlTagEnd(xml, at);
    if (close == std::string_view::npos) return {};
    const std::string_view tag = xml.substr(at + 1, close - at - 1);
    std::size_t nameEnd = 0;
    while (nameEnd < tag.size() && tag[nameEnd] != ' ' && tag[nameEnd] != '/' && tag[nameEnd] != '\t' &&
           tag[nameEnd] != '\r' && tag[nameEnd] != '\n') {
      ++nameEnd;
    }
    const std::string_view qname = tag.substr(0, nameEnd);
    const std::size_t colon = qname.find(':');
    const std::string declaration =
        colon == std::string_view::npos ? "xmlns" : "xmlns:" + std::string(qname.substr(0, colon));
    // The attributes one by one: name, '=', a quoted value.
    std::size_t i = nameEnd;
    while (i < tag.size()) {
      while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t' || tag[i] == '\r' || tag[i] == '\n')) ++i;
      const std::size_t eq = tag.find('=', i);
      if (eq == std::string_view::npos) return {};
      std::string_view name = tag.substr(i, eq - i);
      while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
      std::size_t open = eq + 1;
      while (open < tag.size() && tag[open] != '"' && tag[open] != '\'') ++open;
      if (open >= tag.size()) return {};
      const std::size_t end = tag.find(tag[open], open + 1);
      if (end == std::string_view::npos) return {};
      if (name == declaration) return DecodeXmlEntities(tag.substr(open + 1, end - open - 1));
      i = end + 1;
    }
    return {};
  }
  return {};
}

// The reason a part cannot be read: it is XML (by its name) and not
// well-formed (a document cut short ends with some elements open, which the
// parser itself lets pass), or a relationship part without the
// relationships of the packaging format; empty when it can. `walk` gets
// what the walk over an XML part found.
std::string PartFault(const std::string& name, const std::string& text, TXlsxPartWalk& walk) {
  const std::string lower = Lower(name);
  const bool relationships = EndsWith(lower, ".rels");
  if (!EndsWith(lower, ".xml") && !relationships) return {};
  walk = WalkXlsxPart(text);
  if (!walk.WellFormed) return ReadFailure(TReadFailure::BadXml, name);
  if (relationships && (walk.RootName != "Relationships" || walk.RootNamespace != kRelationshipsNamespace)) {
    return ReadFailure(TReadFailure::NoRelationships, name);
  }
  return {};
}

// The namespaces of the strict form and those of the usual form that name
// the same things; a namespace that begins with one of the first is
// replaced by the second (relationship types included).
constexpr std::pair<std::string_view, std::string_view> kStrictNamespaces[] = {
    {"http://purl.oclc.org/ooxml/spreadsheetml/main", "http://schemas.openxmlformats.org/spreadsheetml/2006/main"},
    {"http://purl.oclc.org/ooxml/officeDocument/relationships",
     "http://schemas.openxmlformats.org/officeDocument/2006/relationships"},
    {"http://purl.oclc.org/ooxml/officeDocument/extendedProperties",
     "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties"},
    {"http://purl.oclc.org/ooxml/officeDocument/customProperties",
     "http://schemas.openxmlformats.org/officeDocument/2006/custom-properties"},
    {"http://purl.oclc.org/ooxml/officeDocument/", "http://schemas.openxmlformats.org/officeDocument/2006/"},
    {"http://purl.oclc.org/ooxml/drawingml/", "http://schemas.openxmlformats.org/drawingml/2006/"},
};

// Gives the part the namespaces of the usual form; true when it had any of
// the strict form.
bool UsualNamespaces(std::string& text) {
  constexpr std::string_view kStrict = "http://purl.oclc.org/ooxml/";
  if (text.find(kStrict) == std::string::npos) return false;
  TPartRewrite rewrite(text);
  for (std::size_t at = text.find(kStrict); at != std::string::npos; at = text.find(kStrict, at + 1)) {
    for (const auto& [strict, usual] : kStrictNamespaces) {
      if (text.compare(at, strict.size(), strict) != 0) continue;
      rewrite.Replace(at, at + strict.size(), usual);
      break;
    }
  }
  return rewrite.Into(text);
}

}  // namespace

std::string ResolvePartName(const std::string& sourcePart, const std::string& target) {
  // %XX escapes stand for their byte.
  std::string decoded;
  for (std::size_t i = 0; i < target.size(); ++i) {
    if (target[i] == '%' && i + 2 < target.size() && std::isxdigit(static_cast<unsigned char>(target[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(target[i + 2]))) {
      decoded += static_cast<char>(std::stoi(target.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      decoded += target[i] == '\\' ? '/' : target[i];
    }
  }
  std::string path = decoded;
  if (path.empty() || path[0] != '/') {
    const std::size_t folderEnd = sourcePart.rfind('/');
    path = (folderEnd == std::string::npos ? std::string() : sourcePart.substr(0, folderEnd + 1)) + path;
  }
  std::vector<std::string_view> kept;
  for (const std::string_view piece : internal::SplitAt(path, '/')) {
    if (piece.empty() || piece == ".") continue;
    if (piece == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(piece);
  }
  std::string name;
  for (const std::string_view piece : kept) {
    if (!name.empty()) name += '/';
    name += piece;
  }
  return name;
}

std::string_view TPreparedXlsx::Part(const std::string& name) const {
  const std::pair<std::size_t, std::size_t>* folded = nullptr;
  for (const auto& [partName, where] : Parts) {
    if (partName == name) return std::string_view(Zip).substr(where.first, where.second);
    if (folded == nullptr && Lower(partName) == Lower(name)) folded = &where;
  }
  return folded != nullptr ? std::string_view(Zip).substr(folded->first, folded->second) : std::string_view();
}

bool PrepareXlsx(const std::string& bytes, TPreparedXlsx& prepared, std::string& error) {
  prepared = TPreparedXlsx{};
  std::vector<Entry> entries;
  if (!ReadDirectory(bytes, entries, error)) return false;
  // Every part is unpacked once, counting what it really gives; the texts
  // serve all that follows.
  std::vector<std::string> texts(entries.size());
  std::vector<std::string> names(entries.size());
  std::vector<bool> changed(entries.size(), false);
  std::uint64_t total = 0;
  for (std::size_t k = 0; k < entries.size(); ++k) {
    if (!InflateChecked(bytes, entries[k], &texts[k], total, error)) return false;
    names[k] = entries[k].Name;
  }
  // The reading library lets an XML part that is cut short pass as far as
  // it goes, and names no part when one does not parse.
  std::vector<TXlsxPartWalk> walks(entries.size());
  for (std::size_t k = 0; k < entries.size(); ++k) {
    error = PartFault(entries[k].Name, texts[k], walks[k]);
    if (!error.empty()) return false;
  }
  for (std::size_t k = 0; k < entries.size(); ++k) {
    if (UsualNamespaces(texts[k])) {
      changed[k] = true;
      prepared.Strict = true;
    }
    // The program's own scans of the cell data follow the default
    // namespace only.
    if (UnprefixedElements(texts[k], walks[k].MainPrefix)) changed[k] = true;
  }
  Package package;
  if (!ReadPackage(entries, texts, names, changed, package, prepared, error)) return false;
  // The reading library passes over elements of a namespace it does not
  // know: a workbook, sheet, string or style part in another namespace, or
  // with an element the reading needs in another, would open without
  // (some of) its contents.
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const std::string& name = entries[k].Name;
    const std::string_view root = RootElement(texts[k]);
    const bool read = name == package.Workbook || root == "sst" || root == "styleSheet" ||
                      std::find(package.SheetParts.begin(), package.SheetParts.end(), name) != package.SheetParts.end();
    if (read && EndsWith(Lower(name), ".xml") &&
        (RootNamespace(texts[k]) != kSpreadsheetNamespace || walks[k].ForeignElement)) {
      error = ReadFailure(TReadFailure::UnknownNamespace, name);
      return false;
    }
  }
  if (!FindCellParts(entries, texts, changed, walks, package, prepared, error)) return false;
  prepared.Numbers.resize(package.SheetParts.size());
  prepared.FormattedEmpty.resize(package.SheetParts.size());
  std::unique_ptr<TFormulaChecker> checker;
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const Entry& entry = entries[k];
    const auto found = std::find(package.SheetParts.begin(), package.SheetParts.end(), entry.Name);
    if (found == package.SheetParts.end()) {
      CountPartLosses(entry.Name, texts[k], false, prepared.Losses);
      continue;
    }
    const int sheet = static_cast<int>(found - package.SheetParts.begin());
    std::string& part = texts[k];
    // The <col> elements stand before the cell data.
    if (!ColumnsHaveRanges(std::string_view(part).substr(0, part.find("sheetData")))) {
      error = ReadFailure(TReadFailure::DamagedPart, entry.Name);
      return false;
    }
    CountPartLosses(entry.Name, part, true, prepared.Losses);
    if (!checker && part.find("<f") != std::string::npos) {
      checker = std::make_unique<TFormulaChecker>(package.SheetNames);
    }
    int& richTexts = prepared.Losses[TReadLoss::TextRuns];
    if (ReplaceTextCells(part, sheet, prepared.Texts, richTexts)) changed[k] = true;
    if (checker && ReplaceBadFormulas(part, sheet, *checker, prepared.Texts)) changed[k] = true;
    std::string badCell;
    TSheetCells cells = ScanSheetCells(part, &badCell);
    prepared.Numbers[static_cast<std::size_t>(sheet)] = std::move(cells.Numbers);
    prepared.FormattedEmpty[static_cast<std::size_t>(sheet)] = std::move(cells.FormattedEmpty);
    if (!badCell.empty()) {
      error = ReadFailure(TReadFailure::NoNumber, package.SheetNames[static_cast<std::size_t>(sheet)] + "!" + badCell);
      return false;
    }
  }
  prepared.Zip = StoredZip(entries, names, texts, changed, prepared.Parts);
  return true;
}

bool PrepareXlsxBytes(std::string& bytes, std::vector<TXlsxTextCell>& texts, std::string& error) {
  TPreparedXlsx prepared;
  if (!PrepareXlsx(bytes, prepared, error)) return false;
  bytes = std::move(prepared.Zip);
  texts = std::move(prepared.Texts);
  return true;
}

bool CheckXlsxBytes(const std::string& bytes, std::string& error) {
  TPreparedXlsx prepared;
  return PrepareXlsx(bytes, prepared, error);
}

bool ReadPreparedXlsx(const std::string& path, TPreparedXlsx& prepared, std::string& error) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (!ec && size > kMaxXlsxBytes) {
    error = ReadFailure(TReadFailure::FileTooLarge);
    return false;
  }
  std::string bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  return PrepareXlsx(bytes, prepared, error);
}

}  // namespace kvx::workbook
