// One occultation found by a search (contact 1 and contact 2 with their
// circumstances) and the list of those found, in time order.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kvx {

// One event. Times are modified Julian days (UT); angles are degrees;
// altitudes are apparent when the observer's refraction switch is on; the
// coefficients a and b are minutes of time per degree of the observer's
// longitude and latitude. Set once by the constructor.
struct tergebnisdatensatz {
  double Contact1Time = 0;    // MJD (UT) of the disappearance
  double PositionAngle1 = 0;  // degrees 0..360, from north through east
  double Altitude1 = 0;       // object's altitude, degrees
  double SunAltitude1 = 0;    // degrees
  double CoefficientA1 = 0;   // min per degree of longitude
  double CoefficientB1 = 0;   // min per degree of latitude
  double Contact2Time = 0;    // MJD (UT) of the reappearance
  double PositionAngle2 = 0;
  double Altitude2 = 0;
  double SunAltitude2 = 0;
  double CoefficientA2 = 0;
  double CoefficientB2 = 0;
  double Magnitude = 0;        // stars: V x 100
  double ExtraValue = 0;       // 0 in the Moon searches
  std::uint8_t EventFlag = 1;  // 1 in the Moon searches
  std::string ObjectName;
  double RightAscension = 0;  // apparent, degrees
  double Declination = 0;     // apparent, degrees
  std::string Label;          // empty in the Moon searches
};

// The events of one search, ordered by the contact-1 time as a number. The
// key of a row is its contact-1 time written with 10 decimals; a second row
// with the same key is refused and the first kept. The list owns its rows.
class TOccultationResultList {
 public:
  // Takes the row; false (and the row is dropped) when its key is already
  // present or its contact-1 time is not a finite number.
  bool Add(std::unique_ptr<tergebnisdatensatz> row);
  void Clear() {
    rows_.clear();
    by_key_.clear();
  }
  std::size_t Count() const { return rows_.size(); }
  // The rows in time order.
  std::vector<const tergebnisdatensatz*> Rows() const;
  // The key text of a contact-1 time: at least 10 characters, 10 decimals.
  static std::string KeyText(double contact1Time);

 private:
  std::map<std::string, std::unique_ptr<tergebnisdatensatz>> by_key_;
  std::multimap<double, const tergebnisdatensatz*> rows_;
};

}  // namespace kvx
