#include "core/name_tables.h"

namespace kvx {

std::array<std::string, 7> WeekdayNames;
std::array<std::string, 2> DaylightSavingMarks;
std::array<std::string, 4> SeasonNames;
std::array<std::string, 10> PlanetNames;
std::array<std::string, 10> VsopBodyNames;
std::array<std::string, 11> SunAndPlanetNames;
std::array<std::string, 12> SearchBodyNames;
std::array<std::string, 29> EventKindNames;
std::array<std::string, 25> ZoneNames;

std::array<std::string, kDecimalPatternCount> DecimalPatternSources;
std::array<std::string, kDecimalPatternCount> DecimalPatternTable;
std::string TimePatternHms;
std::string TimePatternHm;

std::array<std::string, kQuantityCount> DefaultColumnHeadings;
std::array<std::string, kQuantityCount> DefaultColumnDescriptions;
std::array<std::uint8_t, kQuantityCount> DataFormatKind{};
std::array<std::uint8_t, kQuantityCount> DataFormatDecimals{};

namespace {

// Constant images of the name tables.
constexpr std::array<const char*, 7> kWeekdayNames = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                                                      "Donnerstag", "Freitag", "Samstag"};
constexpr std::array<const char*, 2> kDaylightSavingMarks = {"WZ", "SZ"};
constexpr std::array<const char*, 4> kSeasonNames = {"Frühling", "Sommer", "Herbst", "Winter"};
constexpr std::array<const char*, 10> kPlanetNames = {"Merkur", "Venus",  "Erde",   "Mars",  "Jupiter",
                                                      "Saturn", "Uranus", "Neptun", "Pluto", ""};
constexpr std::array<const char*, 10> kVsopBodyNames = {
    "Merkur", "Venus", "Erde", "Erde/Mond Baryzentrum", "Mars", "Jupiter", "Saturn", "Uranus", "Neptun", "Pluto"};
constexpr std::array<const char*, 11> kSunAndPlanetNames = {"Sonne",  "Merkur", "Venus",  "Erde",
                                                            "Mars",   "Jupiter", "Saturn", "Uranus",
                                                            "Neptun", "Pluto",   ""};
constexpr std::array<const char*, 12> kSearchBodyNames = {"Sonne",  "Merkur", "Venus", "Mars",
                                                          "Jupiter", "Saturn", "Uranus", "Neptun",
                                                          "Pluto",  "Mond",   "Planetoid", "Komet"};
constexpr std::array<const char*, 29> kEventKindNames = {
    "Perihel",                      // 0
    "Aphel",                        // 1
    "Perigäum",                     // 2
    "Apogäum",                      // 3
    "Größte Helligkeit",            // 4
    "Kleinste Helligkeit",          // 5
    "Opposition",                   // 6
    "Konjunktion",                  // 7
    "Größte östliche Elongation",   // 8
    "Größte westliche Elongation",  // 9
    "Stationär, dann rückläufig",   // 10
    "Stationär, dann rechtläufig",  // 11
    "Untere Konjunktion",           // 12
    "Obere Konjunktion",            // 13
    "Größte Breite",                // 14
    "Knotendurchgang",              // 15
    "Phasenwinkel maximal",         // 16
    "Phasenwinkel minimal",         // 17
    "Extremum Breite Erde",         // 18
    "Nulldurchgang Breite Erde",    // 19
    "Extremum Breite Sonne",        // 20
    "Nulldurchgang Breite Sonne",   // 21
    "Zentralmeridian 0",            // 22
    "Libration maximal",            // 23
    "Sonnenfinsternis",             // 24
    "Mondfinsternis",               // 25
    "Jahreszeiten",                 // 26
    "Mondphasen",                   // 27
    "Konjunktion",                  // 28
};
// Index = zone hours + 12; -12 and +12 carry the same name.
constexpr std::array<const char*, 25> kZoneNames = {
    "Neuseelandzeit",     // -12
    "Beringzeit",         // -11
    "Zentralalaskazeit",  // -10
    "YST",                // -9
    "PST",                // -8
    "MST",                // -7
    "CST",                // -6
    "EST",                // -5
    "AST",                // -4
    "BST",                // -3
    "Südatlantikzeit",    // -2
    "Westafr. Zeit",      // -1
    "UT",                 // 0
    "MEZ",                // +1
    "OEZ",                // +2
    "Moskauer Zeit",      // +3
    "RS 3",               // +4
    "RS 4",               // +5
    "RS 5",               // +6
    "Südsumatrazeit",     // +7
    "Chines. Küstenz.",   // +8
    "Mittl. Japanzeit",   // +9
    "Ostaustr. Zeit",     // +10
    "Südseezeit",         // +11
    "Neuseelandzeit",     // +12
};

template <std::size_t N>
void Fill(std::array<std::string, N>& table, const std::array<const char*, N>& image) {
  for (std::size_t i = 0; i < N; ++i) table[i] = std::string(image[i]);
}

// The pattern sources as they stand before the locale is read: "0", "0,0",
// "0,00", ... with the given decimal separator.
void BuildPatternSources(char decimalSeparator) {
  DecimalPatternSources[0].assign(1, '0');
  for (int n = 1; n < kDecimalPatternCount; ++n) {
    std::string& source = DecimalPatternSources[n];
    source.assign(1, '0');
    source += decimalSeparator;
    source.append(static_cast<std::size_t>(n), '0');
  }
}

}  // namespace

