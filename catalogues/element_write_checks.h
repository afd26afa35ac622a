// What an element-list writer checks before it writes anything: each
// record's line, read back by the format's own reader, gives the object
// again, with every value the format holds within the decimals it is
// written with. When a record does not fit, the save is refused with a
// message naming the object, the field and the format, and the old file
// stays as it was. When every record fits but the format gives some values
// back otherwise (a field it lacks, fewer decimals than a value needs), the
// user is asked once, before anything is written, whether to save anyway.
//
// Field names in the messages are those of the own files' first lines:
// asteroids a e i node per m n equinox epoch h g, comets q e i node per
// equinox T H G epoch, and "Name".
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "catalogues/foreign_lines.h"
#include "core/asteroid_elements.h"
#include "core/comet_elements.h"

namespace kvx {

// How a format holds a numeric field: with this many decimals (0 or more),
// exactly (to a few units of its last binary digit), or not at all (the
// reader supplies its own value, which is not compared).
inline constexpr int kHeldExactly = -1;
inline constexpr int kNotHeld = -2;

using TAsteroidPrecision = std::array<int, 11>;  // a e i node per m n equinox epoch h g
using TCometPrecision = std::array<int, 10>;     // q e i node per equinox T H G epoch

// The formats' precisions.
inline constexpr TAsteroidPrecision kAsteroidExact = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
// The foreign formats hold no equinox (their readers set 2000) and, for
// comets, no epoch (the readers take T); HomePlanet holds no H and G of a
// comet (the readers set 0). T and the epochs count decimals of a day.
inline constexpr TAsteroidPrecision kSkyMapAsteroid = {6, 6, 3, 3, 3, 3, kNotHeld, kNotHeld, 3, 2, 2};
inline constexpr TAsteroidPrecision kHomePlanetAsteroid = {-1, -1, -1, -1, -1, -1, kNotHeld, kNotHeld, -1, -1, -1};
inline constexpr TCometPrecision kCometExact = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
inline constexpr TCometPrecision kSkyMapComet = {6, 6, 3, 3, 3, kNotHeld, 3, 1, 1, kNotHeld};
inline constexpr TCometPrecision kGuideComet = {7, 7, 7, 7, 7, 1, 4, 1, 1, kNotHeld};
inline constexpr TCometPrecision kHomePlanetComet = {-1, -1, -1, -1, -1, kNotHeld, 9, kNotHeld, kNotHeld, kNotHeld};
inline constexpr TCometPrecision kTextListingComet = {6, 6, 4, 4, 4, 0, 4, 3, 3, kNotHeld};

// How a format's files are encoded. Windows-1252 where the format's other
// readers need it (the foreign formats and the binary records): a name
// without a Windows-1252 form is then refused. UTF-8 otherwise.
enum class TListEncoding { Utf8, Windows1252 };

// A format as the writers name it in their messages, with its encoding.
struct TListFormat {
  const char* Name;
  TListEncoding Encoding;
};
inline constexpr TListFormat kOwnCsvListFormat{"Kandrevoltinex (*.csv)", TListEncoding::Utf8};
inline constexpr TListFormat kHomePlanetListFormat{"HomePlanet 3.0", TListEncoding::Windows1252};
inline constexpr TListFormat kSkyMapListFormat{"SkyMap", TListEncoding::Windows1252};
inline constexpr TListFormat kGuideListFormat{"Guide 6.0", TListEncoding::Windows1252};
inline constexpr TListFormat kTextListingFormat{"VDS (*.txt)", TListEncoding::Windows1252};

// True when `text` (UTF-8) has a Windows-1252 form that the readers decode
// back to `text`: every character is one of Windows-1252, and the bytes do
// not happen to read as other UTF-8 text or as a byte-order mark.
bool HasWindows1252Form(const std::string& text);
// The bytes of a list file: the UTF-8 text as it stands, or its
// Windows-1252 form.
std::string ListFileBytes(const std::string& text, TListEncoding encoding);

// The fields of one record that come back from a format otherwise than they
// were written: bit k for field k of the order above (asteroids a = bit 0
// ... g = bit 10; comets q = bit 0 ... epoch = bit 9). A value counts as
// kept when it comes back to a few units of its last binary digit.
using TLostFields = std::uint32_t;
TLostFields LostFields(const TAsteroidElements& written, const TAsteroidElements& read);
TLostFields LostFields(const TCometElements& written, const TCometElements& read);

// How many objects of a list lose each field.
struct TLossTally {
  std::array<int, 11> Objects{};
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
// objects"), an empty line, then "Trotzdem speichern? (Nein: nichts wird geschrieben.)" /
// "Save anyway? (No: nothing is written.)", Yes/No, question icon. True
// for Yes.
bool AskToSaveDespiteLosses(const TLossTally& losses, const TAsteroidPrecision& precision, const char* format);
bool AskToSaveDespiteLosses(const TLossTally& losses, const TCometPrecision& precision, const char* format);

// A comet as the text listing gives it (there is no reader of it): every
// value rounded to the listing's decimals, the epoch taken as T.
TCometElements TextListingValues(const TCometElements& e);

// The first field of `read` that differs from `written` by more than its
// precision allows; nullptr when none does.
const char* ChangedField(const TAsteroidElements& written, const TAsteroidElements& read,
                         const TAsteroidPrecision& precision);
const char* ChangedField(const TCometElements& written, const TCometElements& read, const TCometPrecision& precision);

// The field that makes a record unusable (not finite; a <= 0, e outside
// 0 <= e < 1; q <= 0, e < 0); nullptr for a usable record.
const char* UnusableField(const TAsteroidElements& e);
const char* UnusableField(const TCometElements& e);

// The value of a field as the messages show it (the name in quotes).
std::string FieldValueText(const TAsteroidElements& e, const std::string& field);
std::string FieldValueText(const TCometElements& e, const std::string& field);

// The refusal of platform/messages.h for "<object>: <field> = <value>"
// (the object alone when `field` is empty).
void ShowDoesNotFitFormat(const std::string& object, const std::string& field, const std::string& value,
                          const std::string& format, const std::string& fileName);

// Checks one record's written line, `result` and `read` being what the
// format's reader made of it: true when the reader keeps the object and
// every held value within the decimals the format writes, with the fields
// it gives back otherwise in `lost` (when given); otherwise the refusal
// message (above) and false.
bool LineKeepsRecord(const TAsteroidElements& written, TForeignLineRead result, const TAsteroidElements& read,
                     const TAsteroidPrecision& precision, const char* format, const std::string& fileName,
                     TLostFields* lost = nullptr);
bool LineKeepsRecord(const TCometElements& written, TForeignLineRead result, const TCometElements& read,
                     const TCometPrecision& precision, const char* format, const std::string& fileName,
                     TLostFields* lost = nullptr);

// A name that the format cannot hold: refused by the same message, field
// "Name".
void RefuseName(const std::string& name, const char* format, const std::string& fileName);
// True when a fixed name field of `width` characters holds the name as the
// writers put it (WritableName, trailing blanks dropped); otherwise the
// refusal (RefuseName) and false.
bool NameFitsField(const std::string& name, std::size_t width, const char* format, const std::string& fileName);
// The SkyMap writers' check of one line: the name fits the reader's name
// field (35 characters for asteroids, 45 for comets), the line the
// reader's limit for a first line (kSkyMapLineLimit), and the line reads
// back (LineKeepsRecord); otherwise the refusal and false.
bool SkyMapLineKeepsRecord(const TAsteroidElements& e, const std::string& line, const std::string& fileName,
                           TLostFields& lost);
bool SkyMapLineKeepsRecord(const TCometElements& e, const std::string& line, const std::string& fileName,
                           TLostFields& lost);

}  // namespace kvx
