#include "core/table_config.h"

#include "core/binary_fields.h"
#include "platform/globals.h"

namespace kvx {

void EncodeTableConfigRecord(const TTableConfigRecord& record, std::span<std::uint8_t, kTableConfigRecordSize> out) {
  FieldWriter w(out);
  w.Bytes(record.Flags);
  for (const std::string& title : record.ColumnTitles) w.ShortString(kColumnTitleLength, title);
}

TTableConfigBytes EncodeTableConfigRecord(const TTableConfigRecord& record) {
  TTableConfigBytes bytes;
  EncodeTableConfigRecord(record, std::span<std::uint8_t, kTableConfigRecordSize>(bytes));
  return bytes;
}

TTableConfigRecord DecodeTableConfigRecord(std::span<const std::uint8_t, kTableConfigRecordSize> in) {
  TTableConfigRecord record;
  FieldReader r(in);
  r.Bytes(record.Flags);
  for (std::string& title : record.ColumnTitles) title = r.ShortString(kColumnTitleLength);
  return record;
}

int FirstTitleNotHeld(const TTableConfigRecord& record) {
  for (std::size_t k = 0; k < record.ColumnTitles.size(); ++k) {
    if (!ShortStringHolds(record.ColumnTitles[k], kColumnTitleLength)) return static_cast<int>(k);
  }
  return -1;
}

std::string ColumnTitleRefusal(const TTableConfigRecord& record, int slot) {
  return ByLanguage("Spaltentitel ", "Column title ") + std::to_string(slot) + " = \"" +
         record.ColumnTitles[static_cast<std::size_t>(slot)] + "\"";
}

}  // namespace kvx
