// What an element-list writer checks before it writes anything: each
// record's line, read back by the format's own reader, gives the object
// again, with every value the format holds within the decimals it is
// written with. Objects that do not fit are gathered over the whole list
// and the save is refused with one message naming them (the object, the
// field and the format), and the old file stays as it was. When every
// record fits but the format gives some values back otherwise (a field it
// lacks, fewer decimals than a value needs), the user is asked once, before
// anything is written, whether to save anyway.
//
// A format without an equinox field, whose readers take the angles as of
// the equinox 2000 (HomePlanet, SkyMap), is written with the angles of an
// object of another equinox carried to 2000 (AtEquinox2000), so that the
// file gives back the same orbit.
//
// Field names in the messages are those of the own files' first lines:
// asteroids a e i node per m n equinox epoch h g, comets q e i node per
// equinox T H G epoch, and "Name".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogues/element_format_fields.h"
#include "catalogues/element_format_row.h"
#include "catalogues/foreign_lines.h"
#include "core/asteroid_elements.h"
#include "core/comet_elements.h"

namespace kvx {

// How a format holds a numeric field: with this many decimals (0 or more),
// exactly (kHeldExactly: to a few units of its last binary digit), or not
// at all (kNotHeld: the reader supplies its own value, which is not
// compared); element_format_fields.h.
using TAsteroidPrecision = std::array<int, 11>;  // a e i node per m n equinox epoch h g
using TCometPrecision = std::array<int, 10>;     // q e i node per equinox T H G epoch

// The formats' precisions, as their rows write them. HomePlanet and SkyMap
// hold no equinox (their readers set 2000; the writers carry the angles
// there first) and, for comets, no epoch (the readers take T); Guide holds
// the equinox; HomePlanet holds no H and G of a comet (the readers set 0).
// T and the epochs count decimals of a day.
inline constexpr TAsteroidPrecision kAsteroidExact = RowPrecision<11>(kOwnAsteroidFormat);
inline constexpr TAsteroidPrecision kSkyMapAsteroid = RowPrecision<11>(kSkyMapAsteroidFormat);
inline constexpr TAsteroidPrecision kHomePlanetAsteroid = RowPrecision<11>(kHomePlanetAsteroidFormat);
inline constexpr TCometPrecision kCometExact = RowPrecision<10>(kOwnCometFormat);
inline constexpr TCometPrecision kSkyMapComet = RowPrecision<10>(kSkyMapCometFormat);
inline constexpr TCometPrecision kGuideComet = RowPrecision<10>(kGuideCometFormat);
inline constexpr TCometPrecision kHomePlanetComet = RowPrecision<10>(kHomePlanetCometFormat);
inline constexpr TCometPrecision kTextListingComet = RowPrecision<10>(kTextListingFormat);

// True when `text` (UTF-8) has a Windows-1252 form that the readers decode
// back to `text`: every character is one of Windows-1252, and the bytes do
// not happen to read as other UTF-8 text or as a byte-order mark. A text
// of ASCII characters alone is its own Windows-1252 form.
bool HasWindows1252Form(const std::string& text);
// True when every byte of `text` is below 0x80.
bool IsAsciiText(const std::string& text);
// The bytes of a list file: the UTF-8 text as it stands, or its
// Windows-1252 form.
std::string ListFileBytes(const std::string& text, TListEncoding encoding);

// The object with its angular elements (i, node, per; degrees) carried from
// the ecliptic and equinox of its `Equinox` (a year; T = (year - 2000) /
// 100, as the engine takes it) to those of 2000, and `Equinox` = 2000; the
// other values unchanged. An object of the equinox 2000, or of an equinox
// that is no finite number, comes back as it is.
TAsteroidElements AtEquinox2000(const TAsteroidElements& e);
TCometElements AtEquinox2000(const TCometElements& e);
// The object as a format writes it: AtEquinox2000 for a format whose
// readers take the equinox 2000, else unchanged.
template <typename Record>
Record AsWritten(const Record& e, const TListFormat& format) {
  return format.Equinox == TListEquinox::Taken2000 ? AtEquinox2000(e) : e;
}

// The fields of one record that come back from a format otherwise than they
// were written: bit k for field k of the order above (asteroids a = bit 0
// ... g = bit 10; comets q = bit 0 ... epoch = bit 9). A value counts as
// kept when it comes back to a few units of its last binary digit.
using TLostFields = std::uint32_t;
TLostFields LostFields(const TAsteroidElements& written, const TAsteroidElements& read);
TLostFields LostFields(const TCometElements& written, const TCometElements& read);

// How many objects of a list lose each field, and how many were carried to
// the equinox 2000 (which loses nothing: the orbit stays the same).
struct TLossTally {
  std::array<int, 11> Objects{};
  int ConvertedToEquinox2000 = 0;
  void Add(TLostFields lost) {
    for (std::size_t k = 0; k < Objects.size(); ++k) {
      if ((lost >> k) & 1u) ++Objects[k];
    }
  }
  bool Any() const {
    for (int n : Objects) {
      if (n != 0) return true;
    }
    return false;
  }
};

// The one question before a save that loses values: "Das Format <format>
// behält nicht alles, was die Liste hält:" / "The format <format> does not
// keep everything the list holds:", a line per lost field ("q auf 6
// Dezimalen gerundet: 5 Objekte" / "q rounded to 6 decimals: 5 objects";
// T and epoch "... Dezimalen eines Tages ..." / "... decimals of a day"),
// "epoch fehlt im Format: 5 Objekte" / "epoch not in the format: 5
// objects"; in the place of the equinox, for the objects carried to 2000,
// "i, node, per auf Äquinoktium 2000 umgerechnet: 1 Objekt" / "i, node,
// per converted to equinox 2000: 1 object"), an empty line, then "Trotzdem speichern? (Nein: nichts wird geschrieben.)"
// / "Save anyway? (No: nothing is written.)", Yes/No, question icon. True for Yes.
bool AskToSaveDespiteLosses(const TLossTally& losses, const TAsteroidPrecision& precision, const char* format);
bool AskToSaveDespiteLosses(const TLossTally& losses, const TCometPrecision& precision, const char* format);

// The first field of `read` that differs from `written` by more than its
// precision allows; nullptr when none does.
const char* ChangedField(const TAsteroidElements& written, const TAsteroidElements& read,
                         const TAsteroidPrecision& precision);
const char* ChangedField(const TCometElements& written, const TCometElements& read, const TCometPrecision& precision);

// The value of a field as the messages show it (the name in quotes).
std::string FieldValueText(const TAsteroidElements& e, const std::string& field);
std::string FieldValueText(const TCometElements& e, const std::string& field);

// The objects a save refuses, gathered over the whole list so that one
// message names them all.
class TSaveRefusals {
 public:
  // The most objects the message names one by one.
  static constexpr int kNamedAtMost = 10;

