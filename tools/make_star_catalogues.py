#!/usr/bin/python3
"""Builds the occultation star catalogues data/OCCINP8.DAT and data/OCCINP95.DAT.

Run at development time only (the program reads the committed files):

    /usr/bin/python3 tools/make_star_catalogues.py [stellarium star folder] [output folder]

Needs the Debian packages stellarium-data (its star zone files and cross
identifications, GPL-2+ data) and python3-erfa. The zone files hold the
Hipparcos/Tycho stars at epoch and equinox J2000 (ICRS) on a geodesic grid of
triangles; each star is an offset from its triangle's centre along two axes
of the tangent plane, its proper motion likewise in 0.1 mas per year. The
Hipparcos stars take their proper motions from hip_pm.dat (the catalogue's
mu_alpha*, mu_delta); the zone files' own motions serve the other stars.

Output records: 32 bytes each (see eclipses/star_catalogue.h): B1950 FK4
right ascension and declination at epoch 1950.0 in degrees, the proper
motions d(alpha)/dt and d(delta)/dt in degrees per tropical year, V x 100,
name length and an 11-byte name. Both files are sorted by right ascension.

Each star once: the zone files hold many stars twice, mostly as two records
with one Hipparcos number, one named by the star's SAO number and the other
"H" and the Hipparcos number, so that an occultation of one point of light
was listed twice. Two records count as one star when their places at epoch
2000.0, the zone files' epoch (the places as written, float32 B1950 values
moved by the proper motions written), lie within 1" of each other and their
magnitudes differ by 0.5 mag at most. Either they are one star twice, or the
components of a double star that the Moon covers within a second or two,
whose near-equal light the program cannot tell apart anyway. Of such records
one is kept: the one with a Hipparcos number, then the brighter, then the
first in right ascension, with its own place, motion and magnitude. Wider
pairs and pairs of clearly different brightness are double stars and stay
two records.

Names are given after that step: a Hipparcos star is named by its SAO number
when it has one (the number occultation observers quote, shown by the
program as "SAO <number>"), and of the components of a double star that
share a Hipparcos number the brightest takes it, the others "H" and the
number; so a name no longer depends on which record came first.
"""

import math
import os
import struct
import sys

import erfa
import numpy as np

STAR_FOLDER = "/usr/share/stellarium/stars/default"
ZONE_FILES = ["stars_0_0v0_8.cat", "stars_1_0v0_8.cat", "stars_2_0v0_8.cat", "stars_3_1v0_4.cat"]
SMALL_LIMIT = 8.0        # V limit of the small file
LARGE_LIMIT = 9.5        # V limit of the large file
SAME_STAR_ARCSEC = 1.0   # largest distance of two records of one star
SAME_STAR_MAG = 0.5      # largest magnitude difference of two records of one star
SAME_STAR_EPOCH = 2000.0  # epoch of the zone files' places
ECLIPTIC_BAND = 10.0     # degrees of ecliptic latitude of the small file
OBLIQUITY_J2000 = math.radians(23.4392911)
MAS_PER_UNIT = 0.1       # proper-motion unit of the zone files


# --- geodesic grid ------------------------------------------------------------
def _icosahedron():
    g = 0.5 * (1.0 + math.sqrt(5.0))
    b = 1.0 / math.sqrt(1.0 + g * g)
    a = b * g
    corners = [(a, -b, 0), (a, b, 0), (-a, b, 0), (-a, -b, 0), (0, a, -b), (0, a, b), (0, -a, b), (0, -a, -b),
               (-b, 0, a), (b, 0, a), (b, 0, -a), (-b, 0, -a)]
    triangles = [(1, 0, 10), (0, 1, 9), (0, 9, 6), (9, 8, 6), (0, 7, 10), (6, 7, 0), (7, 6, 3), (6, 8, 3),
                 (11, 10, 7), (7, 3, 11), (3, 2, 11), (2, 3, 8), (10, 11, 4), (2, 4, 11), (5, 4, 2), (2, 8, 5),
                 (4, 1, 10), (4, 5, 1), (5, 9, 1), (8, 9, 5)]
    corners = [np.array(c, dtype=float) for c in corners]
    return [(corners[i], corners[j], corners[k]) for i, j, k in triangles]


