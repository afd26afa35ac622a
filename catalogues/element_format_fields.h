// The numeric fields of every element-file line the lists read, in the
// order each line holds them: the name under which the messages name a
// field and what the field reads as when it is blank. The format table
// (element_file_formats.h) says which reader a file goes to; this header
// says what the reader's lines hold.
//
// Names are those of the own files' first lines: asteroids a e i node per
// m n equinox epoch h g, comets q e i node per equinox T H G epoch,
// variable stars RA Dec MaxMag MinMag Epoch Period Equinox. The parts of a
// date (year, month, day) bear the name of the element they give (epoch or
// T).
//
// A field must hold a number: a text that is not one ("B1950", "1,5e",
// "−") makes its line unusable, and so does a blank field unless the
// format lets it be blank (an optional field, which then reads as its
// Blank value). An unusable line is skipped and named with its number and
// the field; nothing is ever read as 0 for want of a number.
#pragma once

#include <span>
#include <utility>

#include "core/asteroid_elements.h"
#include "core/comet_elements.h"
#include "core/variable_star_elements.h"

namespace kvx {

struct TFormatField {
  const char* Name;
  bool Optional = false;
  double Blank = 0;  // the value of an optional field left blank
};

// An optional field and its value when blank.
constexpr TFormatField OptionalField(const char* name, double blank) { return {name, true, blank}; }

// Own asteroid line name;a;e;i;node;per;m;n;equinox;epoch;h;g. n blank is
// "not known" (0: derived from a); g blank or missing (the line ending
// after h) is the usual slope 0.15.
inline constexpr TFormatField kOwnAsteroidLineFields[] = {{"a"},
                                                          {"e"},
                                                          {"i"},
                                                          {"node"},
                                                          {"per"},
                                                          {"m"},
                                                          OptionalField("n", 0),
                                                          {"equinox"},
                                                          {"epoch"},
                                                          {"h"},
                                                          OptionalField("g", 0.15)};
// Own comet line name;q;e;i;node;per;equinox;T;H;G;epoch.
inline constexpr TFormatField kOwnCometLineFields[] = {{"q"},       {"e"}, {"i"}, {"node"}, {"per"},
                                                       {"equinox"}, {"T"}, {"H"}, {"G"},    {"epoch"}};
// Variable-star line Name;RA;Dec;MaxMag;MinMag;Epoch;Period;Equinox;Type.
inline constexpr TFormatField kVariableStarLineFields[] = {{"RA"},    {"Dec"},    {"MaxMag"}, {"MinMag"},
                                                           {"Epoch"}, {"Period"}, {"Equinox"}};
// HomePlanet asteroid line name,H,G,M,per,node,i,e,a,epoch (MJD).
inline constexpr TFormatField kHomePlanetAsteroidLineFields[] = {{"h"}, {"g"}, {"m"}, {"per"},  {"node"},
                                                                 {"i"}, {"e"}, {"a"}, {"epoch"}};
// HomePlanet comet line name,T ("year-month-day"),q,e,per,node,i; the
// semi-major axis and period after them are not read.
inline constexpr TFormatField kHomePlanetCometLineFields[] = {{"T"}, {"q"}, {"e"}, {"per"}, {"node"}, {"i"}};
// SkyMap asteroid line after the name: year, month, day of the epoch, M, a,
// e, per, node, i, H, G.
inline constexpr TFormatField kSkyMapAsteroidLineFields[] = {{"epoch"}, {"epoch"}, {"epoch"}, {"m"}, {"a"}, {"e"},
                                                             {"per"},   {"node"},  {"i"},     {"h"}, {"g"}};
// SkyMap comet line after the name: year, month, day of T, q, e, per, node,
// i, H, G.
inline constexpr TFormatField kSkyMapCometLineFields[] = {{"T"},   {"T"},    {"T"}, {"q"}, {"e"},
                                                          {"per"}, {"node"}, {"i"}, {"H"}, {"G"}};
// Guide 6.0 comet line after the name: day, month, year of T, the kind (0
// for a comet, anything else an asteroid), q, e, i, per, node, equinox, H,
// G.
inline constexpr TFormatField kGuideCometLineFields[] = {{"T"}, {"T"},   {"T"},    {"kind"},    {"q"}, {"e"},
                                                         {"i"}, {"per"}, {"node"}, {"equinox"}, {"H"}, {"G"}};
// The Minor Planet Center's one-line asteroid record (MPCORB, the Center's
// ".txt" files): H, G, packed epoch, M, per, node, i, e, n, a. G blank is 0.
// A blank H is no magnitude: the MPCORB readers pass such a line over, the
// ".txt" reader names it.
inline constexpr TFormatField kMpcOneLineFields[] = {
    {"h"}, OptionalField("g", 0), {"epoch"}, {"m"}, {"per"}, {"node"}, {"i"}, {"e"}, {"n"}, {"a"}};
// An ASTORB record: H, G, epoch yyyymmdd, M, per, node, i, e, a. G blank is
// 0.
inline constexpr TFormatField kAstorbFields[] = {
    {"h"}, OptionalField("g", 0), {"epoch"}, {"m"}, {"per"}, {"node"}, {"i"}, {"e"}, {"a"}};
// The Minor Planet Center's one-line comet record: year, month, day of T,
// q, e, per, node, i, H and G (0 when blank), in fixed columns.
inline constexpr TFormatField kMpcCometLineFields[] = {
    {"T"}, {"T"}, {"T"}, {"q"}, {"e"}, {"per"}, {"node"}, {"i"}, OptionalField("H", 0), OptionalField("G", 0)};

using TFormatFields = std::span<const TFormatField>;

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

}  // namespace kvx
