#include "platform/workbook/read_losses.h"

#include <string_view>

namespace kvx::workbook {

namespace {

// One kind's line: German singular and plural, English singular and
// plural, each after the count.
struct LossLine {
  const char* GermanOne;
  const char* GermanMany;
  const char* EnglishOne;
  const char* EnglishMany;
};

LossLine LineOf(TReadLoss kind) {
  switch (kind) {
    case TReadLoss::MergedRanges:
      return {"verbundener Bereich: aufgehoben, der Wert steht in der linken oberen Zelle",
              "verbundene Bereiche: aufgehoben, die Werte stehen in der linken oberen Zelle",
              "merged range: unmerged, the value kept in the top-left cell",
              "merged ranges: unmerged, the values kept in the top-left cells"};
    case TReadLoss::HiddenSheets:
      return {"ausgeblendetes Blatt: eingeblendet", "ausgeblendete Blätter: eingeblendet", "hidden sheet: shown",
              "hidden sheets: shown"};
    case TReadLoss::Booleans:
      return {"Wahrheitswert (WAHR/FALSCH): jetzt die Zahl 1 oder 0",
              "Wahrheitswerte (WAHR/FALSCH): jetzt die Zahlen 1 und 0",
              "truth value (TRUE/FALSE): now the number 1 or 0", "truth values (TRUE/FALSE): now the numbers 1 and 0"};
    case TReadLoss::ErrorValues:
      return {"Fehlerwert (#DIV/0!, #N/A, ...): jetzt sein Text", "Fehlerwerte (#DIV/0!, #N/A, ...): jetzt ihre Texte",
              "error value (#DIV/0!, #N/A, ...): now its text", "error values (#DIV/0!, #N/A, ...): now their texts"};
    case TReadLoss::FormulaValues:
      return {"Zelle mit Formel: nur ihr zuletzt berechneter Wert übernommen",
              "Zellen mit Formeln: nur ihre zuletzt berechneten Werte übernommen",
              "cell with a formula: only its last computed value kept",
              "cells with formulas: only their last computed values kept"};
    case TReadLoss::UnreadValues:
      return {"Zelle mit Formel ohne lesbaren Wert: leer", "Zellen mit Formeln ohne lesbaren Wert: leer",
              "cell with a formula whose value cannot be read: empty",
              "cells with formulas whose values cannot be read: empty"};
    case TReadLoss::TextRuns:
      return {"Text mit eigener Schrift für Teile (fett, Farbe): jetzt in der Schrift der Zelle",
              "Texte mit eigener Schrift für Teile (fett, Farbe): jetzt in der Schrift ihrer Zelle",
              "text with fonts of its own for parts of it (bold, colour): now in the font of its cell",
              "texts with fonts of their own for parts of them (bold, colour): now in the font of their cells"};
    case TReadLoss::Macros:
      return {"Makroprojekt: nicht übernommen; Speichern schreibt eine neue .xlsx-Datei",
              "Makroprojekte: nicht übernommen; Speichern schreibt eine neue .xlsx-Datei",
              "macro project: not kept; a save writes a new .xlsx file",
              "macro projects: not kept; a save writes a new .xlsx file"};
    case TReadLoss::Charts:
      return {"Diagramm: weggelassen", "Diagramme: weggelassen", "chart: left out", "charts: left out"};
    case TReadLoss::Pictures:
      return {"Bild oder Form: weggelassen", "Bilder oder Formen: weggelassen", "picture or shape: left out",
              "pictures or shapes: left out"};
    case TReadLoss::Comments:
      return {"Kommentar: weggelassen", "Kommentare: weggelassen", "comment: left out", "comments: left out"};
    case TReadLoss::DataValidations:
      return {"Gültigkeitsregel: weggelassen", "Gültigkeitsregeln: weggelassen", "data validation rule: left out",
              "data validation rules: left out"};
    case TReadLoss::ConditionalFormats:
      return {"bedingte Formatierung: weggelassen", "bedingte Formatierungen: weggelassen",
              "conditional format: left out", "conditional formats: left out"};
    case TReadLoss::Hyperlinks:
      return {"Hyperlink: weggelassen, der Zelltext bleibt", "Hyperlinks: weggelassen, die Zelltexte bleiben",
              "hyperlink: left out, the cell text stays", "hyperlinks: left out, the cell texts stay"};
    case TReadLoss::Tables:
      return {"Tabellenbereich: weggelassen, seine Zellen bleiben",
              "Tabellenbereiche: weggelassen, ihre Zellen bleiben", "table range: left out, its cells stay",
              "table ranges: left out, their cells stay"};
    case TReadLoss::PivotTables:
      return {"Pivot-Tabelle: weggelassen, ihre letzten Werte bleiben",
              "Pivot-Tabellen: weggelassen, ihre letzten Werte bleiben", "pivot table: left out, its last values stay",
              "pivot tables: left out, their last values stay"};
    case TReadLoss::DefinedNames:
      return {"Name: weggelassen", "Namen: weggelassen", "defined name: left out", "defined names: left out"};
    case TReadLoss::UnreadRecords:
      return {"Teil der Datei mit Formeln, Wahrheitswerten und Fehlerwerten: nicht lesbar, ihre Zellen sind leer",
              "Teile der Datei mit Formeln, Wahrheitswerten und Fehlerwerten: nicht lesbar, ihre Zellen sind leer",
              "part of the file with formulas, truth values and error values: unreadable, their cells are empty",
              "parts of the file with formulas, truth values and error values: unreadable, their cells are empty"};
    case TReadLoss::PartsByUsualName:
      return {"Teil, den die Beziehungen der Arbeitsmappe nicht nennen: nach seinem üblichen Namen gelesen",
              "Teile, die die Beziehungen der Arbeitsmappe nicht nennen: nach ihren üblichen Namen gelesen",
              "part the workbook's relationships do not name: read by its usual name",
              "parts the workbook's relationships do not name: read by their usual names"};
    case TReadLoss::SheetNames:
      return {
          "Blattname, den die Arbeitsmappe nicht halten kann (über 31 Zeichen oder bis auf Groß- und "
          "Kleinschreibung gleich einem anderen): umbenannt",
          "Blattnamen, die die Arbeitsmappe nicht halten kann (über 31 Zeichen oder bis auf Groß- und "
          "Kleinschreibung gleich einem anderen): umbenannt",
          "sheet name the workbook cannot hold (over 31 characters, or equal to another but for case): renamed",
          "sheet names the workbook cannot hold (over 31 characters, or equal to another but for case): renamed"};
    case TReadLoss::LongTexts:
      return {"Text über 32.767 Zeichen: wird beim Speichern als .xlsx gekürzt",
              "Texte über 32.767 Zeichen: werden beim Speichern als .xlsx gekürzt",
              "text over 32,767 characters: cut when saved as .xlsx",
              "texts over 32,767 characters: cut when saved as .xlsx"};
    case TReadLoss::Protections:
      return {"Kennwort oder Schutz der Arbeitsmappe: weggelassen, die Blätter bleiben ohne Kennwort geschützt",
              "Kennwörter oder Schutz der Arbeitsmappe: weggelassen, die Blätter bleiben ohne Kennwort geschützt",
              "password or protection of the workbook: left out, the sheets stay protected without a password",
              "passwords or protections of the workbook: left out, the sheets stay protected without a password"};
    case TReadLoss::FilterCriteria:
      return {
          "Filterkriterium (Top 10, Farbe, Symbol, Datumsgruppe, dynamisch): weggelassen, die ausgeblendeten "
          "Zeilen bleiben",
          "Filterkriterien (Top 10, Farbe, Symbol, Datumsgruppe, dynamisch): weggelassen, die ausgeblendeten "
          "Zeilen bleiben",
          "filter criterion (top 10, colour, icon, date group, dynamic): left out, the hidden rows stay",
          "filter criteria (top 10, colour, icon, date group, dynamic): left out, the hidden rows stay"};
    case TReadLoss::TabColors:
      return {"Registerfarbe aus einem Design, das die Datei nicht enthält: weggelassen",
              "Registerfarben aus einem Design, das die Datei nicht enthält: weggelassen",
              "tab colour of a theme the file does not hold: left out",
              "tab colours of a theme the file does not hold: left out"};
    case TReadLoss::CustomProperties:
      return {
          "benutzerdefinierte Dokumenteigenschaft einer anderen Art als Text, Zahl, Wahrheitswert oder Datum: "
          "weggelassen",
          "benutzerdefinierte Dokumenteigenschaften einer anderen Art als Text, Zahl, Wahrheitswert oder Datum: "
          "weggelassen",
          "custom document property of a kind other than text, number, truth value or date: left out",
          "custom document properties of a kind other than text, number, truth value or date: left out"};
  }
  return {"", "", "", ""};
}

}  // namespace

std::string ReadLossNote(const TReadLosses& losses, bool english) {
  if (!losses.Any()) return {};
  std::string note = english ? "The workbook does not keep everything this file holds:"
                             : "Die Arbeitsmappe übernimmt nicht alles, was diese Datei enthält:";
  for (int k = 0; k < kReadLossKinds; ++k) {
    const int count = losses.Counts[k];
    if (count <= 0) continue;
    const LossLine line = LineOf(static_cast<TReadLoss>(k));
    note.append("\n").append(std::to_string(count)).append(" ");
    note.append(english ? (count == 1 ? line.EnglishOne : line.EnglishMany)
                        : (count == 1 ? line.GermanOne : line.GermanMany));
    if (static_cast<TReadLoss>(k) != TReadLoss::SheetNames) continue;
    const char* open = english ? "\"" : "„";
    const char* close = english ? "\"" : "“";
    for (std::size_t i = 0; i < losses.RenamedSheets.size(); ++i) {
      const auto& [from, to] = losses.RenamedSheets[i];
      note.append(i == 0 ? " " : ", ").append(open).append(from).append(close);
      note.append(" → ").append(open).append(to).append(close);
    }
  }
  return note;
}

std::string ReadLossKinds(const TReadLosses& losses, bool english) {
  std::string kinds;
  for (int k = 0; k < kReadLossKinds; ++k) {
    const int count = losses.Counts[k];
    if (count <= 0) continue;
    const LossLine line = LineOf(static_cast<TReadLoss>(k));
    const std::string_view text =
        english ? (count == 1 ? line.EnglishOne : line.EnglishMany) : (count == 1 ? line.GermanOne : line.GermanMany);
    if (!kinds.empty()) kinds += ", ";
    kinds.append(std::to_string(count)).append(" ").append(text.substr(0, text.find(':')));
  }
  return kinds;
}

}  // namespace kvx::workbook
