"""The slot tables and the soil library, from the library's own tables."""

from dataclasses import dataclass
from types import MappingProxyType
from typing import Dict, Iterator, Mapping, Tuple

from . import _core


@dataclass(frozen=True)
class Slot:
    """One slot of an input or output vector."""

    index: int
    name: str
    symbol: str  # in the model's formulas; "" if none
    unit: str  # SI; "-" for a pure number
    kind: str  # "required", "fixed", "copy" or "result"
    default: float  # the default of a "fixed" slot
    copy_of: str  # the slot a "copy" slot takes its default from, else ""
    meaning: str
    range: str  # typical values; "" where none is typical


def _slots(layout: str) -> Tuple[Slot, ...]:
    return tuple(Slot(index=k, **s) for k, s in enumerate(_core.slots(layout)))


#: The 29 input slots of talvor, in slot order.
talvor_input_slots: Tuple[Slot, ...] = _slots("talvor_input")
#: The 18 output slots of talvor, in slot order.
talvor_output_slots: Tuple[Slot, ...] = _slots("talvor_output")
#: The 20 input slots of pindrel, in slot order.
pindrel_input_slots: Tuple[Slot, ...] = _slots("pindrel_input")


@dataclass(frozen=True)
class Soil:
    """A soil of the library: published values, their source, and SI values.

    The SI values are those the models take: k_c (N/m^(n+1)), k_phi
    (N/m^(n+2)), cohesion (Pa) and friction_angle (rad), formed from the
    published k_c_kn, k_phi_kn, cohesion_kpa and friction_angle_deg exactly
    as the C, C++ and Octave interfaces form them. shear_modulus (m) is K,
    kx = ky = K for talvor; density in kg/m^3. A *_typical flag says the
    source gives no value for this soil and the typical value of its class
    is used (the notes say which).
    """

    name: str
    description: str
    sinkage_exponent: float
    k_c_kn: float
    k_phi_kn: float
    cohesion_kpa: float
    friction_angle_deg: float
    k_c: float
    k_phi: float
    cohesion: float
    friction_angle: float
    shear_modulus: float
    shear_modulus_typical: bool
    density: float
    density_typical: bool
    source: str
    notes: str

    def talvor_slots(self) -> Dict[str, float]:
        """The talvor input slots this soil sets: n, k_c, k_phi, c, phi, kx, ky, density."""
        return {
            "sinkage_exponent": self.sinkage_exponent,
            "k_c": self.k_c,
            "k_phi": self.k_phi,
            "cohesion": self.cohesion,
            "friction_angle": self.friction_angle,
            "kx": self.shear_modulus,
            "ky": self.shear_modulus,
            "soil_density": self.density,
        }

    def pindrel_slots(self) -> Dict[str, float]:
        """The pindrel input slots this soil sets: n, k_c, k_phi, c, phi, K."""
        return {
            "sinkage_exponent": self.sinkage_exponent,
            "k_c": self.k_c,
            "k_phi": self.k_phi,
            "cohesion": self.cohesion,
            "friction_angle": self.friction_angle,
            "shear_modulus": self.shear_modulus,
        }


class SoilLibrary(Mapping[str, Soil]):
    """The soil library: soils["dry_sand"], in the library's order.

    The same table as soil_parameters in Octave and the C and C++
    interfaces (docs/soils.md lists it). str(soils) prints each soil's
    published values and source.
    """

    def __init__(self) -> None:
        self._soils: Mapping[str, Soil] = MappingProxyType(
            {s["name"]: Soil(**s) for s in _core.soils()})

    def __getitem__(self, name: str) -> Soil:
        try:
            return self._soils[name]
        except KeyError:
            raise KeyError(unknown_name_message("soil", name, list(self._soils))) from None

    def __iter__(self) -> Iterator[str]:
        return iter(self._soils)

    def __len__(self) -> int:
        return len(self._soils)

    def __repr__(self) -> str:
        return f"<wheelsoil soil library: {', '.join(self._soils)}>"

    def __str__(self) -> str:
        lines = [f"{'name':<22}{'n':>6}{'k_c kN':>9}{'k_phi kN':>10}{'c kPa':>8}"
                 f"{'phi deg':>8}{'K m':>7}{'rho':>6}  source"]
        for s in self._soils.values():
            lines.append(f"{s.name:<22}{s.sinkage_exponent:>6g}{s.k_c_kn:>9g}"
                         f"{s.k_phi_kn:>10g}{s.cohesion_kpa:>8g}{s.friction_angle_deg:>8g}"
                         f"{s.shear_modulus:>7g}{s.density:>6g}  {s.source}")
        return "\n".join(lines)


def unknown_name_message(what: str, name: object, valid: "list[str]") -> str:
    """'unknown <what> <name>', with the nearest valid name suggested."""
    import difflib

    text = f"unknown {what} {name!r}"
    close = difflib.get_close_matches(str(name), valid, n=1, cutoff=0.6)
    if not close:
        lower = {v.lower(): v for v in valid}
        close = [lower[str(name).lower()]] if str(name).lower() in lower else []
    if close:
        return f"{text} (did you mean {close[0]!r}?)"
    return f"{text}; valid: {', '.join(valid)}"


#: The soil library.
soils = SoilLibrary()
