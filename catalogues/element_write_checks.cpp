#include "catalogues/element_write_checks.h"

#include <cfloat>
#include <cmath>
#include <utility>

#include "catalogues/element_lines.h"
#include "core/text_conversion.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

template <typename Record>
using TFieldTable = std::pair<const char*, double Record::*>;

constexpr TFieldTable<TAsteroidElements> kAsteroidFields[11] = {{"a", &TAsteroidElements::SemiMajorAxis},
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

constexpr TFieldTable<TCometElements> kCometFields[10] = {{"q", &TCometElements::PerihelionDistance},
                                                          {"e", &TCometElements::Eccentricity},
                                                          {"i", &TCometElements::Inclination},
                                                          {"node", &TCometElements::Node},
                                                          {"per", &TCometElements::Perihelion},
                                                          {"equinox", &TCometElements::Equinox},
                                                          {"T", &TCometElements::PerihelionTime},
                                                          {"H", &TCometElements::H},
                                                          {"G", &TCometElements::G},
                                                          {"epoch", &TCometElements::Epoch}};

bool WithinPrecision(double written, double read, int decimals) {
  if (decimals == kNotHeld) return true;
  const double magnitude = std::fabs(written);
  const double tolerance =
      decimals == kHeldExactly ? 4 * DBL_EPSILON * magnitude : 0.5 * std::pow(10.0, -decimals) + 1e-12 * magnitude;
  return std::fabs(read - written) <= tolerance;
}

template <typename Record, std::size_t N>
const char* FirstChanged(const Record& written, const Record& read, const TFieldTable<Record> (&fields)[N],
                         const std::array<int, N>& precision) {
  for (std::size_t k = 0; k < N; ++k) {
    if (!WithinPrecision(written.*fields[k].second, read.*fields[k].second, precision[k])) return fields[k].first;
  }
  return nullptr;
}

template <typename Record, std::size_t N>
const char* FirstNotFinite(const Record& e, const TFieldTable<Record> (&fields)[N]) {
  for (const auto& [name, member] : fields) {
    if (!std::isfinite(e.*member)) return name;
  }
  return nullptr;
}

template <typename Record, std::size_t N>
std::string ValueText(const Record& e, const std::string& field, const TFieldTable<Record> (&fields)[N]) {
  if (field == "Name") return "\"" + e.Name + "\"";
  for (const auto& [name, member] : fields) {
    if (field == name) return FloatToTextSep(ShortestNumberText(e.*member));
  }
  return {};
}

template <typename Record, typename Precision>
bool KeepsRecord(const Record& written, TForeignLineRead result, const Record& read, const Precision& precision,
                 const char* format, const std::string& fileName) {
  const char* field = nullptr;
  if (result == TForeignLineRead::Nameless) {
    field = "Name";
  } else if (result == TForeignLineRead::Parsed || result == TForeignLineRead::Unusable) {
    field = ChangedField(written, read, precision);
    if (field == nullptr) field = UnusableField(read);
  } else {
    field = "";
  }
  if (field == nullptr) return true;
  ShowDoesNotFitFormat(written.Name, field, field[0] == '\0' ? std::string() : FieldValueText(written, field), format,
                       fileName);
  return false;
}

template <typename Record, typename Precision, typename MakeLine, typename Parse>
bool SkyMapKeeps(const Record& e, const std::string& line, std::size_t nameWidth, MakeLine make, Parse parse,
                 const Precision& precision, const std::string& fileName) {
  if (!NameFitsField(e.Name, nameWidth, "SkyMap", fileName)) return false;
  if (Utf8Length(line) > kSkyMapLineLimit) {
    const char* widened = nullptr;
    make(e, &widened);
    const std::string field = widened != nullptr ? widened : "";
    ShowDoesNotFitFormat(e.Name, field, field.empty() ? std::string() : FieldValueText(e, field), "SkyMap", fileName);
    return false;
  }
  Record read;
  return KeepsRecord(e, parse(line, read), read, precision, "SkyMap", fileName);
}

}  // namespace

const char* ChangedField(const TAsteroidElements& written, const TAsteroidElements& read,
                         const TAsteroidPrecision& precision) {
  return FirstChanged(written, read, kAsteroidFields, precision);
}

const char* ChangedField(const TCometElements& written, const TCometElements& read, const TCometPrecision& precision) {
  return FirstChanged(written, read, kCometFields, precision);
}

const char* UnusableField(const TAsteroidElements& e) {
  if (const char* field = FirstNotFinite(e, kAsteroidFields)) return field;
  if (!(e.SemiMajorAxis > 0)) return "a";
  if (!(e.Eccentricity >= 0 && e.Eccentricity < 1)) return "e";
  return nullptr;
}

const char* UnusableField(const TCometElements& e) {
  if (const char* field = FirstNotFinite(e, kCometFields)) return field;
  if (!(e.PerihelionDistance > 0)) return "q";
  if (!(e.Eccentricity >= 0)) return "e";
  return nullptr;
}

std::string FieldValueText(const TAsteroidElements& e, const std::string& field) {
  return ValueText(e, field, kAsteroidFields);
}

std::string FieldValueText(const TCometElements& e, const std::string& field) {
  return ValueText(e, field, kCometFields);
}

void ShowDoesNotFitFormat(const std::string& object, const std::string& field, const std::string& value,
                          const std::string& format, const std::string& fileName) {
  kvx::ShowDoesNotFitFormat(field.empty() ? object : object + ": " + field + " = " + value, format, fileName);
}

bool LineKeepsRecord(const TAsteroidElements& written, TForeignLineRead result, const TAsteroidElements& read,
                     const TAsteroidPrecision& precision, const char* format, const std::string& fileName) {
  return KeepsRecord(written, result, read, precision, format, fileName);
}

bool LineKeepsRecord(const TCometElements& written, TForeignLineRead result, const TCometElements& read,
                     const TCometPrecision& precision, const char* format, const std::string& fileName) {
  return KeepsRecord(written, result, read, precision, format, fileName);
}

void RefuseName(const std::string& name, const char* format, const std::string& fileName) {
  ShowDoesNotFitFormat(name, "Name", "\"" + name + "\"", format, fileName);
}

bool NameFitsField(const std::string& name, std::size_t width, const char* format, const std::string& fileName) {
  std::string written = WritableName(name, '\n');
  while (!written.empty() && written.back() == ' ') written.pop_back();
  if (Utf8Length(written) <= width) return true;
  RefuseName(name, format, fileName);
  return false;
}

bool SkyMapLineKeepsRecord(const TAsteroidElements& e, const std::string& line, const std::string& fileName) {
  return SkyMapKeeps(
      e, line, 35, [](const TAsteroidElements& r, const char** widened) { return SkyMapAsteroidLine(r, widened); },
      [](const std::string& text, TAsteroidElements& read) {
        std::string itemText;
        return ParseSkyMapAsteroidLine(text, false, read, itemText);
      },
      kSkyMapAsteroid, fileName);
}

bool SkyMapLineKeepsRecord(const TCometElements& e, const std::string& line, const std::string& fileName) {
  return SkyMapKeeps(
      e, line, 45, [](const TCometElements& r, const char** widened) { return SkyMapCometLine(r, widened); },
      [](const std::string& text, TCometElements& read) {
        std::string itemText;
        return ParseSkyMapCometLine(text, read, itemText);
      },
      kSkyMapComet, fileName);
}

}  // namespace kvx
