// The element-file formats field by field: one row per format, which its
// reader, its writer, the precision its save checks allow, the tests and
// the fuzz targets all walk. A row gives each number field of a line in the
// order the line holds it: its name, the record member it fills, what a
// blank gives, the decimals (and, for fixed columns, the width) its writer
// writes and the columns its reader reads; and a sample line of the format.
// The format table (element_file_formats.h) says which reader a file goes
// to; this header says what the reader's lines hold.
//
// Names are those of the own files' first lines: asteroids a e i node per
// m n equinox epoch h g, comets q e i node per equinox T H G epoch,
// variable stars RA Dec MaxMag MinMag Epoch Period Equinox. The parts of a
// date (year, month, day) bear the name of the element they give (epoch or
// T). The German messages name the fields by FieldNameGerman.
//
// A field must hold a number: a text that is not one ("B1950", "1,5e",
// "−", a lone decimal mark ".", ",", "-." or "+.") makes its line
// unusable, and so does a blank field unless the format gives a blank a
// meaning (its BlankRule). An unusable line is skipped and named with its
// number and the field; nothing is ever read as 0 for want of a number.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>

#include "core/asteroid_elements.h"
#include "core/comet_elements.h"
#include "core/variable_star_elements.h"

namespace kvx {

// --- the records' numbers ------------------------------------------------------

// The numbers of each record by the names above, in record order (the
// order of the own lines).
template <typename Record>
using TRecordField = std::pair<const char*, double Record::*>;
inline constexpr TRecordField<TAsteroidElements> kAsteroidRecordFields[11] = {{"a", &TAsteroidElements::SemiMajorAxis},
                                                                              {"e", &TAsteroidElements::Eccentricity},
                                                                              {"i", &TAsteroidElements::Inclination},
                                                                              {"node", &TAsteroidElements::Node},
                                                                              {"per", &TAsteroidElements::Perihelion},
                                                                              {"m", &TAsteroidElements::MeanAnomaly},
                                                                              {"n", &TAsteroidElements::MeanMotion},
                                                                              {"equinox", &TAsteroidElements::Equinox},
                                                                              {"epoch", &TAsteroidElements::Epoch},
                                                                              {"h", &TAsteroidElements::H},
                                                                              {"g", &TAsteroidElements::G}};
inline constexpr TRecordField<TCometElements> kCometRecordFields[10] = {{"q", &TCometElements::PerihelionDistance},
                                                                        {"e", &TCometElements::Eccentricity},
                                                                        {"i", &TCometElements::Inclination},
                                                                        {"node", &TCometElements::Node},
                                                                        {"per", &TCometElements::Perihelion},
                                                                        {"equinox", &TCometElements::Equinox},
                                                                        {"T", &TCometElements::PerihelionTime},
                                                                        {"H", &TCometElements::H},
                                                                        {"G", &TCometElements::G},
                                                                        {"epoch", &TCometElements::Epoch}};
inline constexpr TRecordField<TVariableStarElements> kVariableStarRecordFields[7] = {
    {"RA", &TVariableStarElements::RA},          {"Dec", &TVariableStarElements::Dec},
    {"MaxMag", &TVariableStarElements::MaxMag},  {"MinMag", &TVariableStarElements::MinMag},
    {"Epoch", &TVariableStarElements::Epoch},    {"Period", &TVariableStarElements::Period},
    {"Equinox", &TVariableStarElements::Equinox}};

// The members by their place in those tables.
namespace asteroid_member {
enum : int { a, e, i, node, per, m, n, equinox, epoch, h, g };
}
namespace comet_member {
enum : int { q, e, i, node, per, equinox, T, H, G, epoch };
}
namespace variable_member {
enum : int { RA, Dec, MaxMag, MinMag, Epoch, Period, Equinox };
}

// The record-field table of a record type.
template <typename Record>
constexpr std::span<const TRecordField<Record>> RecordFields();
template <>
constexpr std::span<const TRecordField<TAsteroidElements>> RecordFields<TAsteroidElements>() {
  return kAsteroidRecordFields;
}
template <>
constexpr std::span<const TRecordField<TCometElements>> RecordFields<TCometElements>() {
  return kCometRecordFields;
}
template <>
constexpr std::span<const TRecordField<TVariableStarElements>> RecordFields<TVariableStarElements>() {
  return kVariableStarRecordFields;
}

// --- one field of a line -----------------------------------------------------

inline constexpr int kNoMember = -1;
// Decimals of a field that no writer of the format writes.
inline constexpr int kNotWritten = -1;

// What a blank field gives.
enum class TBlankRule : std::uint8_t {
  Refused,         // nothing: the line is unusable, named by the field
  Value,           // the field's Blank value
  PerihelionTime,  // the comet's T (its epoch then is the perihelion time)
  PassedOver,      // no record: the line is passed over without being named
};

// What a field's number stands for.
enum class TFieldForm : std::uint8_t {
  Number,    // the member's value itself
  Mjd,       // a Julian day given as MJD (JD - 2400000.5)
  Year,      // the parts of a calendar date whose day carries the time as
  Month,     //   its fraction; the three together give the member, a
  Day,       //   Julian day
  DateText,  // a date "year-month-day" (PerihelionDateText)
  Packed,    // the Minor Planet Center's packed date (UnpackPackedEpoch)
  Digits,    // a date yyyymmdd, 0 h (DigitDateJd)
  Kind,      // Guide's kind of object: 0 a comet, else an asteroid (no member)
};

struct TFormatField {
  const char* Name;
  int Member = kNoMember;  // the place in the record's field table
  TFieldForm Form = TFieldForm::Number;
  TBlankRule BlankRule = TBlankRule::Refused;
  double Blank = 0;            // the value of a blank field (BlankRule Value)
  int Decimals = kNotWritten;  // the writer's decimals; where it keeps the values exactly, the fewest
  int Width = 0;               // fixed-column writers: the width (a wider number follows a blank)
  int Blanks = 0;              // fixed-column writers: blanks written before the field
  int First = 0, Last = 0;     // fixed-column readers: the columns, counted from 1

