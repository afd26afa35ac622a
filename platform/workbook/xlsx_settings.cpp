#include "platform/workbook/xlsx_settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/workbook/cell_reference.h"
#include "platform/workbook/xlsx_numbers.h"
#include "platform/workbook/xlsx_text.h"

namespace kvx::workbook {

namespace {

// The text between <name ...> and </name>, entities decoded.
std::string ElementText(const std::string& xml, const std::string& name) {
  const std::size_t open = xml.find("<" + name);
  if (open == std::string::npos) return {};
  const std::size_t start = XmlTagEnd(xml, open);
  if (start == std::string::npos || xml[start - 1] == '/') return {};
  const std::size_t end = xml.find("</" + name + ">", start);
  if (end == std::string::npos) return {};
  return DecodeXmlEntities(std::string_view(xml).substr(start + 1, end - start - 1));
}

bool ReadEntry(const TPreparedXlsx& archive, const std::string& name, std::string& text) {
  const std::string_view part = archive.Part(name);
  text.assign(part);
  return !part.empty();
}

double Number(const std::map<std::string, std::string>& attributes, const std::string& key, double fallback) {
  const auto it = attributes.find(key);
  if (it == attributes.end() || it->second.empty()) return fallback;
  // std::from_chars: never the C library's locale; a sign of the file is allowed.
  std::string_view text = it->second;
  if (text.starts_with('+')) text.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : fallback;
}

// A whole-number attribute; the fallback for a text that is no number or
// lies outside the range of an int.
int WholeNumber(const std::map<std::string, std::string>& attributes, const std::string& key, int fallback) {
  const double value = Number(attributes, key, fallback);
  return value >= -2147483648.0 && value <= 2147483647.0 ? static_cast<int>(value) : fallback;
}

bool Flag(const std::map<std::string, std::string>& attributes, const std::string& key) {
  const auto it = attributes.find(key);
  return it != attributes.end() && (it->second == "1" || it->second == "true");
}

// The model's code of an <alignment>'s "horizontal" (the writer's names:
// left, center, right, fill, justify, centerContinuous; "distributed" is
// shown as justify); 0 for none or a name the model does not know.
int HorizontalCode(const std::map<std::string, std::string>& alignment) {
  static constexpr std::pair<const char*, int> kCodes[] = {
      {"general", 1}, {"left", 2},    {"center", 3},      {"right", 4},
      {"fill", 5},    {"justify", 6}, {"distributed", 6}, {"centerContinuous", 7}};
  const auto it = alignment.find("horizontal");
  if (it == alignment.end()) return 0;
  for (const auto& [name, code] : kCodes) {
    if (it->second == name) return code;
  }
  return 0;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The relationships of a part (by Id: type and the part named).
std::map<std::string, std::pair<std::string, std::string>> PartRelations(const TPreparedXlsx& archive,
                                                                         const std::string& part) {
  const std::size_t folderEnd = part.rfind('/');
  const std::string folder = folderEnd == std::string::npos ? std::string() : part.substr(0, folderEnd + 1);
  std::string relations;
  ReadEntry(archive, folder + "_rels/" + part.substr(folder.size()) + ".rels", relations);
  std::map<std::string, std::pair<std::string, std::string>> targets;
  for (const auto& relation : XmlElements(relations, "Relationship")) {
    const auto id = relation.find("Id");
    const auto target = relation.find("Target");
    const auto type = relation.find("Type");
    if (id != relation.end() && target != relation.end()) {
      targets[id->second] = {type != relation.end() ? type->second : std::string(),
                             ResolvePartName(part, target->second)};
    }
  }
  return targets;
}

// Seconds since 1970 of a time "YYYY-MM-DDThh:mm:ss" (UTC, as the package
// writes it; a zone or fraction after the seconds is ignored); 0 for a
// text that is no such time.
long long PackageTime(const std::string& text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d", &y, &mo, &d, &h, &mi, &sec) != 6) return 0;
  if (y < 1970 || y > 9999 || mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || sec > 60) return 0;
  // Days since 1970 of the civil date.
  const int year = mo <= 2 ? y - 1 : y;
  const int era = year / 400;
  const int yoe = year - era * 400;
  const int doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long days = era * 146097LL + yoe * 365LL + yoe / 4 - yoe / 100 + doy - 719468;
  return days * 86400 + h * 3600 + mi * 60 + sec;
}

// A colour "AARRGGBB" (or "RRGGBB") as 0xRRGGBB.
std::optional<std::uint32_t> RgbColor(const std::map<std::string, std::string>& attributes) {
  const auto it = attributes.find("rgb");
  if (it == attributes.end() || (it->second.size() != 8 && it->second.size() != 6)) return std::nullopt;
  std::uint32_t value = 0;
  const std::string& text = it->second;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value & 0xFFFFFFu;
}

// A colour lightened (tint > 0) or darkened (tint < 0) as the format
// says: its luminance in HLS moved by the tint towards white or black.
std::uint32_t Tinted(std::uint32_t rgb, double tint) {
  if (!(tint >= -1.0 && tint <= 1.0) || tint == 0.0) return rgb;
  const double r = ((rgb >> 16) & 0xFF) / 255.0;
  const double g = ((rgb >> 8) & 0xFF) / 255.0;
  const double b = (rgb & 0xFF) / 255.0;
  const double high = std::max({r, g, b});
  const double low = std::min({r, g, b});
  double lightness = (high + low) / 2.0;
  double hue = 0.0;
  double saturation = 0.0;
  if (high > low) {
    const double range = high - low;
    saturation = lightness <= 0.5 ? range / (high + low) : range / (2.0 - high - low);
    const double rc = (high - r) / range;
    const double gc = (high - g) / range;
    const double bc = (high - b) / range;
    hue = r == high ? bc - gc : (g == high ? 2.0 + rc - bc : 4.0 + gc - rc);
    hue = hue / 6.0 - std::floor(hue / 6.0);
  }
  lightness = tint < 0.0 ? lightness * (1.0 + tint) : lightness * (1.0 - tint) + tint;
  const double m2 = lightness <= 0.5 ? lightness * (1.0 + saturation) : lightness + saturation - lightness * saturation;
  const double m1 = 2.0 * lightness - m2;
  const auto channel = [&](double h) {
    h -= std::floor(h);
    double v = m1;
    if (h < 1.0 / 6.0) {
      v = m1 + (m2 - m1) * h * 6.0;
    } else if (h < 0.5) {
      v = m2;
    } else if (h < 2.0 / 3.0) {
      v = m1 + (m2 - m1) * (2.0 / 3.0 - h) * 6.0;
    }
    return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
  };
  if (saturation == 0.0) {
    const std::uint32_t grey = static_cast<std::uint32_t>(std::lround(std::clamp(lightness, 0.0, 1.0) * 255.0));
    return grey << 16 | grey << 8 | grey;
  }
  return channel(hue + 1.0 / 3.0) << 16 | channel(hue) << 8 | channel(hue - 1.0 / 3.0);
}

// The colours of a theme part's colour scheme by the index a cell or tab
// colour gives ("theme"): light 1, dark 1, light 2, dark 2 (in this order,
// which is not the part's), the six accents, the two hyperlink colours.
std::vector<std::uint32_t> ThemeColors(const std::string& theme) {
  static constexpr const char* kSlots[] = {"lt1",     "dk1",     "lt2",     "dk2",     "accent1", "accent2",
                                           "accent3", "accent4", "accent5", "accent6", "hlink",   "folHlink"};
  std::vector<std::uint32_t> colors;
  for (const char* slot : kSlots) {
    const std::size_t open = theme.find(std::string(":") + slot + ">");
    const std::size_t close = open == std::string::npos ? open : theme.find(std::string(":") + slot + ">", open + 1);
    if (close == std::string::npos) break;
    const std::string one = theme.substr(open, close - open);
    std::optional<std::uint32_t> color;
    for (const auto& rgb : XmlElements(one, "a:srgbClr")) {
      if (rgb.count("val") != 0) color = RgbColor({{"rgb", rgb.at("val")}});
    }
    for (const auto& system : XmlElements(one, "a:sysClr")) {
      if (system.count("lastClr") != 0) color = RgbColor({{"rgb", system.at("lastClr")}});
    }
    if (!color) break;
    colors.push_back(*color);
  }
  return colors;
}

// A sheet's tab colour from its <tabColor>: a colour of its own or of the
// theme (`theme`, the colours of ThemeColors), with its tint; none for a
// colour the file does not give (counted in `unread`).
std::optional<std::uint32_t> TabColorOf(const std::map<std::string, std::string>& attributes,
                                        const std::vector<std::uint32_t>& theme, int& unread) {
  const double tint = Number(attributes, "tint", 0.0);
  if (const auto rgb = RgbColor(attributes)) return Tinted(*rgb, tint);
  if (attributes.count("theme") != 0) {
    const int index = WholeNumber(attributes, "theme", -1);
    if (index >= 0 && index < static_cast<int>(theme.size()))
      return Tinted(theme[static_cast<std::size_t>(index)], tint);
  }
  if (attributes.count("theme") != 0 || attributes.count("indexed") != 0) ++unread;
  return std::nullopt;
}

// The custom document properties of a part docProps/custom.xml: each
// <property name=...> with one value element; one of a kind the workbook
// does not keep (vectors, binaries, currencies, texts over 255 characters
// the writer refuses) is counted in `unread`.
void ReadCustomProperties(const std::string& xml, std::vector<TCustomProperty>& properties, int& unread) {
  static constexpr std::string_view kOpen = "<property ";
  for (std::size_t at = xml.find(kOpen); at != std::string::npos; at = xml.find(kOpen, at + 1)) {
    const std::size_t tagEnd = XmlTagEnd(xml, at);
    const std::size_t close = xml.find("</property>", at);
    if (tagEnd == std::string::npos || close == std::string::npos || close < tagEnd) continue;
    const auto head = XmlElements(xml.substr(at, tagEnd + 1 - at), "property");
    const std::string inner = xml.substr(tagEnd + 1, close - tagEnd - 1);
    const std::size_t valueOpen = inner.find('<');
    const std::size_t valueEnd = valueOpen == std::string::npos ? valueOpen : XmlTagEnd(inner, valueOpen);
    const std::size_t valueClose = inner.rfind("</");
    TCustomProperty property;
    if (!head.empty() && head.front().count("name") != 0) property.Name = head.front().at("name");
    std::string kind;
    std::string text;
    if (valueEnd != std::string::npos && valueClose != std::string::npos && valueClose > valueEnd) {
      kind = inner.substr(valueOpen + 1, valueEnd - valueOpen - 1);
      if (const std::size_t colon = kind.find(':'); colon != std::string::npos) kind.erase(0, colon + 1);
      text = DecodeXmlEntities(std::string_view(inner).substr(valueEnd + 1, valueClose - valueEnd - 1));
    }
    const auto isKind = [&](std::initializer_list<const char*> names) {
      return std::any_of(names.begin(), names.end(), [&](const char* name) { return kind == name; });
    };
    std::string_view digits = text;
    if (digits.starts_with('+')) digits.remove_prefix(1);
    double number = 0.0;
    const bool numeric =
        std::from_chars(digits.data(), digits.data() + digits.size(), number).ptr == digits.data() + digits.size() &&
        !digits.empty() && std::isfinite(number);
    bool kept = !property.Name.empty() && property.Name.size() <= 255 && text.size() <= 255;
    if (isKind({"lpwstr", "lpstr", "bstr"})) {
      property.Kind = TCustomProperty::TKind::Text;
      property.Text = text;
    } else if (isKind({"i1", "i2", "i4", "i8", "int", "ui1", "ui2", "ui4", "ui8", "uint", "r4", "r8", "decimal"}) &&
               numeric) {
      const bool whole = number == std::floor(number) && number >= -2147483648.0 && number <= 2147483647.0;
      property.Kind =
          whole && !isKind({"r4", "r8", "decimal"}) ? TCustomProperty::TKind::Integer : TCustomProperty::TKind::Number;
      property.Number = number;
    } else if (isKind({"bool"}) && (text == "true" || text == "1" || text == "false" || text == "0")) {
      property.Kind = TCustomProperty::TKind::Boolean;
      property.Number = text == "true" || text == "1" ? 1.0 : 0.0;
    } else if (isKind({"filetime", "date"}) && PackageTime(text) != 0) {
      property.Kind = TCustomProperty::TKind::Date;
      property.Number = static_cast<double>(PackageTime(text));
    } else {
      kept = false;
    }
    if (kept) {
      properties.push_back(std::move(property));
    } else {
      ++unread;
    }
  }
}

// The document's properties from the package's core and extended
// property parts (by their relationships), with their usual prefixes.
void ReadDocumentProperties(const TPreparedXlsx& archive, TWorkbookFileProperties& properties, int& unread) {
  for (const auto& [id, relation] : PartRelations(archive, "")) {
    std::string xml;
    if (!ReadEntry(archive, relation.second, xml)) continue;
    if (EndsWith(relation.first, "/core-properties")) {
      properties.Title = ElementText(xml, "dc:title");
      properties.Subject = ElementText(xml, "dc:subject");
      properties.Author = ElementText(xml, "dc:creator");
      properties.Keywords = ElementText(xml, "cp:keywords");
      properties.Comments = ElementText(xml, "dc:description");
      properties.Category = ElementText(xml, "cp:category");
      properties.Status = ElementText(xml, "cp:contentStatus");
      properties.Created = PackageTime(ElementText(xml, "dcterms:created"));
    } else if (EndsWith(relation.first, "/extended-properties")) {
      properties.Manager = ElementText(xml, "Manager");
      properties.Company = ElementText(xml, "Company");
    } else if (EndsWith(relation.first, "/custom-properties")) {
      ReadCustomProperties(xml, properties.Custom, unread);
    }
  }
}

// A sheet's protection from its <sheetProtection>: an option set ("1",
// "true") locks what it names, one left out has the format's default
// (objects, scenarios and the selection of cells free, the rest locked).
std::optional<TSheetProtection> SheetProtectionOf(const std::map<std::string, std::string>& attributes) {
  if (!Flag(attributes, "sheet")) return std::nullopt;
  const auto allowed = [&](const char* key, bool lockedByDefault) {
    return attributes.count(key) == 0 ? !lockedByDefault : !Flag(attributes, key);
  };
  TSheetProtection p;
  p.SelectLockedCells = allowed("selectLockedCells", false);
  p.SelectUnlockedCells = allowed("selectUnlockedCells", false);
  p.FormatCells = allowed("formatCells", true);
  p.FormatColumns = allowed("formatColumns", true);
  p.FormatRows = allowed("formatRows", true);
  p.InsertColumns = allowed("insertColumns", true);
  p.InsertRows = allowed("insertRows", true);
  p.InsertHyperlinks = allowed("insertHyperlinks", true);
  p.DeleteColumns = allowed("deleteColumns", true);
  p.DeleteRows = allowed("deleteRows", true);
  p.Sort = allowed("sort", true);
  p.AutoFilter = allowed("autoFilter", true);
  p.PivotTables = allowed("pivotTables", true);
  p.EditObjects = allowed("objects", false);
  p.EditScenarios = allowed("scenarios", false);
  return p;
}

// The criteria of a sheet's filter from the part after its cells: each
// <filterColumn> with a list of values (<filters>) or one or two
// conditions (<customFilters>). A column with criteria of another kind (top
// 10, dynamic, colour, icon, date groups) or a list of more entries than
// the writer takes is counted in `leftOut`.
void ReadFilterColumns(const std::string& tail, TXlsxSheetSettings& sheet) {
  const std::size_t start = tail.find("<autoFilter");
  const std::size_t end = start == std::string::npos ? start : tail.find("</autoFilter>", start);
  if (end == std::string::npos) return;
  const std::string filter = tail.substr(start, end - start);
  static constexpr std::string_view kOpen = "<filterColumn";
  for (std::size_t at = filter.find(kOpen); at != std::string::npos;) {
    const std::size_t next = filter.find(kOpen, at + kOpen.size());
    const std::string one = filter.substr(at, next == std::string::npos ? std::string::npos : next - at);
    at = next;
    const auto heads = XmlElements(one, "filterColumn");
    if (heads.empty()) continue;
    TFilterColumn column;
    column.Column = WholeNumber(heads.front(), "colId", -1);
    bool writable = column.Column >= 0 && column.Column <= sheet.AutoFilter->Col2 - sheet.AutoFilter->Col1;
    for (const char* other : {"<top10", "<dynamicFilter", "<colorFilter", "<iconFilter", "<dateGroupItem"}) {
      writable = writable && one.find(other) == std::string::npos;
    }
    for (const auto& values : XmlElements(one, "filters")) column.Blanks = Flag(values, "blank");
    for (const auto& value : XmlElements(one, "filter")) {
      if (const auto it = value.find("val"); it != value.end()) column.Values.push_back(it->second);
    }
    for (const auto& conditions : XmlElements(one, "customFilters")) column.And = Flag(conditions, "and");
    for (const auto& condition : XmlElements(one, "customFilter")) {
      TFilterCondition c;
      if (const auto it = condition.find("operator"); it != condition.end()) c.Operator = it->second;
      if (const auto it = condition.find("val"); it != condition.end()) c.Value = it->second;
      static constexpr std::string_view kOperators[] = {
          "", "equal", "notEqual", "greaterThan", "lessThan", "greaterThanOrEqual", "lessThanOrEqual"};
      writable =
          writable && std::find(std::begin(kOperators), std::end(kOperators), c.Operator) != std::end(kOperators);
      column.Conditions.push_back(std::move(c));
    }
    const bool values = !column.Values.empty() || column.Blanks;
    // The writer counts a list's entries in 16 bits: a longer list is
    // left out (and counted) rather than written wrong.
    constexpr std::size_t kMostListEntries = 65535;
    writable = writable && column.Conditions.size() <= 2 && !(values && !column.Conditions.empty()) &&
               column.Values.size() + (column.Blanks ? 1 : 0) <= kMostListEntries;
    if (!writable) {
      ++sheet.FilterColumnsLeftOut;
    } else if (values || !column.Conditions.empty()) {
      sheet.FilterColumns.push_back(std::move(column));
    }
  }
}

// The print titles of a sheet from the text of its name _xlnm.Print_Titles:
// "'Druck'!$1:$2", "Druck!$A:$B,Druck!$1:$1" (rows, columns or both).
void ReadPrintTitles(std::string_view text, TXlsxSheetSettings& sheet) {
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    std::string_view part = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    if (const std::size_t bang = part.rfind('!'); bang != std::string_view::npos) part.remove_prefix(bang + 1);
    std::string plain;
    for (const char c : part) {
      if (c != '$') plain += c;
    }
    const std::size_t colon = plain.find(':');
    if (colon == std::string::npos) continue;
    const std::string first = plain.substr(0, colon);
    const std::string last = plain.substr(colon + 1);
    int a = 0;
    int b = 0;
    const bool rows =
        std::from_chars(first.data(), first.data() + first.size(), a).ptr == first.data() + first.size() &&
        std::from_chars(last.data(), last.data() + last.size(), b).ptr == last.data() + last.size();
    if (rows && a >= 1 && a <= b && b <= kMaxRows) {
      sheet.TitleRows = TLineRun{a, b};
      continue;
    }
    a = ColumnFromLetters(first);
    b = ColumnFromLetters(last);
    if (a >= 1 && a <= b && b <= kMaxCols) sheet.TitleCols = TLineRun{a, b};
  }
}

// The print titles of the workbook's sheets, from its defined names (the
// sheet by "localSheetId", 0-based in the order of <sheets>).
void ReadAllPrintTitles(const std::string& workbook, std::vector<TXlsxSheetSettings>& sheets) {
  static constexpr std::string_view kOpen = "<definedName ";
  for (std::size_t at = workbook.find(kOpen); at != std::string::npos; at = workbook.find(kOpen, at + 1)) {
    const std::size_t tagEnd = XmlTagEnd(workbook, at);
    const std::size_t close = workbook.find("</definedName>", at);
    if (tagEnd == std::string::npos || close == std::string::npos || close < tagEnd) continue;
    const auto attributes = XmlElements(workbook.substr(at, tagEnd + 1 - at), "definedName");
    if (attributes.empty()) continue;
    const auto name = attributes.front().find("name");
    if (name == attributes.front().end() || name->second != "_xlnm.Print_Titles") continue;
    const int sheet = WholeNumber(attributes.front(), "localSheetId", -1);
    if (sheet < 0 || sheet >= static_cast<int>(sheets.size())) continue;
    ReadPrintTitles(DecodeXmlEntities(std::string_view(workbook).substr(tagEnd + 1, close - tagEnd - 1)),
                    sheets[static_cast<std::size_t>(sheet)]);
  }
}

}  // namespace

std::vector<std::map<std::string, std::string>> XmlElements(const std::string& xml, const std::string& name) {
  std::vector<std::map<std::string, std::string>> elements;
  const std::string open = "<" + name;
  std::size_t pos = 0;
  while ((pos = xml.find(open, pos)) != std::string::npos) {
    const std::size_t after = pos + open.size();
    if (after >= xml.size() || !(xml[after] == ' ' || xml[after] == '>' || xml[after] == '/' || xml[after] == '\n' ||
                                 xml[after] == '\t' || xml[after] == '\r')) {
      pos = after;
      continue;
    }
    const std::size_t end = XmlTagEnd(xml, after);
    if (end == std::string::npos) break;
    std::map<std::string, std::string> attributes;
    std::size_t i = after;
    while (i < end) {
      while (i < end && (xml[i] == ' ' || xml[i] == '\n' || xml[i] == '\r' || xml[i] == '\t' || xml[i] == '/')) ++i;
      const std::size_t nameStart = i;
      while (i < end && xml[i] != '=' && xml[i] != ' ') ++i;
      if (i >= end || xml[i] != '=') break;
      std::string key = xml.substr(nameStart, i - nameStart);
      if (const std::size_t colon = key.find(':'); colon != std::string::npos && key.rfind("xmlns", 0) != 0) {
        key = key.substr(colon + 1);  // r:id -> id
      }
      i += 1;
      if (i >= end || (xml[i] != '"' && xml[i] != '\'')) break;
      const char quote = xml[i];
      const std::size_t valueEnd = xml.find(quote, i + 1);
      if (valueEnd == std::string::npos || valueEnd > end) break;
      attributes[key] = DecodeXmlEntities(std::string_view(xml).substr(i + 1, valueEnd - i - 1));
      i = valueEnd + 1;
    }
    elements.push_back(std::move(attributes));
    pos = end;
  }
  return elements;
}

// The settings of one worksheet part (`xml`) into `s`: view, page set-up,
// tab colour (`theme`: the theme's colours; one it does not give counted
// in `tabColorsLeftOut`), row height, hidden rows, filter, protection,
// print options, margins, header and footer, page breaks.
void ReadSheetPart(std::string_view xml, const std::vector<std::uint32_t>& theme, TXlsxSheetSettings& s,
                   int& tabColorsLeftOut) {
  // Everything but the cells: the part before and the part after them.
  std::string head(xml);
  std::string tail;
  if (const std::size_t cells = xml.find("<sheetData"); cells != std::string_view::npos) {
    head = std::string(xml.substr(0, cells));
    const std::size_t close = xml.rfind("</sheetData>");
    tail = close == std::string_view::npos || close < cells ? std::string() : std::string(xml.substr(close));
    s.HiddenRows = ScanHiddenRows(xml.substr(cells, close == std::string_view::npos ? xml.npos : close - cells));
  }
  for (const auto& view : XmlElements(head, "sheetView")) {
    s.Zoom = WholeNumber(view, "zoomScale", 100);
    if (view.count("showGridLines") != 0) s.ShowGridLines = Flag(view, "showGridLines");
  }
  for (const auto& fit : XmlElements(head, "pageSetUpPr")) s.Page.FitToPages = Flag(fit, "fitToPage");
  for (const auto& tab : XmlElements(head, "tabColor")) s.TabColor = TabColorOf(tab, theme, tabColorsLeftOut);
  for (const auto& format : XmlElements(head, "sheetFormatPr")) {
    const double height = Number(format, "defaultRowHeight", s.DefaultRowHeight);
    if (height > 0.0 && height <= 409.0) s.DefaultRowHeight = height;
  }
  for (const auto& filter : XmlElements(tail, "autoFilter")) {
    const auto ref = filter.find("ref");
    if (ref != filter.end()) s.AutoFilter = ParseRange(ref->second);
  }
  if (s.AutoFilter) ReadFilterColumns(tail, s);
  for (const auto& protection : XmlElements(tail, "sheetProtection")) s.Protection = SheetProtectionOf(protection);
  for (const auto& options : XmlElements(tail, "printOptions")) {
    s.Page.HCenter = Flag(options, "horizontalCentered");
    s.Page.VCenter = Flag(options, "verticalCentered");
    s.Page.GridLines = Flag(options, "gridLines");
    s.Page.RowHeading = s.Page.ColHeading = Flag(options, "headings");
  }
  for (const auto& margins : XmlElements(tail, "pageMargins")) {
    s.Page.LeftMargin = Number(margins, "left", s.Page.LeftMargin);
    s.Page.RightMargin = Number(margins, "right", s.Page.RightMargin);
    s.Page.TopMargin = Number(margins, "top", s.Page.TopMargin);
    s.Page.BottomMargin = Number(margins, "bottom", s.Page.BottomMargin);
    s.Page.HeaderMargin = Number(margins, "header", s.Page.HeaderMargin);
    s.Page.FooterMargin = Number(margins, "footer", s.Page.FooterMargin);
  }
  for (const auto& setup : XmlElements(tail, "pageSetup")) {
    s.Page.PaperSize = WholeNumber(setup, "paperSize", 9);
    s.Page.ScalePercent = WholeNumber(setup, "scale", 100);
    s.Page.PagesWide = WholeNumber(setup, "fitToWidth", 1);
    s.Page.PagesTall = WholeNumber(setup, "fitToHeight", 1);
    const auto orientation = setup.find("orientation");
    s.Page.Landscape = orientation != setup.end() && orientation->second == "landscape";
    const auto order = setup.find("pageOrder");
    s.Page.LeftToRight = order != setup.end() && order->second == "overThenDown";
    s.Page.NoColor = Flag(setup, "blackAndWhite");
  }
  s.Page.Header = ElementText(tail, "oddHeader");
  s.Page.Footer = ElementText(tail, "oddFooter");
  auto breaks = [&](const std::string& group, std::set<int>& into) {
    const std::size_t start = tail.find("<" + group);
    if (start == std::string::npos) return;
    const std::size_t end = tail.find("</" + group + ">", start);
    const std::string part = tail.substr(start, end == std::string::npos ? std::string::npos : end - start);
    for (const auto& brk : XmlElements(part, "brk")) {
      const int at = WholeNumber(brk, "id", 0);
      if (at >= 1) into.insert(at);
    }
  };
  breaks("rowBreaks", s.RowBreaks);
  breaks("colBreaks", s.ColBreaks);
}

bool ReadXlsxSettings(TPreparedXlsx& archive, TXlsxSettings& settings, std::string& error) {
  try {
    std::string workbookPart;
    for (const auto& [id, relation] : PartRelations(archive, "")) {
      if (EndsWith(relation.first, "/officeDocument")) workbookPart = relation.second;
    }
    std::string workbook;
    if (workbookPart.empty() || !ReadEntry(archive, workbookPart, workbook)) {
      error = "no workbook part";
      return false;
    }
    const auto targets = PartRelations(archive, workbookPart);
    for (const auto& view : XmlElements(workbook, "workbookView")) {
      settings.ActiveSheet = WholeNumber(view, "activeTab", 0);
    }
    for (const auto& properties : XmlElements(workbook, "workbookPr")) {
      settings.Properties.Date1904 = Flag(properties, "date1904");
    }
    ReadDocumentProperties(archive, settings.Properties, settings.CustomPropertiesLeftOut);
    std::vector<std::uint32_t> theme;
    for (const auto& [id, relation] : targets) {
      std::string themeXml;
      if (EndsWith(relation.first, "/theme") && ReadEntry(archive, relation.second, themeXml)) {
        theme = ThemeColors(themeXml);
      }
    }
    for (const auto& sheet : XmlElements(workbook, "sheet")) {
      TXlsxSheetSettings s;
      const auto id = sheet.find("id");
      const std::string_view xml = id != sheet.end() && targets.count(id->second) != 0
                                       ? archive.Part(targets.at(id->second).second)
                                       : std::string_view();
      const std::size_t index = settings.Sheets.size();
      if (index < archive.Numbers.size()) s.Numbers = std::move(archive.Numbers[index]);
      if (index < archive.FormattedEmpty.size()) s.FormattedEmpty = std::move(archive.FormattedEmpty[index]);
      ReadSheetPart(xml, theme, s, settings.TabColorsLeftOut);
      settings.Sheets.push_back(std::move(s));
    }
    ReadAllPrintTitles(workbook, settings.Sheets);
    std::string styles;
    std::string stylesPart;
    for (const auto& [id, relation] : targets) {
      if (EndsWith(relation.first, "/styles")) stylesPart = relation.second;
    }
    if (!stylesPart.empty() && ReadEntry(archive, stylesPart, styles)) {
      const std::size_t start = styles.find("<cellXfs");
      const std::size_t end = styles.find("</cellXfs>", start);
      if (start != std::string::npos && end != std::string::npos) {
        const std::string part = styles.substr(start, end - start);
        // Each <xf> with the <alignment> that follows it before the next <xf>.
        std::size_t pos = part.find("<xf");
        while (pos != std::string::npos) {
          const std::size_t next = part.find("<xf", pos + 3);
          const std::string one = part.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
          TXlsxFormatSettings format;
          for (const auto& alignment : XmlElements(one, "alignment")) {
            format.Wrap = Flag(alignment, "wrapText");
            format.Horizontal = HorizontalCode(alignment);
            const int rotation = WholeNumber(alignment, "textRotation", 0);
            if (rotation == 255)
              format.Orientation = 1;
            else if (rotation >= 45 && rotation <= 90)
              format.Orientation = 2;
            else if (rotation >= 135 && rotation <= 180)
              format.Orientation = 3;
          }
          settings.CellFormats.push_back(format);
          pos = next;
        }
      }
    }
    return true;
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
}

}  // namespace kvx::workbook
