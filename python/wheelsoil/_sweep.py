"""Sweeps over many input vectors on a Dask cluster."""

import operator
from typing import Any, List, Optional

import numpy as np

from . import _core
from ._arrays import as_rows, direction_flag, math_flags, talvor_flags, thread_count

# Rows per task by default: at most a few seconds of one core's work each,
# at least a tenth of a second, and four chunks per worker thread between.
LARGEST_CHUNK = {"talvor": 20_000, "pindrel": 2_000_000}
SMALLEST_CHUNK = {"talvor": 2_000, "pindrel": 200_000}
_SLOTS = {"talvor": 29, "pindrel": 20}


def evaluate_chunk(block: np.ndarray, model: str, threads: int, flags: int) -> np.ndarray:
    """One task of a sweep: the model over the rows of one block, on a worker."""
    # A block as it arrives from another process may be unaligned in memory.
    block, _ = as_rows(block, "P", _SLOTS[model])
    if model == "talvor":
        return _core.talvor_batch(block, threads, flags)
    return _core.pindrel_batch(block, threads, flags)


def sweep(P: Any, model: str = "talvor", client: Any = None, chunk: Optional[int] = None,
          threads: Optional[int] = 1, math: str = "default", rule: str = "fixed",
          direction_aware: bool = False) -> np.ndarray:
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
    chunk: rows per task. None: four chunks per worker thread of the
        cluster, but at most 20,000 talvor rows (2,000,000 pindrel rows), a
        few seconds of one core's work, and at least 2,000 (200,000), a
        tenth of a second. Dask spends about a millisecond on each task, so
        tasks of a second or more waste little; several chunks per worker
        thread keep every thread busy to the end.
    threads: threads of each batch call on a worker (default 1: Dask runs
        one task per worker thread, and more would oversubscribe the cores);
        None for one per hardware thread of the worker's machine.
    math: "default" or "vector" (talvor only), as for talvor.
    rule, direction_aware: talvor only, as for talvor ("fixed" or "split";
        False or True).

    The workers need this same wheelsoil package importable (the same
    version, built for their Python). A script that starts a LocalCluster
    (client=None) must do so under `if __name__ == "__main__":`, since
    Dask's worker processes import the script again.
    """
    if model not in _SLOTS:
        raise ValueError(f"model must be 'talvor' or 'pindrel', got {model!r}")
    rows, single = as_rows(P, "P", _SLOTS[model])
    if model == "talvor":
        flags = talvor_flags(math, rule, direction_aware)
    elif rule != "fixed" or direction_flag(direction_aware):
        raise ValueError("rule and direction_aware are available for talvor only, not pindrel")
    else:
        flags = math_flags(math, model)
    n_threads = thread_count(threads)
    size = None if chunk is None else _chunk_size(chunk)
    try:
        import distributed
    except ImportError:
        raise ImportError("wheelsoil.sweep needs Dask's distributed scheduler (Debian: "
                          "python3-dask python3-distributed)") from None

    if rows.shape[0] == 0:
        out = evaluate_chunk(rows, model, n_threads, flags)
        return out[0] if single else out

    def run(c: Any) -> List[np.ndarray]:
        rows_per_task = size or _default_chunk(c, model, rows.shape[0])
        blocks = [np.ascontiguousarray(rows[k:k + rows_per_task])
                  for k in range(0, rows.shape[0], rows_per_task)]
        return _run(c, blocks, model, n_threads, flags)

    if client is None:
        with distributed.LocalCluster(processes=True, dashboard_address=":0") as cluster, \
                distributed.Client(cluster) as own:
            parts = run(own)
    elif isinstance(client, distributed.Client):
        parts = run(client)
    else:
        address = client if isinstance(client, str) else getattr(client, "scheduler_address",
                                                                 None)
        if not isinstance(address, str):
            raise TypeError(f"client must be None, a distributed.Client, a scheduler address "
                            f"or a cluster, got {type(client).__name__}")
        with distributed.Client(address) as own:
            parts = run(own)
    out = np.concatenate(parts)
    return out[0] if single else out


def _chunk_size(chunk: Any) -> int:
    """A chunk argument as a number of rows."""
    if isinstance(chunk, bool):
        raise TypeError(f"chunk must be None or a positive integer, got {chunk!r}")
    try:
        size = operator.index(chunk)
    except TypeError:
        raise TypeError(f"chunk must be None or a positive integer, got "
                        f"{type(chunk).__name__}") from None
    if size < 1:
        raise ValueError(f"chunk must be a positive number of rows, got {size}")
    return size


def _default_chunk(client: Any, model: str, count: int) -> int:
    """Rows per task for count rows on the client's cluster."""
    threads = max(1, sum(client.nthreads().values()))
    share = -(-count // (4 * threads))
    return max(SMALLEST_CHUNK[model], min(LARGEST_CHUNK[model], share))


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
