// Reference positions of the Galilean moons and of Saturn's eight major
// moons from the npm package "astronomia" (an independent implementation
// of the same published methods, second edition, with VSOP87 B planets),
// one row every 25 hours over a year, with the planet's apparent right
// ascension and declination (true equator and equinox of date, degrees).
// Run through make_moon_fixtures.sh.
import { writeFileSync } from 'node:fs'
import { elliptic, planetposition, saturnmoons, jupitermoons } from 'astronomia'
import data from 'astronomia/data'

const earth = new planetposition.Planet(data.vsop87Bearth)
const jupiter = new planetposition.Planet(data.vsop87Bjupiter)
const saturn = new planetposition.Planet(data.vsop87Bsaturn)

const start = 2460676.5 // 2025 January 1.0, dynamical time
const rows = 351
const step = 25 / 24

const fmt = (v) => v.toFixed(6)
const deg = (v) => (v * 180 / Math.PI).toFixed(8)
const place = (planet, jde) => {
  const p = elliptic.position(planet, earth, jde)
  return [deg(p.ra < 0 ? p.ra + 2 * Math.PI : p.ra), deg(p.dec)]
}
const out = process.argv[2]

let text = '# Galilean moons X, Y, Z (Jupiter radii) seen from the Earth; astronomia jupitermoons.e5; Jupiter apparent (elliptic.position)\n'
text += ['jde', 'planet_ra', 'planet_dec', ...['io', 'europa', 'ganymede', 'callisto'].flatMap((m) => [`${m}_x`, `${m}_y`, `${m}_z`])].join('\t') + '\n'
for (let i = 0; i < rows; i++) {
  const jde = start + i * step
  const p = jupitermoons.e5(jde, earth, jupiter)
  text += [jde.toFixed(6), ...place(jupiter, jde), ...p.flatMap((q) => [fmt(q.x), fmt(q.y), fmt(q.z)])].join('\t') + '\n'
}
writeFileSync(`${out}/galilean_moons_astronomia.tsv`, text)

const names = ['mimas', 'enceladus', 'tethys', 'dione', 'rhea', 'titan', 'hyperion', 'iapetus']
text = '# Saturn moons X, Y, Z (Saturn radii) seen from the Earth; astronomia saturnmoons.positions; Saturn apparent (elliptic.position)\n'
text += ['jde', 'planet_ra', 'planet_dec', ...names.flatMap((m) => [`${m}_x`, `${m}_y`, `${m}_z`])].join('\t') + '\n'
for (let i = 0; i < rows; i++) {
  const jde = start + i * step
  const p = saturnmoons.positions(jde, earth, saturn)
  text += [jde.toFixed(6), ...place(saturn, jde), ...p.flatMap((q) => [fmt(q.x), fmt(q.y), fmt(q.z)])].join('\t') + '\n'
}
writeFileSync(`${out}/saturn_moons_astronomia.tsv`, text)
