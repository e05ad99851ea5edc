"""Builds and installs the Python module twinfind: pip install --no-build-isolation .

The compiled module is the CMake target _twinfind (python/CMakeLists.txt), built over the same
libraries as the twinfind tool; only it and what it links are built. Its package folder in the
build tree holds the module and the host library it loads, which are copied into the package.

TWINFIND_BUILD_DIR names the CMake build folder to use (default: build/pip/cmake in the checkout);
one that is configured already is built as it is, so that a build of ./dev can be reused.
CMAKE_BUILD_PARALLEL_LEVEL sets how many compilers run at once.
"""

import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent
BUILD = Path(os.environ.get("TWINFIND_BUILD_DIR") or ROOT / "build" / "pip" / "cmake").resolve()


def project_version():
    """The version of project(Twinfind VERSION ...) in CMakeLists.txt, the module's too."""
    text = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"project\(Twinfind VERSION ([0-9.]+)", text).group(1)


class CMakeBuild(build_ext):
    """Builds the extension with CMake instead of compiling its sources itself."""

    def build_extension(self, ext):
        if not (BUILD / "CMakeCache.txt").exists():
            subprocess.run(
                ["cmake", "-S", str(ROOT), "-B", str(BUILD), "-G", "Ninja",
                 "-DCMAKE_BUILD_TYPE=Release", "-DTWINFIND_BUILD_TESTS=OFF",
                 "-DTWINFIND_BUILD_BENCHMARKS=OFF", "-DTWINFIND_BUILD_PYTHON=ON",
                 f"-DPython_EXECUTABLE={sys.executable}"],
                check=True)
        subprocess.run(["cmake", "--build", str(BUILD), "--target", "_twinfind"], check=True)
        target = Path(self.get_ext_fullpath(ext.name)).parent
        target.mkdir(parents=True, exist_ok=True)
        built = sorted((BUILD / "python" / "twinfind").glob("*.so"))
        if not any(path.name.startswith("_twinfind") for path in built):
            sys.exit(f"the build made no _twinfind module in {BUILD / 'python' / 'twinfind'}")
        for path in built:  # the module and the host library beside it
            shutil.copy2(path, target / path.name)


# setuptools' own files (staging, metadata) go beside the CMake build, not into the sources.
staging = str(BUILD.parent / "setuptools")
os.makedirs(staging, exist_ok=True)
setup(
    version=project_version(),
    packages=["twinfind"],
    package_dir={"": "python"},
    package_data={"twinfind": ["*.pyi", "py.typed"]},
    ext_modules=[Extension("twinfind._twinfind", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    options={"build": {"build_base": staging}, "egg_info": {"egg_base": staging}},
    zip_safe=False,
)
