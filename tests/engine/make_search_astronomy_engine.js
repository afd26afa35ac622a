// Writes fixtures/search_astronomy_engine.tsv: event times from Astronomy
// Engine for the search object, test side only. Run with
//   NODE_PATH=<folder with astronomy-engine installed> node make_search_astronomy_engine.js
// (npm install astronomy-engine into a scratch folder).
//
// The first event of each kind after 2024 Jan 1: oppositions and
// conjunctions of Mars to Neptune and the inferior and superior
// conjunctions of Mercury and Venus (SearchRelativeLongitude), the
// greatest elongations of Mercury and Venus (SearchMaxElongation, evening
// east, morning west), perihelia and aphelia of Mercury and Mars
// (SearchPlanetApsis), the Moon's perigee, apogee and node passage
// (SearchLunarApsis, SearchMoonNode). Columns: name, the search's quantity
// code and body kind, the JD of TT of the event.
'use strict';
const fs = require('fs');
const path = require('path');
const A = require('astronomy-engine');

const start = A.MakeTime(new Date(Date.UTC(2024, 0, 1)));
const rows = [];
function add(name, code, kind, time) {
  rows.push([name, code, kind, (2451545.0 + time.tt).toFixed(7)].join('\t'));
}

const kinds = { Mercury: 1, Venus: 2, Mars: 3, Jupiter: 4, Saturn: 5, Uranus: 6, Neptune: 7 };
for (const body of ['Mars', 'Jupiter', 'Saturn', 'Uranus', 'Neptune']) {
  add(body + '_opposition', 6, kinds[body], A.SearchRelativeLongitude(body, 0, start));
  add(body + '_conjunction', 7, kinds[body], A.SearchRelativeLongitude(body, 180, start));
}
for (const body of ['Mercury', 'Venus']) {
  add(body + '_inferior_conjunction', 12, kinds[body], A.SearchRelativeLongitude(body, 0, start));
  add(body + '_superior_conjunction', 13, kinds[body], A.SearchRelativeLongitude(body, 180, start));
  let t = start;
  const seen = {};
  while (!seen.evening || !seen.morning) {
    const e = A.SearchMaxElongation(body, t);
    if (!seen[e.visibility]) {
      seen[e.visibility] = true;
      add(body + '_greatest_elongation_' + (e.visibility === 'evening' ? 'east' : 'west'),
          e.visibility === 'evening' ? 8 : 9, kinds[body], e.time);
    }
    t = e.time.AddDays(1);
  }
}
for (const body of ['Mercury', 'Mars']) {
  let a = A.SearchPlanetApsis(body, start);
  for (let i = 0; i < 2; ++i) {
    add(body + (a.kind === A.ApsisKind.Pericenter ? '_perihelion' : '_aphelion'),
        a.kind === A.ApsisKind.Pericenter ? 0 : 1, kinds[body], a.time);
    a = A.NextPlanetApsis(body, a);
  }
}
let lunar = A.SearchLunarApsis(start);
for (let i = 0; i < 2; ++i) {
  add(lunar.kind === A.ApsisKind.Pericenter ? 'Moon_perigee' : 'Moon_apogee',
      lunar.kind === A.ApsisKind.Pericenter ? 2 : 3, 9, lunar.time);
  lunar = A.NextLunarApsis(lunar);
}
add('Moon_node', 15, 9, A.SearchMoonNode(start).time);

const out = path.join(__dirname, 'fixtures', 'search_astronomy_engine.tsv');
fs.writeFileSync(out, 'name\tcode\tkind\tjd_tt\n' + rows.join('\n') + '\n');
console.log('wrote ' + out + ' (' + rows.length + ' events)');