// Defaults of the output quantities: short heading, long description, kind
// of output (TDataFormatKind) and decimals. Index = quantity number.
const std::array<TQuantityDefault, kQuantityCount> QuantityDefaults = {{
    {"Datum", "Bürgerliches Datum", 1, 0},  // 0
    {"Uhrzeit", "Bürgerliche Uhrzeit (Zonenzeit)", 1, 4},  // 1
    {"UT", "Weltzeit (UT)", 1, 2},  // 2
    {"JD", "Julianisches Datum", 0, 5},  // 3
    {"JED", "Julianisches Datum (Ephemeridenzeit)", 0, 5},  // 4
    {"JED Äquinoktium", "Julianisches Datum (Ephemeridenzeit) des Äquinoktiums", 0, 5},  // 5
    {"M. An.", "Mittlere Anomalie", 1, 4},  // 6
    {"l", "Heliozentrische ekliptikale Länge", 1, 4},  // 7
    {"b", "Heliozentrische ekliptikale Breite", 1, 4},  // 8
    {"r (AE)", "Heliozentrische Entfernung (AE)", 0, 4},  // 9
    {"r Mio. km", "Heliozentrische Entfernung (Mio. km)", 0, 5},  // 10
    {"Lg", "Geozentrische ekliptikale Länge", 1, 4},  // 11
    {"Br", "Geozentrische ekliptikale Breite", 1, 4},  // 12
    {"Rd (AE)", "Geozentrische Entfernung (AE)", 0, 4},  // 13
    {"Rd Mio. km", "Geozentrische Entfernung (Mio. km)", 0, 5},  // 14
    {"Erdrad.", "Geozentrische Entfernung in Erdradien", 0, 2},  // 15
    {"RA", "Rektaszension", 3, 5},  // 16
    {"DK", "Deklination", 1, 4},  // 17
    {"RA \"/h", "Stündliche Bewegung in Rektaszension (Bogensekunden pro Stunde)", 1, 1},  // 18
    {"DK \"/h", "Stündliche Bewegung in Deklination (Bogensekunden pro Stunde)", 1, 1},  // 19
    {"\"/h", "Stündliche Bewegung am Himmel (Bogensekunden pro Stunde)", 1, 1},  // 20
    {"Posw.", "Positionswinkel der Bewegung", 1, 0},  // 21
    {"Lichtz.", "Lichtlaufzeit", 1, 1},  // 22
    {"RA Topoz.", "Topozentrische Rektaszension", 3, 5},  // 23
    {"DK Topoz.", "Topozentrische Deklination", 1, 4},  // 24
    {"RD Topo. AE", "Topozentrische Entfernung (AE)", 0, 4},  // 25
    {"Astr.RATop.", "Astrometrische topozentrische Rektaszension", 3, 5},  // 26
    {"Astr.DKtop.", "Astrometrische topozentrische Deklination", 1, 4},  // 27
    {"RD Top. Mio. km", "Topozentrische Entfernung (Mio. km)", 0, 4},  // 28
    {"Erdr. Topoz.", "Topozentrische Entfernung in Erdradien", 0, 2},  // 29
    {"Aufgang", "Aufgang eines Gestirns", 0, 2},  // 30
    {"Kulm.", "Kulmination (Meridiandurchgang) eines Gestirns", 0, 2},  // 31
    {"Unterg.", "Untergang eines Gestirns", 0, 2},  // 32
    {"Kulm.-h", "Höhe über dem Horizont bei der Kulmination", 0, 1},  // 33
    {"Az Aufg.", "Azimut beim Aufgang", 0, 1},  // 34
    {"Az Unterg.", "Azimut beim Untergang", 0, 1},  // 35
    {"Tagebogen", "Tagbogen (Zeit vom Aufgang bis zum Untergang)", 0, 2},  // 36
    {"Bürg. Anf.", "Anfang der bürgerlichen Dämmerung", 0, 2},  // 37
    {"Bürg. Ende", "Ende der bürgerlichen Dämmerung", 0, 2},  // 38
    {"Naut. Anf.", "Anfang der nautischen Dämmerung", 0, 2},  // 39
    {"Naut. Ende", "Ende der nautischen Dämmerung", 0, 2},  // 40
    {"Astr. Anf.", "Anfang der astronomischen Dämmerung", 0, 2},  // 41
    {"Astr. Ende", "Ende der astronomischen Dämmerung", 0, 2},  // 42
    {"Dunkel bürg.", "Dauer der Dunkelheit nach bürgerlicher Dämmerung", 0, 2},  // 43
    {"Dunkel naut.", "Dauer der Dunkelheit nach nautischer Dämmerung", 0, 2},  // 44
    {"Dunkel astr.", "Dauer der Dunkelheit nach astronomischer Dämmerung", 0, 2},  // 45
    {"Az", "Azimut", 0, 1},  // 46
    {"h", "Höhe über dem Horizont", 0, 1},  // 47
    {"Stdw.", "Stundenwinkel", 3, 4},  // 48
    {"Az geo.", "Geozentrisches Azimut", 0, 1},  // 49
    {"h geo.", "Geozentrische Höhe über dem Horizont", 0, 1},  // 50
    {"Stdw. geo.", "Geozentrischer Stundenwinkel", 3, 4},  // 51
    {"Elong.", "Elongation (Winkelabstand von der Sonne)", 1, 1},  // 52
    {"Topoz. Elong.", "Topozentrische Elongation", 1, 1},  // 53
    {"Belw.", "Beleuchtungswinkel", 0, 1},  // 54
    {"Belw. top.", "Topozentrischer Beleuchtungswinkel", 0, 1},  // 55
    {"LS-Lg", "Längendifferenz zur Sonne", 0, 1},  // 56
    {"LS-Lg topoz.", "Topozentrische Längendifferenz zur Sonne", 0, 1},  // 57
    {"i", "Phasenwinkel", 0, 1},  // 58
    {"i topoz.", "Topozentrischer Phasenwinkel", 0, 1},  // 59
    {"k", "Beleuchteter Anteil der Scheibe", 0, 2},  // 60
    {"k topo.", "Topozentrischer beleuchteter Anteil der Scheibe", 0, 2},  // 61
    {"mag", "Visuelle Helligkeit", 1, 1},  // 62
    {"P", "Positionswinkel der Rotationsachse", 0, 1},  // 63
    {"B", "Planetozentrische Deklination der Erde", 0, 1},  // 64
    {"Br E.", "Planetographische Breite der Erde", 0, 1},  // 65
    {"Z", "Länge des Zentralmeridians", 0, 1},  // 66
    {"Ptop.", "Topozentrischer Positionswinkel der Rotationsachse", 0, 1},  // 67
    {"Btop.", "Topozentrische planetozentrische Deklination der Erde", 0, 1},  // 68
    {"Ztop.", "Topozentrische Länge des Zentralmeridians", 0, 1},  // 69
    {"Sys. II", "Länge des Zentralmeridians im System II", 0, 1},  // 70
    {"Sys. III", "Länge des Zentralmeridians im System III", 0, 1},  // 71
    {"PwSo", "Positionswinkel der Sonne auf der Scheibe", 0, 1},  // 72
    {"DK Sonne", "Planetozentrische Deklination der Sonne", 0, 1},  // 73
    {"Br Sonne", "Planetographische Breite der Sonne", 0, 1},  // 74
    {"Z Sonne", "Länge des Zentralmeridians der Sonnenseite", 0, 1},  // 75
    {"Sy. II So.", "Länge des Zentralmeridians der Sonnenseite im System II", 0, 1},  // 76
    {"Sy. III So.", "Länge des Zentralmeridians der Sonnenseite im System III", 0, 1},  // 77
    {"q", "Phasendefekt", 0, 2},  // 78
    {"D (H)", "Scheinbarer Durchmesser (Halbmesser)", 1, 2},  // 79
    {"Pol", "Scheinbarer Poldurchmesser", 1, 2},  // 80
    {"H (top.)", "Scheinbarer Halbmesser (topozentrisch)", 1, 2},  // 81
    {"Ring Äqu.", "Scheinbarer Äquatordurchmesser des Rings", 0, 2},  // 82
    {"Ring Pol", "Scheinbarer Poldurchmesser des Rings", 0, 2},  // 83
    {"Colong.", "Selenographische Colongitude der Sonne", 0, 1},  // 84
    {"Br. So", "Selenographische Breite der Sonne", 0, 1},  // 85
    {"Alter", "Alter des Mondes seit Neumond", 0, 2},  // 86
    {"Hor.-Parall.", "Äquatoriale Horizontalparallaxe", 1, 1},  // 87
    {"Parall.", "Parallaxe", 1, 1},  // 88
    {"Zeitgl.", "Zeitgleichung (mm:ss)", 1, 2},  // 89
    {"Rot.-Nr.", "Rotationsnummer nach Carrington", 0, 0},  // 90
    {"vl", "Geschwindigkeit in ekliptikaler Länge", 1, 5},  // 91
    {"vb", "Geschwindigkeit in ekliptikaler Breite", 1, 5},  // 92
    {"vr", "Geschwindigkeit in radialer Richtung", 0, 5},  // 93
    {"vRA", "Geschwindigkeit in Rektaszension", 3, 4},  // 94
    {"vDK", "Geschwindigkeit in Deklination", 1, 4},  // 95
    {"RA (hel.)", "Heliozentrische Rektaszension", 3, 5},  // 96
    {"DK (hel.)", "Heliozentrische Deklination", 1, 4},  // 97
    {"x", "Rechtwinklige Koordinate x", 0, 8},  // 98
    {"y", "Rechtwinklige Koordinate y", 0, 8},  // 99
    {"z", "Rechtwinklige Koordinate z", 0, 8},  // 100
    {"vx", "Geschwindigkeitskomponente x", 0, 8},  // 101
    {"vy", "Geschwindigkeitskomponente y", 0, 8},  // 102
    {"vz", "Geschwindigkeitskomponente z", 0, 8},  // 103
    {"1/m", "Kehrwert der Masse", 0, 3},  // 104
    {"vx*k", "Geschwindigkeitskomponente x mal Gaußscher Konstante", 0, 8},  // 105
    {"vy*k", "Geschwindigkeitskomponente y mal Gaußscher Konstante", 0, 8},  // 106
    {"vz*k", "Geschwindigkeitskomponente z mal Gaußscher Konstante", 0, 8},  // 107
    {"x geoz. (km)", "Geozentrische Koordinate x (km)", 0, 3},  // 108
    {"y geoz. (km)", "Geozentrische Koordinate y (km)", 0, 3},  // 109
    {"z geoz. (km)", "Geozentrische Koordinate z (km)", 0, 3},  // 110
    {"x geoz.2000(km)", "Geozentrische Koordinate x, Äquinoktium J2000 (km)", 0, 3},  // 111
    {"y geoz.2000(km)", "Geozentrische Koordinate y, Äquinoktium J2000 (km)", 0, 3},  // 112
    {"z geoz.2000(km)", "Geozentrische Koordinate z, Äquinoktium J2000 (km)", 0, 3},  // 113
    {"x J2000", "Koordinate x, Äquinoktium J2000", 0, 8},  // 114
    {"y J2000", "Koordinate y, Äquinoktium J2000", 0, 8},  // 115
    {"z J2000", "Koordinate z, Äquinoktium J2000", 0, 8},  // 116
    {"x hel. ekl.", "Heliozentrische ekliptikale Koordinate x", 0, 8},  // 117
    {"y hel. ekl.", "Heliozentrische ekliptikale Koordinate y", 0, 8},  // 118
    {"z hel. ekl.", "Heliozentrische ekliptikale Koordinate z", 0, 8},  // 119
    {"vx hel. ekl.", "Heliozentrische ekliptikale Geschwindigkeit x", 0, 8},  // 120
    {"vy hel. ekl.", "Heliozentrische ekliptikale Geschwindigkeit y", 0, 8},  // 121
    {"vz hel. ekl.", "Heliozentrische ekliptikale Geschwindigkeit z", 0, 8},  // 122
    {"x hel. äqu.", "Heliozentrische äquatoriale Koordinate x", 0, 8},  // 123
    {"y hel. äqu.", "Heliozentrische äquatoriale Koordinate y", 0, 8},  // 124
    {"z hel. äqu.", "Heliozentrische äquatoriale Koordinate z", 0, 8},  // 125
    {"vx hel. äqu.", "Heliozentrische äquatoriale Geschwindigkeit x", 0, 8},  // 126
    {"vy hel. äqu.", "Heliozentrische äquatoriale Geschwindigkeit y", 0, 8},  // 127
    {"vz hel. äqu.", "Heliozentrische äquatoriale Geschwindigkeit z", 0, 8},  // 128
    {"x (Elem.)", "Koordinate x aus den Bahnelementen", 0, 8},  // 129
    {"y (Elem.)", "Koordinate y aus den Bahnelementen", 0, 8},  // 130
    {"z (Elem.)", "Koordinate z aus den Bahnelementen", 0, 8},  // 131
    {"vx (Elem.)", "Geschwindigkeit x aus den Bahnelementen", 0, 8},  // 132
    {"vy (Elem.)", "Geschwindigkeit y aus den Bahnelementen", 0, 8},  // 133
    {"vz (Elem.)", "Geschwindigkeit z aus den Bahnelementen", 0, 8},  // 134
    {"a", "Große Halbachse der Bahn", 0, 8},  // 135
    {"q", "Periheldistanz", 0, 8},  // 136
    {"e", "Numerische Exzentrizität der Bahn", 0, 8},  // 137
    {"i", "Neigung der Bahnebene gegen die Ekliptik", 1, 5},  // 138
    {"kn", "Länge des aufsteigenden Knotens", 0, 5},  // 139
    {"per", "Argument des Perihels", 0, 5},  // 140
    {"Lg. per", "Länge des Perihels", 0, 5},  // 141
    {"M", "Mittlere Anomalie zur Epoche", 0, 6},  // 142
    {"n", "Mittlere tägliche Bewegung", 0, 8},  // 143
    {"JD Per.", "Julianisches Datum des Periheldurchgangs", 0, 5},  // 144
    {"Datum Per.", "Datum des Periheldurchgangs", 1, 0},  // 145
    {"UT Per.", "Weltzeit des Periheldurchgangs", 1, 2},  // 146
    {"Aequin.", "Äquinoktium der Bahnelemente", 0, 0},  // 147
    {"JD Aequin", "Julianisches Datum des Äquinoktiums", 0, 5},  // 148
    {"Galaktische Lg", "Galaktische Länge", 1, 4},  // 149
    {"Galaktische Br", "Galaktische Breite", 1, 4},  // 150
    {"Pos", "Positionswinkel", 0, 1},  // 151
    {"E/A", "Eintritt oder Austritt", 0, 2},  // 152
    {"a min", "Koeffizient a (Minuten je Grad geogr. Länge)", 0, 1},  // 153
    {"b min", "Koeffizient b (Minuten je Grad geogr. Breite)", 0, 1},  // 154
    {"Stern", "Bezeichnung des Sterns", 0, 0},  // 155
    {"Eintritt", "Zeitpunkt des Eintritts", 0, 2},  // 156
    {"Austritt", "Zeitpunkt des Austritts", 0, 2},  // 157
    {"Sonnenhöhe", "Höhe der Sonne über dem Horizont", 0, 1},  // 158
    {"Geozentrische Zeit", "Geozentrischer Zeitunkt des Minimums bzw. Maximums", 1, 2},  // 159
    {"Planet", "Name des Planeten", 0, 0},  // 160
    {"Objekt", "Name des Objekts", 0, 0},  // 161
    {"Ereignis", "Art des Ereignisses", 0, 0},  // 162
    {"Jahreszeit", "Beginn der Jahreszeit", 0, 0},  // 163
    {"Epoche", "Epoche der Bahnelemente", 0, 5},  // 164
    {"H", "Absolute Helligkeit", 0, 1},  // 165
    {"P", "Umlaufzeit", 0, 1},  // 166
    {"Distanz ''", "Winkelabstand in Bogensekunden", 1, 0},  // 167
    {"Distanz", "Winkelabstand", 1, 1},  // 168
    {"Px", "Gaußscher Vektor P, Komponente x", 0, 8},  // 169
    {"Py", "Gaußscher Vektor P, Komponente y", 0, 8},  // 170
    {"Pz", "Gaußscher Vektor P, Komponente z", 0, 8},  // 171
    {"Qx", "Gaußscher Vektor Q, Komponente x", 0, 8},  // 172
    {"Qy", "Gaußscher Vektor Q, Komponente y", 0, 8},  // 173
    {"Qz", "Gaußscher Vektor Q, Komponente z", 0, 8},  // 174
    {"RD (km)", "Entfernung in Kilometern", 0, 3},  // 175
    {"Erscheinung", "Art der Erscheinung", 0, 0},  // 176
    {"Geogr. Br.", "Geographische Breite", 1, 4},  // 177
    {"Geogr. Lg.", "Geographische Länge", 1, 4},  // 178
    {"Dauer", "Dauer des Ereignisses", 1, 1},  // 179
    {"Phase", "Phase (Größe der Verfinsterung)", 0, 4},  // 180
    {"Magn.", "Größe (Magnitude) der Verfinsterung", 0, 4},  // 181
    {"V", "Scheinbare Helligkeit V", 0, 1},  // 182
    {"Planetenmonde (x,y,z)", "Koordinaten der Planetenmonde (x,y,z)", 0, 4},  // 183
    {"Distanz in km", "Abstand in Kilometern", 1, 0},  // 184
    {"Breite", "Breite", 0, 1},  // 185
    {"Länge", "Länge", 0, 1},  // 186
    {"Höhe (km)", "Höhe über der Erdoberfläche (km)", 0, 0},  // 187
    {"pl. l", "Planetozentrische Länge", 0, 0},  // 188
    {"pl. b", "Planetozentrische Breite", 0, 0},  // 189
    {"Sternzeit", "Lokale Sternzeit", 1, 4},  // 190
    {"Greenw. Sternz.", "Sternzeit in Greenwich", 1, 4},  // 191
    {"Geo. Lg. Frühlingspunkt", "Geographische Länge des Frühlingspunkts", 1, 8},  // 192
    {"DAZ", "Azimutdifferenz zwischen Objekt und Sonne", 0, 1},  // 193
    {"ARCL", "Bogenabstand zwischen Objekt und Sonne", 0, 1},  // 194
    {"ARCV", "Höhendifferenz zwischen Objekt und Sonne", 0, 1},  // 195
    {"DALT", "Höhe des Objekts über dem Horizont", 0, 1},  // 196
    {"Dunkelheit", "Dunkele Nacht (Höhe Mond<0, Sonne<-18)", 1, 2},  // 197
    {"Dunkel insgesamt", "Dunkele Nacht insgesamt", 1, 2},  // 198
    {"Num. Integr.", "Numerische Integration", 0, 7},  // 199
    {"Art", "Art der Konjunktion", 1, 0},  // 200
    {"Neu/New", "Neu/New", 0, 0},  // 201
    {"Neu/New", "Neu/New", 0, 0},  // 202
    {"Neu/New", "Neu/New", 0, 0},  // 203
    {"Neu/New", "Neu/New", 0, 0},  // 204
    {"Neu/New", "Neu/New", 0, 0},  // 205
    {"Neu/New", "Neu/New", 0, 0},  // 206
    {"Neu/New", "Neu/New", 0, 0},  // 207
    {"Neu/New", "Neu/New", 0, 0},  // 208
    {"Neu/New", "Neu/New", 0, 0},  // 209
    {"Neu/New", "Neu/New", 0, 0},  // 210
    {"Neu/New", "Neu/New", 0, 0},  // 211
    {"Neu/New", "Neu/New", 0, 0},  // 212
    {"Neu/New", "Neu/New", 0, 0},  // 213
    {"Neu/New", "Neu/New", 0, 0},  // 214
    {"Neu/New", "Neu/New", 0, 0},  // 215
    {"Neu/New", "Neu/New", 0, 0},  // 216
    {"Neu/New", "Neu/New", 0, 0},  // 217
    {"Neu/New", "Neu/New", 0, 0},  // 218
    {"Neu/New", "Neu/New", 0, 0},  // 219
    {"Neu/New", "Neu/New", 0, 0},  // 220
}};

