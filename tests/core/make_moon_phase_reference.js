// Writes reference instants of the principal lunar phases (2000-2030, by
// SearchMoonQuarter, which searches with SearchMoonPhase) and
// of the equinoxes and solstices (2000-2050) from Astronomy Engine, as the
// fixtures fixtures/moon_phases_astronomy_engine.tsv and
// ../theories/fixtures/seasons_astronomy_engine.tsv. Run with
//   NODE_PATH=<folder with astronomy-engine installed> node make_moon_phase_reference.js
// (npm install astronomy-engine into a scratch folder); the program never
// uses this library.
'use strict';
const fs = require('fs');
const path = require('path');
const Astronomy = require('astronomy-engine');

const jdTT = (time) => (2451545.0 + time.tt).toFixed(7);

let phases = '# Astronomy Engine SearchMoonPhase; jde: Julian Ephemeris Day (TT).\n';
phases += '# phase: 0 new moon, 1 first quarter, 2 full moon, 3 last quarter.\n';
phases += 'phase\tjde\n';
const start = Astronomy.MakeTime(new Date(Date.UTC(2000, 0, 1)));
const end = Astronomy.MakeTime(new Date(Date.UTC(2031, 0, 1)));
let quarter = Astronomy.SearchMoonQuarter(start);
while (quarter.time.tt < end.tt) {
  phases += `${quarter.quarter}\t${jdTT(quarter.time)}\n`;
  quarter = Astronomy.NextMoonQuarter(quarter);
}
fs.writeFileSync(path.join(__dirname, 'fixtures', 'moon_phases_astronomy_engine.tsv'), phases);

let seasons = '# Astronomy Engine Seasons; jde: Julian Ephemeris Day (TT).\n';
seasons += '# season: 0 March equinox, 1 June solstice, 2 September equinox, 3 December solstice.\n';
seasons += 'year\tseason\tjde\n';
for (let year = 2000; year <= 2050; ++year) {
  const s = Astronomy.Seasons(year);
  [s.mar_equinox, s.jun_solstice, s.sep_equinox, s.dec_solstice].forEach((t, i) => {
    seasons += `${year}\t${i}\t${jdTT(t)}\n`;
  });
}
fs.writeFileSync(path.join(__dirname, '..', 'theories', 'fixtures', 'seasons_astronomy_engine.tsv'), seasons);
