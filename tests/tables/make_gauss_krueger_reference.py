#!/usr/bin/python3
"""Writes fixtures/gauss_krueger_proj.tsv: geographic points over Germany
(Bessel ellipsoid) and their Gauss-Krüger coordinates in 3-degree zones as
computed by PROJ's cs2cs (transverse Mercator, scale 1, false easting
k*1000000+500000). Run once; needs proj-bin."""
import os
import subprocess

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures", "gauss_krueger_proj.tsv")


def zone(lon):
    return round(lon / 3.0)  # Python rounds halves to even, like the program


def cs2cs(k, points):
    cmd = ["cs2cs", "+proj=longlat", "+ellps=bessel", "+to", "+proj=tmerc", "+lat_0=0",
           f"+lon_0={3 * k}", "+k=1", f"+x_0={k * 1000000 + 500000}", "+y_0=0", "+ellps=bessel",
           "+units=m", "-f", "%.6f"]
    text = "".join(f"{lon:.6f} {lat:.6f}\n" for lon, lat in points)
    out = subprocess.run(cmd, input=text, capture_output=True, text=True, check=True).stdout
    return [tuple(float(v) for v in line.split()[:2]) for line in out.strip().splitlines()]


def main():
    points = []
    lat = 47.25
    while lat <= 55.1:
        lon = 5.9
        while lon <= 15.1:
            points.append((round(lon, 6), round(lat, 6)))
            lon += 0.53
        lat += 0.61
    by_zone = {}
    for p in points:
        by_zone.setdefault(zone(p[0]), []).append(p)
    with open(OUT, "w") as f:
        f.write("# PROJ cs2cs, +proj=tmerc +lat_0=0 +lon_0=3k +k=1 +x_0=k*1e6+5e5 +ellps=bessel\n")
        f.write("lon\tlat\tzone\trechtswert\thochwert\n")
        for k in sorted(by_zone):
            for (lon, lat), (r, h) in zip(by_zone[k], cs2cs(k, by_zone[k])):
                f.write(f"{lon:.6f}\t{lat:.6f}\t{k}\t{r:.4f}\t{h:.4f}\n")


if __name__ == "__main__":
    main()
