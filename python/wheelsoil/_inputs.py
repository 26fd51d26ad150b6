"""Input vectors from named values, and named output columns."""

from typing import Any, Dict, Mapping, Tuple, Union

import numpy as np

from ._arrays import as_float64
from ._tables import (Slot, Soil, pindrel_input_slots, soils, talvor_input_slots,
                      talvor_output_slots, unknown_name_message)

SoilArgument = Union[None, str, Soil, Mapping[str, Any]]


def _soil_values(soil: SoilArgument, model: str) -> Dict[str, Any]:
    if soil is None:
        return {}
    if isinstance(soil, str):
        soil = soils[soil]
    if isinstance(soil, Soil):
        return soil.talvor_slots() if model == "talvor" else soil.pindrel_slots()
    if isinstance(soil, Mapping):
        return dict(soil)
    raise TypeError(f"soil must be a soil name, a wheelsoil.Soil or a mapping of slot values, "
                    f"got {type(soil).__name__}")


def _assemble(caller: str, table: Tuple[Slot, ...], soil: SoilArgument,
              values: Dict[str, Any]) -> np.ndarray:
    """The vector(s) of `table` from the soil's values, then `values`."""
    names = [s.name for s in table]
    given = _soil_values(soil, caller[:-len("_input")])
    given.update(values)
    for name in given:
        if name not in names:
            raise TypeError(f"{caller}: " + unknown_name_message("slot", name, names))
    missing = [s.name for s in table if s.kind == "required" and s.name not in given]
    if missing:
        raise ValueError(f"{caller}: missing required slot(s): {', '.join(missing)}")

    arrays = {}
    for name, value in given.items():
        a = as_float64(value, name, "() or broadcastable with the other values")
        arrays[name] = a
    try:
        shape = np.broadcast_shapes(*(a.shape for a in arrays.values()))
    except ValueError:
        shapes = ", ".join(f"{n} {a.shape}" for n, a in arrays.items() if a.ndim)
        raise ValueError(f"{caller}: the array values do not broadcast together: {shapes}") \
            from None

    count = int(np.prod(shape)) if shape else 1
    out = np.empty((count, len(table)), dtype=np.float64)
    index = {name: k for k, name in enumerate(names)}
    for name, a in arrays.items():
        out[:, index[name]] = np.broadcast_to(a, shape).reshape(count)
    for s in table:
        if s.name in arrays:
            continue
        if s.kind == "copy":
            out[:, s.index] = out[:, index[s.copy_of]]
        else:
            out[:, s.index] = s.default
    return out[0] if not shape else out


def talvor_input(soil: SoilArgument = None, **values: Any) -> np.ndarray:
    # The docstring is completed below.
    return _assemble("talvor_input", talvor_input_slots, soil, values)


def pindrel_input(soil: SoilArgument = None, **values: Any) -> np.ndarray:
    return _assemble("pindrel_input", pindrel_input_slots, soil, values)


_INPUT_DOC = """{model}'s input vector(s) from named values.

    {caller}(soil=None, **values) -> ({slots},) when every value is a scalar;
    (N, {slots}) when some are arrays: all values broadcast together (numpy's
    rules) and the broadcast shape is flattened in C order to the N rows, so
    a grid of shape S gives N = prod(S) rows and the results reshape to
    S + (...).

    soil: a soil name of wheelsoil.soils ("dry_sand"), a wheelsoil.Soil, or
        a mapping of slot values; it sets {soil_slots}; the named values
        are applied after it and replace its values.
    values: slot=value, the slots below; numbers or array-likes of float64
        or exact integers. Values are copied as they are: SI units, angles
        in radians.

    A name that is not a slot is refused with a TypeError naming the
    nearest valid slot; a missing required slot with a ValueError. Slots
    left out take their defaults (below); a slot whose default is another
    slot's value takes it row by row.

    Slots:
{table}
"""


def _slot_lines(table: Tuple[Slot, ...]) -> str:
    lines = []
    for s in table:
        if s.kind == "required":
            default = "required"
        elif s.kind == "copy":
            default = f"default: {s.copy_of}"
        else:
            default = f"default {s.default:g}"
        lines.append(f"    {s.name:<18} {s.unit:<10} {s.meaning} [{default}]")
    return "\n".join(lines)


talvor_input.__doc__ = _INPUT_DOC.format(
    model="talvor", caller="talvor_input", slots=29, table=_slot_lines(talvor_input_slots),
    soil_slots="sinkage_exponent, k_c, k_phi, cohesion, friction_angle, kx, ky and "
    "soil_density") + """
    Example, the rover wheel of the README at slip 0.2:
        p = wheelsoil.talvor_input("dry_sand", radius=0.13, width=0.16,
                                   centre_height=0.12, vx=0.08, wy=0.1 / 0.13,
                                   c1=0.4, c2=0.15, c3=0.1, c4=0, gravity=9.81)
"""
pindrel_input.__doc__ = _INPUT_DOC.format(
    model="pindrel", caller="pindrel_input", slots=20, table=_slot_lines(pindrel_input_slots),
    soil_slots="sinkage_exponent, k_c, k_phi, cohesion, friction_angle and shear_modulus")

# The named outputs: slots 12-17 repeat 0-5 and are left out.
_OUTPUT_NAMES = tuple(s.name for s in talvor_output_slots[:12])


def talvor_output(loads: Any, frame: bool = False) -> Union[Dict[str, Any], Any]:
    """Named columns of a talvor result.

    talvor_output(talvor(p)) -> dict of 12 floats;
    talvor_output(talvor(P)) -> dict of 12 arrays of shape (N,);
    talvor_output(talvor(P), frame=True) -> a pandas DataFrame with those
        12 columns (pandas is needed for this form only).

    The names are rim_fx, rim_fy, rim_fz, rim_mx, rim_my, rim_mz (the rim)
    and side_fx ... side_mz (both sidewalls together), in N and N m, the
    loads the soil exerts on the wheel in the frame x forward, y along the
    axle, z up, moments about the wheel centre. The drawbar pull is
    rim_fx + side_fx. Slots 12-17 repeat slots 0-5 bit for bit and are not
    returned. The dict's arrays are views of `loads`, not copies.
    """
    a = as_float64(loads, "loads", "(18,) or (N, 18)")
    if a.shape == (18,):
        if frame:
            return _frame(a[np.newaxis, :])
        return {name: float(a[k]) for k, name in enumerate(_OUTPUT_NAMES)}
    if a.ndim != 2 or a.shape[1] != 18:
        hint = " (one evaluation per column: pass the transpose)" \
            if a.ndim == 2 and a.shape[0] == 18 else ""
        raise ValueError(f"loads must be a float64 array of shape (18,) or (N, 18), got shape "
                         f"{a.shape}{hint}")
    if frame:
        return _frame(a)
    return {name: a[:, k] for k, name in enumerate(_OUTPUT_NAMES)}


def _frame(a: np.ndarray) -> Any:
    try:
        import pandas
    except ImportError:
        raise ImportError("talvor_output(..., frame=True) needs pandas (Debian: "
                          "python3-pandas); without it, use the dict it returns by default") \
            from None
    return pandas.DataFrame(a[:, :12], columns=list(_OUTPUT_NAMES))

