// The compiled-in tip lists: German 79 tips, English 58. Every tip names a
// command as its menu reads.
#include "app/tip_of_the_day.h"

namespace kvx {

TTipList GermanTips() {
  TTipList list;
  list.AddType("tip", "Tip des Tages", "Wußten Sie schon?");
  list.AddType("neu", "Neue Funktionen in Kandrevoltinex", "Wußten Sie schon?");
  const char* tips[] = {
      "Mit \"Zeit/Ort | Datum und Ort eingeben...\" legen Sie fest, für welchen Zeitpunkt und Beobachtungsort "
      "gerechnet wird.",
      "\"Zeit/Ort | Systemdatum\" übernimmt das Datum und die Uhrzeit Ihres Rechners.",
      "Den Zeitraum einer Tabelle stellen Sie unter \"Zeit/Ort | Zeitraum für Tabelle...\" ein.",
      "Unter \"Zeit/Ort | Zeitraum für Tabelle (JD)...\" geben Sie Anfang und Ende einer Tabelle als Julianisches "
      "Datum ein.",
      "\"Zeit/Ort | Julianisches Datum...\" stellt den Rechenzeitpunkt über das Julianische Datum ein.",
      "Mit \"Zeit/Ort | UT eingeben...\" geben Sie den Zeitpunkt direkt in Weltzeit ein.",
      "\"Zeit/Ort | Tagesbruchteil...\" nimmt den Zeitpunkt als Tag mit Dezimalbruch an, etwa 12,75 für den 12. um 18 "
      "Uhr.",
      "\"Zeit/Ort | Sommerzeit\" schaltet die Sommerzeit ein; die Ortszeit bleibt, die Weltzeit rückt eine Stunde vor.",
      "Einen anderen Beobachtungsort wählen Sie unter \"Zeit/Ort | Ort wählen...\" aus der Ortsliste.",
      "\"Zeit/Ort | Weltweite Datenbank...\" sucht unter über 24.000 Städten; Zeitzone und Sommerzeit kommen gleich "
      "mit.",
      "Markieren Sie eine Zelle mit einem Julianischen Datum und wählen Sie \"Zeit/Ort | JD aus Tabelle übernehmen\": "
      "das Datum wird zum Rechenzeitpunkt.",
      "\"Zeit/Ort | Ephemeridenzeitpunkte aus Tabelle...\" (F9) rechnet eine Tabelle für eine Liste von Zeitpunkten "
      "aus dem Tabellenblatt.",
      "\"Zeit/Ort | Zeitraum aus Konfiguration\" holt Zeitraum und Schrittweite der zuletzt geladenen Konfiguration "
      "zurück.",
      "Ein Doppelklick auf das Datumsfeld der Statuszeile öffnet die Eingabe von Datum und Ort.",
      "Ein Doppelklick auf das Ortsfeld der Statuszeile öffnet die Ortswahl.",
      "Welche Spalten eine Ephemeride enthält, wählen Sie unter \"Einstellungen | Tabellen konfigurieren...\" (F8).",
      "Die Spaltenüberschriften können Sie unter \"Einstellungen | Spaltenüberschriften...\" nach Ihren Wünschen "
      "ändern.",
      "Die Zahl der Nachkommastellen einer Spalte legen Sie unter \"Einstellungen | Datenformate...\" fest.",
      "Unter \"Einstellungen | Konfiguration speichern unter...\" sichern Sie Ihre Einstellungen in einer Datei.",
      "\"Einstellungen | Konfiguration öffnen\" lädt eine gespeicherte Konfiguration mit Zeitraum, Ort und Spalten.",
      "\"Einstellungen | Konfiguration neu\" setzt alle Einstellungen der Konfiguration auf die Anfangswerte zurück.",
      "Die Datei \"Varbo4.ocf\" im Datenordner wird beim Start automatisch geladen.",
      "Unter \"Einstellungen | Optionen...\" stellen Sie die Bezugshöhen für Auf- und Untergänge und die Dämmerung "
      "ein.",
      "Die Zahl der Tabellenblätter einer neuen Arbeitsmappe legen Sie unter \"Einstellungen | Tabellenoptionen...\" "
      "fest.",
      "\"Einstellungen | Uhrenleiste konfigurieren...\" fügt der Uhrenleiste Orte aus aller Welt hinzu.",
      "Die Genauigkeit der Planetentheorien stellen Sie unter \"Einstellungen | Rechengenauigkeit für die "
      "VSOP-Theorien...\" ein.",
      "Mit \"Einstellungen | Newcombsche Theorien verwenden\" rechnen die Tabellen mit den schnellen internen Reihen.",
      "\"Einstellungen | ELP2000-Mondtheorie verwenden\" schaltet die ausführliche Mondtheorie ein oder aus.",
      "\"Einstellungen | Externes Programm festlegen...\" wählt die Tabellenkalkulation, die \"Tools | Externes "
      "Programm\" startet.",
      "Im Menü \"Ephemeriden\" finden Sie Tabellen für Sonne, Mond und alle Planeten.",
      "Die Mondphasen eines Zeitraums erhalten Sie unter \"Ephemeriden | Mond | Mondphasen\".",
      "Sonnen- und Mondfinsternisse berechnen Sie im Menü \"Ephemeriden | Finsternisse\".",
      "\"Ephemeriden | Finsternisse | Mondfinsterniskalender\" listet alle Mondfinsternisse des Zeitraums.",
      "\"Ephemeriden | Finsternisse | Sonnenfinsterniskalender\" sucht die Sonnenfinsternisse eines Zeitraums.",
      "Die Jahreszeiten-Anfänge eines Zeitraums liefert \"Ephemeriden | Jahreszeiten\".",
      "\"Ephemeriden | Tagesübersicht | Planeten\" zeigt alle Planeten für den Rechenzeitpunkt auf einen Blick.",
      "Die Stellung der Jupitermonde liefert \"Ephemeriden | Jupitermonde | Koordinaten\".",
      "Die Stellung der Saturnmonde liefert \"Ephemeriden | Saturnmonde | Koordinaten\".",
      "Wählen Sie unter \"Objekte | Planetoiden...\" einen Kleinplaneten und rechnen Sie seine Ephemeride mit "
      "\"Ephemeriden | Planetoid\".",
      "Einen Kometen wählen Sie unter \"Objekte | Kometen...\"; seine Ephemeride liefert \"Ephemeriden | Komet\".",
      "Unter \"Objekte | Veränderliche...\" wählen Sie einen veränderlichen Stern; \"Ephemeriden | Veränderlicher "
      "Stern\" rechnet seine Minima und Maxima.",
      "Unter \"Objekte | Satelliten...\" wählen Sie künstliche Erdsatelliten aus der geladenen Bahnelementedatei.",
      "\"Tools | Erdsatelliten...\" sucht sichtbare Überflüge der geladenen Satelliten.",
      "Eine Seite mit allen Daten eines Planeten für den Rechenzeitpunkt zeigt \"Tools | Mars\" (und die anderen "
      "Planeten darüber und darunter).",
      "\"Tools | Mond\" zeigt die Daten des Mondes für den Rechenzeitpunkt auf einer Seite.",
      "Bahnen von Planetoiden und Kometen integrieren Sie numerisch unter \"Integration | Planetoidenbahn\" und "
      "\"Integration | Kometenbahn\".",
      "\"Integration | Integrieren\" (F11) rechnet die Bahnen aller Planeten und eines Kleinkörpers gemeinsam.",
      "\"Integration | Daten für Bahnelementedatei | Planetoiden\" bringt die Bahnelemente eines Planetoiden auf den "
      "Zeitraum.",
      "\"Tools | Transformationen...\" rechnet Koordinaten zwischen Äquator-, Ekliptik- und Horizontsystem um.",
      "\"Tools | Gauss-Krüger<->geogr.\" wandelt Gauß-Krüger-Koordinaten in geographische um und umgekehrt.",
      "\"Tools | Zweikörperproblem | Tägliche Bewegung...\" rechnet aus der großen Halbachse die mittlere tägliche "
      "Bewegung.",
      "\"Tools | Zweikörperproblem | Transformation Bahnelemente...\" bringt Bahnelemente auf ein anderes Äquinoktium.",
      "\"Tools | Bewegliche Feiertage\" schreibt die Feiertage des eingestellten Jahres in die Tabelle.",
      "Die Makros unter \"Tools | Makros\" rechnen markierte Zellen um, etwa Grad in Grad, Minuten und Sekunden (\"DEG "
      "-> DMS\").",
      "\"Tools | Makros | JD->UT\" schreibt zu Julianischen Daten die Weltzeit in die markierten Zellen.",
      "\"Tools | Makros | Ort\" schreibt den Beobachtungsort mit Breite und Länge an die aktive Zelle.",
      "Was eine Spaltenüberschrift bedeutet, zeigt Ihnen \"? | Legende\"; tippen Sie den Anfang einer Überschrift ins "
      "Suchfeld.",
      "Fertige Tabellen speichern Sie mit \"Datei | Als csv-Datei speichern...\" für andere Programme.",
      "\"Datei | Speichern unter...\" speichert die ganze Arbeitsmappe als .xlsx-Datei.",
      "Die zuletzt geöffneten Dateien stehen am Ende des Menüs \"Datei\".",
      "\"Bearbeiten | Tabellenaktion zurücknehmen\" stellt das Tabellenblatt vor der letzten Tabelle wieder her.",
      "\"Bearbeiten | Suchen...\" (Strg+F) findet Texte und Zahlen im Tabellenblatt.",
      "Die Nachkommastellen markierter Zellen ändern Sie mit \"Format | Nachkommastellen\" oder mit Strg+1 bis Strg+9.",
      "\"Ansicht | Tabellenkalkulation\" (Strg+F1) schaltet zwischen Tabellenblatt und dem schnelleren Ergebnisgitter "
      "um.",
      "\"Ansicht | Englische Version\" schaltet die Oberfläche auf Englisch um.",
      "\"Ansicht | Uhren\" (F10) blendet eine Leiste mit Uhren für Ortszeit, Weltzeit und Sternzeit ein.",
      "Mit \"Ansicht | Tips des Tages zeigen\" schalten Sie diese Tips beim Programmstart ein oder aus.",
      "\"Ansicht | Symbolleiste umbrechen\" verteilt die Symbolleiste auf zwei Zeilen.",
  };
  for (const char* tip : tips) list.AddTip("tip", tip);
  const char* news[] = {
      "Neu: Die Sterndatenbank für Sternbedeckungen wird im Hintergrund geladen; Sie können sofort weiterarbeiten.",
      "Neu: \"Ansicht | Uhren\" zeigt zu jeder Uhr auch die Ortssternzeit und das Julianische Datum.",
      "Neu: \"Zeit/Ort | Weltweite Datenbank...\" übernimmt Zeitzone und Sommerzeit der gewählten Stadt.",
      "Neu: Arbeitsmappen werden als .xlsx gespeichert; ältere .xls-Dateien lassen sich öffnen.",
      "Neu: \"Integration | Daten für Bahnelementedatei | Planetoidendatenbank erstellen\" schreibt für jeden "
      "Planetoiden einer Datei eine eigene Datei.",
      "Neu: \"Tools | Externes Programm\" startet Ihre Tabellenkalkulation; beim ersten Start wird sie selbst gesucht.",
      "Neu: \"Datei | Dateiwerkzeuge | Externes Programm starten\" speichert die Arbeitsmappe und öffnet sie in Ihrer "
      "Tabellenkalkulation.",
      "Neu: \"Einstellungen | Konfiguration neu\" stellt alle Tabellen-Einstellungen auf einmal zurück.",
      "Neu: Der Julianische Tag bleibt beim Bestätigen von \"Zeit/Ort | Julianisches Datum...\" auf die letzte Stelle "
      "erhalten, wenn Sie ihn nicht ändern.",
      "Neu: Das Ergebnisgitter (\"Ansicht | Tabellenkalkulation\" aus) zeigt große Tabellen viel schneller.",
      "Neu: \"Datei | Dateiwerkzeuge\" enthält Editoren für Bahnelementedateien von Planetoiden, Kometen und "
      "Veränderlichen.",
  };
  for (const char* tip : news) list.AddTip("neu", tip);
  return list;
}

TTipList EnglishTips() {
  TTipList list;
  list.AddType("tip", "Tip of the day", "Did you know this?");
  list.AddType("newfeat", "New features in Kandrevoltinex", "Try this:");
  const char* tips[] = {
      "Use \"Time and location | Time and location...\" to set the moment and the place of observation for all "
      "calculations.",
      "\"Time and location | Now\" takes over the date and time of your computer.",
      "Set the span of a table with \"Time and location | Ephemeris period...\".",
      "\"Time and location | Ephemeris period (by JD)...\" takes the start and the end of a table as Julian days.",
      "\"Time and location | Julian day...\" sets the moment by its Julian day.",
      "\"Time and location | UT...\" takes the moment directly in universal time.",
      "\"Time and location | Daylight saving\" switches daylight saving on; the local time stays and UT moves one "
      "hour.",
      "Pick another place of observation from the list with \"Time and location | Location...\".",
      "\"Time and location | Wordwide locations...\" searches more than 24,000 cities and takes their time zone and "
      "daylight saving too.",
      "Mark a cell holding a Julian day and choose \"Time and location | Pic up JD from sheet\": it becomes the moment "
      "of the calculations.",
      "\"Time and location | Ephemeris period from configuration\" brings back the period and the step of the "
      "configuration loaded last.",
      "A double click on the date field of the status line opens the date and place entry.",
      "Choose the columns of an ephemeris with \"Settings | Ephemeris setup...\" (F8).",
      "You may rename the column headings with \"Settings | Column headings...\".",
      "The number of decimals of each column is set with \"Settings | Decimals/formats...\".",
      "\"Settings | Save configuration as...\" keeps your settings in a file; \"Settings | Open configuration\" loads "
      "them again.",
      "\"Settings | New configuration\" sets every setting of the configuration back to its start value.",
      "\"Settings | Options...\" holds the reference altitudes of rising, setting and twilight.",
      "The number of sheets of a new workbook is set with \"Settings | Spreadsheet options...\".",
      "\"Settings | Configurate clock-bar...\" adds places from all over the world to the clock bar.",
      "\"Settings | Use Newcomb theories\" makes the tables use the fast internal series.",
      "The \"Ephemerides\" menu has tables for the Sun, the Moon and every planet.",
      "\"Ephemerides | Moon | Phases\" lists the phases of the Moon in the period.",
      "Solar and lunar eclipses are found in the menu \"Ephemerides | Eclipses\".",
      "\"Ephemerides | Eclipses | Find lunar eclipses\" lists every lunar eclipse of the period.",
      "\"Ephemerides | Seasons\" gives the beginnings of the seasons.",
      "\"Ephemerides | Several objects | Planets\" shows every planet for the moment at a glance.",
      "The moons of Jupiter are placed by \"Ephemerides | Moons of Jupiter | Coordinates\".",
      "Choose an asteroid with \"Objects | Asteroids...\" and compute its ephemeris with \"Ephemerides | Asteroid\".",
      "Choose a comet with \"Objects | Comets...\"; \"Ephemerides | Comet\" gives its ephemeris.",
      "\"Objects | Variable stars...\" chooses a variable star; \"Ephemerides | Variable star\" computes its minima "
      "and maxima.",
      "\"Objects | Satellites...\" chooses artificial satellites from the loaded element file.",
      "\"Tools | Satellite visibility...\" searches visible passes of the loaded satellites.",
      "\"Tools | Mars\" shows every value of the planet for the moment on one page; the other bodies are next to it.",
      "Orbits of asteroids and comets are integrated numerically with \"Integration | Asteroid orbit\" and "
      "\"Integration | Comet orbit\".",
      "\"Integration | Integrate\" (F11) integrates the planets and one small body together.",
      "\"Tools | Transformations...\" converts coordinates between the equatorial, ecliptic and horizontal frames.",
      "\"Tools | Gauss-Krüger<->geogr.\" converts Gauss-Krüger coordinates to geographic ones and back.",
      "\"Tools | Two body problem | Mean motion...\" gives the mean daily motion of a semi-major axis.",
      "\"Tools | Two body problem | Precession of orbital elements...\" moves orbital elements to another equinox.",
      "The macros of \"Tools | Macros\" convert the marked cells, for instance degrees to degrees, minutes and seconds "
      "(\"DEG -> DMS\").",
      "\"Tools | Macros | JD->UT\" writes the universal time of Julian days into the marked cells.",
      "\"? | Legend\" explains every column heading; type the beginning of a heading into its search field.",
      "Save a table for other programs with \"File | Save as csv-file...\".",
      "The files opened last are listed at the end of the \"File\" menu.",
      "\"Edit | Undo last table - command\" brings the sheet back to where it was before the last table.",
      "\"View | Spreadsheet\" (Ctrl+F1) switches between the sheet and the faster result grid.",
      "\"View | English version\" switches the program between German and English.",
      "\"View | Clocks\" (F10) shows a bar with clocks for local time, universal time and sidereal time.",
      "\"View | Show tips of the day\" turns these tips at start-up on or off.",
  };
  for (const char* tip : tips) list.AddTip("tip", tip);
  const char* news[] = {
      "The star catalogue for occultations now loads in the background: you can go on working at once.",
      "\"View | Clocks\" now shows the local sidereal time and the Julian day of every clock.",
      "\"Time and location | Wordwide locations...\" takes over the time zone and the daylight saving of the chosen "
      "city.",
      "Workbooks are saved as .xlsx; older .xls files can be opened.",
      "\"Integration | Create data for files... | Create asteroid dtabase\" writes one file per asteroid of an element "
      "file.",
      "\"Tools | External application\" starts your spreadsheet program; the first start looks for it by itself.",
      "\"Settings | New configuration\" sets every table setting back at once.",
      "The result grid (\"View | Spreadsheet\" off) shows large tables much faster.",
  };
  for (const char* tip : news) list.AddTip("newfeat", tip);
  return list;
}

}  // namespace kvx
