// Orbital elements of one asteroid or comet from an electronic circular of
// the Minor Planet Center saved as text or HTML.
//
// The block follows the line holding "orbital elements" (any case): the
// object's name, then for an asteroid
//   Epoch 2005 Aug. 18.0 TT = JDT 2453600.5
//   M  20.13862              (2000.0)
//   n   0.23183727     Peri.  331.85773
//   a   2.6335917      Node   167.44389
//   e   0.2453925      Incl.    6.64396
//   P   4.25           H   16.5           G   0.15
// and for a comet a "T 2005 July  7.71564 TT" line (perihelion time) with
// "q ..." below it in place of the "M" line. Angles in degrees, a and q in
// AU, n in degrees per day, epochs and perihelion times as Julian days.
// Markup ("<...>") is stripped from every line and the common entities are
// decoded; files are read with any line ends and never rewritten.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/asteroid_elements.h"
#include "core/comet_elements.h"

namespace kvx {

struct TCircularElements {
  bool Comet = false;
  TAsteroidElements Asteroid;  // when !Comet
  TCometElements CometSet;     // when Comet
};

// The month of a circular's date from the four characters after the year
// ("Jan.", "Feb.", "Mar.", "Apr.", "May ", "June", "July", "Aug.", "Sept",
// "Oct.", "Nov.", "Dec."); 0 for any other text.
int MonthFromAbbreviation(const std::string& four);

// The index of the first line holding "orbital elements" (case ignored),
// from `from` on; nothing when there is none.
std::optional<std::size_t> FindOrbitalElementsLine(const std::vector<std::string>& lines, std::size_t from = 0);

// A line without markup: every "<...>" removed, &amp; &lt; &gt; &quot;
// &#39; &nbsp; decoded.
std::string StripMarkup(const std::string& line);

// Imports the elements of the circular's lines. Throws EmpecFileError with
// the message (current language) when the circular has no elements block,
// an unknown layout, an unknown month or a number that cannot be read.
TCircularElements ImportCircular(const std::vector<std::string>& lines);

// Reads the file (UTF-8 or Windows-1252, any line ends) and imports it.
// Throws EmpecFileError as ImportCircular, also when the file cannot be read.
TCircularElements ImportCircularFile(const std::string& path);

}  // namespace kvx
