"""Named inputs and outputs, broadcasting, the slot tables and the soil library."""

import math

import numpy as np
import pytest

import wheelsoil
from conftest import same_bits

WHEEL = dict(radius=0.13, width=0.16, centre_height=0.12, vx=0.08, wy=0.1 / 0.13, c1=0.4,
             c2=0.15, c3=0.1, c4=0, gravity=9.81)


def test_talvor_input_places_every_slot_and_default(rover):
    names = [s.name for s in wheelsoil.talvor_input_slots]
    assert len(names) == 29 and rover.shape == (29,) and rover.dtype == np.float64
    sand = wheelsoil.soils["dry_sand"]
    for name, value in {**sand.talvor_slots(), **WHEEL}.items():
        assert rover[names.index(name)] == value, name
    assert rover[names.index("band_ratio")] == 1 and rover[names.index("kr")] == 1
    assert rover[names.index("vy")] == 0 and rover[names.index("spare_27")] == 0
    loads = wheelsoil.talvor_output(wheelsoil.talvor(rover))
    assert round(loads["rim_fz"], 2) == 37.96  # the README's quick start
    assert round(loads["rim_fx"] + loads["side_fx"], 3) == 0.004


def test_named_values_replace_the_soil_and_a_soil_may_be_given_three_ways(rover):
    sand = wheelsoil.soils["dry_sand"]
    assert same_bits(wheelsoil.talvor_input(sand, **WHEEL), rover)
    assert same_bits(wheelsoil.talvor_input(sand.talvor_slots(), **WHEEL), rover)
    wet = wheelsoil.talvor_input("dry_sand", **WHEEL, cohesion=5000.0)
    assert wet[11] == 5000.0 and same_bits(np.delete(wet, 11), np.delete(rover, 11))


def test_array_values_broadcast_into_rows(rover):
    slips = np.array([0.0, 0.1, 0.2, 0.3])
    P = wheelsoil.talvor_input("dry_sand", **{**WHEEL, "vx": 0.1 * (1 - slips)})
    assert P.shape == (4, 29)
    assert same_bits(P[:, 0], 0.1 * (1 - slips))
    assert same_bits(P[:, 1:], np.tile(rover[1:], (4, 1)))
    # A grid: 3 heights x 4 speeds, flattened in C order.
    heights = np.array([0.11, 0.115, 0.12])[:, np.newaxis]
    G = wheelsoil.talvor_input("dry_sand", **{**WHEEL, "centre_height": heights,
                                             "vx": 0.1 * (1 - slips)})
    assert G.shape == (12, 29)
    assert same_bits(G[:, 20].reshape(3, 4), np.broadcast_to(heights, (3, 4)))
    assert same_bits(G[:, 0].reshape(3, 4), np.broadcast_to(0.1 * (1 - slips), (3, 4)))
    assert same_bits(wheelsoil.talvor(G).reshape(3, 4, 18)[2, 1], wheelsoil.talvor(G[9]))
    with pytest.raises(ValueError, match="broadcast"):
        wheelsoil.talvor_input("dry_sand", **{**WHEEL, "vx": np.zeros(3), "wy": np.zeros(4)})
    assert wheelsoil.talvor_input("dry_sand", **{**WHEEL, "vx": np.zeros(0)}).shape == (0, 29)


def test_pindrel_input_copies_slots_row_by_row():
    q = wheelsoil.pindrel_input("dry_sand", width=0.16, radius=np.array([0.1, 0.2]),
                                rim_entry_angle=0.4, peak_stress_angle=0.1, rear_angle=-0.05)
    names = [s.name for s in wheelsoil.pindrel_input_slots]
    assert q.shape == (2, 20)
    assert same_bits(q[:, names.index("band_radius")], [0.1, 0.2])
    assert same_bits(q[:, names.index("front_angle")], [0.4, 0.4])
    assert q[0, names.index("shear_modulus")] == wheelsoil.soils["dry_sand"].shear_modulus
    assert wheelsoil.pindrel(q).shape == (2,)


