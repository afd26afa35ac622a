#include "core/records.h"

#include "core/text_conversion.h"
#include "platform/text_encoding.h"

namespace kvx {

tuserobject::tuserobject(const std::string& name, float angle1, float angle2, float value3, float value4, float value5,
                         float value6)
    : Angle1(static_cast<float>(DmsPackedToDeg(angle1))),
      Angle2(static_cast<float>(DmsPackedToDeg(angle2))),
      Value3(value3),
      Value4(value4),
      Value5(value5),
      Value6(value6),
      Name(Utf8Prefix(name, 255)) {}

tuserobject* tuserlist::Item(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<std::size_t>(index)].get();
}

void tuserlist::clear() {
  while (!items_.empty()) items_.pop_back();
}

std::string ObjectNameByIndex(const tuserlist* objects, int index) {
  const tuserobject* object = objects != nullptr ? objects->Item(index) : nullptr;
  return object != nullptr ? object->Name : std::string();
}

tEvent::tEvent(std::string text1, std::string text2, std::uint8_t flag1, const TObserverRecord& observer, double value1,
               double value2, double value3, double value4, double value5, double value6, double value7, double value8,
               double value9, std::string text3, std::string text4, std::string text5, std::uint8_t flag2)
    : Value1(value1),
      Value2(value2),
      Value3(value3),
      Value4(value4),
      Value5(value5),
      Value6(value6),
      Value7(value7),
      Value8(value8),
      Value9(value9),
      Text1(std::move(text1)),
      Text2(std::move(text2)),
      Text3(std::move(text3)),
      Text4(std::move(text4)),
      Text5(std::move(text5)),
      Observer(observer),
      Flag1(flag1),
      Flag2(flag2) {}

bool tEvent::IsMissing(int valueNumber) const {
  const double values[] = {Value1, Value2, Value3, Value4, Value5, Value6, Value7, Value8, Value9};
  if (valueNumber < 1 || valueNumber > 9) return true;
  return values[valueNumber - 1] == EventMissingValueMarker(valueNumber);
}

double EventMissingValueMarker(int valueNumber) {
  switch (valueNumber) {
    case 3:
    case 4:
    case 7:
      return -90.0;
    case 5:
    case 6:
      return -360.0;
    case 8:
    case 9:
      return -100.0;
    default:
      return 0.0;
  }
}

talmanachevent::talmanachevent(std::string almanacText, std::string text1, std::string text2, std::uint8_t flag1,
                               const TObserverRecord& observer, double value1, double value2, double value3,
                               double value4, double value5, double value6, double value7, double value8, double value9,
                               std::string text3, std::string text4, std::string text5, std::uint8_t flag2)
    : tEvent(std::move(text1), std::move(text2), flag1, observer, value1, value2, value3, value4, value5, value6,
             value7, value8, value9, std::move(text3), std::move(text4), std::move(text5), flag2),
      AlmanacText(std::move(almanacText)) {}

}  // namespace kvx
