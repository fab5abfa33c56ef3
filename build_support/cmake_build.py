"""The extension tavo._core, built by CMake for the interpreter that runs setup.py.

Before anything is built, the tools the build needs are looked for; a missing
one stops the build with one line naming it and the Debian package that
provides it, so that nothing is installed half.
"""

import os
import shutil
import subprocess
import sys
from distutils.errors import DistutilsError

from setuptools import Extension
from setuptools.command.build_ext import build_ext

try:
    from shutil import which
except ImportError:  # Python 2.7
    from distutils.spawn import find_executable as which

try:
    import sysconfig

    def python_include_dir():
        return sysconfig.get_paths()["include"]
except ImportError:  # pragma: no cover
    from distutils.sysconfig import get_python_inc as python_include_dir


ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# A CMake build folder to reuse between builds, and the source tree it was
# configured from (pip 19 builds in a fresh copy of the tree each time):
# scripts/test-package builds every install from one.
REUSED_BUILD_DIR = os.environ.get("TAVO_CMAKE_BUILD_DIR")
CMAKE_SOURCE_DIR = os.environ.get("TAVO_CMAKE_SOURCE_DIR") or ROOT


class CMakeExtension(Extension):
    """An extension whose sources CMake knows; setuptools gets none."""

    def __init__(self, name):
        Extension.__init__(self, name, sources=[])


def missing_tool():
    """What the build lacks, as one sentence, or None."""
    version = "%d.%d" % sys.version_info[:2]
    headers = "install the Debian package python3-dev"
    if sys.version_info[0] == 2:
        headers = "use a Python 2.7 built with its headers (pyenv builds them)"
    needs = [
        (which("c++") or which("g++"), "a C++ compiler", "install the Debian package g++"),
        (which("cmake"), "CMake", "install the Debian package cmake"),
        (which("cython3") or which("cython"), "Cython", "install the Debian package cython3"),
        (os.path.exists(os.path.join(python_include_dir(), "Python.h")),
         "the headers of Python %s (Python.h in %s)" % (version, python_include_dir()), headers),
    ]
    for found, what, remedy in needs:
        if not found:
            return "%s is missing: %s" % (what, remedy)
    return None


class BuildWithCMake(build_ext):
    """Configures and builds the extension with CMake (Release), in a build
    folder of its own or the reused one, and puts it and the generated
    tavo/_version.py where setuptools expects them."""

    def run(self):
        problem = missing_tool()
        if problem:
            raise DistutilsError("tavo-karteikarten: " + problem)
        build_dir = os.path.abspath(REUSED_BUILD_DIR or os.path.join(self.build_temp, "cmake"))
        major = sys.version_info[0]
        self.cmake(["-S", CMAKE_SOURCE_DIR, "-B", build_dir, "-DCMAKE_BUILD_TYPE=Release",
                    "-DTAVO_PYTHON_PACKAGE_ONLY=ON", "-DTAVO_PYTHON_EXECUTABLE=" + sys.executable])
        self.cmake(["--build", build_dir, "--target", "tavo_python%d" % major, "-j2"])
        built = os.path.join(build_dir, "python%d" % major, "tavo")
        for extension in self.extensions:
            target = self.get_ext_fullpath(extension.name)
            self.mkpath(os.path.dirname(target))
            module = extension.name.split(".")[-1]
            shutil.copyfile(os.path.join(built, module + ".so"), target)
        version_file = os.path.join(os.path.dirname(self.get_ext_fullpath("tavo._core")),
                                    "_version.py")
        shutil.copyfile(os.path.join(built, "_version.py"), version_file)

    def cmake(self, arguments):
        try:
            subprocess.check_call(["cmake"] + arguments)
        except subprocess.CalledProcessError:
            raise DistutilsError(
                "tavo-karteikarten: CMake failed (the lines above say why; scripts/setup "
                "installs every Debian package the build needs)")