def _unit(v):
    return v / np.linalg.norm(v)


def zone_triangles(level):
    """Corners of every zone of a level, in zone-number order."""
    current = _icosahedron()
    for _ in range(level):
        finer = []
        for c0, c1, c2 in current:
            e0, e1, e2 = _unit(c1 + c2), _unit(c2 + c0), _unit(c0 + c1)
            finer += [(c0, e2, e1), (e2, c1, e0), (e1, e0, c2), (e0, e1, e2)]
        current = finer
    return current


def zone_frames(level, max_position):
    """Centre and the two scaled axes of every zone of a level."""
    north = np.array([0.0, 0.0, 1.0])
    frames = []
    scale = 0.0
    for corners in zone_triangles(level):
        centre = _unit(corners[0] + corners[1] + corners[2])
        axis0 = _unit(np.cross(north, centre))
        axis1 = np.cross(centre, axis0)
        for c in corners:
            mu0 = np.dot(c - centre, axis0)
            mu1 = np.dot(c - centre, axis1)
            f = 1.0 / math.sqrt(1.0 - mu0 * mu0 - mu1 * mu1)
            scale = max(scale, abs(mu0) * f, abs(mu1) * f)
        frames.append((centre, axis0, axis1))
    return frames, scale / max_position


# --- zone files -------------------------------------------------------------
def _bits(value, start, count, signed):
    v = (value >> start) & ((1 << count) - 1)
    if signed and v >= 1 << (count - 1):
        v -= 1 << count
    return v


def read_zone_file(path):
    """Yields (hip, unit vector J2000, unit-axis pm vector in mas/yr, V) per star."""
    data = open(path, "rb").read()
    magic, kind, _major, _minor, level, mag_min, mag_range, mag_steps = struct.unpack_from("<Iiiiiiii", data, 0)
    if magic != 0x835F040A:
        raise SystemExit(f"{path}: not a little-endian zone file")
    zone_count = 20 * 4 ** level
    sizes = struct.unpack_from(f"<{zone_count}I", data, 32)
    offset = 32 + 4 * zone_count
    record = {0: 28, 1: 10}[kind]
    max_position = {0: 0x7FFFFFFF, 1: (1 << 19) - 1}[kind]
    frames, scale = zone_frames(level, max_position)
    for zone, size in enumerate(sizes):
        centre, axis0, axis1 = frames[zone]
        for _ in range(size):
            chunk = data[offset:offset + record]
            offset += record
            if kind == 0:
                hip = _bits(int.from_bytes(chunk[0:3], "little"), 0, 24, True)
                x0, x1 = struct.unpack_from("<ii", chunk, 4)
                mag = chunk[13]
                dx0, dx1 = struct.unpack_from("<ii", chunk, 16)
            else:
                v = int.from_bytes(chunk, "little")
                hip = 0
                x0, x1 = _bits(v, 0, 20, True), _bits(v, 20, 20, True)
                dx0, dx1 = _bits(v, 40, 14, True), _bits(v, 54, 14, True)
                mag = _bits(v, 75, 5, False)
            position = _unit(centre + scale * (x0 * axis0 + x1 * axis1))
            motion = (dx0 * axis0 + dx1 * axis1) * MAS_PER_UNIT
            yield hip, position, motion, (mag_min + mag * mag_range / mag_steps) / 1000.0


def read_hipparcos_motions(path):
    """HIP number -> (mu_alpha*, mu_delta) in mas/yr from hip_pm.dat."""
    motions = {}
    for line in open(path, encoding="latin-1"):
        fields = line.split()
        if line.startswith("#") or len(fields) < 3:
            continue
        motions[int(fields[0])] = (float(fields[1]), float(fields[2]))
    return motions


def read_sao_numbers(path):
    """HIP number -> SAO number from the cross-identification table."""
    sao = {}
    for line in open(path, encoding="latin-1"):
        if line.startswith("#"):
            continue
        fields = line.rstrip("\n").split("\t")
        if len(fields) > 2 and fields[0].strip() and fields[2].strip():
            sao[int(fields[0])] = int(fields[2])
    return sao


