#include "catalogues/variable_star_list.h"

#include "catalogues/element_lines.h"
#include "catalogues/text_line_reader.h"
#include "platform/busy_cursor.h"
#include "platform/messages.h"

namespace kvx {

bool variablentabelle::Neuedateiladen(const std::string& fileName, int index, bool showMessages) {
  BusyCursorScope busy;
  if (!ReadVariableFile(fileName)) {
    if (showMessages) {
      const std::string text = "Datei/File " + fileName + " nicht gefunden/not found!";
      ShowMessage(text, text, MessageIcon::Error);
    }
    return false;
  }
  SetFileName(fileName);
  SelectRequested(index);
  Changed();
  if (showMessages) ReportSkippedElementLines(skipped_, fileName);
  return true;
}

bool variablentabelle::ReadVariableFile(const std::string& fileName) {
  TTextLineReader in;
  if (!in.Open(fileName)) return false;
  ClearAndFree();
  ClearSkipped();
  std::string line;
  while (in.Next(line)) FileParsedLine(in.LineNumber(), line, ParseVariableStarLine);
  SortItems();
  Loaded = 1;
  return true;
}

}  // namespace kvx
