// Writes fixtures/darkness_astronomy_engine.tsv: the darkness of every night
// of 2024 at 50 N, 10 E (zone +1 h) from Astronomy Engine, test side only.
// Run with
//   NODE_PATH=<folder with astronomy-engine installed> node make_darkness_reference.js
// (npm install astronomy-engine into a scratch folder).
//
// Events of each local day [0 h, 24 h): dawn and dusk when the Sun's centre
// crosses -18 deg (SearchAltitude), moonrise and moonset of the upper limb
// (SearchRiseSet, standard refraction); the Moon's and the Sun's state at
// 0 h from their altitudes. Dark = Sun below -18 deg and Moon below the
// horizon, evaluated on every piece between the events. The dark windows
// are [0, dawn] and [dusk, 24) (or [dusk, dawn] when dusk comes first, or
// the whole day); a window keeps its longest dark part, a day with one
// window its two longest in time order; an evening part alone becomes the
// first interval. Times in local hours, -1 for none; the day ends at 23.9999.
'use strict';
const fs = require('fs');
const path = require('path');
const A = require('astronomy-engine');

const observer = new A.Observer(50.0, 10.0, 0);
const zone = 1;
const dayEnd = 23.9999;

function hoursAfter(t0, t) { return (t.ut - t0.ut) * 24; }

// Every crossing within the day (there may be two dusks near midnight).
function eventsInDay(t0, search) {
  const found = [];
  let from = t0;
  for (let k = 0; k < 3; ++k) {
    const t = search(from, 1 - hoursAfter(t0, from) / 24);
    if (!t) break;
    const h = hoursAfter(t0, t);
    if (!(h >= 0 && h < 24)) break;
    found.push(h);
    from = t.AddDays(0.01);
  }
  return found;
}

function sunAltitude(t) {
  const eq = A.Equator(A.Body.Sun, t, observer, true, true);
  return A.Horizon(t, observer, eq.ra, eq.dec, null).altitude;
}

function moonLimbAltitude(t) {
  const eq = A.Equator(A.Body.Moon, t, observer, true, true);
  const h = A.Horizon(t, observer, eq.ra, eq.dec, null).altitude;
  return h + Math.asin(1737.4 / (eq.dist * A.KM_PER_AU)) * 180 / Math.PI;
}

let out = '# Astronomy Engine ' + 'SearchAltitude (Sun at -18 deg) and SearchRiseSet (Moon); 50 N, 10 E, zone +1 h.\n';
out += '# Local hours of the day; -1: no such event or value.\n';
out += 'year\tmonth\tday\tdawn\tdusk\tmoonrise\tmoonset\tstart1\tend1\tstart2\tend2\ttotal\n';
for (let d = 0; d < 366; ++d) {
  const local = new Date(Date.UTC(2024, 0, 1 + d) - zone * 3600e3);
  const t0 = A.MakeTime(local);
  const dawns = eventsInDay(t0, (t, days) => A.SearchAltitude(A.Body.Sun, observer, +1, t, days, -18));
  const dusks = eventsInDay(t0, (t, days) => A.SearchAltitude(A.Body.Sun, observer, -1, t, days, -18));
  const rises = eventsInDay(t0, (t, days) => A.SearchRiseSet(A.Body.Moon, observer, +1, t, days));
  const sets = eventsInDay(t0, (t, days) => A.SearchRiseSet(A.Body.Moon, observer, -1, t, days));
  // The windows take the last dawn and dusk of the day.
  const last = (list) => (list.length ? list[list.length - 1] : -1);
  const dawn = last(dawns), dusk = last(dusks), rise = last(rises), set = last(sets);
  const sunDark0 = sunAltitude(t0) < -18;
  const moonDown0 = moonLimbAltitude(t0) < -34 / 60;

  // Pieces between the events, with the state of each piece.
  const events = [];
  for (const h of dawns.concat(dusks)) events.push([h, 'sun']);
  for (const h of rises.concat(sets)) events.push([h, 'moon']);
  events.sort((a, b) => a[0] - b[0]);
  let sunDark = sunDark0, moonDown = moonDown0, from = 0;
  const dark = [];
  const push = (a, b) => {
    if (b <= a) return;
    if (dark.length && Math.abs(dark[dark.length - 1][1] - a) < 1e-9) dark[dark.length - 1][1] = b;
    else dark.push([a, b]);
  };
  for (const [h, kind] of events) {
    if (sunDark && moonDown) push(from, h);
    if (kind === 'sun') sunDark = !sunDark; else moonDown = !moonDown;
    from = h;
  }
  if (sunDark && moonDown) push(from, dayEnd);

  // Windows and the parts kept.
  let windows;
  if (dawn < 0 && dusk < 0) windows = sunDark0 ? [[0, dayEnd]] : [];
  else if (dusk < 0) windows = [[0, dawn]];
  else if (dawn < 0) windows = [[dusk, dayEnd]];
  else if (dusk > dawn) windows = [[0, dawn], [dusk, dayEnd]];
  else windows = [[dusk, dawn]];
  const partsOf = (w) => dark.filter((p) => p[0] >= w[0] - 1e-9 && p[1] <= w[1] + 1e-9)
                             .sort((a, b) => (b[1] - b[0]) - (a[1] - a[0]));
  let kept = [null, null];
  if (windows.length === 2) {
    kept = windows.map((w) => partsOf(w)[0] || null);
  } else if (windows.length === 1) {
    const parts = partsOf(windows[0]).slice(0, 2).sort((a, b) => a[0] - b[0]);
    kept = [parts[0] || null, parts[1] || null];
  }
  if (!kept[0] && kept[1]) kept = [kept[1], null];
  const v = (p, i) => (p ? p[i].toFixed(5) : '-1');
  const total = kept[0] ? ((kept[0][1] - kept[0][0]) + (kept[1] ? kept[1][1] - kept[1][0] : 0)).toFixed(5) : '-1';
  const date = new Date(Date.UTC(2024, 0, 1 + d));
  out += [date.getUTCFullYear(), date.getUTCMonth() + 1, date.getUTCDate(), dawn.toFixed(5), dusk.toFixed(5),
          rise.toFixed(5), set.toFixed(5), v(kept[0], 0), v(kept[0], 1), v(kept[1], 0), v(kept[1], 1), total]
             .join('\t') + '\n';
}
fs.writeFileSync(path.join(__dirname, 'fixtures', 'darkness_astronomy_engine.tsv'), out);
