// The yardstick of bench_events' PlanetYearEveryKind: the time Astronomy
// Engine takes for the events of one year (2024) of the planets Mercury to
// Pluto that it can search: oppositions and conjunctions
// (SearchRelativeLongitude; Mercury and Venus inferior and superior),
// perihelia and aphelia (SearchPlanetApsis) and the greatest elongations of
// Mercury and Venus (SearchMaxElongation). Run with
//   NODE_PATH=<folder with astronomy-engine installed> node events_astronomy_engine_timing.js
// (npm install astronomy-engine into a scratch folder); it prints the
// events found and the best of five runs in milliseconds.
'use strict';
const A = require('astronomy-engine');

const start = A.MakeTime(new Date(Date.UTC(2024, 0, 1)));
const end = A.MakeTime(new Date(Date.UTC(2025, 0, 1)));
const planets = ['Mercury', 'Venus', 'Mars', 'Jupiter', 'Saturn', 'Uranus', 'Neptune', 'Pluto'];

function year() {
  let events = 0;
  for (const body of planets) {
    for (const target of [0, 180]) {
      let t = start;
      for (;;) {
        const found = A.SearchRelativeLongitude(body, target, t);
        if (found.tt > end.tt) break;
        ++events;
        t = found.AddDays(1);
      }
    }
    let apsis = A.SearchPlanetApsis(body, start);
    while (apsis.time.tt <= end.tt) {
      ++events;
      apsis = A.NextPlanetApsis(body, apsis);
    }
    if (body === 'Mercury' || body === 'Venus') {
      let t = start;
      for (;;) {
        const e = A.SearchMaxElongation(body, t);
        if (e.time.tt > end.tt) break;
        ++events;
        t = e.time.AddDays(1);
      }
    }
  }
  return events;
}

let best = Infinity, events = 0;
for (let run = 0; run < 5; ++run) {
  const t0 = process.hrtime.bigint();
  events = year();
  best = Math.min(best, Number(process.hrtime.bigint() - t0) / 1e6);
}
console.log(`events ${events}, best of five ${best.toFixed(1)} ms`);