void InitFormatStrings() {
  DecimalPatternTable = DecimalPatternSources;
  const std::string sep(1, IntlSeparators.Time);
  TimePatternHms = "h" + sep + "mm" + sep + "ss";
  TimePatternHm = "h" + sep + "mm";
}

void InitAstroNameTables() {
  BuildPatternSources(',');
  InitFormatStrings();
  Fill(WeekdayNames, kWeekdayNames);
  Fill(DaylightSavingMarks, kDaylightSavingMarks);
  Fill(SeasonNames, kSeasonNames);
  Fill(PlanetNames, kPlanetNames);
  Fill(VsopBodyNames, kVsopBodyNames);
  Fill(SunAndPlanetNames, kSunAndPlanetNames);
  Fill(SearchBodyNames, kSearchBodyNames);
  Fill(EventKindNames, kEventKindNames);
  Fill(ZoneNames, kZoneNames);
  for (int i = 0; i < kQuantityCount; ++i) {
    DefaultColumnHeadings[i] = QuantityDefaults[i].heading;
    DefaultColumnDescriptions[i] = QuantityDefaults[i].description;
    DataFormatKind[i] = QuantityDefaults[i].kind;
    DataFormatDecimals[i] = QuantityDefaults[i].decimals;
  }
}

void ApplyLocaleSeparators(const TIntlSeparators& separators) {
  IntlSeparators = separators;
  BuildPatternSources(IntlSeparators.Decimal);
  InitFormatStrings();
}

void InitCoreTablesAtStartup(const TIntlSeparators& locale) {
  InitAstroNameTables();
  ApplyLocaleSeparators(locale);
}

const std::string& WeekdayName(long long weekdayIndex) {
  return WeekdayNames[static_cast<std::size_t>(FlooredModulo(weekdayIndex, 7))];
}

const std::string& ZoneName(int zoneHours) { return NameAt(ZoneNames, static_cast<long long>(zoneHours) + 12); }

}  // namespace kvx
