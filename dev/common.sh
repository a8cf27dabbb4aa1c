# Shared by the dev scripts: paths, the build, Wine's environment and the virtual display.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${ZOR_OUT:-$root/out}
export ZOR_OUT=$out
export ZORVEX_CACHE=${ZORVEX_CACHE:-/var/cache/zorvex-ide}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
jobs=$(nproc 2>/dev/null || echo 2)

die() { echo "$(basename "$0"): $*" >&2; exit 1; }

# Whether this host runs 32-bit x86 programs: some kernels run none (any i386 program, Wine's
# 32-bit loader among them, fails with "Exec format error"). Asked by starting the smallest
# such program, a static i386 ELF file that only exits with 0, written here byte for byte.
# ZOR_ASSUME_NO_32BIT=1 makes the scripts take this host for one that runs no 32-bit code;
# it is there to test the scripts' way on such hosts.
host_runs_32bit() {
  [ -z "${ZOR_ASSUME_NO_32BIT:-}" ] || return 1
  local probe
  mkdir -p "$out" && probe=$(mktemp "$out/.i386-probe.XXXXXX") || return 1
  # ELF header (32-bit, little-endian, executable, i386, entry 0x08048054, one program
  # header at 52), the program header (one loadable, readable and executable segment of the
  # file's 93 bytes at 0x08048000), then: mov eax, 1; xor ebx, ebx; int 0x80 (exit(0)).
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'\
'\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe" && chmod +x "$probe"
  ( "$probe" ) >/dev/null 2>&1
  local code=$?
  rm -f "$probe"
  return $code
}
if host_runs_32bit; then host32=1; else host32=0; fi
export ZOR_HOST32=$host32

# Wine for one architecture of the program: each has a prefix of its own under out/, the
# 32-bit program a 32-bit one (out/wineprefix), the 64-bit program a 64-bit one
# (out/wineprefix64). The 64-bit side is started through Wine's 64-bit loader itself: Debian's
# wine command picks the 32-bit loader whenever it is installed, whether or not it can start.
# use_wine 32|64 sets the environment; `wine` then starts a program in that prefix.
wine64_loader=/usr/lib/wine/wine64
use_wine() {
  if [ "$1" = 64 ]; then
    export ZOR_ARCH=64 WINEARCH=win64 WINEPREFIX=$out/wineprefix64 ZOR_WINE=$wine64_loader
  else
    export ZOR_ARCH=32 WINEARCH=win32 WINEPREFIX=$out/wineprefix ZOR_WINE=wine
  fi
}
wine() { command "$ZOR_WINE" "$@"; }
# The architecture of the program this host runs: the 32-bit one where it can.
host_arch() { if [ "$host32" = 1 ]; then echo 32; else echo 64; fi; }
# The suffix of an architecture's folders under out/ (dist, wintests, e2e, bench): "" for 32, "64" for 64.
arch_suffix() { if [ "$1" = 64 ]; then echo 64; fi; }

# Configures and builds the sanitized native tree with clang: the unit tests under ASan and
# UBSan (out/tests-asan) and the fuzz targets (out/fuzz).
build_sanitized() {
  mkdir -p "$out"
  if [ ! -f "$out/native-asan/build.ninja" ]; then
    cmake -S "$root" -B "$out/native-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZOR_OUT="$out" -DZOR_SANITIZE=ON \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >"$out/configure-native-asan.log" 2>&1 \
      || { cat "$out/configure-native-asan.log" >&2; die "configuring the sanitized native build failed"; }
  fi
  cmake --build "$out/native-asan" -j "$jobs" >"$out/build-native-asan.log" 2>&1 \
    || { grep -E 'error|Error' -A3 "$out/build-native-asan.log" | head -n 60 >&2; die "sanitized native build failed (log: out/build-native-asan.log)"; }
}

