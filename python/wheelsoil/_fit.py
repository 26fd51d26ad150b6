"""Soil and wheel parameters from test data: the library's fits."""

from dataclasses import dataclass
from typing import Any, Dict, Mapping, Optional, Sequence, Tuple

import numpy as np

from . import _core
from ._arrays import as_float64, as_rows, thread_count


class FitError(RuntimeError):
    """A fit that gave no values: status is "ill_posed", "invalid_data",
    "not_converged" or "failed", result the FitResult with its message."""

    def __init__(self, result: "FitResult") -> None:
        super().__init__(f"{result.status}: {result.message}")
        self.status = result.status
        self.result = result


@dataclass(frozen=True)
class FitParameter:
    """One parameter: its fitted (or held) value and standard error."""

    name: str  # the talvor slot name where there is one
    unit: str
    value: float
    standard_error: float  # NaN when held or at a bound
    fitted: bool  # False: held at a given value
    at_bound: bool  # fitted, but ended on a bound: no standard error
    lower: float  # the bounds it was fitted within
    upper: float


@dataclass(frozen=True)
class FitQuantity:
    """One measured quantity: per data row, NaN where a row has none."""

    name: str
    unit: str
    measured: np.ndarray
    fitted: np.ndarray  # the model at the fitted values
    residuals: np.ndarray  # measured - fitted
    observations: int  # rows with a measurement
    sigma: float  # its residuals were divided by sigma in the fit
    rmse: float  # root mean square of the residuals
    r_squared: float  # 1 - SS_res / SS_tot about the measurements' mean


@dataclass(frozen=True)
class FitResult:
    """What a fit found.

    values and standard_errors map each parameter's name to its value and
    standard error (s sqrt(diag((J'J)^-1)) at the optimum, NaN when held or
    at a bound); parameters has the details, quantities the measured and
    fitted values and residuals of each measured quantity with their RMSE
    and R^2, correlation the parameters' correlation matrix in the order of
    parameters (NaN in the rows and columns of held ones).
    """

    status: str
    message: str
    parameters: Tuple[FitParameter, ...]
    quantities: Dict[str, FitQuantity]
    correlation: np.ndarray
    undetermined: Tuple[str, ...]
    observations: int
    degrees_of_freedom: int
    residual_standard_error: float
    condition_number: float
    iterations: int

    @property
    def values(self) -> Dict[str, float]:
        return {p.name: p.value for p in self.parameters}

    @property
    def standard_errors(self) -> Dict[str, float]:
        return {p.name: p.standard_error for p in self.parameters}


def _result(d: Dict[str, Any]) -> FitResult:
    parameters = tuple(FitParameter(**p) for p in d["parameters"])
    n = int(round(np.sqrt(d["correlation"].size)))
    r = FitResult(
        status=d["status"], message=d["message"], parameters=parameters,
        quantities={q["name"]: FitQuantity(**q) for q in d["quantities"]},
        correlation=d["correlation"].reshape(n, n),
        undetermined=tuple(d["undetermined"]), observations=d["observations"],
        degrees_of_freedom=d["degrees_of_freedom"],
        residual_standard_error=d["residual_standard_error"],
        condition_number=d["condition_number"], iterations=d["iterations"])
    if r.status != "converged":
        raise FitError(r)
    return r


def _available() -> None:
    if not _core.HAS_FIT:
        raise NotImplementedError("this build of wheelsoil has no parameter fits (they need "
                                  "Ceres Solver when it is built; Debian: libceres-dev)")


def _column(value: Any, what: str) -> np.ndarray:
    a = as_float64(value, what, "(N,)")
    if a.ndim != 1:
        raise ValueError(f"{what} must be a float64 array of shape (N,), got shape {a.shape}")
    return a


def _columns(**columns: Any) -> Dict[str, np.ndarray]:
    out = {name: _column(v, name) for name, v in columns.items() if v is not None}
    lengths = {a.shape[0] for a in out.values()}
    if len(lengths) > 1:
        shapes = ", ".join(f"{n} {a.shape[0]}" for n, a in out.items())
        raise ValueError(f"the data columns must have one length, got {shapes}")
    return out


def _options(fixed: Optional[Mapping[str, float]], start: Optional[Mapping[str, float]],
             lower: Optional[Mapping[str, float]], upper: Optional[Mapping[str, float]],
             max_iterations: int, rank_tolerance: float) -> Dict[str, Any]:
    o: Dict[str, Any] = {"max_iterations": int(max_iterations),
                         "rank_tolerance": float(rank_tolerance)}
    for name, m in (("fixed", fixed), ("start", start), ("lower", lower), ("upper", upper)):
        if m is not None:
            o[name] = {str(k): float(v) for k, v in m.items()}
    return o


_OPTIONS_DOC = """
    fixed: {name: value} held, not fitted; start: starting values (else
        estimated from the data); lower, upper: bounds that replace the
        physical ones; max_iterations: solver iterations allowed;
        rank_tolerance: below this ratio of the smallest to the largest
        singular value of the scaled Jacobian the fit is ill-posed.

    Returns a FitResult: values, standard_errors, parameters, quantities
    (measured, fitted, residuals, rmse, r_squared), correlation,
    residual_standard_error, condition_number. A fit that gives no values
    (ill_posed: the data cannot determine a parameter, named in
    result.undetermined; invalid_data; not_converged; failed) raises
    FitError with its status, message and result. SI units and radians.
"""


