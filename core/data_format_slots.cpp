#include "core/data_format_slots.h"

namespace kvx {

namespace {

// value type, group, filter category, largest decimals, default decimals,
// default format, English and German description
constexpr TDataFormatSlot kUsedSlots[kUsedFormatSlotCount] = {
    {0, 13, 6, 0, 0, 1, "Civil date", "Bürgerliches Datum"},                                        // 0
    {1, 9, 6, 4, 4, 1, "Time", "Uhrzeit"},                                                          // 1
    {1, 9, 6, 4, 2, 1, "UT", "UT"},                                                                 // 2
    {4, 8, 6, 7, 5, 0, "Julian Day", "Julianisches Datum"},                                         // 3
    {4, 8, 6, 7, 5, 0, "Julian Day (Ephemeris Time/TDB)", "Julianisches Datum (Ephemeridenzeit)"},  // 4
    {4, 8, 6, 8, 5, 0, "Julian Date of the equinox", "Julianisches Datum des Äquinoktium"},         // 5
    {2, 2, 0, 8, 4, 1, "Mean Anomaly", "Mittlere Anomalie"},                                        // 6
    {2, 3, 0, 9, 4, 1, "Heliocentric ecliptical longitude", "Heliozentrische ekliptische Länge"},   // 7
    {2, 3, 0, 9, 4, 1, "Heliocentric ecliptical latitude", "Heliozentrische ekliptische Breite"},   // 8
    {4, 4, 0, 8, 4, 0, "Distance between object and Sun in AU", "Entfernung von der Sonne in AE"},  // 9
    {4, 4, 0, 6, 5, 0, "Distance between object and Sun in million km",
     "Entfernung von der Sonne in Millionen km"},                                                    // 10
    {2, 2, 0, 8, 4, 1, "Geocentric ecliptical longitude", "Geozentrische ekliptische Länge"},        // 11
    {2, 3, 0, 8, 4, 1, "Geocentric ecliptical latitude", "Geozentrische ekliptische Breite"},        // 12
    {4, 4, 0, 8, 4, 0, "Distance between object and earth in AU", "Entfernung von der Erde in AE"},  // 13
    {4, 4, 0, 6, 5, 0, "Distance between object and earth in million km",
     "Entfernung von der Erde in Millionen km"},                                                                // 14
    {4, 4, 3, 6, 2, 0, "Distance between Moon and earth in Earth Radii", "Entfernung Mond/Erde in Erdradien"},  // 15
    {3, 0, 0, 8, 5, 3, "Right ascension", "Rektaszension"},                                                     // 16
    {2, 1, 0, 8, 4, 1, "Declination", "Deklination"},                                                           // 17
    {7, 7, 10, 3, 1, 1, "Hourly motion in right ascension, as seconds of degree",
     "Stündliche Bewegung in Rektaszension, in Bogensekunden"},  // 18
    {7, 7, 10, 3, 1, 1, "Hourly motion in declination, as seconds of degree",
     "Stündliche Bewegung in Deklination, in Bogensekunden"},                                            // 19
    {7, 7, 10, 3, 1, 1, "Hourly motion, as seconds of degree", "Stündliche Bewegung in Bogensekunden"},  // 20
    {2, 7, 10, 3, 0, 1, "Position angle of hourly motion", "Positionswinkel der stündlichen Bewegung"},  // 21
    {5, 13, 10, 3, 1, 1, "Light time in minutes", "Lichtzeit in Minuten"},                               // 22
    {3, 0, 0, 8, 5, 3, "Right ascension topocentric", "Rektaszension topozentrisch"},                    // 23
    {2, 1, 0, 8, 4, 1, "Declination topocentric", "Deklination topozentrisch"},                          // 24
    {4, 4, 0, 8, 4, 0, "Distance between object and observer (topocentric) in AU",
     "Entfernung zur Erde topozentrisch in AE"},                                                              // 25
    {3, 0, 0, 8, 5, 3, "Astrometric Right ascension topocentric", "Astrometr. Rektaszension topozentrisch"},  // 26
    {2, 1, 0, 8, 4, 1, "Astrometric Declination topocentric", "Astrometrische Deklination topozentrisch"},    // 27
    {4, 4, 0, 6, 4, 0, "Distance between object and observer (topocentric) in Million km",
     "Entfernung zur Erde topozentrisch in Millionen km"},  // 28
    {4, 4, 0, 6, 2, 0, "Distance between Moon and Earth (topocentric) in Earth Radii",
     "Entfernung Mond/Erde topozentrisch in Erdradien"},                                                        // 29
    {1, 9, 1, 4, 2, 0, "Rise", "Aufgang eines Gestirns"},                                                       // 30
    {1, 9, 1, 4, 2, 0, "Transit", "Zeitpunkt der oberen Kulmination"},                                          // 31
    {1, 9, 1, 4, 2, 0, "Set", "Untergang eines Gestirns"},                                                      // 32
    {2, 5, 1, 4, 1, 0, "Altitude at transit", "Höhe eines Gestirns bei oberer Kulmination"},                    // 33
    {2, 5, 1, 4, 1, 0, "Azimuth at rise", "Azimut beim Aufgang"},                                               // 34
    {2, 5, 1, 4, 1, 0, "Azimuth at set", "Azimut beim Untergang"},                                              // 35
    {1, 9, 1, 4, 2, 0, "Time above horizon", "Tagebogen (Gestirn oberhalb des Horizonts)"},                     // 36
    {1, 9, 1, 4, 2, 0, "Beginning of civil  dawn", "Anfang der bürgerlichen Dämmerung (morgens)"},              // 37
    {1, 9, 1, 4, 2, 0, "End of civil dusk", "Ende der bürgerlichen Dämmerung (abends)"},                        // 38
    {1, 9, 1, 4, 2, 0, "Beginning of nautical  dawn", "Anfang der nautischen Dämmerung (morgens)"},             // 39
    {1, 9, 1, 4, 2, 0, "End of nautical dusk", "Ende der nautischen Dämmerung (abends)"},                       // 40
    {1, 9, 1, 4, 2, 0, "Beginning of astronomical dawn", "Anfang der astronomischen Dämmerung (morgens)"},      // 41
    {1, 9, 1, 4, 2, 0, "End of astronomical dusk", "Ende der astronomischen Dämmerung (abends)"},               // 42
    {1, 9, 1, 4, 2, 0, "Duration of darkness (civil)", "Dauer der Dunkelheit (bürgerlich)"},                    // 43
    {1, 9, 1, 4, 2, 0, "Duration of darkness (nautical)", "Dauer der Dunkelheit (nautisch)"},                   // 44
    {1, 9, 1, 4, 2, 0, "Duration of darkness (astronomical)", "Dauer der Dunkelheit (astronomisch)"},           // 45
    {2, 5, 0, 4, 1, 0, "Azimuth", "Azimut"},                                                                    // 46
    {2, 5, 0, 4, 1, 0, "Altitude", "Höhe"},                                                                     // 47
    {3, 0, 0, 6, 4, 3, "Hour angle", "Stundenwinkel"},                                                          // 48
    {2, 5, 3, 3, 1, 0, "Geocentric azimuth (Moon)", "Geozentrischer Azimut (Mond)"},                            // 49
    {2, 5, 3, 3, 1, 0, "Geocentric altitude (Moon)", "Geozentrische Höhe (Mond)"},                              // 50
    {3, 0, 3, 6, 4, 3, "Geocentric hour angle (Moon)", "Geozentrischer Stundenwinkel (Mond)"},                  // 51
    {2, 5, 2, 1, 1, 1, "Elongation", "Elongation"},                                                             // 52
    {2, 5, 3, 1, 1, 1, "Topocentric elongation (Moon)", "Topozentrische Elongation (Mond)"},                    // 53
    {2, 5, 2, 1, 1, 0, "Position angle of the bright limb", "Beleuchtungswinkel"},                              // 54
    {2, 5, 3, 1, 1, 0, "Position angle of the bright limb (Moon)", "Beleuchtungswinkel topozentrisch (Mond)"},  // 55
    {2, 5, 2, 4, 1, 0, "Difference between geozentric ecliptical longitudes of sun and object",
     "Differenz der geozentrischen ekliptischen Längen von Sonne und Objekt"},  // 56
    {2, 5, 3, 4, 1, 0, "Topocentric difference between geozentric ecliptical longitudes of sun and moon",
     "Topozentrische Differenz der geozentrischen ekliptischen Längen von Sonne und Mond"},       // 57
    {2, 5, 2, 3, 1, 0, "Phase angle", "Phasenwinkel"},                                            // 58
    {2, 5, 3, 3, 1, 0, "Topocentric phase angle", "Topozentrischer Phasenwinkel (Mond)"},         // 59
    {4, 7, 2, 4, 2, 0, "Illuminated fraction of the disk", "Beleuchteter Teil des Scheibchens"},  // 60
    {4, 7, 3, 4, 2, 0, "Topocentric illuminated fraction of the disk (Moon)",
     "Topozentrisch beleuchteter Teil des Scheibchens (Mond)"},                                       // 61
    {8, 7, 2, 3, 1, 1, "Magnitude", "Visuelle Helligkeit"},                                           // 62
    {2, 5, 2, 3, 1, 0, "Position angle of the rotation axis", "Positionswinkel der Rotationsachse"},  // 63
    {2, 5, 2, 3, 1, 0, "Planetocentric latitude of the center of disk",
     "Planetozentrische Breite des Mittelpunkts der Scheibe"},  // 64
    {2, 5, 2, 3, 1, 0, "Planetographic latitude of the center of disk",
     "Planetographische Breite des Mittelpunkts der Scheibe"},  // 65
    {2, 5, 2, 3, 1, 0, "Central meridian", "Zentralmeridian"},  // 66
    {2, 5, 3, 3, 1, 0, "Topocentric position angle of the rotation axis",
     "Topozentrischer Positionswinkel der Rotationsachse"},  // 67
    {2, 5, 3, 3, 1, 0, "Topocentric latitude of the center of disk",
     "Topozentrische Breite des Mittelpunkts der Scheibe"},                                          // 68
    {2, 5, 3, 3, 1, 0, "Topocentric central meridian", "Topozentrischer Zentralmeridian"},           // 69
    {2, 5, 2, 3, 1, 0, "Central meridian in system II", "Zentralmeridian im Rotationssystem II"},    // 70
    {2, 5, 2, 3, 1, 0, "Central meridian in system III", "Zentralmeridian im Rotationssystem III"},  // 71
    {2, 5, 2, 3, 1, 0, "Position angle of the sun", "Positionswinkel der Sonne"},                    // 72
    {2, 5, 2, 3, 1, 0, "Declination of of sun (planetocentric latitude of subsolar point)",
     "Deklination der Sonne (planetoz. Breite des subsolaren Punktes)"},  // 73
    {2, 5, 2, 3, 1, 0, "Planetocentric declination of the Sun",
     "Planetographische Breite des subsolaren Punktes"},                                                      // 74
    {2, 5, 2, 3, 1, 0, "Longitude of the subsolar point", "Planetographische Länge des subsolaren Punktes"},  // 75
    {2, 5, 2, 3, 1, 0, "Longitude of the subsolar point in System II",
     "Planetographische Länge des subsolaren Punktes im System II"},  // 76
    {2, 5, 2, 3, 1, 0, "Longitude of the subsolar point in System III",
     "Planetographische Länge des subsolaren Punktes im System III"},                                            // 77
    {7, 7, 2, 4, 2, 0, "Defect of illumination in seconds of a degree", "Beleuchtungsdefekt in Bogensekunden"},  // 78
    {7, 6, 2, 4, 2, 1, "Diameter in seconds of degree, for sun and moon half diameter in minutes and seconds of degree",
     "Äquatordurchmesser in Bogensekunden, bei Sonne und Mond Halbmesser in Bogenminuten und -sekunden"},  // 79
    {7, 6, 2, 4, 2, 1, "Diameter at pole in seconds of a degree", "Poldurchmesser in Bogensekunden"},      // 80
    {7, 6, 3, 4, 2, 1, "Topocentric half diameter of the moon in minutes and seconds of a degree",
     "Topozentrischer Halbmesser des Mondes in Bogenminuten und -sekunden"},  // 81
    {7, 6, 2, 4, 2, 0, "Large diameter of Saturns ring in seconds of a degree",
     "Großer Durchmesser des Saturnringes in Bogensekunden"},  // 82
    {7, 6, 2, 4, 2, 0, "Small diameter of Saturns ring in seconds of a degree",
     "Kleiner Durchmesser des Saturnringes in Bogensekunden"},    // 83
    {2, 5, 3, 3, 1, 0, "Colongitude", "Co-Länge (Colongitude)"},  // 84
    {2, 5, 3, 3, 1, 0, "Latitude of the subsolar point on the Moon",
     "Breite des subsolaren Punktes auf dem Mond"},                                                     // 85
    {4, 13, 3, 5, 2, 0, "Age of the Moon (in day)", "Mondalter (in Tagen)"},                            // 86
    {7, 5, 3, 4, 1, 1, "Horizon parallax (Sun and Moon)", "Horizontalparallaxe"},                       // 87
    {7, 5, 3, 4, 1, 1, "Parallax at geocentric altitude (Moon)", "Parallaxe zur geozentrischen Höhe"},  // 88
    {5, 13, 3, 2, 2, 1, "Equitation of time (mm:ss)", "Zeitgleichung (mm:ss)"},                         // 89
    {9, 13, 3, 0, 0, 0, "Carrington rotation number of the Sun", "Rotationsnummer nach Carrington"},    // 90
    {2, 10, 10, 10, 5, 1, "Velocity in longitude", "Geschwndigkeitsvektor in Länge"},                   // 91
    {2, 10, 10, 10, 5, 1, "Velocity in latitude", "Geschwindigkeitsvektor in Breite"},                  // 92
    {4, 10, 10, 10, 5, 0, "Velocity in AU", "Betrag des Geschwindigkeitsvektors"},                      // 93
    {3, 10, 10, 7, 4, 3, "Velocity in RA", "Geschwindigkeitsvektor in Rektaszension"},                  // 94
    {2, 10, 10, 7, 4, 1, "Velocity in Dec", "Geschwindigkeitsvektor in Deklination"},                   // 95
    {3, 10, 10, 8, 5, 3, "RA (heliocentric)", "Rektaszension (heliozentrisch)"},                        // 96
    {2, 10, 10, 7, 4, 1, "Dec (heliocentric)", "Deklination (heliozentrisch)"},                         // 97
    {4, 10, 4, 10, 8, 0, "x component of the statevector", "Statusvektor: Ortskomponente x"},           // 98
    {4, 10, 4, 10, 8, 0, "y component of the statevector", "Statusvektor: Ortskomponente y"},           // 99
    {4, 10, 4, 10, 8, 0, "z component of the statevector", "Statusvektor: Ortskomponente z"},           // 100
    {4, 10, 4, 10, 8, 0, "x velocity component of the statevector",
     "Statusvektor: Geschwindigkeitskomponente x"},  // 101
    {4, 10, 4, 10, 8, 0, "y velocity component of the statevector",
     "Statusvektor: Geschwindigkeitskomponente y"},  // 102
    {4, 10, 4, 10, 8, 0, "z velocity component of the statevector",
     "Statusvektor: Geschwindigkeitskomponente z"},        // 103
    {4, 10, 10, 6, 3, 0, "1/Mass", "Kehrwert der Masse"},  // 104
    {4, 10, 4, 10, 8, 0, "x velocity component of the statevector * k",
     "Statusvektor: Geschwindigkeitskomponente x * k"},  // 105
    {4, 10, 4, 10, 8, 0, "y velocity component of the statevector * k",
     "Statusvektor: Geschwindigkeitskomponente y * k"},  // 106
    {4, 10, 4, 10, 8, 0, "z velocity component of the statevector * k",
     "Statusvektor: Geschwindigkeitskomponente z * k"},  // 107
    {4, 10, 4, 5, 3, 0, "Geocentric ecliptical  x coordinate in km for the moon",
     "Geozentrisch ekliptikale x-Komponente des Ortsvektors für den Mond in km"},  // 108
    {4, 10, 4, 5, 3, 0, "Geocentric ecliptical  y coordinate in km for the moon",
     "Geozentrisch ekliptikale y-Komponente des Ortsvektors für den Mond in km"},  // 109
    {4, 13, 4, 5, 3, 0, "Geocentric ecliptical  z coordinate in km for the moon",
     "Geozentrisch ekliptikale z-Komponente des Ortsvektors für den Mond in km"},  // 110
    {4, 10, 4, 5, 3, 0, "Geocentric ecliptical  x coordinate J2000 in km for the moon",
     "Geozentrisch ekliptikale x-Komponente des Ortsvektors J2000 für den Mond in km"},  // 111
    {4, 10, 4, 5, 3, 0, "Geocentric ecliptical  y coordinate J2000 in km for the moon",
     "Geozentrisch ekliptikale y-Komponente des Ortsvektors J2000 für den Mond in km"},  // 112
    {4, 10, 4, 5, 3, 0, "Geocentric ecliptical  z coordinate J2000 in km for the moon",
     "Geozentrisch ekliptikale z-Komponente des Ortsvektors J2000 für den Mond in km"},  // 113
    {4, 11, 4, 10, 8, 0, "Geocentric equatorial x coordinate for the sun",
     "Geozentrisch-equatoriale x-Koordinaten für die Sonne"},  // 114
    {4, 11, 4, 10, 8, 0, "Geocentric equatorial y coordinate for the sun",
     "Geozentrisch-equatoriale y-Koordinaten für die Sonne"},  // 115
    {4, 11, 4, 10, 8, 0, "Geocentric equatorial z coordinate for the sun",
     "Geozentrisch-equatoriale z-Koordinaten für die Sonne"},  // 116
    {4, 11, 4, 10, 8, 0, "Heliocentric ecliptical  x coordinate",
     "Heliozentrisch ekliptikale x-Komponente des Ortsvektors"},  // 117
    {4, 11, 4, 10, 8, 0, "Heliocentric ecliptical  y coordinate",
     "Heliozentrisch ekliptikale y-Komponente des Ortsvektors"},  // 118
    {4, 11, 4, 10, 8, 0, "Heliocentric ecliptical  z coordinate",
     "Heliozentrisch ekliptikale z-Komponente des Ortsvektors"},  // 119
    {4, 10, 4, 10, 8, 0, "Heliocentric ecliptical  vx coordinate (velocity)",
     "Heliozentrisch ekliptikale x-Komponente des Geschwindigkeitsvektors"},  // 120
    {4, 10, 4, 10, 8, 0, "Heliocentric ecliptical  vy coordinate (velocity)",
     "Heliozentrisch ekliptikale y-Komponente des Geschwindigkeitsvektors"},  // 121
    {4, 10, 4, 10, 8, 0, "Heliocentric ecliptical  vz coordinate (velocity)",
     "Heliozentrisch ekliptikale z-Komponente des Geschwindigkeitsvektors"},  // 122
    {4, 10, 4, 10, 8, 0, "Heliocentric equatorial  x coordinate",
     "Heliozentrisch äquatoriale x-Komponente des Ortsvektors"},  // 123
    {4, 10, 4, 10, 8, 0, "Heliocentric equatorial  y coordinate",
     "Heliozentrisch äquatoriale y-Komponente des Ortsvektors"},  // 124
    {4, 10, 4, 10, 8, 0, "Heliocentric equatorial  z coordinate",
     "Heliozentrisch äquatoriale z-Komponente des Ortsvektors"},  // 125
    {4, 10, 4, 10, 8, 0, "Heliocentric equatorial  vx coordinate (velocity)",
     "Heliozentrisch äquatoriale x-Komponente des Geschwindigkeitsvektors"},  // 126
    {4, 10, 4, 10, 8, 0, "Heliocentric equatorial  vy coordinate (velocity)",
     "Heliozentrisch äquatoriale y-Komponente des Geschwindigkeitsvektors"},  // 127
    {4, 10, 4, 10, 8, 0, "Heliocentric equatorial  vz coordinate (velocity)",
     "Heliozentrisch äquatoriale z-Komponente des Geschwindigkeitsvektors"},  // 128
    {4, 10, 4, 10, 8, 0, "Heliocentric equatorial  x coordinate (equinox of orb. elements)",
     "Heliozentrisch äquatoriale x-Komponente des Ortsvektors (im Äquinoktium der Bahnelemente)"},  // 129
    {4, 10, 4, 10, 8, 0, "Heliocentric equatorial  y coordinate (equinox of orb. elements)",
     "Heliozentrisch äquatoriale y-Komponente des Ortsvektors (im Äquinoktium der Bahnelemente)"},  // 130
    {4, 10, 4, 10, 8, 0, "Heliocentric equatorial  z coordinate (equinox of orb. elements)",
     "Heliozentrisch äquatoriale z-Komponente des Ortsvektors (im Äquinoktium der Bahnelemente)"},  // 131
    {4, 10, 4, 10, 8, 0, "Heliocentric equatorial  vx coordinate (equinox of orb. elements)",
     "Heliozentrisch äquatoriale x-Komponente des Geschwindigkeitsvektors (im Äquinoktium der Bahnelemente)"},  // 132
    {4, 10, 4, 10, 8, 0, "Heliocentric equatorial  vy coordinate (equinox of orb. elements)",
     "Heliozentrisch äquatoriale y-Komponente des Geschwindigkeitsvektors (im Äquinoktium der Bahnelemente)"},  // 133
    {4, 10, 4, 10, 8, 0, "Heliocentric equatorial  vz coordinate (equinox of orb. elements)",
     "Heliozentrisch äquatoriale z-Komponente des Geschwindigkeitsvektors (im Äquinoktium der Bahnelemente)"},   // 134
    {4, 13, 5, 10, 8, 0, "Semimajor axis", "Große Halbachse in AE"},                                             // 135
    {4, 13, 5, 10, 8, 0, "Distance of perihelion", "Periheldistanz in AE"},                                      // 136
    {4, 13, 5, 10, 8, 0, "Eccentricity of orbit", "Numerische Exzentrizität"},                                   // 137
    {2, 13, 5, 8, 5, 1, "Inclincation between ecliptic and orbit", "Neigung der Bahnebene gegen die Ekliptik"},  // 138
    {4, 13, 5, 8, 5, 0, "Longitude of acsending node", "Länge des aufsteigenden Knotens"},                       // 139
    {4, 13, 5, 8, 5, 0, "Perihelion", "Argument des Perihels"},                                                  // 140
    {4, 13, 5, 8, 5, 0, "Longitude of perihelion", "Perihellänge (Perihel+Knoten)"},                             // 141
    {4, 13, 5, 9, 6, 0, "Mean anomaly", "Mittlere Anomalie"},                                                    // 142
    {4, 13, 5, 10, 8, 0, "Mean motion", "Mittlere tägliche Bewegung"},                                           // 143
    {4, 13, 5, 8, 5, 0, "Julian date of perihelion passage", "Perihelzeit (als Julianisches Datum)"},            // 144
    {0, 13, 5, 0, 0, 1, "Date of perihelion passage", "Datum der Perihelzeit"},                                  // 145
    {1, 9, 5, 4, 2, 1, "UT of perihelion passage", "UT der Perihelzeit"},                                        // 146
    {4, 13, 5, 3, 0, 0, "Equinox (year)", "Äquinoktium der Bahnlageelemente"},                                   // 147
    {4, 8, 5, 8, 5, 0, "Julian Date of equinox", "Äquinoktium der Bahnlageelemente (als Julianisches Datum)"},   // 148
    {2, 2, 10, 7, 4, 1, "Galactical longitude", "Galaktische Länge"},                                            // 149
    {2, 3, 10, 7, 4, 1, "Galactical latitude", "Galaktische Breite"},                                            // 150
    {2, 5, 7, 4, 1, 0, "Position angle", "Positionswinkel"},                                                     // 151
    {9, 13, 11, 4, 2, 0, "Begin/end of occultation", "Ein/Austritt eines Sterns"},                               // 152
    {4, 13, 7, 4, 1, 0, "Correction a (for occultations)", "Korrekturwert a (für Sternbedeckungen)"},            // 153
    {4, 13, 7, 4, 1, 0, "Correction b (for occultations)", "Korrekturwert (b für Sternbedeckungen)"},            // 154
    {9, 13, 11, 0, 0, 0, "Star", "Stern"},                                                                       // 155
    {1, 13, 7, 4, 2, 0, "Begin of occultation", "Eintrittszeit eines Sternes (Sternbedeckungen)"},               // 156
    {1, 13, 7, 4, 2, 0, "End of occultation", "Austrittszeit eines Sterns (Sternbedeckungen)"},                  // 157
    {2, 3, 7, 3, 1, 0, "Altitude of the sun", "Sonnenhöhe"},                                                     // 158
    {1, 13, 10, 5, 2, 1, "Geocentric minimum or maximum time",
     "Geozentrischer Zeitunkt des Minimums bzw. Maximums"},                                                // 159
    {9, 13, 11, 0, 0, 0, "Eclipsed Planet", "Vom Mond bedeckter Planet"},                                  // 160
    {9, 13, 11, 0, 0, 0, "Object", "Objekt"},                                                              // 161
    {9, 13, 11, 0, 0, 0, "Event", "Ereignis (z. B. Extremum)"},                                            // 162
    {9, 13, 11, 0, 0, 0, "Season", "Jahreszeit"},                                                          // 163
    {4, 13, 5, 7, 5, 0, "Epoch of osculating orbital elements", "Epoche der oskulierenden Bahnelemente"},  // 164
    {4, 13, 5, 3, 1, 0, "Parameter for magnitude", "Helligkeitsparameter"},                                // 165
    {4, 13, 5, 3, 1, 0, "2nd parameter for magnitude", "2. Helligkeitsparameter"},                         // 166
    {7, 13, 10, 4, 0, 1, "Distance between two objects in seconds of degrees",
     "Distanz in Bogensekunden zwischen den Objekten"},                                                       // 167
    {2, 5, 10, 4, 1, 1, "Distance (°) between two objects", "Winkelabstand zwischen den Objekten"},           // 168
    {4, 10, 5, 10, 8, 0, "Gauss vector component P x", "Gaussvektorkomponente P x"},                          // 169
    {4, 10, 5, 10, 8, 0, "Gauss vector component P y", "Gaussvektorkomponente P y"},                          // 170
    {4, 10, 5, 10, 8, 0, "Gauss vector component P z", "Gaussvektorkomponente P z"},                          // 171
    {4, 10, 5, 10, 8, 0, "Gauss vector component Q x", "Gaussvektorkomponente Q x"},                          // 172
    {4, 10, 5, 10, 8, 0, "Gauss vector component Q y", "Gaussvektorkomponente Q y"},                          // 173
    {4, 10, 5, 10, 8, 0, "Gauss vector component Q z", "Gaussvektorkomponente Q z"},                          // 174
    {4, 11, 0, 5, 3, 0, "Distance of the moon in km", "Mondentfernung in km"},                                // 175
    {9, 13, 11, 0, 0, 0, "Phenomena of Jupiters/Saturns moons", "Jupiter- bzw. Saturnmond-Erscheinung"},      // 176
    {2, 2, 7, 6, 4, 1, "Geographic latitude", "Geographische Breite"},                                        // 177
    {2, 3, 7, 6, 4, 1, "Geographic longitude", "Geographische Länge"},                                        // 178
    {5, 9, 7, 4, 1, 1, "Duration", "Dauer"},                                                                  // 179
    {4, 5, 7, 6, 4, 0, "Phase of the eclipse", "Phase der Finsternis"},                                       // 180
    {4, 7, 7, 6, 4, 0, "Magnitude of the eclipse", "Größe der Finsternis"},                                   // 181
    {2, 5, 7, 4, 1, 0, "Position angle to the zenith", "Positionwinkel, bezogen auf die Zenitrichtung"},      // 182
    {4, 10, 4, 8, 4, 0, "Rectangular coordiantes of moons", "Rechtwinklige Koordinaten von Planetenmonden"},  // 183
    {4, 11, 8, 3, 0, 1, "Distance in km", "Entfernung in km"},                                                // 184
    {2, 5, 8, 4, 1, 0, "Latitude", "Breite"},                                                                 // 185
    {2, 5, 8, 4, 1, 0, "Longitude", "Länge"},                                                                 // 186
    {4, 11, 8, 3, 0, 0, "Altitude (km)", "Höhe (km)"},                                                        // 187
    {2, 13, 10, 3, 0, 0, "Planetocentric longitude", "Planetozentrische Länge"},                              // 188
    {2, 13, 10, 3, 0, 0, "Planetocentric latitude", "Planetozentrische Breite"},                              // 189
    {1, 9, 6, 5, 4, 1, "Sideral Time", "Sternzeit"},                                                          // 190
    {1, 9, 6, 5, 4, 1, "Greenwich Sidereal Time", "Greenwich-Sternzeit"},                                     // 191
    {2, 2, 6, 8, 8, 1, "Geocentric Longitude of Aries (0°)", "Geozentr. Länge des Frühlingspunktes"},         // 192
    {2, 5, 9, 3, 1, 0, "Difference of geocentric azimuths of sun and moon",
     "Differenz zwischen den geozentrischen Azimuts von Sonne und Mond"},  // 193
    {2, 5, 9, 3, 1, 0, "Arc of light", "\"Lichtbogen\""},                  // 194
    {2, 5, 9, 3, 1, 0, "Difference of geocentric altitudes of sun and moon",
     "Differenz der geozentrischen Höhen von Sonne und Mond"},  // 195
    {2, 5, 9, 3, 1, 0, "Difference of Altitudes from upper limb of sun  to lower limb of moon",
     "Differenz der Höhen von oberem Sonnen- unterem Mondrand"},                                                 // 196
    {1, 9, 6, 4, 2, 1, "Time of darkness (altitude moon<0, sun<-18", "Dunkele Nacht (Höhe Mond<0, Sonne<-18)"},  // 197
    {1, 9, 6, 4, 2, 1, "Darkness (sum of dark times in the morning and the evening)",
     "Dunkelheit insgesamt (morgens und abends)"},                       // 198
    {4, 12, 10, 12, 7, 0, "Numer. Integr.", "Numerische Integration"},   // 199
    {9, 13, 11, 0, 0, 1, "Kind of Conjunction", "Art der Konjunktion"},  // 200
};

constexpr std::array<TDataFormatSlot, kFormatSlotCount> AllSlots() {
  constexpr TDataFormatSlot kFree{9, 13, 11, 0, 0, 0, kFreeSlotDescription, kFreeSlotDescription};
  std::array<TDataFormatSlot, kFormatSlotCount> slots{};
  for (int i = 0; i < kFormatSlotCount; ++i) slots[i] = i < kUsedFormatSlotCount ? kUsedSlots[i] : kFree;
  return slots;
}

}  // namespace

const std::array<TDataFormatSlot, kFormatSlotCount> DataFormatSlots = AllSlots();

bool FreeFormatSlot(std::size_t slot) { return slot >= static_cast<std::size_t>(kUsedFormatSlotCount); }

}  // namespace kvx
