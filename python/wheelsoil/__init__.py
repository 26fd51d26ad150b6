"""wheelsoil: loads of deformable soil on a rigid wheel, numpy in and out.

    import wheelsoil
    p = wheelsoil.talvor_input("dry_sand", radius=0.13, width=0.16,
                               centre_height=0.12, vx=0.08, wy=0.1 / 0.13,
                               c1=0.4, c2=0.15, c3=0.1, c4=0, gravity=9.81)
    loads = wheelsoil.talvor_output(wheelsoil.talvor(p))
    loads["rim_fz"]                      # 37.96 N carried by the soil

talvor        the full model: (29,) -> (18,), (N, 29) -> (N, 18); options
              rule="split" and direction_aware=True
talvor_contact
              the contact angles, sinkages and rim stress profiles of one input
pindrel       the simplified vertical load: (20,) -> float, (N, 20) -> (N,)
equilibrium   the centre height at which the soil carries a wheel load
talvor_input, pindrel_input
              input vectors from named values, broadcasting into sweeps
talvor_output named output columns (dict, or a pandas DataFrame)
soils         the soil library, with sources
sweep         talvor or pindrel over many rows on a Dask cluster
fit_plate, fit_shear, fit_wheel
              soil and wheel parameters from test data

SI units, angles in radians; x forward, y along the axle, z up; loads are
those the soil exerts on the wheel. The results are the same bits as
talvor(p) and pindrel(p) in Octave. help(wheelsoil.talvor) lists the slots.
"""

from . import _core
from ._contact import Contact, talvor_contact
from ._equilibrium import (STATUSES, EquilibriumError, EquilibriumResult, EquilibriumWarning,
                           equilibrium)
from ._fit import FitError, FitParameter, FitQuantity, FitResult, fit_plate, fit_shear, fit_wheel
from ._inputs import pindrel_input, talvor_input, talvor_output
from ._models import pindrel, talvor
from ._sweep import sweep
from ._tables import (Slot, Soil, SoilLibrary, pindrel_input_slots, soils, talvor_input_slots,
                      talvor_output_slots)

#: The version of the package and of the library inside it.
__version__: str = _core.version()

__all__ = [
    "Contact",
    "EquilibriumError",
    "EquilibriumResult",
    "EquilibriumWarning",
    "FitError",
    "FitParameter",
    "FitQuantity",
    "FitResult",
    "STATUSES",
    "Slot",
    "Soil",
    "SoilLibrary",
    "equilibrium",
    "fit_plate",
    "fit_shear",
    "fit_wheel",
    "pindrel",
    "pindrel_input",
    "pindrel_input_slots",
    "soils",
    "sweep",
    "talvor",
    "talvor_contact",
    "talvor_input",
    "talvor_input_slots",
    "talvor_output",
    "talvor_output_slots",
]
