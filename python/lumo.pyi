"""Balloon-borne ozone soundings: the import, processing, archive profile and writers of Lumo."""

import datetime
import os
from typing import Any, Literal, Optional, Sequence, Union

import numpy
import xarray

_Path = Union[str, os.PathLike[str]]

class LoadError(Exception):
    """A flight that cannot be loaded or processed."""

    message: str
    path: str
    def __init__(self, message: str, path: str) -> None: ...

class Sonde:
    """The total ozone of one ozonesonde (DU); None where it could not be determined."""

    slot: int
    serial: str
    measured: Optional[float]
    residual: Optional[float]
    total: Optional[float]
    top_mix: Optional[float]
    measured_uncertainty: Optional[float]
    residual_uncertainty: Optional[float]
    total_uncertainty: Optional[float]
    correction_factor: Optional[float]

class Warning:
    """A finding of the quality checks, with a stable code."""

    code: str
    message: str
    values: dict[str, float]

class Tropopause:
    """A lapse-rate tropopause of the ascent."""

    pressure: float
    height: float
    temperature: float
    confirmed: bool

class Flight:
    """A processed flight, as lumo-batch process leaves it."""

    @property
    def raw(self) -> str: ...
    @property
    def cfg(self) -> str: ...
    @property
    def launch(self) -> Optional[datetime.datetime]: ...
    @property
    def burst(self) -> Optional[datetime.datetime]: ...
    @property
    def surface(self) -> dict[str, Any]: ...
    @property
    def sondes(self) -> list[Sonde]: ...
    @property
    def tropopause(self) -> Optional[Tropopause]: ...
    @property
    def tropopause2(self) -> Optional[Tropopause]: ...
    @property
    def warnings(self) -> list[Warning]: ...
    @property
    def questions(self) -> list[dict[str, str]]: ...
    def summary(self) -> dict[str, Any]: ...
    def profile(
        self, sonde: int = 1, part: Literal["ascent", "descent", "prelaunch"] = "ascent"
    ) -> dict[str, Any]: ...
    def to_xarray(self) -> xarray.Dataset: ...
    def write(self, dir: _Path, kinds: Sequence[str] = ("woudc", "ames", "nc", "o3")) -> list[str]: ...

def process(
    raw: _Path,
    cfg: Optional[_Path] = None,
    prefs: Optional[_Path] = None,
    answer: Union[bool, Literal["yes", "no"]] = False,
    *,
    surface_ref: Literal["std", "rs"] = ...,
    launch_detect: Literal["ptu", "gps"] = ...,
    apply_sfc_corr: bool = ...,
    **preference_keys: Union[bool, int, float, str],
) -> Flight: ...
def summary(
    raw: _Path,
    cfg: Optional[_Path] = None,
    prefs: Optional[_Path] = None,
    answer: Union[bool, Literal["yes", "no"]] = False,
    *,
    surface_ref: Literal["std", "rs"] = ...,
    launch_detect: Literal["ptu", "gps"] = ...,
    apply_sfc_corr: bool = ...,
    **preference_keys: Union[bool, int, float, str],
) -> dict[str, Any]: ...
def decode(raw: _Path) -> dict[str, Any]: ...
def read_config(cfg: _Path) -> dict[str, Any]: ...
