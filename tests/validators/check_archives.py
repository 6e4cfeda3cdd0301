#!/usr/bin/env python3
"""Writes the archive files of sample, simulated and re-encoded real flights
with lumo-batch and passes each through the readers the data centres and
scientists use: the WOUDC's extended-CSV library and the nappy NASA Ames
library (both vendored beside this script). Prints the archive warnings of
every flight, with and without the station's metadata; with them, no warning
about a required field may remain.

Usage: check_archives.py LUMO_BATCH LUMO_SIMULATE SOURCE_DIR
"""

import json
import logging
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import nappy  # noqa: E402
import woudc_extcsv  # noqa: E402

STATION = """[archive]
agency=LUMO
scientificAuthority=A. N. Operator
platformId=999
platformName=Lumo Sim
country=CHE
radiosondeMaker=Sim
radiosondeModel=S1
dataVersion=1.0
"""

# The same station with the standard processing method: its files carry the
# classic equation's partial pressure beside the standard one.
STANDARD = STATION + """[o3]
method=standard
"""


# The published real soundings that lumo-simulate --from-sounding re-encodes into a
# raw file and its configuration. Lerwick's Met Office file (pressure as the
# independent variable, no cell current) is one it does not read.
REAL = ["boulder_2017-06-09_noaa_ndacc_ames.b18", "reunion_2014-12-10_shadoz_v05.dat",
        "ascension_2022-01-05_shadoz_v06.dat", "ushuaia_2015-10-21_woudc_extcsv.csv"]


def flights(simulate, source, work):
    """The raw files to write archives for: two samples, one flight without GPS
    and the re-encoded real soundings."""
    raws = [os.path.join(source, "samples", "flight1.raw"), os.path.join(source, "samples", "flight4.raw")]
    nogps = os.path.join(work, "nogps")
    subprocess.run([simulate, "--out", nogps, "--no-gps"], check=True, stdout=subprocess.DEVNULL)
    raws.append(nogps + ".raw")
    for name in REAL:
        base = os.path.join(work, name.split("_")[0])
        subprocess.run([simulate, "--from-sounding", os.path.join(source, "tests", "realdata", name),
                        "--out", base], check=True, stdout=subprocess.DEVNULL)
        raws.append(base + ".raw")
    return raws


def process(batch, raw, out, prefs):
    """The JSON summary of one flight whose archive files go to `out`."""
    os.makedirs(out, exist_ok=True)
    cmd = [batch, "process", "--json", "--export", "woudc,ames,nc", "--out-dir", out]
    if prefs:
        cmd += ["--prefs", prefs]
    run = subprocess.run(cmd + [raw], stdout=subprocess.PIPE, text=True)
    results = [json.loads(line) for line in run.stdout.splitlines() if line.startswith("{")]
    if len(results) != 1:
        sys.exit("lumo-batch gave no result for %s:\n%s" % (raw, run.stdout))
    return results[0]


def check_woudc(path):
    e = woudc_extcsv.load(path, reader=False)
    e.validate_metadata_tables()
    e.validate_dataset_tables()
    if e.errors or e.warnings:
        raise AssertionError("%s: errors %s, warnings %s" % (path, e.errors, e.warnings))


def check_ames(path, classic_column):
    with open(path, "rb") as f:
        lines = f.read().split(b"\r\n")
    # The first line is the NDACC catalogue line, which is not part of the
    # NASA Ames format: readers take the file from the next line on.
    catalogue = lines[0].decode("ascii")
    if len(catalogue) != 100 or catalogue[20:27] != "O3SONDE" or catalogue[44:49] != "OZONE":
        raise AssertionError("%s: catalogue line %r" % (path, catalogue))
    stripped = path + ".na"
    with open(stripped, "wb") as f:
        f.write(b"\r\n".join(lines[1:]))
    a = nappy.openNAFile(stripped)
    a.readData()
    os.remove(stripped)
    if a.FFI != 2160 or a.NV != len(a.VNAME):
        raise AssertionError("%s: FFI %s NV %s" % (path, a.FFI, a.NV))
    records = len(a.V[0][0])
    if int(a.A[0][0]) != records:
        raise AssertionError("%s: %d records, the first auxiliary value says %s" % (path, records, a.A[0][0]))
    if a.A[1][0] != 2.0:
        raise AssertionError("%s: NDACC format version %s" % (path, a.A[1][0]))
    if classic_column != ("classic equation" in a.VNAME[-1]):
        raise AssertionError("%s: last variable %r" % (path, a.VNAME[-1]))
    if classic_column and not any(v != a.VMISS[-1] for v in a.V[-1][0]):
        raise AssertionError("%s: no classic partial pressure is known" % path)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    batch, simulate, source = sys.argv[1:]
    logging.basicConfig(level=logging.ERROR)  # the libraries log every optional table left out
    failures = 0
    with tempfile.TemporaryDirectory() as work:
        raws = flights(simulate, source, work)
        prefs = os.path.join(work, "station.ini")
        with open(prefs, "w") as f:
            f.write(STATION)
        standard = os.path.join(work, "standard.ini")
        with open(standard, "w") as f:
            f.write(STANDARD)
        passes = (("without station metadata", None, raws), ("with station metadata", prefs, raws),
                  ("with station metadata, standard method", standard, raws[:1]))
        for label, prefs_file, pass_raws in passes:
            print("== archive warnings %s" % label)
            for n, raw in enumerate(pass_raws):
                # One folder per flight: two flights may share a serial and a date.
                out = os.path.join(work, "%s-%d" % (os.path.basename(prefs_file or "bare"), n))
                res = process(batch, raw, out, prefs_file)
                warnings = res.get("archiveWarnings", [])
                print("%s: %d warning(s)" % (os.path.basename(raw), len(warnings)))
                for w in warnings:
                    print("    " + w)
                if not res.get("ok"):
                    print("  FAILED: %s" % res.get("error"))
                    failures += 1
                if not prefs_file:
                    continue  # a file without its station cannot be submitted: the warnings say why
                if any("required field" in w for w in warnings):
                    print("  FAILED: a required field is empty although the station metadata are given")
                    failures += 1
                checked = 0
                for name in sorted(os.listdir(out)):
                    path = os.path.join(out, name)
                    try:
                        if name.endswith(".csv") and ".ECC." in name:
                            check_woudc(path)
                            checked += 1
                        elif ".b" in name and name.rsplit(".b", 1)[1].isdigit():
                            check_ames(path, prefs_file == standard)
                            checked += 1
                    except Exception as err:  # every refusal of a library counts
                        print("  FAILED: %s: %s" % (name, err))
                        failures += 1
                print("    %d file(s) read by the WOUDC and NASA Ames libraries" % checked)
                if checked < 2:
                    print("  FAILED: fewer files than formats")
                    failures += 1
    if failures:
        sys.exit("%d failure(s)" % failures)


if __name__ == "__main__":
    main()
