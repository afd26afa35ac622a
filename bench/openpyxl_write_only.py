#!/usr/bin/env python3
"""The yardstick of bench/xlsx_save_bench.cpp: openpyxl's write-only mode
saving the same numeric sheet (python3-openpyxl).

    openpyxl_write_only.py OUTPUT ROWS COLS RUNS

The values are made before the clocks start; each run times creating the
workbook, appending the rows and saving the file. Prints the shortest run
in milliseconds of processor time, then of wall-clock time.
"""
import sys
import time

from openpyxl import Workbook


def main():
    path, rows, cols, runs = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    # The same values as the benchmark's sheet: doubles that need up to 17
    # digits.
    data = [[(r * cols + c) * 0.1 + 1.0 / (c + 1) for c in range(1, cols + 1)] for r in range(1, rows + 1)]
    best_cpu = best_wall = None
    for _ in range(runs):
        start_cpu, start_wall = time.process_time(), time.perf_counter()
        book = Workbook(write_only=True)
        sheet = book.create_sheet()
        for row in data:
            sheet.append(row)
        book.save(path)
        cpu, wall = time.process_time() - start_cpu, time.perf_counter() - start_wall
        best_cpu = cpu if best_cpu is None else min(best_cpu, cpu)
        best_wall = wall if best_wall is None else min(best_wall, wall)
    print(f"{best_cpu * 1e3:.3f} {best_wall * 1e3:.3f}")


if __name__ == "__main__":
    main()
