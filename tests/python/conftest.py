"""Shared fixtures: the programs of the build and simulated flights."""

import json
import os
import pathlib
import subprocess

import pytest

SOURCE = pathlib.Path(os.environ.get("LUMO_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2]))
SAMPLES = SOURCE / "samples"


def lumo_batch(*args):
    """The JSON lines of lumo-batch process --json ARGS, as Python's json reads them."""
    run = subprocess.run([os.environ["LUMO_BATCH"], "process", "--json", *map(str, args)],
                         capture_output=True, text=True)
    assert run.returncode in (0, 1), run.stderr
    return [json.loads(line) for line in run.stdout.splitlines()]


@pytest.fixture(scope="session")
def simulated(tmp_path_factory):
    """Eight simulated flights: one to four ozonesondes, with and without GPS velocities,
    extended PTU, a pressure sensor; their raw files."""
    folder = tmp_path_factory.mktemp("flights")
    raws = []
    for i in range(8):
        base = folder / f"sim{i}"
        args = [os.environ["LUMO_SIMULATE"], "--out", str(base), "--seed", str(100 + i),
                "--sondes", str(1 + i % 4), "--burst-km", str(20 + 2 * i), "--ptu-period", "2",
                "--gps-period", "2", "--ozone-period", "2"]
        if i % 2:
            args.append("--gps-velocities")
        if i % 3 == 0:
            args.append("--extended-ptu")
        if i == 5:
            args.append("--no-pressure")
        subprocess.run(args, check=True, capture_output=True)
        raws.append(base.with_suffix(".raw"))
    return raws
