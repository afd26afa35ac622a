// The compiled-in tip lists, German and English.
#include "app/tip_of_the_day.h"

namespace kvx {

TTipList GermanTips() {
  TTipList list;
  list.AddType("tip", "Tip des Tages", "Wußten Sie schon?");
  list.AddType("neu", "Neue Funktionen in Kandrevoltinex", "Wußten Sie schon?");
  const char* tips[] = {
      "Mit \"Zeit/Ort | Datum und Ort eingeben...\" legen Sie fest, für welchen Zeitpunkt und Beobachtungsort gerechnet wird.",
      "\"Zeit/Ort | Systemdatum\" übernimmt das Datum und die Uhrzeit Ihres Rechners.",
      "Den Zeitraum einer Tabelle stellen Sie unter \"Zeit/Ort | Zeitraum für Tabelle...\" ein, auch nach Julianischem Datum.",
      "Welche Spalten eine Ephemeride enthält, wählen Sie unter \"Einstellungen | Tabellen konfigurieren...\".",
      "Die Spaltenüberschriften können Sie unter \"Einstellungen | Spaltenüberschriften...\" nach Ihren Wünschen ändern.",
      "Die Zahl der Nachkommastellen einer Spalte legen Sie unter \"Einstellungen | Datenformate...\" fest.",
      "Unter \"Einstellungen | Konfiguration speichern unter...\" sichern Sie Ihre Tabellen-Einstellungen in einer Datei und laden sie später wieder.",
      "Im Menü \"Ephemeriden\" finden Sie Tabellen für Sonne, Mond und alle Planeten.",
      "Die Mondphasen eines Zeitraums erhalten Sie unter \"Ephemeriden | Mond | Mondphasen\".",
      "Sonnen- und Mondfinsternisse berechnen Sie im Menü \"Ephemeriden | Finsternisse\".",
      "Die Jahreszeiten-Anfänge eines Zeitraums liefert \"Ephemeriden | Jahreszeiten\".",
      "Unter \"Konjunktionen und Ereignisse | Ereignis suchen...\" lassen Sie Oppositionen, Konjunktionen und andere Ereignisse suchen.",
      "Was eine Spaltenüberschrift bedeutet, zeigt Ihnen \"Hilfe | Legende\"; tippen Sie den Anfang einer Überschrift ins Suchfeld.",
      "Fertige Tabellen speichern Sie mit \"Datei | Als csv-Datei speichern...\" für andere Programme.",
      "Die zuletzt geöffneten Dateien stehen am Ende des Menüs \"Datei\".",
      "\"Ansicht | Englische Version\" schaltet die Oberfläche auf Englisch um.",
      "\"Ansicht | Uhren\" blendet eine Leiste mit Uhren für Weltzeit und Ortszeit ein.",
      "Mit \"Ansicht | Tips des Tages zeigen\" schalten Sie diese Tips beim Programmstart ein oder aus.",
      "Die Genauigkeit der Planetentheorien stellen Sie unter \"Einstellungen | Rechengenauigkeit für die VSOP-Theorien...\" ein.",
      "Bahnen von Planetoiden und Kometen integrieren Sie numerisch im Menü \"Integration\".",
  };
  for (const char* tip : tips) list.AddTip("tip", tip);
  list.AddTip("neu", "Neu: Die Sterndatenbank für Sternbedeckungen wird im Hintergrund geladen; Sie können sofort weiterarbeiten.");
  return list;
}

TTipList EnglishTips() {
  TTipList list;
  list.AddType("tip", "Tip of the day", "Did you know this?");
  list.AddType("newfeat", "New features in Kandrevoltinex", "Try this:");
  const char* tips[] = {
      "Use \"Time and location | Time and location......\" to set the moment and the place of observation for all calculations.",
      "\"Time and location | Now\" takes over the date and time of your computer.",
      "Set the span of a table with \"Time and location | Ephemeris period...\", or by Julian day.",
      "Choose the columns of an ephemeris with \"Settings | Ephemeris setup...\".",
      "You may rename the column headings with \"Settings | Column headings...\".",
      "The number of decimals of each column is set with \"Settings | Decimals/formats...\".",
      "\"Settings | Save configuration as...\" keeps your table settings in a file to open again later.",
      "The \"Ephemerides\" menu has tables for the Sun, the Moon and every planet.",
      "\"Ephemerides | Moon | Phases\" lists the phases of the Moon in the period.",
      "Solar and lunar eclipses are found in the menu \"Ephemerides | Eclipses\".",
      "\"Ephemerides | Seasons\" gives the beginnings of the seasons.",
      "\"Conjunctions and events | Find events...\" searches oppositions, conjunctions and other events.",
      "\"Help | Legend\" explains every column heading; type the beginning of a heading into its search field.",
      "Save a table for other programs with \"File | Save as csv-file...\".",
      "The files opened last are listed at the end of the \"File\" menu.",
      "\"View | English version\" switches the program between German and English.",
      "\"View | Clocks\" shows a bar with clocks for universal and local time.",
      "\"View | Show tips of the day\" turns these tips at start-up on or off.",
      "Orbits of asteroids and comets are integrated numerically in the \"Integration\" menu.",
  };
  for (const char* tip : tips) list.AddTip("tip", tip);
  list.AddTip("newfeat", "The star catalogue for occultations now loads in the background: you can go on working at once.");
  return list;
}

}  // namespace kvx
