"""A `bdist_wheel` command for interpreters without the `wheel` package (the
host's Python 2.7, a bare pyenv Python 3): the built package and its
metadata zipped as a wheel (PEP 427), tagged for this interpreter and
platform. setuptools' PEP 517 backend runs this command for `pip install`
and `pip wheel`, and its `dist_info` command calls egg2dist.
"""

import base64
import hashlib
import os
import shutil
import sys
import tempfile
import zipfile
from distutils.util import get_platform

from setuptools import Command


def interpreter_tag():
    """"cp311-cp311-linux_x86_64", "cp27-cp27mu-linux_x86_64"."""
    python = "cp%d%d" % sys.version_info[:2]
    if sys.version_info[0] == 2:
        abi = python + ("mu" if sys.maxunicode == 0x10FFFF else "m")
    else:
        abi = python + getattr(sys, "abiflags", "")
    return "%s-%s-%s" % (python, abi, get_platform().replace("-", "_").replace(".", "_"))


def record_line(root, relative):
    with open(os.path.join(root, relative), "rb") as stream:
        data = stream.read()
    digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode("ascii")
    return "%s,sha256=%s,%d" % (relative, digest, len(data))


class BdistWheel(Command):
    description = "build a wheel of the package for this interpreter"
    user_options = [("dist-dir=", "d", "where to put the wheel")]

    def initialize_options(self):
        self.dist_dir = None

    def finalize_options(self):
        self.dist_dir = self.dist_dir or "dist"

    def egg2dist(self, egg_info_dir, dist_info_dir):
        """The metadata of egg_info as a .dist-info folder."""
        if not os.path.isdir(dist_info_dir):
            os.makedirs(dist_info_dir)
        shutil.copyfile(os.path.join(egg_info_dir, "PKG-INFO"),
                        os.path.join(dist_info_dir, "METADATA"))
        top_level = os.path.join(egg_info_dir, "top_level.txt")
        if os.path.exists(top_level):
            shutil.copyfile(top_level, os.path.join(dist_info_dir, "top_level.txt"))

    def run(self):
        self.run_command("build")
        self.run_command("egg_info")
        build_lib = self.get_finalized_command("build").build_lib
        egg_info = self.get_finalized_command("egg_info").egg_info
        metadata = self.distribution.metadata
        name = metadata.get_name().replace("-", "_")
        version = metadata.get_version()
        tag = interpreter_tag()
        staging = tempfile.mkdtemp()
        try:
            package_root = os.path.join(staging, "root")
            shutil.copytree(build_lib, package_root)
            dist_info = "%s-%s.dist-info" % (name, version)
            self.egg2dist(egg_info, os.path.join(package_root, dist_info))
            with open(os.path.join(package_root, dist_info, "WHEEL"), "w") as stream:
                stream.write("Wheel-Version: 1.0\nGenerator: tavo build_support\n"
                             "Root-Is-Purelib: false\nTag: %s\n" % tag)
            self.write_wheel(package_root, dist_info, "%s-%s-%s.whl" % (name, version, tag))
        finally:
            shutil.rmtree(staging)

    def write_wheel(self, root, dist_info, file_name):
        files = []
        for folder, _, names in os.walk(root):
            for each in names:
                files.append(os.path.relpath(os.path.join(folder, each), root))
        files.sort()
        record = os.path.join(dist_info, "RECORD")
        lines = [record_line(root, each) for each in files] + [record + ",,"]
        with open(os.path.join(root, record), "w") as stream:
            stream.write("\n".join(lines) + "\n")
        self.mkpath(self.dist_dir)
        target = os.path.join(self.dist_dir, file_name)
        with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as wheel:
            for each in files + [record]:
                wheel.write(os.path.join(root, each), each)
        print("wrote " + target)
