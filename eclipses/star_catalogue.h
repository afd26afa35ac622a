// The occultation star catalogue: the two star files of the data folder, a
// small one ("OCCINP8.DAT", stars to V 8.0 near the ecliptic) and a large one
// ("OCCINP95.DAT", to V 9.5, the whole sky), and the in-memory table the
// occultation searches read.
//
// File layout: records of 32 bytes back to back, no header, little-endian:
//   bytes  0- 3  float32  right ascension, degrees, FK4 mean equator and
//                         equinox B1950.0, at epoch 1950.0
//   bytes  4- 7  float32  declination, degrees, same frame
//   bytes  8-11  float32  proper motion in right ascension (d alpha / dt,
//                         not multiplied by cos delta), degrees per year
//   bytes 12-15  float32  proper motion in declination, degrees per year
//   bytes 16-19  float32  visual magnitude times 100 (5.50 mag -> 550.0)
//   byte  20     uint8    length of the name, 0..11
//   bytes 21-31  char[11] name, 8-bit text (Windows-1252), padded
// The number of stars is the file size divided by 32.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kvx {

inline constexpr std::size_t kOccultationStarRecordSize = 32;
inline constexpr std::size_t kOccultationStarNameBytes = 11;
inline constexpr const char* kSmallStarCatalogueFile = "OCCINP8.DAT";
inline constexpr const char* kLargeStarCatalogueFile = "OCCINP95.DAT";

// One 32-byte file record, field by field.
struct TOccultationStarRecord {
  float RightAscension = 0;     // degrees, B1950 FK4
  float Declination = 0;        // degrees, B1950 FK4
  float ProperMotionRA = 0;     // degrees per year (d alpha / dt)
  float ProperMotionDec = 0;    // degrees per year
  float Magnitude100 = 0;       // V magnitude x 100
  std::uint8_t NameLength = 0;  // as stored; readers clamp it to 11
  std::array<char, kOccultationStarNameBytes> Name{};
};

TOccultationStarRecord DecodeOccultationStarRecord(std::span<const std::uint8_t, kOccultationStarRecordSize> in);
void EncodeOccultationStarRecord(const TOccultationStarRecord& record,
                                 std::span<std::uint8_t, kOccultationStarRecordSize> out);

// One star of the table: the five values of its record and its name after
// the catalogue's name rules (UTF-8). A record holding a non-finite value is
// kept at its index but marked unusable; searches skip it.
struct tsterndatensatz {
  float RightAscension = 0;
  float Declination = 0;
  float ProperMotionRA = 0;
  float ProperMotionDec = 0;
  float Magnitude100 = 0;
  std::string Name;
  bool Usable = true;
  // Ecliptic latitude of the mean place of 1950.0 (degrees, ecliptic of
  // B1950), set when the catalogue is made: the occultation searches skip
  // stars the occulter cannot reach.
  float EclipticLatitude = 0;
};

// "SAO " + name when the name reads as a whole number (leading blanks and a
// sign allowed, nothing after the digits, value not -1), else the name.
std::string SaoPrefixName(const std::string& name);

// The loaded catalogue: stars 1..Count() in file order. Never changed after
// loading; holders share it through std::shared_ptr<const TStarCatalogue>.
class TStarCatalogue {
 public:
  // Sets every star's ecliptic latitude.
  TStarCatalogue(std::uint8_t choice, std::string fileName, std::vector<tsterndatensatz> stars);

  std::int32_t Count() const { return static_cast<std::int32_t>(stars_.size()); }
  // Star i, 1 <= i <= Count().
  const tsterndatensatz& Star(std::int32_t i) const { return stars_.at(static_cast<std::size_t>(i - 1)); }
  // 1 for the small file, 2 for the large one.
  std::uint8_t Choice() const { return choice_; }
  const std::string& FileName() const { return file_name_; }

 private:
  std::uint8_t choice_;
  std::string file_name_;
  std::vector<tsterndatensatz> stars_;
};

// The path of `name` in `folder`, the name matched without regard to case
// (the exact spelling first); empty when there is no such file.
std::string FindFileIgnoringCase(const std::string& folder, const std::string& name);

// The file of a catalogue choice: 1 the small file, any other value the large.
const char* StarCatalogueFileName(std::uint8_t choice);

struct TStarCatalogueLoad {
  std::shared_ptr<const TStarCatalogue> Catalogue;  // null when the load failed
  std::string ErrorGerman;                          // why, naming the file
  std::string ErrorEnglish;
};

// Loads the catalogue of `choice` from `dataFolder`. `progress` (may be
// empty) gets the percentage every 500 records. A selected star above the
// new count becomes -1 (all stars). Fails with a message for a missing or
// unreadable file, an empty file and one whose size is not a multiple of
// 32 bytes. Makes no window calls: safe on any thread.
TStarCatalogueLoad LoadStarCatalogue(const std::string& dataFolder, std::uint8_t choice, std::int32_t& selectedStar,
                                     const std::function<void(int percent)>& progress = {});

}  // namespace kvx
