"""talvor and pindrel over numpy arrays."""

from typing import Any, List, Optional, Union

import numpy as np

from . import _core
from ._arrays import as_rows, talvor_flags, thread_count


def talvor(p: Any, threads: Optional[int] = None, math: str = "default", rule: str = "fixed",
           direction_aware: bool = False) -> np.ndarray:
    # The docstring is completed from the slot tables below.
    flags = talvor_flags(math, rule, direction_aware)
    rows, single = as_rows(p, "p", 29)
    out = _core.talvor_batch(rows, thread_count(threads), flags)
    return out[0] if single else out


def pindrel(q: Any, threads: Optional[int] = None) -> Union[float, np.ndarray]:
    rows, single = as_rows(q, "q", 20)
    out = _core.pindrel_batch(rows, thread_count(threads), 0)
    return float(out[0]) if single else out


def slot_table(layout: str) -> str:
    """The slots of a table as lines of text: index, name, unit, meaning."""
    lines: List[str] = []
    for k, s in enumerate(_core.slots(layout)):
        default = ""
        if s["kind"] == "fixed":
            default = f" [default {s['default']:g}]"
        elif s["kind"] == "copy":
            default = f" [default: {s['copy_of']}]"
        lines.append(f"    {k:2d}  {s['name']:<18} {s['unit']:<10} {s['meaning']}{default}")
    return "\n".join(lines)


talvor.__doc__ = f"""The loads that soft soil exerts on a rigid wheel (the full model).

    talvor(p) -> (18,) for one input vector p of shape (29,);
    talvor(P) -> (N, 18) for N vectors, one per row of P of shape (N, 29).

    P may be float64 in C or Fortran order or with any strides (a
    transposed or sliced view, a broadcast row): it is read in place.
    Integer arrays are converted when every value is an exact float64.
    float32, complex, bool and other types are refused with a TypeError,
    shapes other than the two above with a ValueError. The results are the
    same bits as talvor(p) in Octave, whatever the thread count.

    threads: None uses one thread per hardware thread; else at most that
        many. The GIL is released while evaluating; Ctrl-C stops a batch.
    math: "default" is the documented model; "vector" evaluates with
        deterministic vector maths, several times faster, within 1e-11 of
        the default relative to the largest load (not the same bits).
    rule: "fixed" is the documented 30 x 30 rule; "split" splits each rim
        strip at its maximum-stress angles (and the band's entry and exit
        angles) and applies the 30-point rule on each piece: within about
        1e-7 of the exact integral and smooth in the slip, at about 3 times
        the cost. The sidewall loads (slots 6-11) are the default's bits.
        Not with math="vector" (ValueError).
    direction_aware: False evaluates every wheel as documented, with the
        entry angle and the stress peak always at +x. True evaluates a
        wheel travelling in -x (vx < 0, or vx = +-0 and wy < 0) in the
        frame mirrored about its y-z plane (vx, wy, wz negated) and maps the
        loads back (the x forces and the y and z moments negated): it gets
        the mirrored loads of the same wheel travelling forward, bit for bit.
        Every other wheel gets the bits of the default.
    Both options combine with each other and with threads; neither changes
    talvor(p) unless asked for.

    SI units, angles in radians. Frame: x forward, y along the axle, z up,
    origin at the wheel centre; loads are those the soil exerts on the
    wheel, moments about the centre. talvor_input() builds p from named
    values; talvor_output() names the results; talvor_contact() gives the
    contact angles, sinkages and stress profiles behind them.

    Input slots (p[k]):
{slot_table("talvor_input")}

    Output slots:
{slot_table("talvor_output")}
"""

pindrel.__doc__ = f"""The vertical load that soft soil carries under a wheel (the simplified model).

    pindrel(q) -> float for one input vector q of shape (20,);
    pindrel(Q) -> (N,) for N vectors, one per row of Q of shape (N, 20).

    The contact angles are given rather than computed. Arrays as for
    talvor: float64 in any order or strides read in place, exact integers
    converted, anything else refused. Same bits as pindrel(p) in Octave.
    threads as for talvor; the GIL is released while evaluating.
    pindrel_input() builds q from named values.

    Input slots (q[k]), SI units, angles in radians from the downward
    vertical, positive forward:
{slot_table("pindrel_input")}

    Output: the vertical load W (N) the soil carries under the rim.
"""
