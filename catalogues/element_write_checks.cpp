#include "catalogues/element_write_checks.h"

#include <cfloat>
#include <cmath>
#include <utility>

#include "catalogues/element_lines.h"
#include "catalogues/text_line_reader.h"
#include "core/text_conversion.h"
#include "core/two_body.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

// A value kept to a few units of its last binary digit.
bool Kept(double written, double read) { return std::fabs(read - written) <= 4 * DBL_EPSILON * std::fabs(written); }

template <typename Record, std::size_t N>
TLostFields Lost(const Record& written, const Record& read, const TRecordField<Record> (&fields)[N]) {
  TLostFields lost = 0;
  for (std::size_t k = 0; k < N; ++k) {
    if (!Kept(written.*fields[k].second, read.*fields[k].second)) lost |= TLostFields{1} << k;
  }
  return lost;
}

std::string Objects(int n, bool english) {
  return std::to_string(n) + (english ? (n == 1 ? " object" : " objects") : (n == 1 ? " Objekt" : " Objekte"));
}

template <typename Record, std::size_t N>
bool AskDespiteLosses(const TLossTally& losses, const std::array<int, N>& precision,
                      const TRecordField<Record> (&fields)[N], const char* format) {
  std::string german = std::string("Das Format ") + format + " behält nicht alles, was die Liste hält:\n";
  std::string english = std::string("The format ") + format + " does not keep everything the list holds:\n";
  for (std::size_t k = 0; k < N; ++k) {
    const std::string field = fields[k].first;
    if (field == "equinox" && losses.ConvertedToEquinox2000 > 0) {
      german +=
          "i, node, per auf Äquinoktium 2000 umgerechnet: " + Objects(losses.ConvertedToEquinox2000, false) + "\n";
      english += "i, node, per converted to equinox 2000: " + Objects(losses.ConvertedToEquinox2000, true) + "\n";
    }
    const int n = losses.Objects[k];
    if (n == 0) continue;
    if (precision[k] >= 0) {
      // T and the epochs are written as dates: their decimals are of a day.
      const bool date = field == "T" || field == "epoch";
      const std::string decimals = std::to_string(precision[k]);
      german += field + " auf " + decimals + (date ? " Dezimalen eines Tages" : " Dezimalen") +
                " gerundet: " + Objects(n, false) + "\n";
      english +=
          field + " rounded to " + decimals + (date ? " decimals of a day: " : " decimals: ") + Objects(n, true) + "\n";
    } else {
      german += field + " fehlt im Format: " + Objects(n, false) + "\n";
      english += field + " not in the format: " + Objects(n, true) + "\n";
    }
  }
  german += "\nTrotzdem speichern? (Nein: nichts wird geschrieben.)";
  english += "\nSave anyway? (No: nothing is written.)";
  return ShowMessage(german, english, MessageIcon::Question, MessageButtons::YesNo,
                     ByLanguage("Werte gehen verloren", "Values will be lost")) == MessageResult::Yes;
}

bool WithinPrecision(double written, double read, int decimals) {
  if (decimals == kNotHeld) return true;
  const double magnitude = std::fabs(written);
  const double tolerance =
      decimals == kHeldExactly ? 4 * DBL_EPSILON * magnitude : 0.5 * std::pow(10.0, -decimals) + 1e-12 * magnitude;
  return std::fabs(read - written) <= tolerance;
}

template <typename Record, std::size_t N>
const char* FirstChanged(const Record& written, const Record& read, const TRecordField<Record> (&fields)[N],
                         const std::array<int, N>& precision) {
  for (std::size_t k = 0; k < N; ++k) {
    if (!WithinPrecision(written.*fields[k].second, read.*fields[k].second, precision[k])) return fields[k].first;
  }
  return nullptr;
}

template <typename Record, std::size_t N>
std::string ValueText(const Record& e, const std::string& field, const TRecordField<Record> (&fields)[N]) {
  if (field == "Name") return "\"" + e.Name + "\"";
  for (const auto& [name, member] : fields) {
    if (field == name) return FloatToTextSep(ShortestNumberText(e.*member));
  }
  return {};
}

