"""The contact behind talvor's loads: angles, sinkages and rim stress profiles."""

from dataclasses import dataclass
from typing import Any, Optional

import numpy as np

from . import _core
from ._arrays import as_float64, as_rows, direction_flag


@dataclass(frozen=True)
class Contact:
    """The contact of one talvor input, as talvor_contact() gives it.

    At the 30 lateral positions of the rim rule, from +b/2 towards -b/2,
    arrays of shape (30,):
    y                      lateral position (m)
    sinkage                rim sinkage z(y) (m)
    entry_angle            theta_1, where the rim enters the soil (rad)
    max_stress_angle       theta_m, where the normal stress peaks (rad)
    exit_angle             theta_2, where the rim leaves the soil (rad)
    band_entry_angle, band_max_stress_angle, band_exit_angle
                           the same three for the band surface (rad)
    And scalars:
    slip_ratio             s, the longitudinal slip ratio (2: undefined)
    side_sinkage_plus      sinkage of the sidewall at y = +b/2 (m)
    side_sinkage_minus     sinkage of the sidewall at y = -b/2 (m)

    The stresses along the rim, when talvor_contact() was given y and
    theta (None otherwise); row i is the profile at profile_y[i], column j
    at theta[j], arrays of shape (len(y), len(theta)):
    profile_y              the lateral positions y (m), shape (len(y),)
    theta                  the rim angles theta (rad), shape (len(theta),)
    normal_stress          sigma (Pa)
    shear_stress_x         tau_x, along increasing theta (Pa)
    shear_stress_y         tau_y, with the point's lateral slip (Pa)
    shear_displacement_x   j_x (m)
    shear_displacement_y   j_y (m)

    Angles are measured from the downward vertical, positive forward (+x).
    """

    slip_ratio: float
    y: np.ndarray
    sinkage: np.ndarray
    entry_angle: np.ndarray
    max_stress_angle: np.ndarray
    exit_angle: np.ndarray
    band_entry_angle: np.ndarray
    band_max_stress_angle: np.ndarray
    band_exit_angle: np.ndarray
    side_sinkage_plus: float
    side_sinkage_minus: float
    profile_y: Optional[np.ndarray] = None
    theta: Optional[np.ndarray] = None
    normal_stress: Optional[np.ndarray] = None
    shear_stress_x: Optional[np.ndarray] = None
    shear_stress_y: Optional[np.ndarray] = None
    shear_displacement_x: Optional[np.ndarray] = None
    shear_displacement_y: Optional[np.ndarray] = None


# The fields that only a profile fills.
_PROFILE_FIELDS = ("profile_y", "theta", "normal_stress", "shear_stress_x", "shear_stress_y",
                   "shear_displacement_x", "shear_displacement_y")


def _positions(value: Any, what: str) -> np.ndarray:
    """A scalar or 1-D sequence of positions or angles as a 1-D float64 array."""
    a = as_float64(value, what, "() or (n,)")
    if a.ndim > 1:
        raise ValueError(f"{what} must be a scalar or a 1-D array, got shape {a.shape}")
    return np.ascontiguousarray(np.atleast_1d(a))


def talvor_contact(p: Any, y: Any = None, theta: Any = None,
                   direction_aware: bool = False) -> Contact:
    """Contact angles, sinkages and rim stress profiles of talvor for one input.

    talvor_contact(p) -> Contact, p one input vector of shape (29,) as for
    talvor: the slip ratio, and at the 30 lateral positions of the rim
    rule (from +b/2 towards -b/2) the sinkage and the entry,
    maximum-stress and exit angles of the outer and of the band surface,
    and each sidewall's sinkage.

    talvor_contact(p, y, theta) adds the stresses along the rim at the
    lateral positions y (m) and rim angles theta (rad), each a scalar or
    a 1-D array: normal_stress, shear_stress_x, shear_stress_y,
    shear_displacement_x and shear_displacement_y of shape
    (len(y), len(theta)), row i the profile at y[i]. The values are those
    the model integrates, to the last bit. y and theta go together: one
    without the other is a ValueError.

    direction_aware: True evaluates a wheel travelling in -x as
    talvor(..., direction_aware=True) does, mirrored, and maps the contact
    back: every angle negated (the entry angle then lies behind the
    bottom, at -x), and tau_x and j_x negated; the rest kept. False (the
    default) gives the contact of the documented model.

    Angles are measured from the downward vertical, positive forward (+x).
    The GIL is released while evaluating. See Contact for the fields.
    """
    flags = direction_flag(direction_aware)
    rows, single = as_rows(p, "p", 29)
    if not single:
        raise ValueError(f"p must be one input vector of shape (29,), got shape {rows.shape}")
    if (y is None) != (theta is None):
        raise ValueError("y and theta go together: give both (the stress profiles) or neither")
    profile = y is not None
    ys = _positions(y, "y") if profile else np.empty(0)
    thetas = _positions(theta, "theta") if profile else np.empty(0)
    d = _core.talvor_contact(rows[0], ys, thetas, flags)
    if not profile:
        for name in _PROFILE_FIELDS:
            d[name] = None
    return Contact(**d)
