#include "platform/workbook/read_failure.h"

#include <array>
#include <utility>

#include "platform/workbook/xlsx_limits.h"

namespace kvx::workbook {

namespace {

std::string Mib(std::uint64_t bytes) { return std::to_string(bytes >> 20) + " MiB"; }

// English and German phrase of each failure, "{}" standing for the detail.
std::pair<std::string, std::string> Phrases(TReadFailure kind) {
  switch (kind) {
    case TReadFailure::Empty:
      return {"The file is empty.", "Die Datei ist leer."};
    case TReadFailure::NotAWorkbook:
      return {"The file is not a workbook (neither an .xlsx nor an .xls file).",
              "Die Datei ist keine Arbeitsmappe (weder eine .xlsx- noch eine .xls-Datei)."};
    case TReadFailure::NotAZip:
      return {"The file is not a zip package, as an .xlsx workbook is.",
              "Die Datei ist kein Zip-Paket, wie es eine .xlsx-Arbeitsmappe ist."};
    case TReadFailure::Truncated:
      return {"The file is cut short: the end of its zip package is missing.",
              "Die Datei ist unvollständig: das Ende ihres Zip-Pakets fehlt."};
    case TReadFailure::DamagedZip:
      return {"The zip package is damaged.", "Das Zip-Paket ist beschädigt."};
    case TReadFailure::DamagedPart:
      return {"The part {} of the zip package is damaged.", "Der Teil {} des Zip-Pakets ist beschädigt."};
    case TReadFailure::NoWorkbookPart:
      return {"The zip package holds no workbook part.", "Das Zip-Paket enthält keinen Arbeitsmappen-Teil."};
    case TReadFailure::MissingSheetPart:
      return {"The part of the sheet \"{}\" is missing.", "Der Teil des Blatts \"{}\" fehlt."};
    case TReadFailure::MissingPart:
      return {"The part {} that the cells need is missing.", "Der Teil {}, den die Zellen brauchen, fehlt."};
    case TReadFailure::BadXml:
      return {"The part {} is not well-formed XML.", "Der Teil {} ist kein wohlgeformtes XML."};
    case TReadFailure::NoSheets:
      return {"The workbook holds no sheet that can be read.", "Die Arbeitsmappe enthält kein lesbares Blatt."};
    case TReadFailure::FileTooLarge:
      return {"The file is larger than the limit of " + Mib(kMaxXlsxBytes) + ".",
              "Die Datei ist größer als die Grenze von " + Mib(kMaxXlsxBytes) + "."};
    case TReadFailure::PartTooLarge:
      return {"The part {} unpacks to more than the limit of " + Mib(kMaxXlsxPartBytes) + " for one part.",
              "Der Teil {} entpackt zu mehr als der Grenze von " + Mib(kMaxXlsxPartBytes) + " für einen Teil."};
    case TReadFailure::TooLarge:
      return {"The parts of the file unpack to more than the limit of " + Mib(kMaxXlsxBytes) + ".",
              "Die Teile der Datei entpacken zu mehr als der Grenze von " + Mib(kMaxXlsxBytes) + "."};
    case TReadFailure::NotAnXls:
      return {"The file is not a readable .xls workbook.", "Die Datei ist keine lesbare .xls-Arbeitsmappe."};
    case TReadFailure::ReaderStopped:
      return {"The file is damaged: reading it stopped.", "Die Datei ist beschädigt: das Lesen brach ab."};
    case TReadFailure::TooSlow:
      return {"Reading the file took longer than {} s.", "Das Lesen der Datei dauerte länger als {} s."};
    case TReadFailure::NoMemory:
      return {"Reading the file needs more memory than it may take.",
              "Das Lesen der Datei braucht mehr Speicher, als es belegen darf."};
    case TReadFailure::NoNumber:
      return {"The number cell {} holds no finite number.", "Die Zahlenzelle {} enthält keine endliche Zahl."};
    case TReadFailure::UnknownNamespace:
      return {"The part {} is written in a namespace the program does not know.",
              "Der Teil {} ist in einem Namensraum geschrieben, den das Programm nicht kennt."};
    case TReadFailure::UnknownRelationship:
      return {"The part {} is named by a relationship of a type the program does not know.",
              "Der Teil {} ist durch eine Beziehung eines Typs benannt, den das Programm nicht kennt."};
    case TReadFailure::NoRelationships:
      return {"The part {} holds no relationships in the form of the packaging format.",
              "Der Teil {} enthält keine Beziehungen in der Form des Paketformats."};
    case TReadFailure::StrictForm:
      return {"The workbook is in the strict form of Office Open XML, and its parts cannot be read in that form.",
              "Die Arbeitsmappe liegt in der strikten Form von Office Open XML vor, und ihre Teile lassen sich in "
              "dieser Form nicht lesen."};
    case TReadFailure::UnreadableParts:
      return {"The parts of the workbook do not have the form of an .xlsx workbook.",
              "Die Teile der Arbeitsmappe haben nicht die Form einer .xlsx-Arbeitsmappe."};
  }
  return {};
}

constexpr std::array kKinds = {TReadFailure::Empty,
                               TReadFailure::NotAWorkbook,
                               TReadFailure::NotAZip,
                               TReadFailure::Truncated,
                               TReadFailure::DamagedZip,
                               TReadFailure::DamagedPart,
                               TReadFailure::NoWorkbookPart,
                               TReadFailure::MissingSheetPart,
                               TReadFailure::BadXml,
                               TReadFailure::NoSheets,
                               TReadFailure::FileTooLarge,
                               TReadFailure::PartTooLarge,
                               TReadFailure::TooLarge,
                               TReadFailure::NotAnXls,
                               TReadFailure::ReaderStopped,
                               TReadFailure::TooSlow,
                               TReadFailure::NoMemory,
                               TReadFailure::NoNumber,
                               TReadFailure::NoRelationships,
                               TReadFailure::StrictForm,
                               TReadFailure::UnreadableParts,
                               TReadFailure::UnknownNamespace,
                               TReadFailure::UnknownRelationship,
                               TReadFailure::MissingPart};

std::string Fill(const std::string& phrase, const std::string& detail) {
  const std::size_t at = phrase.find("{}");
  return at == std::string::npos ? phrase : phrase.substr(0, at) + detail + phrase.substr(at + 2);
}

}  // namespace

std::string ReadFailure(TReadFailure kind, const std::string& detail) { return Fill(Phrases(kind).first, detail); }

std::string GermanReadFailure(const std::string& english) {
  for (const TReadFailure kind : kKinds) {
    const auto [en, de] = Phrases(kind);
    const std::size_t at = en.find("{}");
    if (at == std::string::npos) {
      if (english == en) return de;
      continue;
    }
    const std::string prefix = en.substr(0, at);
    const std::string suffix = en.substr(at + 2);
    if (english.size() >= prefix.size() + suffix.size() && english.compare(0, prefix.size(), prefix) == 0 &&
        english.compare(english.size() - suffix.size(), suffix.size(), suffix) == 0) {
      return Fill(de, english.substr(prefix.size(), english.size() - prefix.size() - suffix.size()));
    }
  }
  return english;
}

}  // namespace kvx::workbook