template <typename Record, typename Precision>
bool KeepsRecord(const Record& written, TForeignLineRead result, const Record& read, const Precision& precision,
                 TSaveRefusals& refusals, TLostFields* lost) {
  const char* field = nullptr;
  if (result == TForeignLineRead::Nameless) {
    field = "Name";
  } else if (result == TForeignLineRead::Parsed || result == TForeignLineRead::Unusable) {
    field = ChangedField(written, read, precision);
    if (field == nullptr) field = UnusableField(read);
    // A value the format does not hold (the equinox of a format that takes
    // 2000) is still no number to be saved.
    if (field == nullptr) field = UnusableField(written);
  } else {
    field = "";
  }
  if (field == nullptr) {
    if (lost != nullptr) *lost = LostFields(written, read);
    return true;
  }
  refusals.Add(written.Name, field, field[0] == '\0' ? std::string() : FieldValueText(written, field));
  return false;
}

template <typename Record, typename Precision, typename MakeLine, typename Parse>
bool SkyMapKeeps(const Record& e, const std::string& line, std::size_t nameWidth, MakeLine make, Parse parse,
                 const Precision& precision, TSaveRefusals& refusals, TLostFields& lost) {
  if (!NameFitsField(e.Name, nameWidth, refusals)) return false;
  if (Utf8Length(line) > kSkyMapLineLimit) {
    const char* widened = nullptr;
    make(e, &widened);
    const std::string field = widened != nullptr ? widened : "";
    refusals.Add(e.Name, field, field.empty() ? std::string() : FieldValueText(e, field));
    return false;
  }
  Record read;
  return KeepsRecord(e, parse(line, read), read, precision, refusals, &lost);
}

// The angles of `e` carried from its equinox to 2000.
template <typename Record>
Record CarriedToEquinox2000(const Record& e) {
  if (e.Equinox == 2000 || !std::isfinite(e.Equinox)) return e;
  Record r = e;
  PrecessOrbitalElementsBetweenYears(r.Inclination, r.Node, r.Perihelion, e.Equinox, 2000);
  r.Equinox = 2000;
  return r;
}

}  // namespace

const char* ChangedField(const TAsteroidElements& written, const TAsteroidElements& read,
                         const TAsteroidPrecision& precision) {
  return FirstChanged(written, read, kAsteroidRecordFields, precision);
}

const char* ChangedField(const TCometElements& written, const TCometElements& read, const TCometPrecision& precision) {
  return FirstChanged(written, read, kCometRecordFields, precision);
}

bool IsAsciiText(const std::string& text) { return IsPlainAscii(text); }

bool HasWindows1252Form(const std::string& text) {
  if (IsAsciiText(text)) return true;
  const std::string bytes = Utf8ToCp1252(text);
  return Cp1252ToUtf8(bytes) == text && DecodeTextBytes(bytes) == text;
}

std::string ListFileBytes(const std::string& text, TListEncoding encoding) {
  return encoding == TListEncoding::Windows1252 && !IsAsciiText(text) ? Utf8ToCp1252(text) : text;
}

TAsteroidElements AtEquinox2000(const TAsteroidElements& e) { return CarriedToEquinox2000(e); }

TCometElements AtEquinox2000(const TCometElements& e) { return CarriedToEquinox2000(e); }

TLostFields LostFields(const TAsteroidElements& written, const TAsteroidElements& read) {
  return Lost(written, read, kAsteroidRecordFields);
}

TLostFields LostFields(const TCometElements& written, const TCometElements& read) {
  return Lost(written, read, kCometRecordFields);
}

bool AskToSaveDespiteLosses(const TLossTally& losses, const TAsteroidPrecision& precision, const char* format) {
  return AskDespiteLosses(losses, precision, kAsteroidRecordFields, format);
}

bool AskToSaveDespiteLosses(const TLossTally& losses, const TCometPrecision& precision, const char* format) {
  return AskDespiteLosses(losses, precision, kCometRecordFields, format);
}

