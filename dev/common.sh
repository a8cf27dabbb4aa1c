# Shared by the dev scripts: paths, the build, Wine's environment and the virtual display.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${ZOR_OUT:-$root/out}
export ZOR_OUT=$out
export ZORVEX_CACHE=${ZORVEX_CACHE:-/var/cache/zorvex-ide}
export WINEPREFIX=$out/wineprefix
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
jobs=$(nproc 2>/dev/null || echo 2)

die() { echo "$(basename "$0"): $*" >&2; exit 1; }

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

# Checks the folder layout, then configures and builds the four trees: native (unit tests, zorrun), sanitized native (the unit
# tests again and the fuzz targets), Windows (program, DLLs, tests) and 64-bit Windows (the
# 64-bit runtime of compiled programs).
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

# Creates the private Wine prefix once. Windows are left unmanaged: there is no window
# manager on the virtual display, and a managed window waits for one before it shows.
wine_prefix() {
  local version=2
  if [ "$(cat "$WINEPREFIX/.zorvex-ready" 2>/dev/null)" != "$version" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >"$out/wineboot.log" 2>&1 || { cat "$out/wineboot.log" >&2; die "wineboot failed"; }
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$out/wineboot.log" 2>&1 \
      || { cat "$out/wineboot.log" >&2; die "could not set up the Wine prefix"; }
    wineserver -w
    echo "$version" >"$WINEPREFIX/.zorvex-ready"
  fi
}

# Starts a virtual X display and exports DISPLAY; it is stopped when the script exits.
start_xvfb() {
  local fifo n
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 2560x1440x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 20 n <"$fifo" || die "Xvfb did not start"
  rm -f "$fifo"
  export DISPLAY=:$n
  trap 'stop_xvfb' EXIT
}
stop_xvfb() {
  wineserver -k >/dev/null 2>&1
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  return 0
}

# A fresh copy of the program folder out/dist in the given folder, holding only the program's
# own files: the settings and scratch files that runs wrote into out/dist stay behind.
program_copy() {
  python3 "$root/package/make_package.py" --copy-to "$1" || die "could not copy the program folder to $1"
}

# Builds the release from out/dist: out/release/ZorvexIde-<version>-setup.exe and .zip.
build_package() {
  python3 "$root/package/make_package.py" >"$out/package.log" 2>&1 \
    || { cat "$out/package.log" >&2; die "packaging failed (log: out/package.log)"; }
}