# --- conversion ----------------------------------------------------------------
def to_b1950(position, motion, catalogue_motion=None):
    """J2000 unit vector and tangent motion (mas/yr) -> B1950 FK4 values.

    `catalogue_motion` (mu_alpha*, mu_delta in mas/yr), when given, replaces
    the motion of the zone file.

    Returns RA and Dec in degrees at epoch 1950.0 and d(alpha)/dt, d(delta)/dt
    in degrees per tropical year."""
    x, y, z = position
    ra = math.atan2(y, x) % (2 * math.pi)
    dec = math.asin(max(-1.0, min(1.0, z)))
    east = np.array([-math.sin(ra), math.cos(ra), 0.0])
    north = np.array([-math.sin(dec) * math.cos(ra), -math.sin(dec) * math.sin(ra), math.cos(dec)])
    mas = math.radians(1.0 / 3.6e6)
    if catalogue_motion is not None:
        pm_ra_cos, pm_dec = catalogue_motion[0] * mas, catalogue_motion[1] * mas
    else:
        pm_ra_cos = float(np.dot(motion, east)) * mas     # mu_alpha* in rad/yr
        pm_dec = float(np.dot(motion, north)) * mas
    cos_dec = math.cos(dec)
    d_ra = pm_ra_cos / cos_dec if cos_dec > 1e-9 else 0.0
    r, d, dr, dd, _p, _v = erfa.fk524(ra, dec, d_ra, pm_dec, 0.0, 0.0)
    return (math.degrees(r) % 360.0, math.degrees(d), math.degrees(dr), math.degrees(dd))


def ecliptic_latitude(position):
    x, y, z = position
    return math.degrees(math.asin(max(-1.0, min(1.0, -y * math.sin(OBLIQUITY_J2000) + z * math.cos(OBLIQUITY_J2000)))))


# --- one record per star ----------------------------------------------------
def written_place(star, epoch):
    """Unit vector of a star's place at `epoch` from the float32 values the file holds."""
    f32 = lambda x: float(np.float32(x))
    ra = math.radians(f32(star["ra"]) + f32(star["pm_ra"]) * (epoch - 1950.0))
    dec = math.radians(f32(star["dec"]) + f32(star["pm_dec"]) * (epoch - 1950.0))
    return (math.cos(dec) * math.cos(ra), math.cos(dec) * math.sin(ra), math.sin(dec))


def arcsec_between(a, b):
    return math.degrees(2.0 * math.asin(min(1.0, math.dist(a, b) / 2.0))) * 3600.0


def same_star(a, b):
    """True when two records are one star (see the module's comment)."""
    if abs(round(a["v"] * 100.0) - round(b["v"] * 100.0)) > round(SAME_STAR_MAG * 100.0):
        return False
    return arcsec_between(written_place(a, SAME_STAR_EPOCH), written_place(b, SAME_STAR_EPOCH)) < SAME_STAR_ARCSEC


def close_pairs(stars, epoch, arcsec):
    """Index pairs (i < j) of stars closer than `arcsec` at `epoch`, from a grid of cubes of that size."""
    cell = math.radians(arcsec / 3600.0)
    places = [written_place(s, epoch) for s in stars]
    grid = {}
    for i, p in enumerate(places):
        grid.setdefault(tuple(math.floor(c / cell) for c in p), []).append(i)
    pairs = []
    for (x, y, z), members in grid.items():
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                for dz in (-1, 0, 1):
                    for j in grid.get((x + dx, y + dy, z + dz), ()):
                        pairs += [(i, j) for i in members
                                  if i < j and arcsec_between(places[i], places[j]) < arcsec]
    return pairs


