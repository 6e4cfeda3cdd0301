"""The module's numbers, files and errors against lumo-batch on the same flights."""

import concurrent.futures
import datetime
import pickle

import pytest

import lumo
from conftest import SAMPLES, lumo_batch


def test_summary_equals_lumo_batch_json_on_samples_and_simulated_flights(simulated):
    raws = [SAMPLES / "flight1.raw", SAMPLES / "flight4.raw", *simulated]
    for raw, line in zip(raws, lumo_batch(*raws)):
        assert lumo.summary(str(raw)) == line
    assert lumo.process(str(SAMPLES / "flight1.raw")).sondes[0].total == pytest.approx(339.15998009400005, abs=0)


def test_flight_attributes_are_the_summary_values():
    f = lumo.process(SAMPLES / "flight4.raw")
    s = f.summary()
    assert [x.total for x in f.sondes] == [x["total"] for x in s["sondes"]]
    assert [x.total_uncertainty for x in f.sondes] == [x["totalUncertainty"] for x in s["sondes"]]
    assert [x.serial for x in f.sondes] == [x["sn"] for x in s["sondes"]]
    assert [w.code for w in f.warnings] == [w["code"] for w in s["warnings"]]
    assert f.surface == s["surface"]
    assert f.tropopause.pressure == s["tropopause"]["pressure"]
    assert f.launch.tzinfo == datetime.timezone.utc
    assert f.launch.strftime("%H:%M:%S.%f")[:-3] == s["launch"]["text"]
    assert pickle.loads(pickle.dumps(s)) == s


def test_overrides_equal_the_command_line_and_the_preferences_file(tmp_path):
    raw = SAMPLES / "flight4.raw"
    prefs = tmp_path / "lumo.ini"
    prefs.write_text("[pref]\nLPfilter=10\nlDetVal=3.5\n[o3]\nresidual=table\n"
                     f"residualTable={SAMPLES / 'residual.toz'}\n")
    by_file = lumo_batch("--prefs", prefs, "--surface-ref", "std", "--answer", "yes", raw)[0]
    by_keys = lumo.summary(raw, LPfilter=10, lDetVal=3.5, o3_residual="table",
                           residualTable=str(SAMPLES / "residual.toz"), surface_ref="std", answer=True)
    assert by_keys == by_file
    assert lumo.summary(raw, prefs=prefs, surface_ref="std", answer="yes") == by_file
    assert by_keys["sondes"] != lumo.summary(raw)["sondes"]


def test_profile_arrays_follow_the_archive_profile():
    f = lumo.process(SAMPLES / "flight1.raw")
    p = f.profile(sonde=1)
    assert len(p["time"]) == len(p["pressure"]) == len(p["o3pp_mpa"]) > 1000
    assert (p["time"][1:] >= p["time"][:-1]).all()
    with pytest.raises(ValueError, match="chain position 2"):
        f.profile(sonde=2)


def test_to_xarray_equals_the_netcdf_file_of_lumo_batch(tmp_path):
    xr = pytest.importorskip("xarray")
    raw = SAMPLES / "flight4.raw"
    line = lumo_batch("--export", "nc", "--out-dir", tmp_path, raw)[0]
    nc = [p for p in line["exports"] if p.endswith(".nc")][0]
    with xr.open_dataset(nc) as expected:
        got = lumo.process(raw).to_xarray()
        dated = {"history", "date_created"}  # the moment each file was written
        assert {k: v for k, v in got.attrs.items() if k not in dated} == \
            {k: v for k, v in expected.attrs.items() if k not in dated}
        assert set(got.variables) == set(expected.variables)
        for name in expected.variables:
            assert got[name].attrs == expected[name].attrs, name
            assert got[name].encoding.get("units") == expected[name].encoding.get("units"), name
        got.attrs = {k: v for k, v in got.attrs.items() if k not in dated}
        expected.attrs = {k: v for k, v in expected.attrs.items() if k not in dated}
        xr.testing.assert_identical(got, expected)


def test_write_gives_the_files_of_lumo_batch_export(tmp_path):
    raw = SAMPLES / "flight1.raw"
    kinds = ["o3", "winds", "woudc", "ames"]
    line = lumo_batch("--export", ",".join(kinds), "--out-dir", tmp_path / "batch", raw)[0]
    paths = lumo.process(raw).write(tmp_path / "module", kinds)
    assert [p.split("/")[-1] for p in paths] == [p.split("/")[-1] for p in line["exports"]]
    for mine, theirs in zip(paths, line["exports"]):
        assert open(mine, "rb").read() == open(theirs, "rb").read(), mine
    with pytest.raises(ValueError, match="Unknown export kind"):
        lumo.process(raw).write(tmp_path, ["pdf"])


def test_errors_are_exceptions_with_the_programs_messages(tmp_path, simulated):
    with pytest.raises(lumo.LoadError) as missing:
        lumo.process(tmp_path / "nothing.raw")
    assert missing.value.path == str(tmp_path / "nothing.raw")
    assert missing.value.message == lumo_batch(tmp_path / "nothing.raw")[0]["error"]
    bad = tmp_path / "bad.raw"
    bad.write_bytes(simulated[0].read_bytes())
    (tmp_path / "bad.cfg").write_text("[station]\nname=x\n")
    with pytest.raises(lumo.LoadError) as config:
        lumo.process(bad)
    assert str(config.value) == lumo_batch(bad)[0]["error"]
    assert lumo.summary(bad)["ok"] is False
    with pytest.raises(ValueError, match="Unknown keyword"):
        lumo.process(simulated[0], LPfilterr=10)
    with pytest.raises(ValueError, match="surface_ref"):
        lumo.process(simulated[0], surface_ref="standard")
    with pytest.raises(ValueError, match="no pressure sensor"):
        lumo.process(simulated[5], launch_detect="ptu")
    with pytest.raises(lumo.LoadError):
        lumo.read_config(tmp_path / "nothing.cfg")
    with pytest.raises(lumo.LoadError):
        lumo.decode(tmp_path / "nothing.raw")


def test_decode_and_read_config_give_the_records_and_the_configuration():
    d = lumo.decode(SAMPLES / "flight1.raw")
    s = d["summary"]
    assert s["sfc"] + s["flt"] >= len(d["ptu"]) + len(d["gps"]) + len(d["ozone"])
    assert (d["ptu"]["flight"].sum() > 0) and (~d["ptu"]["flight"]).sum() > 0
    assert set(d["ozone"]["o3Num"]) == {1}
    cfg = lumo.read_config(SAMPLES / "flight1.cfg")
    assert cfg["ok"] and cfg["o3Sonde"][0]["sn"] == lumo.process(SAMPLES / "flight1.raw").sondes[0].serial


def test_a_thread_pool_of_eight_flights_equals_one_by_one(simulated):
    one_by_one = [lumo.process(raw).summary() for raw in simulated]
    with concurrent.futures.ThreadPoolExecutor(max_workers=8) as pool:
        pooled = list(pool.map(lambda raw: lumo.process(raw).summary(), simulated))
    assert pooled == one_by_one


def test_dask_bag_maps_summary_over_four_flights(simulated):
    bag = pytest.importorskip("dask.bag")
    raws = [str(r) for r in simulated[:4]]
    got = bag.from_sequence(raws, npartitions=2).map(lumo.summary).compute(scheduler="processes")
    assert got == [lumo.summary(r) for r in raws]
