#include "platform/workbook/xlsx_elements.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "platform/workbook/xlsx_text.h"
#include "platform/workbook/xml_walk.h"

namespace kvx::workbook {

namespace {

constexpr std::string_view kMainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kStrictMainNamespace = "http://purl.oclc.org/ooxml/spreadsheetml/main";

// The children the reading takes from an element of the format's
// namespace; `Closed` when the element holds nothing else the reading
// may pass over (its every child is of the format's namespace).
struct TNeededChildren {
  std::string_view Parent;
  bool Closed;
  std::array<std::string_view, 7> Children;
};

constexpr TNeededChildren kNeededChildren[] = {
    // The workbook part.
    {"workbook", false, {"sheets", "workbookPr", "bookViews", "definedNames"}},
    {"sheets", true, {"sheet"}},
    {"bookViews", true, {"workbookView"}},
    {"definedNames", true, {"definedName"}},
    // A worksheet.
    {"worksheet", false, {"sheetData", "cols", "sheetFormatPr", "sheetViews"}},
    {"sheetData", true, {"row"}},
    {"row", true, {"c"}},
    {"c", true, {"v", "f", "is"}},
    {"is", true, {"t", "r"}},
    {"r", true, {"t", "rPr"}},
    {"cols", true, {"col"}},
    {"sheetViews", true, {"sheetView"}},
    {"sheetView", false, {"pane"}},
    // The shared strings.
    {"sst", true, {"si"}},
    {"si", true, {"t", "r"}},
    // The styles.
    {"styleSheet", false, {"numFmts", "fonts", "fills", "borders", "cellStyleXfs", "cellXfs"}},
    {"numFmts", true, {"numFmt"}},
    {"fonts", true, {"font"}},
    {"font", false, {"b", "i", "u", "strike", "sz", "color", "name"}},
    {"fills", true, {"fill"}},
    {"fill", false, {"patternFill"}},
    {"patternFill", false, {"fgColor", "bgColor"}},
    {"borders", true, {"border"}},
    {"border", false, {"left", "right", "top", "bottom"}},
    {"left", false, {"color"}},
    {"right", false, {"color"}},
    {"top", false, {"color"}},
    {"bottom", false, {"color"}},
    {"cellStyleXfs", true, {"xf"}},
    {"cellXfs", true, {"xf"}},
    {"xf", false, {"alignment", "protection"}},
};

// The elements that hold the cells, their texts and formats: the reading
// looks for them only inside elements of the format's namespace.
constexpr std::string_view kHoldersOfCells[] = {"sheetData", "row", "c", "sheets", "si", "cellXfs"};

// Whether a child `child` of another namespace inside the element
// `parent` of the format's namespace hides something the reading needs.
bool NeededThere(std::string_view parent, std::string_view child) {
  for (const TNeededChildren& rule : kNeededChildren) {
    if (rule.Parent != parent) continue;
    return rule.Closed || std::find(rule.Children.begin(), rule.Children.end(), child) != rule.Children.end();
  }
  return false;
}

// One open element: its local name (pointing into the part's text) and
// whether it is of the format's namespace.
struct TOpenElement {
  std::string_view Name;
  bool Main;
};

class TPartWalker : public orcus::sax_ns_handler {
 public:
  explicit TPartWalker(TXlsxPartWalk& walk) : walk_(walk) {}

  void attribute(std::string_view, std::string_view) {}
  void attribute(const orcus::sax_ns_parser_attribute& attribute) {
    // Judged here: a value with entities stands in a buffer the next such
    // value takes over.
    if (attribute.name.size() != 1) return;
    if (attribute.name[0] == 't') sharedString_ = attribute.value == "s";
    if (attribute.name[0] == 's') format_ = !attribute.value.empty() && attribute.value != "0";
  }

  void start_element(const orcus::sax_ns_parser_element& element) {
    const bool main = Main(element.ns);
    const std::string_view name = element.name;
    if (open_.empty() && walk_.RootName.empty()) {
      walk_.RootName = std::string(name);
      if (element.ns != nullptr) walk_.RootNamespace = element.ns;
    }
    if (!open_.empty()) {
      const TOpenElement& parent = open_.back();
      if (parent.Main && !main && NeededThere(parent.Name, name)) walk_.ForeignElement = true;
      if (!parent.Main && main &&
          std::find(std::begin(kHoldersOfCells), std::end(kHoldersOfCells), name) != std::end(kHoldersOfCells)) {
        walk_.ForeignElement = true;
      }
    }
    if (element.ns_alias.empty()) {
      unprefixed_ = true;
    } else if (main) {
      if (mainAlias_.empty()) mainAlias_ = element.ns_alias;
      if (element.ns_alias != mainAlias_) mixedAliases_ = true;
    }
    if (main && sharedString_ && name == "c") walk_.NamesSharedStrings = true;
    if (main && format_ && (name == "c" || name == "row")) walk_.NamesFormats = true;
    sharedString_ = format_ = false;
    open_.push_back({name, main});
  }

