// Reference positions of the Galilean moons and of Saturn's eight major
// moons from the npm package "astronomia" (an independent implementation
// of the same published methods, second edition, with VSOP87 B planets),
// one row every 25 hours over a year. Run through make_moon_fixtures.sh.
import { writeFileSync } from 'node:fs'
import { planetposition, saturnmoons, jupitermoons } from 'astronomia'
import data from 'astronomia/data'

const earth = new planetposition.Planet(data.vsop87Bearth)
const jupiter = new planetposition.Planet(data.vsop87Bjupiter)
const saturn = new planetposition.Planet(data.vsop87Bsaturn)

const start = 2460676.5 // 2025 January 1.0, dynamical time
const rows = 351
const step = 25 / 24

const fmt = (v) => v.toFixed(6)
const out = process.argv[2]

let text = '# Galilean moons X, Y, Z (Jupiter radii) seen from the Earth; astronomia jupitermoons.e5\n'
text += ['jde', ...['io', 'europa', 'ganymede', 'callisto'].flatMap((m) => [`${m}_x`, `${m}_y`, `${m}_z`])].join('\t') + '\n'
for (let i = 0; i < rows; i++) {
  const jde = start + i * step
  const p = jupitermoons.e5(jde, earth, jupiter)
  text += [jde.toFixed(6), ...p.flatMap((q) => [fmt(q.x), fmt(q.y), fmt(q.z)])].join('\t') + '\n'
}
writeFileSync(`${out}/galilean_moons_astronomia.tsv`, text)

const names = ['mimas', 'enceladus', 'tethys', 'dione', 'rhea', 'titan', 'hyperion', 'iapetus']
text = '# Saturn moons X, Y, Z (Saturn radii) seen from the Earth; astronomia saturnmoons.positions\n'
text += ['jde', ...names.flatMap((m) => [`${m}_x`, `${m}_y`, `${m}_z`])].join('\t') + '\n'
for (let i = 0; i < rows; i++) {
  const jde = start + i * step
  const p = saturnmoons.positions(jde, earth, saturn)
  text += [jde.toFixed(6), ...p.flatMap((q) => [fmt(q.x), fmt(q.y), fmt(q.z)])].join('\t') + '\n'
}
writeFileSync(`${out}/saturn_moons_astronomia.tsv`, text)
