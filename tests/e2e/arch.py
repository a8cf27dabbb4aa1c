"""Which build of the program the Windows-side tests and benchmarks drive, and how Wine starts it.

ZOR_ARCH=32 (the default) is the 32-bit program: out/dist, its tests' folders without a
suffix, the 32-bit Wine prefix out/wineprefix and Debian's wine command. ZOR_ARCH=64 is the
64-bit program: out/dist64, the folders with "64" after their names, the 64-bit prefix
out/wineprefix64 and Wine's 64-bit loader itself, since Debian's wine command picks the 32-bit
loader whenever it is installed, whether or not the host can start it. ZOR_HOST32=0 says that
the host runs no 32-bit code at all (dev/common.sh finds out). dev/common.sh's use_wine sets
the same environment for the scripts.
"""
import os

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.environ.get("ZOR_OUT") or os.path.join(ROOT, "out")
WINE64_LOADER = "/usr/lib/wine/wine64"
# What a test of a 32-bit program says where it cannot run.
NO_32_BIT = "not run: this host runs no 32-bit code"


def suffix(bits):
    """The suffix of an architecture's folders under out/: "" for 32, "64" for 64."""
    return "64" if bits == 64 else ""


def environment(bits):
    """The environment variables that make a test process drive the program of bits."""
    return {"ZOR_ARCH": str(bits), "WINEARCH": f"win{bits}",
            "WINEPREFIX": os.path.join(OUT, "wineprefix" + suffix(bits)),
            "ZOR_WINE": WINE64_LOADER if bits == 64 else "wine"}


def host_runs_32bit():
    return os.environ.get("ZOR_HOST32", "1") != "0"


BITS = 64 if os.environ.get("ZOR_ARCH") == "64" else 32
SUFFIX = suffix(BITS)
WINE = os.environ.get("ZOR_WINE") or environment(BITS)["ZOR_WINE"]
# Where the program under test can start a 32-bit program (a -32 compiled one, the 32-bit setup).
RUNS_32BIT = host_runs_32bit()
