// What the window knows of the table it shows and the next one: the table
// kinds and object numbers, the pending completion of the period, the
// date-list mode with its dates, the table-configuration dialog's preview
// body and Julian-date switch, and the result grid's column widths.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/column_titles.h"

namespace kvx {

// The table kind that means "no table".
inline constexpr std::int32_t kNoTableKind = 20;

struct TTableState {
  std::int32_t TableKind = kNoTableKind;
  std::int32_t PreviousTableKind = kNoTableKind;
  std::int32_t ObjectNumber = 0;
  std::int32_t PreviousObjectNumber = 0;
  std::uint8_t TableChanged = 0;  // a setting changed: the period is completed on the next paint
  // Date-list mode (tables on the dates of JulianDateList, one Julian day
  // per line) and the list.
  std::uint8_t DateListMode = 0;
  std::vector<std::string> JulianDateList;
  std::uint8_t PlaceConfirmed = 0;
  std::uint8_t ObjectChanged = 0;
  // The table-configuration dialog's preview body (0 "Alle", 1 the Sun ..
  // 14 the integrated comet) and its switch for rise, set and twilight
  // times as Julian dates, which the table writers read.
  std::int32_t TableConfigPreview = 0;
  std::uint8_t RiseSetAsJulianDate = 0;
  // The result grid's column width of each format slot, in pixels at the
  // table font of height 13 (the column-titles dialog edits them, the
  // configuration and the own table file keep them); every table writer
  // scales them by the table font.
  TColumnWidths ColumnWidthTable = DefaultColumnWidths();
};

}  // namespace kvx
