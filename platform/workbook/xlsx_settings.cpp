#include "platform/workbook/xlsx_settings.h"

#include <charconv>
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

// The document's properties from the package's core and extended
// property parts (by their relationships), with their usual prefixes.
void ReadDocumentProperties(const TPreparedXlsx& archive, TWorkbookFileProperties& properties) {
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
    }
  }
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
    ReadDocumentProperties(archive, settings.Properties);
    for (const auto& sheet : XmlElements(workbook, "sheet")) {
      TXlsxSheetSettings s;
      const auto id = sheet.find("id");
      const std::string_view xml = id != sheet.end() && targets.count(id->second) != 0
                                       ? archive.Part(targets.at(id->second).second)
                                       : std::string_view();
      const std::size_t index = settings.Sheets.size();
      if (index < archive.Numbers.size()) s.Numbers = std::move(archive.Numbers[index]);
      if (index < archive.FormattedEmpty.size()) s.FormattedEmpty = std::move(archive.FormattedEmpty[index]);
      // Everything but the cells: the part before and the part after them.
      std::string head(xml);
      std::string tail;
      if (const std::size_t cells = xml.find("<sheetData"); cells != std::string_view::npos) {
        head = std::string(xml.substr(0, cells));
        const std::size_t close = xml.rfind("</sheetData>");
        tail = close == std::string_view::npos || close < cells ? std::string() : std::string(xml.substr(close));
      }
      for (const auto& view : XmlElements(head, "sheetView")) {
        s.Zoom = WholeNumber(view, "zoomScale", 100);
        if (view.count("showGridLines") != 0) s.ShowGridLines = Flag(view, "showGridLines");
      }
      for (const auto& fit : XmlElements(head, "pageSetUpPr")) s.Page.FitToPages = Flag(fit, "fitToPage");
      for (const auto& tab : XmlElements(head, "tabColor")) s.TabColor = RgbColor(tab);
      for (const auto& format : XmlElements(head, "sheetFormatPr")) {
        const double height = Number(format, "defaultRowHeight", s.DefaultRowHeight);
        if (height > 0.0 && height <= 409.0) s.DefaultRowHeight = height;
      }
      for (const auto& filter : XmlElements(tail, "autoFilter")) {
        const auto ref = filter.find("ref");
        if (ref != filter.end()) s.AutoFilter = ParseRange(ref->second);
      }
      for (const auto& protection : XmlElements(tail, "sheetProtection")) s.Protected = Flag(protection, "sheet");
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
      settings.Sheets.push_back(std::move(s));
    }
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