  void end_element(const orcus::sax_ns_parser_element&) {
    if (!open_.empty()) open_.pop_back();
  }

  bool AllOpenClosed() const { return open_.empty(); }
  // The one prefix of the format's namespace, when no element is without
  // a prefix (a part that mixes both stays as it is).
  std::string_view OnlyPrefix() const { return unprefixed_ || mixedAliases_ ? std::string_view() : mainAlias_; }

 private:
  bool Main(orcus::xmlns_id_t ns) {
    if (ns == nullptr) return false;
    if (ns == mainId_) return true;
    if (ns == otherId_) return false;
    const std::string_view uri = ns;
    const bool main = uri == kMainNamespace || uri == kStrictMainNamespace;
    (main ? mainId_ : otherId_) = ns;
    return main;
  }

  TXlsxPartWalk& walk_;
  std::vector<TOpenElement> open_;
  orcus::xmlns_id_t mainId_ = nullptr;
  orcus::xmlns_id_t otherId_ = nullptr;
  bool sharedString_ = false;  // the element about to start has t="s"
  bool format_ = false;        // it has an "s" other than "0"
  std::string_view mainAlias_;
  bool unprefixed_ = false;
  bool mixedAliases_ = false;
};

// Every default namespace the text declares (xmlns="...") is the format's.
bool DefaultNamespacesAreMain(std::string_view text) {
  constexpr std::string_view kDeclaration = "xmlns=";
  for (std::size_t at = text.find(kDeclaration); at != std::string_view::npos;
       at = text.find(kDeclaration, at + kDeclaration.size())) {
    const std::size_t open = at + kDeclaration.size();
    if (open >= text.size() || (text[open] != '"' && text[open] != '\'')) return false;
    const std::size_t close = text.find(text[open], open + 1);
    if (close == std::string_view::npos) return false;
    const std::string_view uri = text.substr(open + 1, close - open - 1);
    if (uri != kMainNamespace && uri != kStrictMainNamespace) return false;
  }
  return true;
}

}  // namespace

TXlsxPartWalk WalkXlsxPart(std::string_view text) {
  TXlsxPartWalk walk;
  TPartWalker walker(walk);
  walk.WellFormed = WalkXml(text, walker) && walker.AllOpenClosed();
  const std::string_view prefix = walker.OnlyPrefix();
  if (walk.WellFormed && !prefix.empty() &&
      (walk.RootNamespace == kMainNamespace || walk.RootNamespace == kStrictMainNamespace) &&
      DefaultNamespacesAreMain(text)) {
    walk.MainPrefix = std::string(prefix);
  }
  return walk;
}

bool UnprefixedElements(std::string& text, std::string_view prefix) {
  if (prefix.empty()) return false;
  const std::string mark = std::string(prefix) + ":";
  std::string out;
  out.reserve(text.size() + 80);
  bool rootSeen = false;
  std::size_t copied = 0;
  for (std::size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
    // Comments, CDATA sections, processing instructions and the document
    // type declaration are copied as they are.
    std::string_view skipTo;
    if (text.compare(at, 4, "<!--") == 0) {
      skipTo = "-->";
    } else if (text.compare(at, 9, "<![CDATA[") == 0) {
      skipTo = "]]>";
    } else if (text.compare(at, 2, "<?") == 0) {
      skipTo = "?>";
    } else if (text.compare(at, 2, "<!") == 0) {
      skipTo = ">";
    }
    if (!skipTo.empty()) {
      const std::size_t end = text.find(skipTo, at + 2);
      if (end == std::string::npos) break;
      at = end;
      continue;
    }
    const std::size_t name = at + (text.compare(at, 2, "</") == 0 ? 2 : 1);
    if (text.compare(name, mark.size(), mark) != 0) continue;
    out.append(text, copied, name - copied);
    copied = name + mark.size();
    if (rootSeen || name != at + 1) continue;
    rootSeen = true;
    // The root: its name, then the format's namespace as the default one
    // unless it declares that already.
    // (Every default namespace the part declares is the format's: see
    // WalkXlsxPart.)
    const std::size_t nameEnd = text.find_first_of(" \t\r\n/>", copied);
    const std::size_t tagEnd = XmlTagEnd(text, copied);
    if (nameEnd == std::string::npos || tagEnd == std::string::npos) break;
    out.append(text, copied, nameEnd - copied);
    copied = nameEnd;
    const std::string_view tag(text.data() + nameEnd, tagEnd - nameEnd);
    bool declared = false;
    for (std::size_t d = tag.find("xmlns="); d != std::string_view::npos; d = tag.find("xmlns=", d + 6)) {
      declared = declared || std::strchr(" \t\r\n", tag[d - 1]) != nullptr;
    }
    if (!declared) out.append(" xmlns=\"").append(kMainNamespace).append("\"");
  }
  if (copied == 0) return false;
  out.append(text, copied, std::string::npos);
  text = std::move(out);
  return true;
}

}  // namespace kvx::workbook
