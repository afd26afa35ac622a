// Writes fixtures/almanac_astronomy_engine.tsv from Astronomy Engine, test
// side only. Run once with
//   NODE_PATH=<folder with astronomy-engine installed> node make_almanac_astronomy_engine.js
// (npm install astronomy-engine into a scratch folder).
//
// Rows:
//   elongation  every greatest elongation of Mercury and Venus from
//               2024 Jan 1 to 2026 Jan 1 (SearchMaxElongation): code 8
//               east (evening) or 9 west (morning), body 1 or 2, the JD of
//               TT, the elongation in degrees.
//   quarter     a Moon quarter that a two-day window from 0h UT reaches
//               although the Moon starts at least 28 degrees short of it
//               (the largest shortfall from 2024 to 2030): code the phase
//               (1 first, 3 last quarter), body 9, the quarter's JD of TT,
//               the shortfall in degrees at the start, and the start's JD
//               of UT.
'use strict';
const fs = require('fs');
const path = require('path');
const A = require('astronomy-engine');

const rows = ['name\tcode\tbody\tjd_tt\tvalue\tstart_jd_ut'];
const jd = (time) => 2451545.0 + time.tt;

const start = A.MakeTime(new Date(Date.UTC(2024, 0, 1)));
const end = A.MakeTime(new Date(Date.UTC(2026, 0, 1)));
for (const [body, code] of [['Mercury', 1], ['Venus', 2]]) {
  let t = start;
  for (;;) {
    const e = A.SearchMaxElongation(body, t);
    if (e.time.tt > end.tt) break;
    const kind = e.visibility === 'evening' ? 8 : 9;
    rows.push(['elongation', kind, code, jd(e.time).toFixed(7), e.elongation.toFixed(5), 0].join('\t'));
    t = e.time.AddDays(1);
  }
}

// Quarters of 2024..2030: the start is the first 0h UT at most two days
// before the quarter; the shortfall is the quarter's angle less the Moon's
// elongation in ecliptic longitude (MoonPhase) at the start.
let best = null;
let q = A.SearchMoonQuarter(start);
const last = A.MakeTime(new Date(Date.UTC(2031, 0, 1)));
while (q.time.tt < last.tt) {
  if (q.quarter === 1 || q.quarter === 3) {
    const startUt = Math.ceil(q.time.ut - 2.0 - 0.5) + 0.5;  // days since J2000 UT, at 0h
    const s = A.MakeTime(startUt);
    let shortfall = 90 * q.quarter - A.MoonPhase(s);
    if (shortfall < -180) shortfall += 360;
    if (!best || shortfall > best.shortfall) best = { q, startUt, shortfall };
  }
  q = A.NextMoonQuarter(q);
}
rows.push(['quarter', best.q.quarter, 9, jd(best.q.time).toFixed(7), best.shortfall.toFixed(5),
  (2451545.0 + best.startUt).toFixed(5)].join('\t'));

const out = path.join(__dirname, 'fixtures', 'almanac_astronomy_engine.tsv');
fs.writeFileSync(out, rows.join('\n') + '\n');
console.log('wrote ' + out + ' (' + (rows.length - 1) + ' rows)');
