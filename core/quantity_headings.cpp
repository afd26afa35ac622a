#include "core/quantity_headings.h"

namespace kvx {

// German and English default heading per format slot.
const std::array<TQuantityHeading, kQuantityCount> QuantityHeadings = {{
    {"Datum", "Date"},                                     // 0
    {"Uhrzeit", "Time"},                                   // 1
    {"UT", "UT"},                                          // 2
    {"JD", "JD"},                                          // 3
    {"JED", "JED"},                                        // 4
    {"JED Äquinoktium", "JED equinox"},                    // 5
    {"M. An.", "M. An."},                                  // 6
    {"l", "l"},                                            // 7
    {"b", "lat"},                                          // 8
    {"r (AE)", "r (AU)"},                                  // 9
    {"r Mio. km", "r Mill. km"},                           // 10
    {"Lg", "Long"},                                        // 11
    {"Br", "Lat"},                                         // 12
    {"Rd (AE)", "Rd (AU)"},                                // 13
    {"Rd Mio. km", "Rd Mill. km"},                         // 14
    {"Erdrad.", "Rd Moon"},                                // 15
    {"RA", "RA"},                                          // 16
    {"DK", "Dec"},                                         // 17
    {"RA \"/h", "RA \"/h"},                                // 18
    {"DK \"/h", "Dec \"/h"},                               // 19
    {"\"/h", "\"/h"},                                      // 20
    {"Posw.", "Pos."},                                     // 21
    {"Lichtz.", "Light time"},                             // 22
    {"RA Topoz.", "RA topoc."},                            // 23
    {"DK Topoz.", "Dec topoc."},                           // 24
    {"RD Topo. AE", "RD topoc. AU"},                       // 25
    {"Astr.RATop.", "Astrom. RA top."},                    // 26
    {"Astr.DKtop.", "Astr. Dec top."},                     // 27
    {"RD Top. Mio. km", "RD topoc. Mill. km"},             // 28
    {"Erdr. Topoz.", "Earth radii topoc."},                // 29
    {"Aufgang", "Rise"},                                   // 30
    {"Kulm.", "Transit"},                                  // 31
    {"Unterg.", "Set"},                                    // 32
    {"Kulm.-h", "Trans.-Alt."},                            // 33
    {"Az Aufg.", "Az Rise"},                               // 34
    {"Az Unterg.", "Az Set"},                              // 35
    {"Tagebogen", "Above horizon"},                        // 36
    {"Bürg. Anf.", "Civil Begin"},                         // 37
    {"Bürg. Ende", "Civil End"},                           // 38
    {"Naut. Anf.", "Naut. Begin"},                         // 39
    {"Naut. Ende", "Naut. End"},                           // 40
    {"Astr. Anf.", "Astr. Begin"},                         // 41
    {"Astr. Ende", "Ast. End"},                            // 42
    {"Dunkel bürg.", "Dark civil"},                        // 43
    {"Dunkel naut.", "Dark naut."},                        // 44
    {"Dunkel astr.", "Dark astr."},                        // 45
    {"Az", "Az"},                                          // 46
    {"h", "Alt."},                                         // 47
    {"Stdw.", "Hour angle"},                               // 48
    {"Az geo.", "Az geo."},                                // 49
    {"h geo.", "Alt. geo."},                               // 50
    {"Stdw. geo.", "Hour angle geo."},                     // 51
    {"Elong.", "Elong."},                                  // 52
    {"Topoz. Elong.", "Topoc. Elong."},                    // 53
    {"Belw.", "P Br.Lmb"},                                 // 54
    {"Belw. top.", "P Br.Lmb. top."},                      // 55
    {"LS-Lg", "LS-Lambda"},                                // 56
    {"LS-Lg topoz.", "LS-Lambda topoc."},                  // 57
    {"i", "i"},                                            // 58
    {"i topoz.", "i topoc."},                              // 59
    {"k", "k"},                                            // 60
    {"k topo.", "k topoc."},                               // 61
    {"mag", "mag"},                                        // 62
    {"P", "P"},                                            // 63
    {"B", "B"},                                            // 64
    {"Br E.", "Lat. E."},                                  // 65
    {"Z", "Centr."},                                       // 66
    {"Ptop.", "P top."},                                   // 67
    {"Btop.", "B top."},                                   // 68
    {"Ztop.", "Centr. top."},                              // 69
    {"Sys. II", "Sys. II"},                                // 70
    {"Sys. III", "Sys. III"},                              // 71
    {"PwSo", "P Sun"},                                     // 72
    {"DK Sonne", "Dec Sun"},                               // 73
    {"Br Sonne", "Lat Sun"},                               // 74
    {"Z Sonne", "Centr. Sun"},                             // 75
    {"Sy. II So.", "Sy. II Sun"},                          // 76
    {"Sy. III So.", "Sy. III Sun"},                        // 77
    {"q", "q"},                                            // 78
    {"D (H)", "D/SD"},                                     // 79
    {"Pol", "Pole"},                                       // 80
    {"H (top.)", "SD top."},                               // 81
    {"Ring Äqu.", "Ring aequ."},                           // 82
    {"Ring Pol", "Ring Pole"},                             // 83
    {"Colong.", "Colong."},                                // 84
    {"Br. So", "Lat. Sun"},                                // 85
    {"Alter", "Age"},                                      // 86
    {"Hor.-Parall.", "Hor. Parall."},                      // 87
    {"Parall.", "Parall."},                                // 88
    {"Zeitgl.", "Equ. of Time"},                           // 89
    {"Rot.-Nr.", "Rot.-No."},                              // 90
    {"vl", "vl"},                                          // 91
    {"vb", "vb"},                                          // 92
    {"vr", "vr"},                                          // 93
    {"vRA", "vRA"},                                        // 94
    {"vDK", "vDec"},                                       // 95
    {"RA (hel.)", "RA (hel.)"},                            // 96
    {"DK (hel.)", "Dec (hel.)"},                           // 97
    {"x", "x"},                                            // 98
    {"y", "y"},                                            // 99
    {"z", "z"},                                            // 100
    {"vx", "vx"},                                          // 101
    {"vy", "vy"},                                          // 102
    {"vz", "vz"},                                          // 103
    {"1/m", "1/m"},                                        // 104
    {"vx*k", "vx*k"},                                      // 105
    {"vy*k", "vy*k"},                                      // 106
    {"vz*k", "vz*k"},                                      // 107
    {"x geoz. (km)", "x geoc. (km)"},                      // 108
    {"y geoz. (km)", "y geoc. (km)"},                      // 109
    {"z geoz. (km)", "z geoc. (km)"},                      // 110
    {"x geoz.2000(km)", "x geoc.2000(km)"},                // 111
    {"y geoz.2000(km)", "y geoc.2000(km)"},                // 112
    {"z geoz.2000(km)", "z geoc.2000(km)"},                // 113
    {"x J2000", "x J2000"},                                // 114
    {"y J2000", "y J2000"},                                // 115
    {"z J2000", "z J2000"},                                // 116
    {"x hel. ekl.", "x hel. ecl."},                        // 117
    {"y hel. ekl.", "y hel. ecl."},                        // 118
    {"z hel. ekl.", "z hel. ecl."},                        // 119
    {"vx hel. ekl.", "vx hel. ecl."},                      // 120
    {"vy hel. ekl.", "vy hel. ecl."},                      // 121
    {"vz hel. ekl.", "vz hel. ecl."},                      // 122
    {"x hel. äqu.", "x hel. equ."},                        // 123
    {"y hel. äqu.", "y hel. equ."},                        // 124
    {"z hel. äqu.", "z hel. equ."},                        // 125
    {"vx hel. äqu.", "vx hel. equ."},                      // 126
    {"vy hel. äqu.", "vy hel. equ."},                      // 127
    {"vz hel. äqu.", "vz hel. equ."},                      // 128
    {"x (Elem.)", "x (elem.)"},                            // 129
    {"y (Elem.)", "y (elem.)"},                            // 130
    {"z (Elem.)", "z (elem.)"},                            // 131
    {"vx (Elem.)", "vx (elem.)"},                          // 132
    {"vy (Elem.)", "vy (elem.)"},                          // 133
    {"vz (Elem.)", "vz (elem.)"},                          // 134
    {"a", "a"},                                            // 135
    {"q", "q"},                                            // 136
    {"e", "e"},                                            // 137
    {"i", "i"},                                            // 138
    {"kn", "kn"},                                          // 139
    {"per", "per"},                                        // 140
    {"Lg. per", "Lg. per"},                                // 141
    {"M", "M"},                                            // 142
    {"n", "n"},                                            // 143
    {"JD Per.", "JD Perih."},                              // 144
    {"Datum Per.", "Date perih."},                         // 145
    {"UT Per.", "UT perih."},                              // 146
    {"Aequin.", "Equinox"},                                // 147
    {"JD Aequin", "JD equinox"},                           // 148
    {"Galaktische Lg", "Galactic long."},                  // 149
    {"Galaktische Br", "Galactic lat."},                   // 150
    {"Pos", "Position Angle"},                             // 151
    {"E/A", "B/E"},                                        // 152
    {"a min", "a min"},                                    // 153
    {"b min", "b min"},                                    // 154
    {"Stern", "Star"},                                     // 155
    {"Eintritt", "Begin"},                                 // 156
    {"Austritt", "End"},                                   // 157
    {"Sonnenhöhe", "Alt. Sun"},                            // 158
    {"Geozentrische Zeit", "Geocentric time"},             // 159
    {"Planet", "Planet"},                                  // 160
    {"Objekt", "Object"},                                  // 161
    {"Ereignis", "Event"},                                 // 162
    {"Jahreszeit", "Season"},                              // 163
    {"Epoche", "Epoch"},                                   // 164
    {"H", "H"},                                            // 165
    {"P", "P"},                                            // 166
    {"Distanz ''", "Dist. ''"},                            // 167
    {"Distanz", "Distance"},                               // 168
    {"Px", "Px"},                                          // 169
    {"Py", "Py"},                                          // 170
    {"Pz", "Pz"},                                          // 171
    {"Qx", "Qx"},                                          // 172
    {"Qy", "Qy"},                                          // 173
    {"Qz", "Qz"},                                          // 174
    {"RD (km)", "RD (km)"},                                // 175
    {"Erscheinung", "Phenomenon"},                         // 176
    {"Geogr. Br.", "Geogr. lat."},                         // 177
    {"Geogr. Lg.", "Geogr. long."},                        // 178
    {"Dauer", "Duration"},                                 // 179
    {"Phase", "Phase"},                                    // 180
    {"Magn.", "Magn."},                                    // 181
    {"V", "V"},                                            // 182
    {"Planetenmonde (x,y,z)", "Planetary moons (x,y,z)"},  // 183
    {"Distanz in km", "Distance in km"},                   // 184
    {"Breite", "Latitude"},                                // 185
    {"Länge", "Longitude"},                                // 186
    {"Höhe (km)", "Altitude (km)"},                        // 187
    {"pl. l", "pl. l"},                                    // 188
    {"pl. b", "pl. b"},                                    // 189
    {"Sternzeit", "Sid. Time"},                            // 190
    {"Greenw. Sternz.", "Greenw. Sid. Time"},              // 191
    {"Geo. Lg. Frühlingspunkt", "Geoc. Lg. Aries"},        // 192
    {"DAZ", "DAZ"},                                        // 193
    {"ARCL", "ARCL"},                                      // 194
    {"ARCV", "ARCV"},                                      // 195
    {"DALT", "DALT"},                                      // 196
    {"Dunkelheit", "Darkness"},                            // 197
    {"Dunkel insgesamt", "Darkness (Sum)"},                // 198
    {"Num. Integr.", "Num. Integr."},                      // 199
    {"Art", "Kind"},                                       // 200
    {"Neu/New", "Neu/New"},                                // 201
    {"Neu/New", "Neu/New"},                                // 202
    {"Neu/New", "Neu/New"},                                // 203
    {"Neu/New", "Neu/New"},                                // 204
    {"Neu/New", "Neu/New"},                                // 205
    {"Neu/New", "Neu/New"},                                // 206
    {"Neu/New", "Neu/New"},                                // 207
    {"Neu/New", "Neu/New"},                                // 208
    {"Neu/New", "Neu/New"},                                // 209
    {"Neu/New", "Neu/New"},                                // 210
    {"Neu/New", "Neu/New"},                                // 211
    {"Neu/New", "Neu/New"},                                // 212
    {"Neu/New", "Neu/New"},                                // 213
    {"Neu/New", "Neu/New"},                                // 214
    {"Neu/New", "Neu/New"},                                // 215
    {"Neu/New", "Neu/New"},                                // 216
    {"Neu/New", "Neu/New"},                                // 217
    {"Neu/New", "Neu/New"},                                // 218
    {"Neu/New", "Neu/New"},                                // 219
    {"Neu/New", "Neu/New"},                                // 220
}};

void SetQuantityHeadingLanguage(bool english) {
  for (int slot = 0; slot < kQuantityCount; ++slot) {
    QuantityHeadingTable[slot] = english ? QuantityHeadings[slot].english : QuantityHeadings[slot].german;
  }
}

void TitlesFollowLanguage(TTableConfigRecord& record, bool english) {
  for (std::size_t slot = 0; slot < kColumnTitleCount; ++slot) {
    const TQuantityHeading& heading = QuantityHeadings[slot];
    if (record.ColumnTitles[slot] == (english ? heading.german : heading.english)) {
      record.ColumnTitles[slot] = english ? heading.english : heading.german;
    }
  }
}

}  // namespace kvx