def fit_plate(size: Any, sinkage: Any, pressure: Any, *,
              fixed: Optional[Mapping[str, float]] = None,
              start: Optional[Mapping[str, float]] = None,
              lower: Optional[Mapping[str, float]] = None,
              upper: Optional[Mapping[str, float]] = None, max_iterations: int = 200,
              rank_tolerance: float = 1e-8) -> FitResult:
    _available()
    c = _columns(size=size, sinkage=sinkage, pressure=pressure)
    return _result(_core.fit_plate(c["size"], c["sinkage"], c["pressure"],
                                   _options(fixed, start, lower, upper, max_iterations,
                                            rank_tolerance)))


def fit_shear(normal_stress: Any, displacement: Any, shear_stress: Any, *, hump: bool = False,
              fixed: Optional[Mapping[str, float]] = None,
              start: Optional[Mapping[str, float]] = None,
              lower: Optional[Mapping[str, float]] = None,
              upper: Optional[Mapping[str, float]] = None, max_iterations: int = 200,
              rank_tolerance: float = 1e-8) -> FitResult:
    _available()
    c = _columns(normal_stress=normal_stress, displacement=displacement,
                 shear_stress=shear_stress)
    return _result(_core.fit_shear(c["normal_stress"], c["displacement"], c["shear_stress"],
                                   bool(hump), _options(fixed, start, lower, upper,
                                                        max_iterations, rank_tolerance)))


def fit_wheel(p: Any, slip: Any, load: Any, *, drawbar_pull: Any = None, torque: Any = None,
              sinkage: Any = None, parameters: Sequence[str] = ("c1", "c2", "c3", "c4"),
              sigma: Optional[Mapping[str, float]] = None, threads: Optional[int] = None,
              fixed: Optional[Mapping[str, float]] = None,
              start: Optional[Mapping[str, float]] = None,
              lower: Optional[Mapping[str, float]] = None,
              upper: Optional[Mapping[str, float]] = None, max_iterations: int = 200,
              rank_tolerance: float = 1e-5) -> FitResult:
    _available()
    given, single = as_rows(p, "p", 29)
    if not single:
        raise ValueError(f"p must be one talvor input vector of shape (29,), got shape "
                         f"{given.shape}")
    if isinstance(parameters, str):
        parameters = [parameters]
    c = _columns(slip=slip, load=load, drawbar_pull=drawbar_pull, torque=torque,
                 sinkage=sinkage)
    empty = np.empty(0)
    return _result(_core.fit_wheel(
        c["slip"], c["load"], c.get("drawbar_pull", empty), c.get("torque", empty),
        c.get("sinkage", empty), given[0], [str(n) for n in parameters],
        {str(k): float(v) for k, v in (sigma or {}).items()}, thread_count(threads),
        _options(fixed, start, lower, upper, max_iterations, rank_tolerance)))


fit_plate.__doc__ = """k_c, k_phi and n from plate-sinkage tests, p = (k_c/b + k_phi) z^n.

    size: plate size b (m) per reading (a rectangular plate's smaller side,
        a circular plate's radius); sinkage z (m); pressure p (Pa); 1-D
    arrays of one length. Two plate sizes at least, unless k_c or k_phi is
    held. Least squares in p; fits sinkage_exponent, k_c (N/m^(n+1)) and
    k_phi (N/m^(n+2)).
""" + _OPTIONS_DOC

fit_shear.__doc__ = """cohesion, friction_angle and K from shear tests,
    tau = (c + sigma tan phi) F(j/K).

    normal_stress sigma (Pa, compression positive), displacement j (m, from
    the start of shearing), shear_stress tau (Pa) per reading; 1-D arrays of
    one length. F is 1 - exp(-j/K), or with hump=True the hump law with its
    residual factor kr (fitted unless held). Two normal stresses at least,
    unless cohesion or friction_angle is held. Fits cohesion (Pa),
    friction_angle (rad) and shear_modulus (m).
""" + _OPTIONS_DOC

fit_wheel.__doc__ = """talvor inputs (c1-c4 by default) from single-wheel runs.

    p: the talvor input vector with every other input (geometry, soil, the
        starting values of the fitted slots) and the carriage speed vx > 0;
        per row the spin wy follows from the slip and the centre height
        from the load (the operating point).
    slip s (-, in [-1, 1]) and load W (N) per steady run; drawbar_pull
        rim_fx + side_fx (N), torque -(rim_my + side_my) (N m) and sinkage
        at the mid-plane (m) as measured: each optional, NaN where a row has
        none.
    parameters: the talvor slots to fit; "shear_modulus" fits kx = ky.
    sigma: {quantity: standard deviation of its measurements}; where not
        given, the RMS of its measured values.
    threads: rows solved on this many threads (None: all).
""" + _OPTIONS_DOC.replace("rank_tolerance: below", "rank_tolerance (1e-5 here): below")