  constexpr bool MayBeBlank() const {
    return BlankRule == TBlankRule::Value || BlankRule == TBlankRule::PerihelionTime;
  }
  // The same field with the writer's decimals (and width, and blanks before it).
  constexpr TFormatField Written(int decimals, int width = 0, int blanks = 0) const {
    TFormatField f = *this;
    f.Decimals = decimals;
    f.Width = width;
    f.Blanks = blanks;
    return f;
  }
  // The same field read from columns `first`..`last`.
  constexpr TFormatField At(int first, int last) const {
    TFormatField f = *this;
    f.First = first;
    f.Last = last;
    return f;
  }
  // The same field, a blank giving `value`.
  constexpr TFormatField BlankGives(double value) const {
    TFormatField f = *this;
    f.BlankRule = TBlankRule::Value;
    f.Blank = value;
    return f;
  }
  constexpr TFormatField BlankIs(TBlankRule rule) const {
    TFormatField f = *this;
    f.BlankRule = rule;
    return f;
  }
};

constexpr TFormatField NumberField(const char* name, int member, TFieldForm form = TFieldForm::Number) {
  return {name, member, form};
}

using TFormatFields = std::span<const TFormatField>;

// The fields of a fixed-column writer with the columns its line gives them:
// from `firstColumn` on, each after its blanks and as wide as its width.
template <std::size_t N>
constexpr std::array<TFormatField, N> LaidOut(const TFormatField (&fields)[N], int firstColumn) {
  std::array<TFormatField, N> laid{};
  int column = firstColumn;
  for (std::size_t k = 0; k < N; ++k) {
    column += fields[k].Blanks;
    laid[k] = fields[k].At(column, column + fields[k].Width - 1);
    column += fields[k].Width;
  }
  return laid;
}

// How a reader finds the fields of a line.
enum class TLineLayout : std::uint8_t {
  Separated,  // between separators (the row's Separator)
  Words,      // blank-separated words after a fixed name field
  Columns,    // fixed columns
};

// The record a format's lines give, and so the list that reads it.
enum class TElementRecordKind : std::uint8_t { Asteroid, Comet, VariableStar };

// One element-file format as its lines hold it.
struct TElementLineFormat {
  const char* Name;  // as the tests name it
  TElementRecordKind Record;
  TLineLayout Layout;
  char Separator;  // Separated: the separator
  TFormatFields Fields;
  // The writer keeps every value exactly (Decimals are then the fewest it
  // writes); otherwise it rounds to them.
  bool KeepsValues;
  // A file name its reader takes (nullptr: no list reads the format), and
  // what stands before the records in a file of two records.
  const char* FileName;
  const char* Head;
  // A valid line, each number field of Fields in [brackets]; a fixed-length
  // record (ASTORB) is filled with blanks to RecordLength.
  const char* Sample;
  std::size_t RecordLength = 0;
};

// --- the formats ----------------------------------------------------------------

namespace element_format_rows {
using F = TFieldForm;
namespace am = asteroid_member;
namespace cm = comet_member;
namespace vm = variable_member;

// Own asteroid line name;a;e;i;node;per;m;n;equinox;epoch;h;g. n blank is
// "not known" (0: derived from a); h blank is 0; g blank or missing (the
// line ending after h) is the usual slope 0.15.
inline constexpr TFormatField kOwnAsteroid[] = {NumberField("a", am::a).Written(8),
                                                NumberField("e", am::e).Written(8),
                                                NumberField("i", am::i).Written(6),
                                                NumberField("node", am::node).Written(6),
                                                NumberField("per", am::per).Written(6),
                                                NumberField("m", am::m).Written(6),
                                                NumberField("n", am::n).Written(6).BlankGives(0),
                                                NumberField("equinox", am::equinox).Written(2),
                                                NumberField("epoch", am::epoch).Written(5),
                                                NumberField("h", am::h).Written(2).BlankGives(0),
                                                NumberField("g", am::g).Written(2).BlankGives(0.15)};
// Own comet line name;q;e;i;node;per;equinox;T;H;G;epoch. H and G blank or
// missing are 0; the epoch blank or missing is T.
inline constexpr TFormatField kOwnComet[] = {
    NumberField("q", cm::q).Written(8),
    NumberField("e", cm::e).Written(8),
    NumberField("i", cm::i).Written(6),
    NumberField("node", cm::node).Written(6),
    NumberField("per", cm::per).Written(6),
    NumberField("equinox", cm::equinox).Written(2),
    NumberField("T", cm::T).Written(5),
    NumberField("H", cm::H).Written(2).BlankGives(0),
    NumberField("G", cm::G).Written(2).BlankGives(0),
    NumberField("epoch", cm::epoch).Written(5).BlankIs(TBlankRule::PerihelionTime)};
// Variable-star line Name;RA;Dec;MaxMag;MinMag;Epoch;Period;Equinox;Type
// (written by the element editor). The magnitudes blank are 0.
inline constexpr TFormatField kVariableStar[] = {NumberField("RA", vm::RA).Written(6),
                                                 NumberField("Dec", vm::Dec).Written(6),
                                                 NumberField("MaxMag", vm::MaxMag).Written(2).BlankGives(0),
                                                 NumberField("MinMag", vm::MinMag).Written(2).BlankGives(0),
                                                 NumberField("Epoch", vm::Epoch).Written(5),
                                                 NumberField("Period", vm::Period).Written(8),
                                                 NumberField("Equinox", vm::Equinox).Written(2)};
// HomePlanet asteroid line name,H,G,M,per,node,i,e,a,epoch (MJD). H and G
// blank are 0.
inline constexpr TFormatField kHomePlanetAsteroid[] = {NumberField("h", am::h).Written(2).BlankGives(0),
                                                       NumberField("g", am::g).Written(2).BlankGives(0),
                                                       NumberField("m", am::m).Written(6),
                                                       NumberField("per", am::per).Written(6),
                                                       NumberField("node", am::node).Written(6),
                                                       NumberField("i", am::i).Written(6),
                                                       NumberField("e", am::e).Written(8),
                                                       NumberField("a", am::a).Written(8),
                                                       NumberField("epoch", am::epoch, F::Mjd).Written(5)};
// HomePlanet comet line name,T ("year-month-day"),q,e,per,node,i; the
// semi-major axis and period after them are neither read nor written (two
// empty fields). T is written with as many decimals of its day as keep it
// (at most 10: kept to 9).
inline constexpr TFormatField kHomePlanetComet[] = {NumberField("T", cm::T, F::DateText).Written(9),
                                                    NumberField("q", cm::q).Written(8),
                                                    NumberField("e", cm::e).Written(8),
                                                    NumberField("per", cm::per).Written(6),
                                                    NumberField("node", cm::node).Written(6),
                                                    NumberField("i", cm::i).Written(6)};
// SkyMap asteroid line: the name in 46 columns (the reader takes 35 and
// skips 2), then year (5), blank, month (2, leading zero) and day (7.3) of
// the epoch, M 8.3, a 9.6, e 9.6, per 8.3, node 8.3, i 8.3, H 6.2, G 6.2,
// three blanks.
inline constexpr TFormatField kSkyMapAsteroid[] = {NumberField("epoch", am::epoch, F::Year).Written(0, 5),
                                                   NumberField("epoch", am::epoch, F::Month).Written(0, 2, 1),
                                                   NumberField("epoch", am::epoch, F::Day).Written(3, 7),
                                                   NumberField("m", am::m).Written(3, 8),
                                                   NumberField("a", am::a).Written(6, 9),
                                                   NumberField("e", am::e).Written(6, 9),
                                                   NumberField("per", am::per).Written(3, 8),
                                                   NumberField("node", am::node).Written(3, 8),
                                                   NumberField("i", am::i).Written(3, 8),
                                                   NumberField("h", am::h).Written(2, 6),
                                                   NumberField("g", am::g).Written(2, 6)};
// SkyMap comet line: the name in 46 columns (the reader takes 45), then
// year, month and day of T as above, q 9.6, e 9.6, per 8.3, node 8.3, i 8.3,
// H 5.1, G 5.1, three blanks.
inline constexpr TFormatField kSkyMapComet[] = {
    NumberField("T", cm::T, F::Year).Written(0, 5), NumberField("T", cm::T, F::Month).Written(0, 2, 1),
    NumberField("T", cm::T, F::Day).Written(3, 7),  NumberField("q", cm::q).Written(6, 9),
    NumberField("e", cm::e).Written(6, 9),          NumberField("per", cm::per).Written(3, 8),
    NumberField("node", cm::node).Written(3, 8),    NumberField("i", cm::i).Written(3, 8),
    NumberField("H", cm::H).Written(1, 5),          NumberField("G", cm::G).Written(1, 5)};
// Guide 6.0 comet line: the name in 43 columns (the reader takes 40), then
// day of T (7.4), blank, month (3), year (5), the kind "   0.0", q 18.7, e,
// i, per, node 12.7 each, equinox 7.1, three blanks, H 4.1, G 5.1, three
// blanks.
inline constexpr TFormatField kGuideComet[] = {
    NumberField("T", cm::T, F::Day).Written(4, 7),  NumberField("T", cm::T, F::Month).Written(0, 3, 1),
    NumberField("T", cm::T, F::Year).Written(0, 5), NumberField("kind", kNoMember, F::Kind).Written(1, 6),
    NumberField("q", cm::q).Written(7, 18),         NumberField("e", cm::e).Written(7, 12),
    NumberField("i", cm::i).Written(7, 12),         NumberField("per", cm::per).Written(7, 12),
    NumberField("node", cm::node).Written(7, 12),   NumberField("equinox", cm::equinox).Written(1, 7),
    NumberField("H", cm::H).Written(1, 4, 3),       NumberField("G", cm::G).Written(1, 5)};
// The Minor Planet Center's one-line asteroid record (MPCORB, the Center's
// ".txt" files), read only: H 9-13, G 15-19, packed epoch 21-25, M 27-35,
// per 38-46, node 49-57, i 60-68, e 71-79, n 81-91, a 93-103. G blank is 0.
// A blank H is no magnitude: the ".txt" reader names such a line, the
// MPCORB readers pass it over (kMpcorbRecord).
inline constexpr TFormatField kMpcOneLine[] = {NumberField("h", am::h).At(9, 13),
                                               NumberField("g", am::g).At(15, 19).BlankGives(0),
                                               NumberField("epoch", am::epoch, F::Packed).At(21, 25),
                                               NumberField("m", am::m).At(27, 35),
                                               NumberField("per", am::per).At(38, 46),
                                               NumberField("node", am::node).At(49, 57),
                                               NumberField("i", am::i).At(60, 68),
                                               NumberField("e", am::e).At(71, 79),
                                               NumberField("n", am::n).At(81, 91),
                                               NumberField("a", am::a).At(93, 103)};
inline constexpr TFormatField kMpcorbRecord[] = {kMpcOneLine[0].BlankIs(TBlankRule::PassedOver),
                                                 kMpcOneLine[1],
                                                 kMpcOneLine[2],
                                                 kMpcOneLine[3],
                                                 kMpcOneLine[4],
                                                 kMpcOneLine[5],
                                                 kMpcOneLine[6],
                                                 kMpcOneLine[7],
                                                 kMpcOneLine[8],
                                                 kMpcOneLine[9]};
// An ASTORB record (older layout; the current one is one column to the
// right): H 42-46, G 48-52, epoch yyyymmdd 106-113, M 115-124, per
// 126-135, node 137-146, i 148-156, e 158-167, a 169-180 (read whole). H
// and G blank are 0.
inline constexpr TFormatField kAstorb[] = {NumberField("h", am::h).At(42, 46).BlankGives(0),
                                           NumberField("g", am::g).At(48, 52).BlankGives(0),
                                           NumberField("epoch", am::epoch, F::Digits).At(106, 113),
                                           NumberField("m", am::m).At(115, 124),
                                           NumberField("per", am::per).At(126, 135),
                                           NumberField("node", am::node).At(137, 146),
                                           NumberField("i", am::i).At(148, 156),
                                           NumberField("e", am::e).At(158, 167),
                                           NumberField("a", am::a).At(169, 180)};
// The Minor Planet Center's one-line comet record, read only: year 15-18,
// month 20-21 and day 23-29 of T, q 31-39, e 42-49, per 52-59, node 62-69,
// i 72-79, H 92-95 and G 97-100 (blank: 0).
inline constexpr TFormatField kMpcComet[] = {NumberField("T", cm::T, F::Year).At(15, 18),
                                             NumberField("T", cm::T, F::Month).At(20, 21),
                                             NumberField("T", cm::T, F::Day).At(23, 29),
                                             NumberField("q", cm::q).At(31, 39),
                                             NumberField("e", cm::e).At(42, 49),
                                             NumberField("per", cm::per).At(52, 59),
                                             NumberField("node", cm::node).At(62, 69),
                                             NumberField("i", cm::i).At(72, 79),
                                             NumberField("H", cm::H).At(92, 95).BlankGives(0),
                                             NumberField("G", cm::G).At(97, 100).BlankGives(0)};
// The comet text listing, written for reading by eye (no list reads it;
// its writer reads its lines back by these columns to check them): the
// name in 40 columns, the equinox 4.0, a blank, T as year (4), month (2)
// and day (7.4) written together with leading zeros ("19860209.4589"),
// q 11.6, e 10.6, per, node and i 10.4 each, H 8.3, G 6.3, three blanks.
// A number after another one that fills its width would run into it: the
// line is refused, naming the field. The epoch is not in the listing.
inline constexpr TFormatField kTextListingWritten[] = {NumberField("equinox", cm::equinox).Written(0, 4),
                                                       NumberField("T", cm::T, F::Year).Written(0, 4, 1),
                                                       NumberField("T", cm::T, F::Month).Written(0, 2),
                                                       NumberField("T", cm::T, F::Day).Written(4, 7),
                                                       NumberField("q", cm::q).Written(6, 11),
                                                       NumberField("e", cm::e).Written(6, 10),
                                                       NumberField("per", cm::per).Written(4, 10),
                                                       NumberField("node", cm::node).Written(4, 10),
                                                       NumberField("i", cm::i).Written(4, 10),
                                                       NumberField("H", cm::H).Written(3, 8),
                                                       NumberField("G", cm::G).Written(3, 6)};
inline constexpr auto kTextListing = LaidOut(kTextListingWritten, 41);
}  // namespace element_format_rows

inline constexpr TFormatFields kOwnAsteroidLineFields = element_format_rows::kOwnAsteroid;
inline constexpr TFormatFields kHomePlanetAsteroidLineFields = element_format_rows::kHomePlanetAsteroid;
inline constexpr TFormatFields kSkyMapAsteroidLineFields = element_format_rows::kSkyMapAsteroid;
inline constexpr TFormatFields kMpcOneLineFields = element_format_rows::kMpcOneLine;
inline constexpr TFormatFields kMpcorbRecordFields = element_format_rows::kMpcorbRecord;
inline constexpr TFormatFields kAstorbFields = element_format_rows::kAstorb;
inline constexpr TFormatFields kOwnCometLineFields = element_format_rows::kOwnComet;
inline constexpr TFormatFields kHomePlanetCometLineFields = element_format_rows::kHomePlanetComet;
inline constexpr TFormatFields kSkyMapCometLineFields = element_format_rows::kSkyMapComet;
inline constexpr TFormatFields kGuideCometLineFields = element_format_rows::kGuideComet;
inline constexpr TFormatFields kMpcCometLineFields = element_format_rows::kMpcComet;
inline constexpr TFormatFields kVariableStarLineFields = element_format_rows::kVariableStar;
inline constexpr TFormatFields kTextListingFields = element_format_rows::kTextListing;

// The formats' rows. The MPC one-line record has a row per reader (the
// ".txt" files and MPCORB read line by line), since they treat a blank H
// each in its own way.
inline constexpr TElementLineFormat kOwnAsteroidFormat = {
    "own asteroids",
    TElementRecordKind::Asteroid,
    TLineLayout::Separated,
    ';',
    element_format_rows::kOwnAsteroid,
    true,
    "a.csv",
    ":a;e;i;node;per;m;n;equinox;epoch;h;g\n",
    "Vesta;[2,36];[0,09];[7,1];[103];[150];[84];[0,27];[2000];[2450600,5];[3,2];[0,15]"};
inline constexpr TElementLineFormat kHomePlanetAsteroidFormat = {
    "HomePlanet asteroids",
    TElementRecordKind::Asteroid,
    TLineLayout::Separated,
    ',',
    element_format_rows::kHomePlanetAsteroid,
    true,
    "h.csv",
    "Name,Magnitude H,Magnitude G,Mean anomaly,Arg. perihelion,Long. node,Inclination,Eccentricity,Semimajor "
    "axis,Epoch (MJD)\n",
    "Vesta,[3.2],[0.32],[150],[151],[103.8],[7.14],[0.088],[2.36],[59800]"};
inline constexpr TElementLineFormat kSkyMapAsteroidFormat = {
    "SkyMap asteroids",
    TElementRecordKind::Asteroid,
    TLineLayout::Words,
    ' ',
    element_format_rows::kSkyMapAsteroid,
    false,
    "a.sky",
    "",
    "Ceres                                          [2022] [09] [1.000] [73.532] [2.766619] [0.078636] "
    "[73.531] [80.266] [10.587] [3.33] [0.12]"};
inline constexpr TElementLineFormat kMpcTextFormat = {
    "MPC text",
    TElementRecordKind::Asteroid,
    TLineLayout::Columns,
    ' ',
    element_format_rows::kMpcOneLine,
    false,
    "numbered.txt",
    "",
    "00001   [ 3.34] [ 0.12] [K239D] [ 60.07966]  [ 73.42179]  [ 80.25496]  [ 10.58688]  [0.0789126] [  "
    "0.2141309] [  2.7660512]                                                               (1) Ceres"};
inline constexpr TElementLineFormat kMpcorbFormat = {
    "MPCORB line by line",
    TElementRecordKind::Asteroid,
    TLineLayout::Columns,
    ' ',
    element_format_rows::kMpcorbRecord,
    false,
    "MPCORBCR.DAT",
    "MPCORB header\n-----\n",
    "00001   [ 3.34] [ 0.12] [K239D] [ 60.07966]  [ 73.42179]  [ 80.25496]  [ 10.58688]  [0.0789126] [  "
    "0.2141309] [  2.7660512]                                                               (1) Ceres"};
inline constexpr TElementLineFormat kAstorbFormat = {
    "ASTORB",
    TElementRecordKind::Asteroid,
    TLineLayout::Columns,
    ' ',
    element_format_rows::kAstorb,
    false,
    "astorb.dat",
    "",
    "     1 Ceres              E. Bowell       [ 3.34] [ 0.12]                    0    0    0    0    0    0  1234 "
    "[20230225] [ 60.078600] [ 73.389900] [ 80.254400] [10.586800] [0.07880000] [  2.76750000]",
    266};
inline constexpr TElementLineFormat kOwnCometFormat = {
    "own comets",
    TElementRecordKind::Comet,
    TLineLayout::Separated,
    ';',
    element_format_rows::kOwnComet,
    true,
    "k.csv",
    ":name;q;e;i;node;per; equinox;tm of per.(jd);epoche (jd);h;g\n",
    "Halley;[0,586];[0,967];[162,2];[58,4];[111,3];[2000];[2446467,4];[5,5];[4,0];[2446400,5]"};
inline constexpr TElementLineFormat kHomePlanetCometFormat = {
    "HomePlanet comets",
    TElementRecordKind::Comet,
    TLineLayout::Separated,
    ',',
    element_format_rows::kHomePlanetComet,
    true,
    "hk.csv",
    "Name,Perihelion time,Perihelion AU,Eccentricity,Long. perihelion,Long. node,Inclination,Semimajor "
    "axis,Period\n",
    "Halley,[1986-2-9.459],[0.586],[0.967],[111.3],[58.4],[162.2],,"};
inline constexpr TElementLineFormat kSkyMapCometFormat = {
    "SkyMap comets",
    TElementRecordKind::Comet,
    TLineLayout::Words,
    ' ',
    element_format_rows::kSkyMapComet,
    false,
    "k.sky",
    "",
    "1P/Halley                                      [1986] [02] [9.459] [0.585978] [0.967143] [111.332] "
    "[58.420] [162.263] [5.5] [4.0]"};
inline constexpr TElementLineFormat kGuideCometFormat = {
    "Guide comets",
    TElementRecordKind::Comet,
    TLineLayout::Words,
    ' ',
    element_format_rows::kGuideComet,
    false,
    "k.dat",
    "2\n",
    "1P/Halley                                  [9.4589] [2] [1986] [0.0] [0.5859781] [0.9671429] "
    "[162.2627] [111.3325] [58.4201] [2000.0] [5.5] [4.0]"};
inline constexpr TElementLineFormat kMpcCometFormat = {
    "MPC comets",
    TElementRecordKind::Comet,
    TLineLayout::Columns,
    ' ',
    element_format_rows::kMpcComet,
    false,
    "k.txt",
    "",
    "0001P         [1986] [02] [9.4589 ] [ 0.585978]  [0.967143]  [111.3325]  [ 58.4201]  [162.2627]  19860205  "
    "[ 5.5] [ 4.0]  1P/Halley"};
inline constexpr TElementLineFormat kVariableStarFormat = {
    "variable stars",
    TElementRecordKind::VariableStar,
    TLineLayout::Separated,
    ';',
    element_format_rows::kVariableStar,
    true,
    "v.csv",
    ":ELEMENTE VARIABLE VAMUR!\n",
    "Algol;[3,0810];[40,5720];[2,09];[3,30];[2445641,5135];[2,8673043];[2000];b"};

inline constexpr TElementLineFormat kTextListingFormat = {
    "comet text listing",
    TElementRecordKind::Comet,
    TLineLayout::Columns,
    ' ',
    element_format_rows::kTextListing,
    false,
    nullptr,
    "",
    "1P/Halley                               [2000] [1986][02][09.4589][   0.585978][  0.967143][  111.3325]"
    "[   58.4201][  162.2627][   5.500][ 4.000]   "};

// Every element-line format.
inline constexpr const TElementLineFormat* kElementLineFormats[] = {
    &kOwnAsteroidFormat, &kHomePlanetAsteroidFormat, &kSkyMapAsteroidFormat,  &kMpcTextFormat,     &kMpcorbFormat,
    &kAstorbFormat,      &kOwnCometFormat,           &kHomePlanetCometFormat, &kSkyMapCometFormat, &kGuideCometFormat,
    &kMpcCometFormat,    &kVariableStarFormat,       &kTextListingFormat};

// The precision a writer keeps of each member of `Record` (in record
// order): for a member the row writes, kHeldExactly when the row keeps its
// values, else its decimals (a date's, those of its day); kNotHeld for a
// member the row does not hold (its reader supplies the value).
inline constexpr int kHeldExactly = -1;
inline constexpr int kNotHeld = -2;
template <std::size_t N>
constexpr std::array<int, N> RowPrecision(const TElementLineFormat& row) {
  std::array<int, N> precision{};
  precision.fill(kNotHeld);
  for (const TFormatField& f : row.Fields) {
    if (f.Member == kNoMember || f.Decimals == kNotWritten) continue;
    if (f.Form == TFieldForm::Year || f.Form == TFieldForm::Month) continue;
    const bool exact = row.KeepsValues && f.Form != TFieldForm::DateText;
    precision[static_cast<std::size_t>(f.Member)] = exact ? kHeldExactly : f.Decimals;
  }
  return precision;
}

// The German name of a field in the messages ("node" -> "Knoten"); a name
// the table does not hold (a symbol such as "a", "q" or "T") stands as it is.
inline constexpr std::pair<std::string_view, const char*> kFieldNamesGerman[] = {{"node", "Knoten"},
                                                                                 {"per", "Perihel"},
                                                                                 {"equinox", "Äquinoktium"},
                                                                                 {"Equinox", "Äquinoktium"},
                                                                                 {"epoch", "Epoche"},
                                                                                 {"Epoch", "Epoche"},
                                                                                 {"kind", "Objektart"},
                                                                                 {"MaxMag", "Maximalhelligkeit"},
                                                                                 {"MinMag", "Minimalhelligkeit"},
                                                                                 {"Period", "Periode"},
                                                                                 {"Dec", "DK"},
                                                                                 {"magnitude", "Helligkeit"},
                                                                                 {"pmRA", "Eigenbewegung RA"},
                                                                                 {"pmDec", "Eigenbewegung DK"}};
constexpr const char* FieldNameGerman(const char* name) {
  for (const auto& [english, german] : kFieldNamesGerman) {
    if (english == name) return german;
  }
  return name;
}

}  // namespace kvx