# Checks the folder layout, then configures and builds the four trees: native (unit tests,
# zorrun), sanitized native (the unit tests again and the fuzz targets), 32-bit Windows
# (out/dist, its DLLs and tests) and 64-bit Windows (out/dist64, its DLLs and tests). Both
# Windows trees are built on every host, whichever program it can run.
build_all() {
  mkdir -p "$out"
  "$root/dev/floors" || die "the product folders break their layout rules (see above)"
  if [ ! -f "$out/native/build.ninja" ]; then
    cmake -S "$root" -B "$out/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZOR_OUT="$out" >"$out/configure-native.log" 2>&1 \
      || { cat "$out/configure-native.log" >&2; die "configuring the native build failed"; }
  fi
  if [ ! -f "$out/win/build.ninja" ]; then
    cmake -S "$root" -B "$out/win" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZOR_OUT="$out" \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw32.cmake" \
      -DZOR_SCINTILLA_ROOT="$ZORVEX_CACHE/scite-5.3.3-1" >"$out/configure-win.log" 2>&1 \
      || { cat "$out/configure-win.log" >&2; die "configuring the Windows build failed"; }
  fi
  if [ ! -f "$out/win64/build.ninja" ]; then
    cmake -S "$root" -B "$out/win64" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZOR_OUT="$out" \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" >"$out/configure-win64.log" 2>&1 \
      || { cat "$out/configure-win64.log" >&2; die "configuring the 64-bit Windows build failed"; }
  fi
  cmake --build "$out/native" -j "$jobs" >"$out/build-native.log" 2>&1 \
    || { grep -E 'error|Error' -A3 "$out/build-native.log" | head -n 60 >&2; die "native build failed (log: out/build-native.log)"; }
  build_sanitized
  cmake --build "$out/win" -j "$jobs" >"$out/build-win.log" 2>&1 \
    || { grep -E 'error|Error' -A3 "$out/build-win.log" | head -n 60 >&2; die "Windows build failed (log: out/build-win.log)"; }
  cmake --build "$out/win64" -j "$jobs" >"$out/build-win64.log" 2>&1 \
    || { grep -E 'error|Error' -A3 "$out/build-win64.log" | head -n 60 >&2; die "64-bit Windows build failed (log: out/build-win64.log)"; }
}

# Creates the private Wine prefix of the architecture use_wine chose, once. Windows are left
# unmanaged: there is no window manager on the virtual display, and a managed window waits
# for one before it shows.
wine_prefix() {
  local version=2 log=$out/wineboot$(arch_suffix "$ZOR_ARCH").log
  if [ "$(cat "$WINEPREFIX/.zorvex-ready" 2>/dev/null)" != "$version" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wine wineboot -i >"$log" 2>&1 || { tail -n 20 "$log" >&2; die "wineboot failed for the $ZOR_ARCH-bit prefix (log: $log)"; }
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$log" 2>&1 \
      || { tail -n 20 "$log" >&2; die "could not set up the $ZOR_ARCH-bit Wine prefix (log: $log)"; }
    wineserver -w
    echo "$version" >"$WINEPREFIX/.zorvex-ready"
  fi
}
# The prefixes of every architecture this host runs.
wine_prefixes() {
  local arch
  for arch in $(test_archs); do use_wine "$arch"; wine_prefix; done
}
# The architectures whose programs this host runs, 64 first: 64 alone where it runs no 32-bit code.
test_archs() { if [ "$host32" = 1 ]; then echo 64 32; else echo 64; fi; }

# Starts a virtual X display and sets xvfb_display to its name; every display started is
# stopped, with the Wine servers of the prefixes, when the script exits. -noreset: by default
# the server resets itself whenever its last client leaves, which happens between every two
# runs of the program, and drops a client that connects during the reset; Wine then finds
# "no driver", and a program's windows never show. -r: no key repeats by itself; on a busy
# machine the release of a key the tests press may reach the server late, which would type the
# key again (a second Return in the dialog that follows a box, say).
xvfb_pids=()
new_xvfb() {
  local fifo n
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 2560x1440x24 -nolisten tcp -noreset -r 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pids+=("$!")
  read -r -t 20 n <"$fifo" || die "Xvfb did not start"
  rm -f "$fifo"
  xvfb_display=:$n
  trap 'stop_xvfb' EXIT
}
# A virtual display for the program under test: exports DISPLAY.
start_xvfb() { new_xvfb; export DISPLAY=$xvfb_display; }
# A second one, where the host runs both programs: the 32-bit program's Windows tests and
# end-to-end tests run there while the 64-bit program's run on the first (ZOR_DISPLAY2).
start_second_xvfb() {
  [ "$host32" = 1 ] || return 0
  new_xvfb
  export ZOR_DISPLAY2=$xvfb_display
}
stop_xvfb() {
  local prefix pid
  for prefix in "$out/wineprefix" "$out/wineprefix64"; do
    [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
  done
  for pid in "${xvfb_pids[@]}"; do kill "$pid" 2>/dev/null; done
  return 0
}

# A fresh copy of the program folder of the architecture use_wine chose (out/dist or
# out/dist64) in the given folder, holding only the program's own files: the settings and
# scratch files that runs wrote into the program folder stay behind.
program_copy() {
  python3 "$root/package/make_package.py" --bits "$ZOR_ARCH" --copy-to "$1" \
    || die "could not copy the program folder to $1"
}

# Builds the release from out/dist and out/dist64: out/release/ZorvexIde-<version>-setup.exe
# and .zip, and ZorvexIde-<version>-x64-setup.exe and -x64.zip.
build_package() {
  python3 "$root/package/make_package.py" >"$out/package.log" 2>&1 \
    || { cat "$out/package.log" >&2; die "packaging failed (log: out/package.log)"; }
}
