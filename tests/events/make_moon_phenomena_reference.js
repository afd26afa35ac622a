// Writes fixtures/jupiter_moon_events.tsv: phenomena, mutual conjunctions
// and one-moon events of Jupiter's four moons from Astronomy Engine, test
// side only. Run once with
//   NODE_PATH=<folder with astronomy-engine installed> node make_moon_phenomena_reference.js
//
// The moons' jovicentric vectors (JupiterMoons, J2000 equator) at the
// instant whose light reaches the Earth are projected onto Jupiter's sky
// plane seen from the Earth and seen from the Sun: Z along the line of
// sight away from the observer, Y the rotation axis (RotationAxis)
// projected onto the plane, X = Z x Y towards the west; unit the
// equatorial radius 71492 km. The same functions as the program's search
// (limb distance with Y stretched by 1.071374, X_i - X_j, X_m, Z_m) are
// sampled every 10 minutes from 2025 Sep 1 0h UT for 61 days; every sign
// change is bisected to 1 s. Columns:
//   family  p (phenomenon) c (mutual conjunction) e (one moon)
//   a b     p: moon 1..4 and view 0 Earth / 1 Sun; c: moons i < j;
//           e: moon and event code 0..3
//   jd      Julian day of UT
//   u v     p: the view's Z and X; c: Y_i - Y_j and the apparent
//           equatorial diameter (arcseconds); e: Z and X
//   hidden  1 when the program's first visibility step drops it (p: the
//           moon eclipsed at an Earth-view contact or behind the disk at a
//           Sun-view one; c: either moon in the shadow)
'use strict';
const fs = require('fs');
const path = require('path');
const A = require('astronomy-engine');

const KM_PER_AU = 149597870.7;
const R = 71492 / KM_PER_AU;
const FL = 1.071374;
const C_AU_DAY = 173.1446326846693;
const START = A.MakeTime(new Date(Date.UTC(2025, 8, 1)));
const DAYS = 61;
const STEP = 10 / 1440;

function sub(a, b) { return [a[0] - b[0], a[1] - b[1], a[2] - b[2]]; }
function dot(a, b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
function cross(a, b) { return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]; }
function unit(a) { const n = Math.sqrt(dot(a, a)); return [a[0] / n, a[1] / n, a[2] / n]; }
function vec(v) { return [v.x, v.y, v.z]; }

// The plane (X west, Y north, Z away) for a line of sight d and pole n.
function frame(d, n) {
  const z = unit(d);
  const y = unit(sub(n, z.map((c) => c * dot(n, z))));
  const x = cross(z, y);
  return { x, y, z };
}

function sample(ut) {
  const t = A.MakeTime(ut);
  const geo = vec(A.GeoVector(A.Body.Jupiter, t, true));
  const dist = Math.sqrt(dot(geo, geo));
  const tj = t.AddDays(-dist / C_AU_DAY);
  const helio = vec(A.HelioVector(A.Body.Jupiter, tj));
  const pole = vec(A.RotationAxis(A.Body.Jupiter, tj).north);
  const moons = A.JupiterMoons(tj);
  const earth = frame(geo, pole);
  const sun = frame(helio, pole);
  const out = { E: [], S: [], D: 2 * Math.atan(R / dist) * 180 / Math.PI * 3600 };
  for (const m of [moons.io, moons.europa, moons.ganymede, moons.callisto]) {
    const p = [m.x, m.y, m.z];
    out.E.push({ X: dot(p, earth.x) / R, Y: dot(p, earth.y) / R, Z: dot(p, earth.z) / R });
    out.S.push({ X: dot(p, sun.x) / R, Y: dot(p, sun.y) / R, Z: dot(p, sun.z) / R });
  }
  return out;
}

const limb = (c) => Math.sqrt(c.X * c.X + (FL * c.Y) * (FL * c.Y)) - 1;
const inShadow = (s, m) => limb(s.S[m]) < 0 && s.S[m].Z > 0;
const behind = (s, m) => limb(s.E[m]) < 0 && s.E[m].Z > 0;

const families = [];
for (let m = 0; m < 4; ++m) {
  for (let view = 0; view < 2; ++view) {
    families.push({
      f: (s) => limb(view === 0 ? s.E[m] : s.S[m]),
      row: (s, jd) => {
        const c = view === 0 ? s.E[m] : s.S[m];
        const hidden = view === 0 ? inShadow(s, m) : behind(s, m);
        return ['p', m + 1, view, jd, c.Z, c.X, hidden ? 1 : 0];
      },
    });
  }
}
for (let i = 0; i < 3; ++i) {
  for (let j = i + 1; j < 4; ++j) {
    families.push({
      f: (s) => s.E[i].X - s.E[j].X,
      row: (s, jd) => ['c', i + 1, j + 1, jd, s.E[i].Y - s.E[j].Y, s.D, inShadow(s, i) || inShadow(s, j) ? 1 : 0],
    });
  }
}
for (let m = 0; m < 4; ++m) {
  for (const which of ['X', 'Z']) {
    families.push({
      f: (s) => s.E[m][which],
      row: (s, jd) => {
        const c = s.E[m];
        const event = which === 'X' ? (c.Z > 0 ? 0 : 1) : (c.X < 0 ? 2 : 3);
        return ['e', m + 1, event, jd, c.Z, c.X, 0];
      },
    });
  }
}

const startUt = START.ut;
const n = Math.round(DAYS / STEP);
const samples = [];
for (let k = 0; k <= n; ++k) samples.push(sample(startUt + k * STEP));
const rows = [];
for (const fam of families) {
  for (let k = 0; k < n; ++k) {
    const f0 = fam.f(samples[k]);
    const f1 = fam.f(samples[k + 1]);
    if (f0 === 0 || Math.sign(f0) === Math.sign(f1)) continue;
    let lo = startUt + k * STEP;
    let hi = lo + STEP;
    let flo = f0;
    while (hi - lo > 1 / 86400) {
      const mid = 0.5 * (lo + hi);
      const fm = fam.f(sample(mid));
      if (Math.sign(fm) === Math.sign(flo)) { lo = mid; flo = fm; } else { hi = mid; }
    }
    const t = 0.5 * (lo + hi);
    rows.push(fam.row(sample(t), t + 2451545.0));
  }
}
rows.sort((a, b) => a[3] - b[3]);
const text = rows.map((r) => r.map((v) => (typeof v === 'number' && !Number.isInteger(v) ? v.toFixed(7) : v)).join('\t'));
fs.writeFileSync(path.join(__dirname, 'fixtures', 'jupiter_moon_events.tsv'),
                 'family\ta\tb\tjd_ut\tu\tv\thidden\n' + text.join('\n') + '\n');
console.log(rows.length + ' events');
