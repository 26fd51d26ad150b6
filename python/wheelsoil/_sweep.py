"""Sweeps over many input vectors on a Dask cluster."""

import operator
from typing import Any, List, Optional

import numpy as np

from . import _core
from ._arrays import as_rows, math_flags, thread_count

# Rows per task by default: a few seconds of one core's work each.
DEFAULT_CHUNK = {"talvor": 20_000, "pindrel": 2_000_000}
_SLOTS = {"talvor": 29, "pindrel": 20}


def evaluate_chunk(block: np.ndarray, model: str, threads: int, flags: int) -> np.ndarray:
    """One task of a sweep: the model over the rows of one block, on a worker."""
    # A block as it arrives from another process may be unaligned in memory.
    block, _ = as_rows(block, "P", _SLOTS[model])
    if model == "talvor":
        return _core.talvor_batch(block, threads, flags)
    return _core.pindrel_batch(block, threads, flags)


def sweep(P: Any, model: str = "talvor", client: Any = None, chunk: Optional[int] = None,
          threads: Optional[int] = 1, math: str = "default") -> np.ndarray:
    """talvor or pindrel over the rows of P on a Dask cluster.

    sweep(P) -> (N, 18) for talvor, P of shape (N, 29);
    sweep(Q, model="pindrel") -> (N,), Q of shape (N, 20).

    The rows are cut into chunks of `chunk` consecutive rows; each chunk is
    one task, one batch call of the model on a worker. The results come
    back in row order, the same bits as one local call talvor(P) or
    pindrel(Q): no result depends on where or in which pieces a row was
    evaluated. P is checked and converted here, as for talvor.

    client: where the tasks run.
        None              a LocalCluster of worker processes on this machine,
                          started for this call and closed after it;
        a distributed.Client
                          its cluster (one you already have: a LocalCluster,
                          a dask-ssh/dask-jobqueue cluster, a scheduler you
                          started with `dask scheduler`); left open;
        "tcp://host:8786" the scheduler at that address, connected for this
                          call only;
        a cluster object  (anything with a scheduler_address) the same.
    chunk: rows per task; None for 20,000 talvor rows or 2,000,000 pindrel
        rows, a few seconds of one core's work. Aim at tasks of one second
        or more (Dask spends about a millisecond on each task) and at
        several chunks per worker thread, so that every thread stays busy.
    threads: threads of each batch call on a worker (default 1: Dask runs
        one task per worker thread, and more would oversubscribe the cores);
        None for one per hardware thread of the worker's machine.
    math: "default" or "vector" (talvor only), as for talvor.

    The workers need this same wheelsoil package importable (the same
    version, built for their Python).
    """
    if model not in _SLOTS:
        raise ValueError(f"model must be 'talvor' or 'pindrel', got {model!r}")
    rows, single = as_rows(P, "P", _SLOTS[model])
    flags = math_flags(math, model)
    n_threads = thread_count(threads)
    if chunk is None:
        size = DEFAULT_CHUNK[model]
    else:
        if isinstance(chunk, bool):
            raise TypeError(f"chunk must be None or a positive integer, got {chunk!r}")
        try:
            size = operator.index(chunk)
        except TypeError:
            raise TypeError(f"chunk must be None or a positive integer, got "
                            f"{type(chunk).__name__}") from None
        if size < 1:
            raise ValueError(f"chunk must be a positive number of rows, got {size}")
    try:
        import distributed
    except ImportError:
        raise ImportError("wheelsoil.sweep needs Dask's distributed scheduler (Debian: "
                          "python3-dask python3-distributed)") from None

    blocks = [np.ascontiguousarray(rows[k:k + size]) for k in range(0, rows.shape[0], size)]
    if not blocks:
        out = evaluate_chunk(rows, model, n_threads, flags)
        return out[0] if single else out

    if client is None:
        with distributed.LocalCluster(processes=True, dashboard_address=":0") as cluster, \
                distributed.Client(cluster) as own:
            parts = _run(own, blocks, model, n_threads, flags)
    elif isinstance(client, distributed.Client):
        parts = _run(client, blocks, model, n_threads, flags)
    else:
        address = client if isinstance(client, str) else getattr(client, "scheduler_address",
                                                                 None)
        if not isinstance(address, str):
            raise TypeError(f"client must be None, a distributed.Client, a scheduler address "
                            f"or a cluster, got {type(client).__name__}")
        with distributed.Client(address) as own:
            parts = _run(own, blocks, model, n_threads, flags)
    out = np.concatenate(parts)
    return out[0] if single else out


def _run(client: Any, blocks: List[np.ndarray], model: str, threads: int,
         flags: int) -> List[np.ndarray]:
    """The blocks' results, in order, from the client's workers."""
    data = client.scatter(blocks)
    futures = client.map(evaluate_chunk, data, model=model, threads=threads, flags=flags,
                         pure=False)
    try:
        return client.gather(futures)
    finally:
        client.cancel(futures + data)