  TSaveRefusals(std::string format, std::string fileName);
  // Notes "<object>: <field> = <value>" (the object alone when `field` is
  // empty).
  void Add(const std::string& object, const std::string& field, const std::string& value);
  bool Any() const { return count_ > 0; }
  int Count() const { return count_; }
  const std::string& Format() const { return format_; }
  const std::string& FileName() const { return fileName_; }
  // The one refusal, when there is any: for one object that of
  // platform/messages.h ("<what> passt nicht in das Format <format>. Die
  // Datei <file> wurde nicht geschrieben."); for several "<n> Objekte
  // passen nicht in das Format <format>:" / "<n> objects do not fit the
  // format <format>:", a line per object up to kNamedAtMost, then "und <k>
  // weitere" / "and <k> more", then "Die Datei <file> wurde nicht
  // geschrieben." / "The file <file> was not written." (error icon,
  // caption "Datei nicht gespeichert" / "File not saved"). True when it
  // was shown.
  bool ShowIfAny() const;

 private:
  std::string format_;
  std::string fileName_;
  std::vector<std::string> named_;
  int count_ = 0;
};

// Checks one record's written line, `result` and `read` being what the
// format's reader made of it: true when the reader keeps the object and
// every held value within the decimals the format writes, with the fields
// it gives back otherwise in `lost` (when given); otherwise the object is
// noted in `refusals` and false.
bool LineKeepsRecord(const TAsteroidElements& written, TForeignLineRead result, const TAsteroidElements& read,
                     const TAsteroidPrecision& precision, TSaveRefusals& refusals, TLostFields* lost = nullptr);
bool LineKeepsRecord(const TCometElements& written, TForeignLineRead result, const TCometElements& read,
                     const TCometPrecision& precision, TSaveRefusals& refusals, TLostFields* lost = nullptr);

// A name that the format cannot hold: noted with the field "Name".
void RefuseName(const std::string& name, TSaveRefusals& refusals);
// True when `text` (what a record writes of object `name`) has a form in
// the format's encoding (always for UTF-8, HasWindows1252Form for
// Windows-1252); otherwise the name is refused (RefuseName) and false.
bool KeepsEncoding(const std::string& text, const std::string& name, const TListFormat& format,
                   TSaveRefusals& refusals);
// True when a fixed name field of `width` characters holds the name as the
// writers put it (WritableName, trailing blanks dropped); otherwise the
// name is refused (RefuseName) and false.
bool NameFitsField(const std::string& name, std::size_t width, TSaveRefusals& refusals);
// The SkyMap writers' check of one line: the name fits the reader's name
// field (35 characters for asteroids, 45 for comets), the line the
// reader's limit for a first line (kSkyMapLineLimit), and the line reads
// back (LineKeepsRecord); otherwise the object is noted and false.
bool SkyMapLineKeepsRecord(const TAsteroidElements& e, const std::string& line, TSaveRefusals& refusals,
                           TLostFields& lost);
bool SkyMapLineKeepsRecord(const TCometElements& e, const std::string& line, TSaveRefusals& refusals,
                           TLostFields& lost);

}  // namespace kvx
