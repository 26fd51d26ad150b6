"""The fits from Python: the example data's values recovered, failures raised."""

from pathlib import Path

import numpy as np
import pytest

import wheelsoil

if not wheelsoil._core.HAS_FIT:
    pytest.skip("built without the parameter fits", allow_module_level=True)

DATA = Path(__file__).resolve().parent.parent.parent / "examples" / "data"


def columns(name):
    """The columns of a CSV file of examples/data, by their header's names."""
    lines = [line for line in (DATA / name).read_text().splitlines()
             if line.strip() and not line.startswith("#")]
    values = np.array([[float(x) for x in line.split(",")] for line in lines[1:]])
    return np.rec.fromarrays(values.T, names=lines[0].split(","))


def recovered(result, truth):
    """Every true value within three standard errors of the fitted one."""
    for name, value in truth.items():
        p = next(p for p in result.parameters if p.name == name)
        assert abs(p.value - value) <= 3 * p.standard_error, (name, p.value, value)


def test_plate_fit_recovers_the_soil_and_refuses_one_plate_size():
    d = columns("plate_tests.csv")
    r = wheelsoil.fit_plate(d.width, d.sinkage, d.pressure)
    recovered(r, {"sinkage_exponent": 0.79, "k_c": 102e3, "k_phi": 5301e3})
    assert r.status == "converged" and r.correlation.shape == (3, 3)
    q = r.quantities["pressure"]
    assert q.residuals.shape == d.pressure.shape and q.r_squared > 0.99
    assert np.allclose(q.measured - q.fitted, q.residuals, rtol=0, atol=1e-6)
    one = d.width == 0.1
    with pytest.raises(wheelsoil.FitError, match="cannot be told apart") as e:
        wheelsoil.fit_plate(d.width[one], d.sinkage[one], d.pressure[one])
    assert e.value.status == "ill_posed" and set(e.value.result.undetermined) == {"k_c", "k_phi"}
    held = wheelsoil.fit_plate(d.width[one], d.sinkage[one], d.pressure[one],
                               fixed={"k_c": 102e3})
    assert held.values["k_c"] == 102e3 and np.isnan(held.standard_errors["k_c"])


def test_shear_fit_recovers_the_soil():
    d = columns("shear_tests.csv")
    r = wheelsoil.fit_shear(d.normal_stress, d.displacement, d.shear_stress)
    recovered(r, {"cohesion": 1300, "friction_angle": 0.54279739737023647,
                  "shear_modulus": 0.012})


def test_wheel_fit_recovers_c1_to_c4():
    d = columns("wheel_runs.csv")
    p = wheelsoil.talvor_input("dry_sand", radius=0.13, width=0.16, vx=0.1, gravity=9.81,
                               centre_height=0.13, c1=0.4, c2=0.15, c3=0.1, c4=0)
    r = wheelsoil.fit_wheel(p, d.slip, d.load, drawbar_pull=d.drawbar_pull, torque=d.torque,
                            sinkage=d.sinkage)
    recovered(r, {"c1": 0.35, "c2": 0.3, "c3": 0.15, "c4": 0.05})
    assert set(r.quantities) == {"drawbar_pull", "torque", "sinkage"}


def test_bad_data_is_refused():
    with pytest.raises(ValueError, match="one length"):
        wheelsoil.fit_plate([0.1, 0.2], [0.01], [1e3, 2e3])
    with pytest.raises(TypeError, match="complex"):
        wheelsoil.fit_shear([1j], [0.0], [0.0])
    with pytest.raises(wheelsoil.FitError) as e:
        wheelsoil.fit_plate([0.1, 0.2, 0.1], [0.01, -0.02, 0.03], [1e3, 2e3, np.nan])
    assert e.value.status == "invalid_data"
    with pytest.raises(ValueError, match=r"\(29,\)"):
        wheelsoil.fit_wheel(np.zeros((2, 29)), [0.1], [50.0], drawbar_pull=[1.0])
