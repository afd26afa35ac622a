// The asteroid database file (".eel"): the whole-file reader and the reader
// of the record nearest to a date, on the input as a file; the date comes
// from the input's last eight bytes. Also the record index for any size,
// date, step and first epoch taken from the front of the input.
#include <cstring>

#include "core/asteroid_database.h"
#include "fuzz/fuzz_support.h"

using namespace kvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string& path = fuzz::WriteScratch(bytes, ".eel");

  TEelHeader header;
  std::vector<TEelRecord> records;
  if (ReadEelFile(path, header, records)) {
    fuzz::Require(!records.empty(), "a read file has records");
    fuzz::Require(records.size() == (size - kEelHeaderSize) / kEelRecordSize, "record count");
  }

  double jd = 2451545.0;
  if (size >= 8) std::memcpy(&jd, data + size - 8, 8);
  TAsteroidElements elements;
  ReadEelElementsNearest(path, jd, elements);

  fuzz::Bytes in(data, size);
  std::int32_t fileSize = in.Int32();
  double when = in.Double(), step = in.Double(), first = in.Double();
  std::int32_t index = EelRecordIndex(fileSize, when, step, first);
  if (index >= 0) {
    fuzz::Require(fileSize >= kEelHeaderSize + kEelRecordSize, "index only with a record");
    fuzz::Require(index <= (std::int64_t{fileSize} - kEelHeaderSize) / kEelRecordSize - 1, "index inside the file");
  }
  return 0;
}