def test_unknown_missing_and_bad_values_are_refused():
    with pytest.raises(TypeError, match="unknown slot 'raduis' \\(did you mean 'radius'\\?\\)"):
        wheelsoil.talvor_input("dry_sand", raduis=0.13, **WHEEL)
    with pytest.raises(TypeError, match="did you mean 'friction_angle'"):
        wheelsoil.talvor_input("dry_sand", Friction_Angle=0.5, **WHEEL)
    with pytest.raises(TypeError, match="unknown slot 'shear_modulus'"):
        wheelsoil.talvor_input(wheelsoil.soils["dry_sand"].pindrel_slots(), **WHEEL)
    with pytest.raises(ValueError, match="missing required slot\\(s\\): width, gravity"):
        wheelsoil.talvor_input("dry_sand", **{k: v for k, v in WHEEL.items()
                                               if k not in ("width", "gravity")})
    with pytest.raises(KeyError, match="did you mean 'dry_sand'"):
        wheelsoil.talvor_input("dry_snad", **WHEEL)
    with pytest.raises(TypeError, match="complex"):
        wheelsoil.talvor_input("dry_sand", **{**WHEEL, "vx": 0.1j})
    with pytest.raises(TypeError, match="float64"):
        wheelsoil.talvor_input("dry_sand", **{**WHEEL, "vx": "fast"})
    with pytest.raises(TypeError, match="soil"):
        wheelsoil.talvor_input(3, **WHEEL)
    # NaN and infinities are values like any other.
    assert math.isnan(wheelsoil.talvor_input("dry_sand", **{**WHEEL, "vy": math.nan})[1])


def test_talvor_output_names_columns(rover, talvor_cases):
    _, P, F = talvor_cases
    names = [s.name for s in wheelsoil.talvor_output_slots[:12]]
    one = wheelsoil.talvor_output(F[0])
    assert list(one) == names and all(isinstance(v, float) for v in one.values())
    assert same_bits([one[n] for n in names], F[0, :12])
    many = wheelsoil.talvor_output(F)
    assert list(many) == names and same_bits(np.column_stack(list(many.values())), F[:, :12])
    pandas = pytest.importorskip("pandas")
    frame = wheelsoil.talvor_output(F, frame=True)
    assert isinstance(frame, pandas.DataFrame) and list(frame.columns) == names
    assert same_bits(frame.to_numpy(), F[:, :12])
    assert wheelsoil.talvor_output(F[0], frame=True).shape == (1, 12)
    with pytest.raises(ValueError, match="transpose"):
        wheelsoil.talvor_output(F.T)
    with pytest.raises(TypeError, match="complex"):
        wheelsoil.talvor_output(F.astype(complex))


def test_soils_are_the_library_table():
    soils = wheelsoil.soils
    assert list(soils)[:2] == ["dry_sand", "sandy_loam"] and len(soils) >= 10
    sand = soils["dry_sand"]
    # The SI values as the C++ and Octave helpers form them, in their grouping.
    assert sand.k_c == sand.k_c_kn * 1000 and sand.k_phi == sand.k_phi_kn * 1000
    assert sand.cohesion == sand.cohesion_kpa * 1000
    assert sand.friction_angle == sand.friction_angle_deg * 3.141592653589793 / 180
    assert sand.source and sand.notes and sand.shear_modulus_typical is True
    assert "dry_sand" in str(soils) and sand.source in str(soils)
    with pytest.raises(KeyError, match="did you mean 'lunar_soil'"):
        soils["lunar"]
    with pytest.raises(TypeError):
        soils["dry_sand"] = sand  # read-only
    with pytest.raises(AttributeError):
        sand.k_c = 1.0  # frozen


def test_slot_tables_describe_every_slot():
    for table, count in ((wheelsoil.talvor_input_slots, 29), (wheelsoil.talvor_output_slots, 18),
                         (wheelsoil.pindrel_input_slots, 20)):
        assert [s.index for s in table] == list(range(count))
        assert all(s.name and s.unit and s.meaning for s in table)
    assert wheelsoil.talvor_input_slots[20].name == "centre_height"
    assert wheelsoil.pindrel_input_slots[13].copy_of == "rim_entry_angle"
    assert "centre_height" in wheelsoil.talvor_input.__doc__
    assert "shear_modulus" in wheelsoil.pindrel_input.__doc__
