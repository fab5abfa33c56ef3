"""The Python package tavo-karteikarten: `tavo.karteikarten`, the card
scheduler of the card-game trainer, with its sibling modules and the
extension `tavo._core`, which CMake builds from the C++ library.

    python3 -m pip install --no-build-isolation .
    python2.7 -m pip install --no-build-isolation .
    python3 -m pip wheel --no-build-isolation --no-deps .
"""

import io
import os
import re
import sys

from setuptools import setup

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from build_support.cmake_build import ROOT, BuildWithCMake, CMakeExtension  # noqa: E402


def project_version():
    """The version of the CMake project, which kkv --version prints too."""
    with io.open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as stream:
        return re.search(r"project\(\w+ VERSION ([0-9.]+)", stream.read()).group(1)


def long_description():
    with io.open(os.path.join(ROOT, "README.md"), encoding="utf-8") as stream:
        return stream.read()


def commands():
    found = {"build_ext": BuildWithCMake}
    try:
        import wheel.bdist_wheel  # noqa: F401
    except ImportError:
        from build_support.wheel_file import BdistWheel
        found["bdist_wheel"] = BdistWheel
    return found


setup(
    name="tavo-karteikarten",
    version=project_version(),
    description="The spaced-repetition card scheduler of the tavo card-game trainer",
    long_description=long_description(),
    long_description_content_type="text/markdown",
    license="Proprietary",
    packages=["tavo"],
    package_dir={"tavo": "src/binding/tavo"},
    package_data={"tavo": ["*.pyi", "py.typed"]},
    ext_modules=[CMakeExtension("tavo._core")],
    cmdclass=commands(),
    python_requires=">=2.7",
    zip_safe=False,
    classifiers=[
        "Programming Language :: Python :: 2.7",
        "Programming Language :: Python :: 3",
        "Programming Language :: C++",
        "Operating System :: POSIX :: Linux",
        "License :: Other/Proprietary License",
    ],
)
