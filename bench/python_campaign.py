#!/usr/bin/env python3
"""Campaign throughput through the Python module: the 200 simulated 3-hour flights of
campaign_bench (one to four ozonesondes, made once in the temporary folder) processed
with lumo.process one by one and in a thread pool of two, best of a few rounds each.

    PYTHONPATH=build/python python3 bench/python_campaign.py [BUILDDIR] [ROUNDS]
"""

import concurrent.futures
import os
import pathlib
import subprocess
import sys
import tempfile
import time

import lumo

FLIGHTS = 200


def campaign_files(build):
    """The flights of campaign_bench: the same seeds and options, the same folder."""
    folder = pathlib.Path(tempfile.gettempdir()) / "lumo-campaign-bench"
    folder.mkdir(exist_ok=True)
    raws = []
    for i in range(FLIGHTS):
        base = folder / f"flight{i}"
        raws.append(str(base) + ".raw")
        if (folder / f"flight{i}.cfg").exists():
            continue
        args = [str(build / "app/simulate/lumo-simulate"), "--out", str(base), "--seed", str(1000 + i),
                "--sondes", str(1 + i % 4), "--ascent-rate", "4", "--truth-step", "60"]
        if i % 2 == 0:
            args.append("--gps-velocities")
        if i % 3 == 0:
            args.append("--extended-ptu")
        subprocess.run(args, check=True, capture_output=True)
    return raws


def total(raw):
    return lumo.process(raw).sondes[0].total


def one_by_one(raws):
    return [total(r) for r in raws]


def pool_of_two(raws):
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        return list(pool.map(total, raws))


def main():
    build = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "build")
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 2
    raws = campaign_files(build)
    best = {one_by_one: 1e30, pool_of_two: 1e30}
    results = {}
    for _ in range(rounds):
        for run in best:
            start = time.perf_counter()
            results[run] = run(raws)
            best[run] = min(best[run], time.perf_counter() - start)
    assert results[one_by_one] == results[pool_of_two]
    one, two = best[one_by_one], best[pool_of_two]
    print(f"{FLIGHTS} flights, best of {rounds}, load average {os.getloadavg()[0]:.1f}: "
          f"one by one {one:.2f} s ({FLIGHTS / one:.0f} flights/s), "
          f"thread pool of 2 {two:.2f} s ({FLIGHTS / two:.0f} flights/s): {one / two:.2f} times")


if __name__ == "__main__":
    main()
