#!/usr/bin/env python3
"""Writes the small catalogue the window and list/show tests load (tests/data/window/QUV)."""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "QUV")

KEYS = [
    ("Beginning Frequency, MHz", "beg"), ("Ending Frequency, MHz", "end"),
    ("Antenna Type", "type"), ("Gain, dBd", "gain"), ("Gain, dBi", "gaini"),
    ("Electrical Downtilt, deg", "tilt"), ("Connector Type", "7-16 DIN Female"),
    ("Polarization Type", "pol"), ("Front to Back Ratio, dB", ">25"),
    ("Measured Frequency", "880"), ("Description", "desc"), ("Intermodulation, dBc", "<-150"),
    ("Impedance, ohms", "50"), ("Return Loss, dB (VSWR)", "14.0 (<1.5)"),
    ("Max Input Power, watts", "500"), ("Lightning Protection", "DC Ground"),
    ("Length, mm (in)", "1295 (51.0)"), ("Flat Plate Area, sq.m (sq.ft)", "0.30 (3.2)"),
    ("Antenna Weight, kg (lb)", "7.7 (17.0)"), ("Radome Material", "ASA"),
    ("Radome Color", "Light Grey"), ("Temperature Range, C", "-40 to +60"),
    ("Wind Load, Frontal, N (lbf)", "500 (112)"), ("Wind Load, Lateral, N (lbf)", "150 (34)"),
    ("Humidity, %", "100"), ("Number of Connectors", "conn"), ("Elevation Beamwidth, deg", "15"),
    ("Shipping Weight with Mount, kg (lb)", "12.0 (26.5)"), ("Wind Load, Rear, N (lbf)", ""),
    ("Shipping Dimensions with Mount, L x W x D, mm (in)", "1400 x 400 x 250 (55.1 x 15.7 x 9.8)"),
    ("Connector Position", "Bottom"), ("Mount Weight, kg (lb)", "2.0 (4.4)"),
    ("Shipping Dimensions, L x W x D, mm (in)", "1350 x 350 x 200 (53.1 x 13.8 x 7.9)"),
    ("Mount Description", "Pipe mount"), ("Survival Wind Speed, km/h (mph)", "200 (124)"),
    ("Part Number", "pn"), ("Azimuth Beamwidth, deg", "azbw"),
    ("Port to Port Isolation, dB", "iso"), ("Pattern File Name", "pattern.quv"),
    ("Part Number with Mount", "pn-M"), ("Shipping Weight, kg (lb)", "9.0 (19.8)"),
    ("Mount Part Number", "TMK-1"), ("Antenna Dimensions, L x W x D, mm (in)", "dims"),
    ("Ending Sub-Frequency, MHz", "subend"), ("Beginning Sub-Frequency, MHz", "subbeg"),
    ("Extended Pattern Description", ""),
]

# file, part number, band, sub-band, type, gain dBd, tilt, polarization, connectors, az bw, iso
ANTENNAS = [
    ("a1.quv", "TS0865-13", "806", "960", "806", "960", "Panel", "13.0", "0", "Vertical", "1", "65", ""),
    ("a2.quv", "TP1990-17", "1710", "1990", "1710", "1880", "Panel", "16.0", "2", "Vertical", "1", "65", ""),
    ("a3.quv", "TP1990-17", "1710", "1990", "1850", "1990", "Panel", "16.0", "2", "Vertical", "1", "65", ""),
    ("a4.quv", "TO0894-9", "824", "894", "824", "894", "Omni", "9.0", "0", "Vertical", "1", "360", ""),
    ("a5.quv", "TD0865-14XD", "806", "960", "806", "960", "Panel", "14.0", "0-8", "Slant +/-45", "2", "65", ">30"),
    ("a6.quv", "td1865-16xd", "1710", "2170", "1710", "2170", "Panel", "16.0", "0-10", "Dual Slant +/-45", "2", "65", ">30"),
    ("a7.quv", "TPCS-XAZ-18", "1850", "1990", "1850", "1990", "Panel", "18.0", "2", "Vertical", "1", "33", ""),
    ("a8.quv", "TPCS-XAZ-18", "1850", "1990", "1850", "1990", "Panel", "15.0", "2", "Vertical", "1", "90", ""),
    ("a9.quv", "TS0880-12", "824", "880", "824", "880", "Panel", "12.9", "6", "Vertical", "1", "90", ""),
    ("c1.quv", "TS0960-10", "894", "960", "894", "960", "Panel", "10.0", "0", "Vertical", "1", "90", ""),
    ("b1.quv", "TX-NAN", "n/a", "960", "806", "960", "Panel", "n/a", "0", "Vertical", "1", "65", ""),
]


def level(angle, width):
    v = -12.0 * (angle / width) ** 2
    return max(v, -40.0)


def write(name, values, points=True):
    lines = ["[HEADER]"]
    for key, default in KEYS:
        lines.append(f"{key}={values.get(default, default)}")
    lines.append("")
    lines.append("[POINTS]")
    if points:
        for cut_width in (float(values["azbw"]) if values["azbw"] != "360" else 1e9, 15.0):
            for a in range(-180, 181):
                lines.append(f"{a}={level(a, cut_width):.2f}")
    else:
        for a in range(-180, -170):
            lines.append(f"{a}=-1.00")
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))


def main():
    os.makedirs(OUT, exist_ok=True)
    os.makedirs(os.path.join(OUT, "folder.quv"), exist_ok=True)
    with open(os.path.join(OUT, "folder.quv", "keep"), "w") as f:
        f.write("a folder whose name ends in .quv is not a data file\n")
    for (name, pn, beg, end, sb, se, kind, gain, tilt, pol, conn, azbw, iso) in ANTENNAS:
        gaini = f"{float(gain) + 2.1:.1f}" if gain != "n/a" else "n/a"
        dims = "1295 x 250 x 120 (51.0 x 9.8 x 4.7)" if kind != "Omni" else "2400 x 60 (94.5 x 2.4)"
        values = {"beg": beg, "end": end, "type": kind, "gain": gain, "gaini": gaini, "tilt": tilt,
                  "pol": pol, "desc": f"{pol} {kind.lower()} antenna, {beg}-{end} MHz",
                  "conn": conn, "pn": pn, "pn-M": pn + "-M", "azbw": azbw, "iso": iso,
                  "dims": dims, "subbeg": sb, "subend": se}
        write(name, values)
    write("short.quv", {"beg": "806", "end": "960", "type": "Panel", "gain": "1", "gaini": "3",
                        "tilt": "0", "pol": "Vertical", "desc": "too few points", "conn": "1",
                        "pn": "TSHORT", "pn-M": "TSHORT-M", "azbw": "65", "iso": "", "dims": "",
                        "subbeg": "806", "subend": "960"}, points=False)


if __name__ == "__main__":
    main()
