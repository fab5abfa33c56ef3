"""What setup.py needs beyond setuptools: the CMake build of the extension and
a wheel writer for interpreters without the `wheel` package."""
