"""The operating point from Python: one solve, many, and how failures are reported."""

import warnings

import numpy as np
import pytest

import wheelsoil
from conftest import same_bits

if not wheelsoil._core.HAS_EQUILIBRIUM:
    pytest.skip("built without the operating point", allow_module_level=True)


def test_one_solve_carries_the_load(rover):
    r = wheelsoil.equilibrium(rover, 100.0)
    assert r.converged and r.status == "converged" and r.monotone
    assert isinstance(r.centre_height, float) and isinstance(r.iterations, int)
    assert abs(r.sinkage - 0.0183) < 1e-4  # the Octave help's example
    assert r.sinkage == 0.13 - r.centre_height and r.max_sinkage == r.sinkage
    assert same_bits(r.p[[k for k in range(29) if k != 20]], np.delete(rover, 20))
    assert r.p[20] == r.centre_height
    assert same_bits(r.loads, wheelsoil.talvor(r.p))
    assert abs(r.loads[2] + r.loads[8] - 100) <= 1e-10 * 100
    assert "carries 100 N" in r.message


def test_many_solves_match_single_ones_and_failures_do_not_stop_them(rover):
    loads = np.array([50.0, 1e5, 150.0])
    r = wheelsoil.equilibrium(rover, loads)
    assert r.loads.shape == (3, 18) and r.p.shape == (3, 29) and r.status.shape == (3,)
    assert list(r.converged) == [True, False, True]
    assert list(r.status) == ["converged", "load_not_carried", "converged"]
    assert "not carried" in r.message[1]
    for k in (0, 2):
        one = wheelsoil.equilibrium(rover, loads[k])
        assert one.centre_height == r.centre_height[k]
        assert same_bits(one.loads, r.loads[k])
    for field in (r.centre_height, r.sinkage, r.max_sinkage, r.residual, r.vertical_load):
        assert np.isnan(field[1])
    assert np.all(np.isnan(r.loads[1])) and np.isnan(r.p[1, 20])
    # N vectors with one load or one load each, in any layout.
    P = np.asfortranarray(np.tile(rover, (3, 1)))
    assert same_bits(wheelsoil.equilibrium(P, loads).centre_height, r.centre_height)
    assert same_bits(wheelsoil.equilibrium(P, 50.0, threads=1).centre_height,
                     np.full(3, r.centre_height[0]))
    with pytest.raises(ValueError, match="one per row"):
        wheelsoil.equilibrium(P, np.ones(2) * 50)


def test_a_failed_single_solve_raises_with_its_status(rover):
    with pytest.raises(wheelsoil.EquilibriumError, match="load must be finite and positive") as e:
        wheelsoil.equilibrium(rover, -1.0)
    assert e.value.status == "invalid_load" and e.value.result.status == "invalid_load"
    with pytest.raises(wheelsoil.EquilibriumError) as e:
        wheelsoil.equilibrium(rover, 1e5)
    assert e.value.status == "load_not_carried"
    bad = rover.copy()
    bad[6] = -0.13
    statuses = wheelsoil.equilibrium(np.vstack([rover, bad]), 100.0).status
    assert list(statuses) == ["converged", "invalid_wheel"]
    assert set(wheelsoil.STATUSES) >= set(statuses)


def test_solver_options_are_checked(rover):
    with pytest.raises(ValueError):
        wheelsoil.equilibrium(rover, 100.0, tolerance=-1)
    with pytest.raises(ValueError, match="max_iterations"):
        wheelsoil.equilibrium(rover, 100.0, max_iterations=0)
    with pytest.raises(TypeError, match="max_iterations"):
        wheelsoil.equilibrium(rover, 100.0, max_iterations=2.5)
    with pytest.raises(ValueError, match="load"):
        wheelsoil.equilibrium(rover, np.ones((2, 2)))
    with pytest.raises(TypeError, match="complex"):
        wheelsoil.equilibrium(rover, 100j)
    few = wheelsoil.equilibrium(rover, np.array([100.0]), max_iterations=2, tolerance=0,
                                accepted_tolerance=0)
    assert few.status[0] == "not_converged" and few.iterations[0] <= 2
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        wheelsoil.equilibrium(rover, 100.0)  # a monotone root warns of nothing