def keep_each_star_once(stars):
    """The stars without the second records of a star, in their order; and how many went."""
    partners = {}
    for i, j in close_pairs(stars, SAME_STAR_EPOCH, SAME_STAR_ARCSEC):
        if same_star(stars[i], stars[j]):
            partners.setdefault(i, []).append(j)
            partners.setdefault(j, []).append(i)
    preference = sorted(partners, key=lambda i: (stars[i]["hip"] <= 0, round(stars[i]["v"] * 100.0), i))
    dropped = set()
    for i in preference:
        if i not in dropped:  # kept: none of its partners was kept before it, or i would be dropped
            dropped.update(partners[i])
    kept = [s for i, s in enumerate(stars) if i not in dropped]
    return kept, len(dropped)


# --- names ------------------------------------------------------------------------
def position_name(ra, dec, small):
    """A designation from the B1950 place: hhmm±dd (small) or hhmmt±ddmm (large, t = tenths of a minute)."""
    sign = "+" if dec >= 0 else "-"
    hours = ra / 15.0
    if small:
        return "%02d%02d%s%02d" % (int(hours), int(hours * 60) % 60, sign, int(abs(dec)))
    tenths = int(hours * 600)
    arcmin = int(abs(dec) * 60)
    return "%02d%02d%d%s%02d%02d" % (tenths // 600, tenths // 10 % 60, tenths % 10, sign, arcmin // 60, arcmin % 60)


def assign_names(stars, sao_numbers, small):
    """Names the stars in their order; of the records of one Hipparcos number
    (the components of a double star) the brightest takes the SAO number."""
    brightest = {}
    for k, star in enumerate(stars):
        if star["hip"] > 0 and (star["hip"] not in brightest or star["v"] < stars[brightest[star["hip"]]]["v"]):
            brightest[star["hip"]] = k
    used = set()
    for k, star in enumerate(stars):
        candidates = []
        if star["hip"] > 0 and star["hip"] in sao_numbers and brightest[star["hip"]] == k:
            candidates.append(str(sao_numbers[star["hip"]]))
        if star["hip"] > 0:
            candidates.append("H%d" % star["hip"])
        base = position_name(star["ra"], star["dec"], small)
        candidates.append(base)
        candidates += [base + chr(ord("a") + k) for k in range(26)]
        for name in candidates:
            if name not in used and len(name) <= (8 if small else 11):
                star["name"] = name
                used.add(name)
                break
        else:
            raise SystemExit("no free name for a star near " + base)


def write_catalogue(path, stars):
    with open(path, "wb") as out:
        for s in stars:
            name = s["name"].encode("ascii")
            out.write(struct.pack("<5fB11s", s["ra"], s["dec"], s["pm_ra"], s["pm_dec"], round(s["v"] * 100.0),
                                  len(name), name.ljust(11, b" ")))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else STAR_FOLDER
    target = sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(__file__), "..", "data")
    sao_numbers = read_sao_numbers(os.path.join(folder, "cross-id.dat"))
    hipparcos_motions = read_hipparcos_motions(os.path.join(folder, "hip_pm.dat"))
    stars = []
    for name in ZONE_FILES:
        for hip, position, motion, v in read_zone_file(os.path.join(folder, name)):
            if v > LARGE_LIMIT + 1e-9:
                continue
            ra, dec, pm_ra, pm_dec = to_b1950(position, motion, hipparcos_motions.get(hip) if hip > 0 else None)
            stars.append({"hip": hip, "ra": ra, "dec": dec, "pm_ra": pm_ra, "pm_dec": pm_dec, "v": v,
                          "beta": ecliptic_latitude(position)})
    stars.sort(key=lambda s: (s["ra"], s["dec"]))
    stars, merged = keep_each_star_once(stars)
    small = [dict(s) for s in stars if s["v"] <= SMALL_LIMIT + 1e-9 and abs(s["beta"]) <= ECLIPTIC_BAND]
    assign_names(stars, sao_numbers, small=False)
    assign_names(small, sao_numbers, small=True)
    write_catalogue(os.path.join(target, "OCCINP95.DAT"), stars)
    write_catalogue(os.path.join(target, "OCCINP8.DAT"), small)
    print("OCCINP8.DAT: %d stars, OCCINP95.DAT: %d stars (%d second records of a star left out)"
          % (len(small), len(stars), merged))


if __name__ == "__main__":
    main()
