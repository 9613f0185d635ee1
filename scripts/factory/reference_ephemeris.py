"""The reference ephemeris the factory scripts read: Debian's libswe2.0 (the
runtime of libswe-dev) with the JPL DE431-based files of swe-basic-data, called
through ctypes. Only the factory scripts use it; the program reads no
ephemeris file.

Times are Julian days of Terrestrial Time, the chart's time scale.
"""

import ctypes

EPHEMERIS_FOLDER = b"/usr/share/libswe/ephe"

# body numbers of the library
SUN, MOON, MERCURY, VENUS, MARS, JUPITER, SATURN, URANUS, NEPTUNE, PLUTO = range(10)
MEAN_NODE = 10
CHIRON = 15

# flags of the library
FILES = 2  # the DE431-based files
HELIOCENTRIC = 8
GEOMETRIC = 16  # no light time, aberration or light deflection
NO_NUTATION = 64  # mean equinox of date
SPEED = 256
RECTANGULAR = 4096

_lib = None


def _library():
    global _lib
    if _lib is None:
        _lib = ctypes.CDLL("libswe.so.2")
        _lib.swe_set_ephe_path(EPHEMERIS_FOLDER)
        _lib.swe_calc.argtypes = [ctypes.c_double, ctypes.c_int, ctypes.c_int,
                                  ctypes.POINTER(ctypes.c_double), ctypes.c_char_p]
        _lib.swe_calc.restype = ctypes.c_int
        _lib.swe_version.argtypes = [ctypes.c_char_p]
    return _lib


def version():
    text = ctypes.create_string_buffer(256)
    _library().swe_version(text)
    return text.value.decode()


def calc(jd, body, flags):
    """Six numbers of the library for one body at jd (TT): longitude,
    latitude, distance and their speeds, or x, y, z and their speeds with
    RECTANGULAR. Raises when the files do not cover the moment (the library
    would silently fall back to its analytical mode)."""
    out = (ctypes.c_double * 6)()
    error = ctypes.create_string_buffer(256)
    ret = _library().swe_calc(jd, body, flags, out, error)
    if ret < 0:
        raise RuntimeError(error.value.decode())
    if body != MEAN_NODE and (ret & 7) != FILES:
        raise RuntimeError("body %d at %.2f: not from the ephemeris files (%s)" %
                           (body, jd, error.value.decode()))
    return list(out)
