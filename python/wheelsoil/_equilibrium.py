"""The operating point: the centre height at which the soil carries a load."""

import warnings
from dataclasses import dataclass
from typing import Any, Optional, Union

import numpy as np

from . import _core
from ._arrays import as_float64, as_rows, thread_count

#: How a solve can end, in the order of the status codes.
STATUSES = tuple(_core.STATUS_NAMES)


class EquilibriumError(RuntimeError):
    """A single operating-point solve that did not converge.

    status is the reason ("invalid_load", "invalid_wheel",
    "load_not_carried", "non_finite_loads" or "not_converged"), result the
    EquilibriumResult with its message.
    """

    def __init__(self, result: "EquilibriumResult") -> None:
        super().__init__(f"equilibrium: {result.message}")
        self.status = result.status
        self.result = result


class EquilibriumWarning(RuntimeWarning):
    """A root at which the vertical force does not fall steadily through the load."""


@dataclass(frozen=True)
class EquilibriumResult:
    """What equilibrium() found: scalars for one solve, arrays of N for many.

    centre_height  the solved centre height h_c (m)
    sinkage        sinkage at the wheel's mid-plane (m)
    max_sinkage    sinkage at the wheel's lowest edge (m)
    vertical_load  rim_fz + side_fz at centre_height (N)
    residual       vertical_load - load (N)
    loads          the 18 talvor loads there: (18,) or (N, 18)
    p              the input vector(s) with the solved centre height: (29,) or (N, 29)
    status         "converged", "invalid_load", "invalid_wheel",
                   "load_not_carried", "non_finite_loads" or "not_converged"
    converged      status == "converged"
    monotone       False where the force does not fall steadily through the load
    iterations     model evaluations used
    message        what happened, in words

    A solve that did not converge has NaN in centre_height, sinkage,
    max_sinkage, vertical_load, residual, loads and p's centre height.
    """

    centre_height: Union[float, np.ndarray]
    sinkage: Union[float, np.ndarray]
    max_sinkage: Union[float, np.ndarray]
    vertical_load: Union[float, np.ndarray]
    residual: Union[float, np.ndarray]
    loads: np.ndarray
    p: np.ndarray
    status: Union[str, np.ndarray]
    converged: Union[bool, np.ndarray]
    monotone: Union[bool, np.ndarray]
    iterations: Union[int, np.ndarray]
    message: Union[str, np.ndarray]


def equilibrium(p: Any, load: Any, threads: Optional[int] = None, tolerance: float = 1e-10,
                max_iterations: int = 100, check_monotone: bool = True,
                accepted_tolerance: float = 1e-6) -> EquilibriumResult:
    """The operating point: the centre height at which the soil carries `load`.

    Solves rim_fz + side_fz = load (N) for the centre height (slot
    centre_height), every other slot of p used as given; p's own centre
    height is ignored.

    One solve: p of shape (29,) and a scalar load. The result's fields are
    scalars; a solve that does not converge raises EquilibriumError (its
    status and message say why, its result holds the rest), and a root at
    which the force does not fall steadily through the load gives an
    EquilibriumWarning.

    Many solves: p of shape (N, 29) with one load or N loads, or p of shape
    (29,) with loads of shape (K,). The fields are arrays, one entry per
    solve; a failed solve does not stop the others: its status and message
    say why and its heights, sinkages and loads are NaN.

    threads: None for one per hardware thread; the GIL is released while
        solving. The results do not depend on it.
    tolerance: target |F - load| / load (default 1e-10).
    max_iterations: model evaluations allowed per solve (default 100).
    check_monotone: probe the force a little above and below the root.
    accepted_tolerance: the most |F - load| / load still reported as
        converged, with the residual in the message, where the tolerance
        cannot be met (default 1e-6).

    The statuses and messages are those of talvor_equilibrium in Octave.
    """
    rows, single_p = as_rows(p, "p", 29)
    loads = as_float64(load, "load", "() or (N,)")
    if loads.ndim > 1:
        raise ValueError(f"load must be a float64 scalar or array of shape (N,), got shape "
                         f"{loads.shape}")
    single = single_p and loads.ndim == 0
    loads = loads.reshape(-1)
    if single_p:
        rows = np.broadcast_to(rows, (loads.shape[0], 29))
    elif loads.shape[0] not in (1, rows.shape[0]):
        raise ValueError(f"load must be one load or one per row of p ({rows.shape[0]}), got "
                         f"{loads.shape[0]}")
    if isinstance(max_iterations, bool) or not isinstance(max_iterations, (int, np.integer)):
        raise TypeError(f"max_iterations must be an integer, got {max_iterations!r}")
    if not 1 <= max_iterations < 2**31:
        raise ValueError(f"max_iterations must be from 1 to 2**31 - 1, got {max_iterations}")

    r = _core.equilibrium_batch(rows, loads, thread_count(threads), 0, float(tolerance),
                                int(max_iterations), bool(check_monotone),
                                float(accepted_tolerance))
    ok = r["converged"]
    nan = np.nan

    def solved(a: np.ndarray) -> np.ndarray:
        return np.where(ok if a.ndim == 1 else ok[:, np.newaxis], a, nan)

    p_eq = np.array(rows, dtype=np.float64, order="C")
    p_eq[:, 20] = solved(r["centre_height"])
    fields = dict(
        centre_height=solved(r["centre_height"]),
        sinkage=solved(r["sinkage"]),
        max_sinkage=solved(r["max_sinkage"]),
        vertical_load=solved(r["vertical_load"]),
        residual=solved(r["residual"]),
        loads=solved(r["loads"]),
        p=p_eq,
        status=np.array([STATUSES[s] for s in r["status"]], dtype=object),
        converged=ok,
        monotone=r["monotone"],
        iterations=r["iterations"].astype(np.int64),
        message=np.array(r["message"], dtype=object),
    )
    if not single:
        return EquilibriumResult(**fields)

    result = EquilibriumResult(**{
        k: (v[0] if k in ("loads", "p") else v[0].item() if isinstance(v[0], np.generic)
            else v[0]) for k, v in fields.items()
    })
    if not result.converged:
        raise EquilibriumError(result)
    if not result.monotone:
        warnings.warn(f"equilibrium: {result.message}", EquilibriumWarning, stacklevel=2)
    return result
