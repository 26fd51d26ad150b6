"""Installs the package with pip, as a user would, and runs the reference
tests against the installed copy.

    python3 pip_install_check.py SOURCE_DIR WORK_DIR

The source tree is copied into WORK_DIR first (without build folders or
version control), so the check neither writes into the sources nor sees a
build of them. pip then builds it with Debian's setuptools and no package
index and installs it into a virtual environment that sees Debian's
packages (venv --system-site-packages), where numpy is found installed, as
it would be for a system-wide install.
"""

import os
import shutil
import subprocess
import sys
from pathlib import Path


def main(source: Path, work: Path) -> int:
    if work.exists():
        shutil.rmtree(work)
    copy = work / "source"
    shutil.copytree(source, copy, ignore=shutil.ignore_patterns(
        "build", "build-*", "build_*", ".git", "__pycache__", "*.egg-info", ".pytest_cache"))
    venv = work / "venv"
    subprocess.run([sys.executable, "-m", "venv", "--system-site-packages", "--without-pip",
                    str(venv)], check=True)
    python = str(venv / "bin" / "python")
    site = venv / "lib"
    env = dict(os.environ, PIP_NO_INDEX="1", PIP_DISABLE_PIP_VERSION_CHECK="1")
    env.pop("PYTHONPATH", None)
    subprocess.run([python, "-m", "pip", "install", "--no-build-isolation", "--no-index",
                    str(copy)], check=True, env=env)

    tests = Path(__file__).resolve().parent
    # The installed package is the one imported, and it reproduces the
    # reference vectors and passes the checks of the models, the named
    # inputs, the operating point and the fits.
    subprocess.run([python, "-c",
                    "import sys, wheelsoil; p = wheelsoil.__file__; "
                    f"sys.exit(0 if p.startswith({str(site)!r}) else 'imported ' + p)"],
                   check=True, env=env, cwd=work)
    subprocess.run([python, "-m", "pytest", "-q", "-p", "no:cacheprovider",
                    str(tests / "test_models.py"), str(tests / "test_inputs.py"),
                    str(tests / "test_equilibrium.py"), str(tests / "test_fit.py")],
                   check=True, env=env, cwd=work)
    return 0


if __name__ == "__main__":
    sys.exit(main(Path(sys.argv[1]), Path(sys.argv[2])))
