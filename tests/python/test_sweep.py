"""Sweeps on Dask: row order and bits as one local batch, on any scheduler."""

import numpy as np
import pytest

import wheelsoil
from conftest import same_bits

distributed = pytest.importorskip("distributed")
dask_array = pytest.importorskip("dask.array")


def varied_rows(rover, count, seed=7):
    """count rover wheels at varied sinkage, slip, lateral speed and tilt."""
    rng = np.random.default_rng(seed)
    P = np.tile(rover, (count, 1))
    P[:, 20] = rng.uniform(0.09, 0.14, count)  # some out of the soil
    P[:, 0] = rng.uniform(-0.02, 0.12, count)
    P[::10, 1] = rng.uniform(-0.01, 0.01, len(P[::10]))  # sidewall pressure: the costly rows
    P[:, 19] = rng.uniform(-0.2, 0.2, count)
    return P


@pytest.fixture(scope="module")
def client():
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  dashboard_address=":0") as cluster, \
            distributed.Client(cluster) as c:
        yield c


def test_100000_rows_on_two_worker_processes_match_one_local_batch(client, rover):
    P = varied_rows(rover, 100_000)
    local = wheelsoil.talvor(P)
    assert same_bits(wheelsoil.sweep(P, client=client, chunk=7_000), local)
    # The same cluster by its address, and a Fortran-order input.
    address = client.scheduler.address
    assert same_bits(wheelsoil.sweep(np.asfortranarray(P[:5000]), client=address, chunk=999),
                     local[:5000])


def test_pindrel_and_vector_maths_sweep(client, rover, pindrel_cases):
    _, Q, _ = pindrel_cases
    many = np.tile(Q, (500, 1))
    assert same_bits(wheelsoil.sweep(many, model="pindrel", client=client, chunk=1234),
                     wheelsoil.pindrel(many))
    P = varied_rows(rover, 3000)
    try:
        local = wheelsoil.talvor(P, math="vector")
    except NotImplementedError:
        return
    assert same_bits(wheelsoil.sweep(P, client=client, chunk=1000, math="vector"), local)


def test_talvor_options_sweep(client, rover):
    P = varied_rows(rover, 2000)  # about a fifth travelling in -x
    options = {"rule": "split", "direction_aware": True}
    assert same_bits(wheelsoil.sweep(P, client=client, chunk=700, **options),
                     wheelsoil.talvor(P, **options))


def test_map_blocks_recipe(client, rover):
    P = varied_rows(rover, 4000)
    blocks = dask_array.from_array(P, chunks=(1000, 29))
    F = blocks.map_blocks(lambda b: wheelsoil.talvor(b, threads=1), chunks=(1000, 18),
                          dtype=np.float64)
    assert same_bits(F.compute(), wheelsoil.talvor(P))


def test_a_local_cluster_by_default(rover):
    P = varied_rows(rover, 300)
    assert same_bits(wheelsoil.sweep(P, chunk=100), wheelsoil.talvor(P))
    assert same_bits(wheelsoil.sweep(rover, chunk=100), wheelsoil.talvor(rover))


def test_arguments_are_checked_before_anything_is_sent(rover):
    with pytest.raises(ValueError, match="model"):
        wheelsoil.sweep(rover, model="talvor_batch")
    with pytest.raises(ValueError, match="chunk"):
        wheelsoil.sweep(rover, chunk=0)
    with pytest.raises(TypeError, match="chunk"):
        wheelsoil.sweep(rover, chunk=10.5)
    with pytest.raises(ValueError, match="rule"):
        wheelsoil.sweep(rover, rule="exact")
    with pytest.raises(ValueError, match="talvor only"):
        wheelsoil.sweep(np.zeros((3, 20)), model="pindrel", direction_aware=True)
    with pytest.raises(ValueError, match=r"\(N, 20\)"):
        wheelsoil.sweep(np.zeros((3, 29)), model="pindrel")
    with pytest.raises(TypeError, match="float32"):
        wheelsoil.sweep(np.zeros((3, 29), dtype=np.float32))
    with pytest.raises(TypeError, match="client"):
        wheelsoil.sweep(rover, client=42)
    assert wheelsoil.sweep(np.empty((0, 29))).shape == (0, 18)
