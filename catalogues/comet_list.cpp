// The comet list's dispatcher, its own formats (".csv", ".oko") and the
// built-in list. The exchange formats are in comet_formats.cpp.
#include "catalogues/comet_list.h"

#include <sys/stat.h>

#include <cstdio>

#include "catalogues/element_lines.h"
#include "catalogues/element_write_checks.h"
#include "catalogues/foreign_lines.h"
#include "catalogues/list_messages.h"
#include "catalogues/text_line_reader.h"
#include "core/element_records.h"
#include "platform/busy_cursor.h"
#include "platform/messages.h"

namespace kvx {

namespace {

constexpr const char* kOwnFieldLine = ":name;q;e;i;node;per; equinox;tm of per.(jd);epoche (jd);h;g";
constexpr const char* kOwnHeader = ":BAHNELEMENTE KOMETEN VAMUR EXT";

}  // namespace

TListFormat Kometentabelle::SavedAs(TElementFormat format) { return SavedFormatOf(CometFileFormats(), format); }

bool Kometentabelle::Neuedateiladen(std::uint8_t& kind, const std::string& fileName, bool showMessages, int index) {
  BusyCursorScope busy;
  readError_.clear();
  ClearSkipped();
  std::string errorText;
  const bool ok = ReadByFormat(*this, CometFileFormats(), kind, fileName, showMessages, errorText);
  if (errorText.empty()) errorText = readError_;  // before the built-in list replaces the items
  return FinishLoad(ok, fileName, errorText, index, showMessages, [this] { LoadBuiltInList(); });
}

void Kometentabelle::LoadBuiltInList() {
  ClearAndFree();
  ClearSkipped();
  for (const char* line : kBuiltInCometLines) {
    TCometElements record;
    if (ParseCometCsvLine(line, record) == TLineParse::Parsed) AddRecord(record);
  }
  SortItems();
  BuiltInListShown = 1;
}

int Kometentabelle::ReadOwnCsvFile(const std::string& fileName) {
  return ReadOwnTextFile(fileName, kOwnFieldLine, kOwnHeader, ParseCometCsvLine);
}

bool Kometentabelle::WriteOwnCsvFile(const std::string& fileName) {
  return WriteTextFile(
      fileName, std::string(kOwnFieldLine) + "\r\n", SavedAs(TElementFormat::OwnText), kCometExact, OwnCometLine,
      [](const TCometElements& e, const std::string& line, TLostFields& lost, TSaveRefusals& refusals) {
        TCometElements read;
        const TLineParse parse = ParseCometCsvLine(line, read);
        return LineKeepsRecord(e, parse == TLineParse::Blank ? TForeignLineRead::NotRead : TForeignLineRead::Parsed,
                               read, kCometExact, refusals, &lost);
      });
}

bool Kometentabelle::ReadOkoFile(const std::string& fileName) {
  return ReadRecordFile<kCometElementRecordSize>(
      fileName, [](const TCometElementRecordBytes& bytes) { return DecodeCometElementRecord(bytes); },
      CometElementsUsable, [this](const TCometElements& record) { AddRecord(record); });
}

bool Kometentabelle::WriteOkoFile(const std::string& fileName) {
  return WriteRecordFile<kCometElementRecordSize>(
      fileName, SavedAs(TElementFormat::Binary), [](const TCometElements& e) { return EncodeCometElementRecord(e); },
      [](const TCometElements& e, const TCometElementRecordBytes& bytes, TSaveRefusals& refusals) {
        const TCometElements read = DecodeCometElementRecord(bytes);
        if (read.Name != e.Name) {
          RefuseName(e.Name, refusals);
          return false;
        }
        return LineKeepsRecord(e, TForeignLineRead::Parsed, read, kCometExact, refusals);
      });
}

}  // namespace kvx
