// The small shared records of the core library: the objects of the user
// catalogue and their list, one event found by a search (and its almanac
// variant), the season results of the almanac, and the exception of the
// import of orbital elements from circulars.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/observer_record.h"

namespace kvx {

// One object of the user catalogue.
class tuserobject {
 public:
  // angle1 and angle2 arrive packed as D.MMSS (degrees, or hours for a right
  // ascension) and are stored as decimal degrees or hours; value3 .. value6
  // are the further numbers of the catalogue line, stored as they are. The
  // name is cut to 255 characters.
  tuserobject(const std::string& name, float angle1, float angle2, float value3, float value4, float value5,
              float value6);

  float Angle1;  // decimal degrees or hours
  float Angle2;  // decimal degrees
  float Value3;
  float Value4;
  float Value5;
  float Value6;
  std::string Name;
};

// The list of user objects; it owns its items.
class tuserlist {
 public:
  tuserlist() = default;
  tuserlist(const tuserlist&) = delete;
  tuserlist& operator=(const tuserlist&) = delete;
  ~tuserlist() { clear(); }

  void Add(std::unique_ptr<tuserobject> item) { items_.push_back(std::move(item)); }
  int Count() const { return static_cast<int>(items_.size()); }
  // Item `index` (0-based), or nullptr outside the list.
  tuserobject* Item(int index) const;
  // Frees every item, the last first, and empties the list.
  void clear();

 private:
  std::vector<std::unique_ptr<tuserobject>> items_;
};

// The name of item `index` (0-based) of the list of user objects; empty when
// there is no list or the index lies outside it.
std::string ObjectNameByIndex(const tuserlist* objects, int index);

// One event found by an event search or a conjunction list. The meaning of
// the nine values is set by the search; a value the search does not have
// holds the marker EventMissingValueMarker gives.
class tEvent {
 public:
  tEvent(std::string text1, std::string text2, std::uint8_t flag1, const TObserverRecord& observer, double value1,
         double value2, double value3, double value4, double value5, double value6, double value7, double value8,
         double value9, std::string text3, std::string text4, std::string text5, std::uint8_t flag2);
  virtual ~tEvent() = default;

  // The fields by the meaning the event searches give them. Times: MJD of UT;
  // angles and altitudes in degrees; a missing value holds its marker.
  double Mjd() const { return Value1; }
  double Value() const { return Value2; }  // the event's value (for conjunctions the separation)
  double Separation() const { return Value2; }
  double Altitude1() const { return Value3; }
  double Altitude2() const { return Value4; }
  double Angle1() const { return Value5; }
  double Angle2() const { return Value6; }
  double SunAltitude() const { return Value7; }
  double Magnitude1() const { return Value8; }
  double Magnitude2() const { return Value9; }
  const std::string& ObjectName() const { return Text1; }
  const std::string& SecondName() const { return Text2; }  // or the event's name
  const std::string& Unit() const { return Text3; }
  const std::string& DirectionText1() const { return Text4; }
  const std::string& DirectionText2() const { return Text5; }
  std::uint8_t Kind() const { return Flag1; }             // event kind 0..28
  std::uint8_t ConjunctionKind() const { return Flag2; }  // 1, 2 or 3
  // True when value n (1..9) holds its missing-value marker.
  bool IsMissing(int valueNumber) const;

  double Value1, Value2, Value3, Value4, Value5, Value6, Value7, Value8, Value9;
  std::string Text1, Text2, Text3, Text4, Text5;
  TObserverRecord Observer;  // the observer record of the event (a copy)
  std::uint8_t Flag1, Flag2;
};

// The marker of a missing value n (1..9) of a tEvent: -90 for values 3, 4
// and 7, -360 for values 5 and 6, -100 for values 8 and 9, 0 otherwise.
double EventMissingValueMarker(int valueNumber);

// An event of the almanac: a tEvent with the almanac's text.
class talmanachevent : public tEvent {
 public:
  talmanachevent(std::string almanacText, std::string text1, std::string text2, std::uint8_t flag1,
                 const TObserverRecord& observer, double value1, double value2, double value3, double value4,
                 double value5, double value6, double value7, double value8, double value9, std::string text3,
                 std::string text4, std::string text5, std::uint8_t flag2);

  std::string AlmanacText;
};

// The seasons of one year found by the almanac: spring, summer, autumn and
// winter, in that order.
class tjahreszeitergebnis {
 public:
  std::array<TObserverRecord, 4> Seasons{};
};

// Raised by the import of orbital elements from circulars.
class EmpecFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kvx
