#include "core/element_file_ranges.h"

#include "core/binary_fields.h"

namespace kvx {

void EncodeElementFileRanges(const TElementFileRanges& ranges, std::span<std::uint8_t, kElementFileRangesSize> out) {
  FieldWriter w(out);
  for (const TFileRange* r : {&ranges.UserCatalogue, &ranges.AsteroidFile, &ranges.CometFile}) {
    w.I32(r->First);
    w.I32(r->Last);
  }
}

TElementFileRanges DecodeElementFileRanges(std::span<const std::uint8_t, kElementFileRangesSize> in) {
  TElementFileRanges ranges;
  FieldReader r(in);
  for (TFileRange* p : {&ranges.UserCatalogue, &ranges.AsteroidFile, &ranges.CometFile}) {
    p->First = r.I32();
    p->Last = r.I32();
  }
  return ranges;
}

void ResetFileRange(TElementFileRanges& ranges, std::int32_t kind) {
  switch (kind) {
    case 0:
    case 3:
      ranges.UserCatalogue = TFileRange{};
      break;
    case 1:
      ranges.AsteroidFile = TFileRange{};
      break;
    case 2:
      ranges.CometFile = TFileRange{};
      break;
    default:
      break;
  }
}

void CheckUserCatalogueRange(TElementFileRanges& ranges, std::int32_t objectCount) {
  const TFileRange& r = ranges.UserCatalogue;
  if (r.First < 0 || r.First >= objectCount || r.Last >= objectCount) {
    ranges.UserCatalogue = TFileRange{};
  }
}

TClampedRange ClampFileRange(const TFileRange& range, std::int32_t count) {
  TClampedRange c;
  if (count <= 0) return c;
  c.First = range.First < 0 ? 0 : range.First;
  c.Last = (range.Last < 0 || range.Last > count - 1) ? count - 1 : range.Last;
  if (range.Last < 0) c.First = 0;
  c.Empty = c.First > c.Last;
  return c;
}

}  // namespace kvx
