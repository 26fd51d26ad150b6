"""Builds the extension wheelsoil._core with CMake, for the Python running pip.

The metadata is in pyproject.toml. This only adds the build step:
    python3 -m pip install --no-build-isolation .
configures the project into build/python-package/ with the Python package
and the library (no tests, tools or MEX files; the fits where Ceres Solver
is installed), builds the target _core and places it
in the package. CMAKE_ARGS adds options to the configure step, e.g.
CMAKE_ARGS="-DWHEELSOIL_EQUILIBRIUM=OFF".
"""

import os
import shlex
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent


class CMakeBuild(build_ext):
    """Builds each extension as the CMake target of its last name."""

    def build_extension(self, ext: Extension) -> None:
        build = ROOT / "build" / "python-package"
        configure = [
            "cmake", "-S", str(ROOT), "-B", str(build), "-DCMAKE_BUILD_TYPE=Release",
            f"-DPython3_EXECUTABLE={sys.executable}", "-DWHEELSOIL_PYTHON=ON",
            "-DWHEELSOIL_TESTS=OFF", "-DWHEELSOIL_BENCH=OFF", "-DWHEELSOIL_TOOLS=OFF",
            "-DWHEELSOIL_OCTAVE=OFF", "-DWHEELSOIL_MATLAB=OFF", "-DWHEELSOIL_32BIT=OFF",
            "-DWHEELSOIL_INSTALL=OFF", "-DWHEELSOIL_HARDENING=OFF",
        ] + shlex.split(os.environ.get("CMAKE_ARGS", ""))
        subprocess.run(configure, check=True)
        target = ext.name.split(".")[-1]
        jobs = str(os.cpu_count() or 1)
        subprocess.run(["cmake", "--build", str(build), "--target", target, "-j", jobs],
                       check=True)
        built = build / "python" / "wheelsoil" / Path(self.get_ext_filename(ext.name)).name
        if not built.exists():
            raise RuntimeError(f"CMake did not build {built}: see its messages above (is "
                               f"pybind11 installed for {sys.executable}?)")
        destination = Path(self.get_ext_fullpath(ext.name))
        destination.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, destination)


setup(
    ext_modules=[Extension("wheelsoil._core", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    # setuptools' own folders, kept apart from CMake's build/.
    options={"build": {"build_base": str(Path("build") / "setuptools")},
             "egg_info": {"egg_base": str(Path("build"))}},
)
