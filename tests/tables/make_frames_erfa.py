#!/usr/bin/python3
"""Writes fixtures/frames_erfa.tsv: the rotations of the state-vector table
from ERFA (python3-erfa), test side only. Per T (Julian centuries of TT from
J2000) the mean obliquity (eraObl80, radians) and the two 3x3 matrices, row
by row: mean ecliptic of date to the equator of J2000
(eraPmat76^T . R1(-eps(T))) and mean ecliptic of date to the ecliptic of
J2000 (R1(eps(J2000)) . eraPmat76^T . R1(-eps(T)))."""
import os

import erfa
import numpy as np


def r1(angle):
    c, s = np.cos(angle), np.sin(angle)
    return np.array([[1, 0, 0], [0, c, s], [0, -s, c]])


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    eps0 = erfa.obl80(2451545.0, 0.0)
    with open(os.path.join(here, "fixtures", "frames_erfa.tsv"), "w") as out:
        out.write("# ERFA %s; made by make_frames_erfa.py\n" % erfa.__version__)
        out.write("t\teps\t" + "\t".join("q%d" % i for i in range(9)) + "\t" + "\t".join("e%d" % i for i in range(9)) + "\t" + "\t".join("p%d" % i for i in range(9)) + "\n")
        for t in (-1.0, -0.5, -0.0699, 0.25, 0.5, 1.0):
            jd = 2451545.0 + 36525.0 * t
            eps = erfa.obl80(jd, 0.0)
            p = erfa.pmat76(jd, 0.0)  # J2000 to date
            to_eq = p.T @ r1(-eps)
            to_ecl = r1(eps0) @ to_eq
            cells = ["%.6f" % t, "%.17g" % eps] + ["%.17g" % v for v in to_eq.flatten()] + ["%.17g" % v for v in to_ecl.flatten()] + ["%.17g" % v for v in p.T.flatten()]
            out.write("\t".join(cells) + "\n")
    print("wrote fixtures/frames_erfa.tsv")


if __name__ == "__main__":
    main()
