#!/usr/bin/python3
"""The batch analysis as an engineer without our program would script it.

openpyxl reads the workbook, scipy's curve_fit fits each probe, the results
are corrected to standard conditions (20 degrees C, 29.92 inHg) and written
back into the results sheet, and the workbook is saved in place. It is a
yardstick for bench/peer/compare, not a reference: the fit is double
precision throughout and the program's 32-bit rounding is not imitated.

usage: peer.py WORKBOOK   (prints one line per probe: set KLa20 CinfStd SOTR SOTE)
"""
import math
import sys

import numpy as np
from openpyxl import load_workbook
from scipy.optimize import curve_fit

STD_PRESSURE = 29.92     # inHg
CS20 = 9.092426          # DO saturation at 20 degrees C and 1 atm, mg/L
THETA = 1.024
THRESHOLD = 1.0          # start threshold, percent of the last reading


def vapour_pressure(t):  # inHg
    return (0.0014456 * t**2 + 0.39240122 * t + 4.5101 + 0.00066553 * t**3 - 0.00000459143 * t**4) / 25.4


def saturation(t):  # mg/L at 1 atm
    tk = t + 273.15
    return math.exp(-139.34411 + 157570.1 / tk - 66423080 / tk**2 + 12438000000 / tk**3 - 862194900000 / tk**4)


def specific_weight(t):  # lb/in3
    return (0.99984377 + 0.000063326 * t - 0.000008256 * t**0.5 + 0.0000000494696 * t**1.5) * 0.03612729


def model(t, cinf, c0, kla):
    return cinf - (cinf - c0) * np.exp(-kla * t)


def main(path):
    book = load_workbook(path)
    test, _, results = book.worksheets[:3]
    points, sets = int(test["C7"].value), int(test["C8"].value)
    temp, baro, volume, airflow = (float(test.cell(row, 3).value or 0) for row in range(9, 13))
    times = np.array([test.cell(6 + p, 7).value for p in range(1, points + 1)], dtype=float)

    pv, cst = vapour_pressure(temp), saturation(temp)
    for s in range(1, sets + 1):
        conc = np.array([test.cell(6 + p, 7 + s).value for p in range(1, points + 1)], dtype=float)
        first = int(np.argmax(conc > THRESHOLD / 100 * conc[-1]))
        t, c = times[first:] - times[first], conc[first:]
        (cinf, c0, kla), _ = curve_fit(model, t, c, p0=(c.max() * 1.001, c[0], 0.1))

        depth = cinf / cst * (STD_PRESSURE - pv) - baro + pv  # inHg
        omega = (depth + baro - pv) / (depth + STD_PRESSURE - pv)
        cinf_std = cinf / (cst / CS20) / omega
        kla20 = kla / THETA ** (temp - 20) * 60
        sotr = kla20 * cinf_std * volume * 0.000062402
        sote = sotr * 100 / (airflow * 1.036) if airflow else None
        depth_ft = depth / 2.03602 / specific_weight(temp) / 12

        row = 12 + s
        for column, value in enumerate((s, kla20, cinf_std, sote, sotr, depth_ft, None, STD_PRESSURE), start=1):
            results.cell(row, column).value = value
        print(s, f"{kla20:.6f}", f"{cinf_std:.6f}", f"{sotr:.6f}", "" if sote is None else f"{sote:.6f}")
    book.save(path)


if __name__ == "__main__":
    main(sys.argv[1])