std::string FieldValueText(const TAsteroidElements& e, const std::string& field) {
  return ValueText(e, field, kAsteroidRecordFields);
}

std::string FieldValueText(const TCometElements& e, const std::string& field) {
  return ValueText(e, field, kCometRecordFields);
}

TSaveRefusals::TSaveRefusals(std::string format, std::string fileName)
    : format_(std::move(format)), fileName_(std::move(fileName)) {}

void TSaveRefusals::Add(const std::string& object, const std::string& field, const std::string& value) {
  if (++count_ <= kNamedAtMost) named_.push_back(field.empty() ? object : object + ": " + field + " = " + value);
}

bool TSaveRefusals::ShowIfAny() const {
  if (count_ == 0) return false;
  if (count_ == 1) {
    ShowDoesNotFitFormat(named_.front(), format_, fileName_);
    return true;
  }
  std::string german = std::to_string(count_) + " Objekte passen nicht in das Format " + format_ + ":\n";
  std::string english = std::to_string(count_) + " objects do not fit the format " + format_ + ":\n";
  for (const std::string& what : named_) {
    german += what + "\n";
    english += what + "\n";
  }
  if (const int more = count_ - static_cast<int>(named_.size()); more > 0) {
    german += "und " + std::to_string(more) + " weitere\n";
    english += "and " + std::to_string(more) + " more\n";
  }
  ShowMessage(german + "Die Datei " + fileName_ + " wurde nicht geschrieben.",
              english + "The file " + fileName_ + " was not written.", MessageIcon::Error, MessageButtons::Ok,
              ByLanguage("Datei nicht gespeichert", "File not saved"));
  return true;
}

bool LineKeepsRecord(const TAsteroidElements& written, TForeignLineRead result, const TAsteroidElements& read,
                     const TAsteroidPrecision& precision, TSaveRefusals& refusals, TLostFields* lost) {
  return KeepsRecord(written, result, read, precision, refusals, lost);
}

bool LineKeepsRecord(const TCometElements& written, TForeignLineRead result, const TCometElements& read,
                     const TCometPrecision& precision, TSaveRefusals& refusals, TLostFields* lost) {
  return KeepsRecord(written, result, read, precision, refusals, lost);
}

void RefuseName(const std::string& name, TSaveRefusals& refusals) { refusals.Add(name, "Name", "\"" + name + "\""); }

bool KeepsEncoding(const std::string& text, const std::string& name, const TListFormat& format,
                   TSaveRefusals& refusals) {
  if (format.Encoding != TListEncoding::Windows1252 || HasWindows1252Form(text)) return true;
  RefuseName(name, refusals);
  return false;
}

bool NameFitsField(const std::string& name, std::size_t width, TSaveRefusals& refusals) {
  std::string written = WritableName(name, '\n');
  while (!written.empty() && written.back() == ' ') written.pop_back();
  if (Utf8Length(written) <= width) return true;
  RefuseName(name, refusals);
  return false;
}

bool SkyMapLineKeepsRecord(const TAsteroidElements& e, const std::string& line, TSaveRefusals& refusals,
                           TLostFields& lost) {
  return SkyMapKeeps(
      e, line, 35, [](const TAsteroidElements& r, const char** widened) { return SkyMapAsteroidLine(r, widened); },
      [](const std::string& text, TAsteroidElements& read) {
        std::string itemText;
        return ParseSkyMapAsteroidLine(text, false, read, itemText);
      },
      kSkyMapAsteroid, refusals, lost);
}

bool SkyMapLineKeepsRecord(const TCometElements& e, const std::string& line, TSaveRefusals& refusals,
                           TLostFields& lost) {
  return SkyMapKeeps(
      e, line, 45, [](const TCometElements& r, const char** widened) { return SkyMapCometLine(r, widened); },
      [](const std::string& text, TCometElements& read) {
        std::string itemText;
        return ParseSkyMapCometLine(text, read, itemText);
      },
      kSkyMapComet, refusals, lost);
}

}  // namespace kvx
