"""Runs a Python example headless in a new temporary folder and checks what it
wrote, as the Octave examples are checked.

    python3 run_example_headless.py SCRIPT PNG...

True (exit 0) when the script finished, printed something and wrote each PNG
into the folder as a drawn picture: it reads back, is at least 200x200
pixels, has more than one colour and at least 1 % of its pixels unlike the
background (the most common colour).
"""

import os
import subprocess
import sys
import tempfile
from pathlib import Path

import numpy as np


def drawn(png: Path) -> "tuple[bool, str]":
    """Whether png is a picture with something on it, and what was found."""
    if not png.exists() or png.stat().st_size == 0:
        return False, "not written"
    import matplotlib

    matplotlib.use("Agg")
    import matplotlib.image

    img = matplotlib.image.imread(str(png))
    pixels = img.reshape(-1, img.shape[2] if img.ndim == 3 else 1)
    colours, which = np.unique(pixels, axis=0, return_inverse=True)
    background = np.bincount(which.reshape(-1)).argmax()
    other = float(np.mean(which.reshape(-1) != background))
    what = (f"{png.stat().st_size} bytes, {img.shape[1]}x{img.shape[0]} pixels, "
            f"{len(colours)} colours, {100 * other:.1f} % unlike the background")
    ok = img.shape[0] >= 200 and img.shape[1] >= 200 and len(colours) > 1 and other >= 0.01
    return ok, what if ok else what + ": blank"


def main(script: Path, pngs: "list[str]") -> int:
    with tempfile.TemporaryDirectory() as work:
        env = dict(os.environ, MPLBACKEND="Agg", MPLCONFIGDIR=work)
        env.pop("DISPLAY", None)
        run = subprocess.run([sys.executable, str(script)], cwd=work, env=env,
                             capture_output=True, text=True, timeout=600)
        sys.stdout.write(run.stdout)
        sys.stderr.write(run.stderr)
        ok = run.returncode == 0 and bool(run.stdout.strip())
        for name in pngs:
            good, what = drawn(Path(work) / name)
            print(f"{script.name}: {name}, {what}")
            ok = ok and good
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(Path(sys.argv[1]), sys.argv[2:]))
