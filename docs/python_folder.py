#!/usr/bin/env python3
"""Every flight of a folder through the Python module: total ozone with its 1-sigma
uncertainty over time, one series per ozonesonde chain position, as a picture.

    PYTHONPATH=build/python python3 docs/python_folder.py samples total-ozone.png
"""

import concurrent.futures
import pathlib
import sys

import lumo


def columns(raw):
    """(launch, chain position, total DU, uncertainty DU) of every ozonesonde with a total."""
    try:
        f = lumo.process(raw)
    except lumo.LoadError as e:
        print(f"{e.path}: {e.message}", file=sys.stderr)
        return []
    for w in f.warnings:
        print(f"{raw}: {w.code}: {w.message}", file=sys.stderr)
    return [(f.launch, s.slot, s.total, s.total_uncertainty)
            for s in f.sondes if f.launch and s.total is not None]


def main():
    folder = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "samples")
    picture = sys.argv[2] if len(sys.argv) > 2 else "total-ozone.png"
    raws = sorted(folder.glob("*.raw"))
    # The module releases the GIL while a flight is processed: threads run in parallel.
    with concurrent.futures.ThreadPoolExecutor() as pool:
        rows = [row for found in pool.map(columns, raws) for row in found]
    for launch, slot, total, unc in rows:
        print(f"{launch:%Y-%m-%d %H:%M} UTC  sonde {slot}  {total:7.2f} DU  +/- "
              + (f"{unc:.2f} DU" if unc is not None else "unknown"))
    try:
        import matplotlib
        matplotlib.use("Agg")
        import matplotlib.pyplot as plt
    except ImportError:
        print("matplotlib is not installed (Debian: python3-matplotlib): no picture", file=sys.stderr)
        return
    fig, ax = plt.subplots(figsize=(7, 4))
    for slot in sorted({r[1] for r in rows}):
        mine = [r for r in rows if r[1] == slot]
        # An unknown uncertainty draws no error bar, never a zero one.
        err = [r[3] if r[3] is not None else float("nan") for r in mine]
        ax.errorbar([r[0] for r in mine], [r[2] for r in mine], yerr=err, fmt="o", capsize=3,
                    label=f"ozonesonde {slot}")
    ax.set_ylabel("total ozone (DU)")
    ax.set_title(f"Total ozone of the flights in {folder}")
    ax.legend()
    fig.autofmt_xdate()
    fig.tight_layout()
    fig.savefig(picture, dpi=100)
    print(f"wrote {picture}")


if __name__ == "__main__":
    main()
