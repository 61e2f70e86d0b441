#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or the folder given
# as first argument, or $VEXA_FUZZ_BUILD_DIR). Exit 77 when clang or its
# fuzzer runtime is missing, so callers can skip.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-${VEXA_FUZZ_BUILD_DIR:-$root/build-fuzz}}"
cxx="${VEXA_FUZZ_CXX:-clang++}"

if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "fuzz: $cxx not found (install clang and libclang-rt-14-dev)" >&2
  exit 77
fi
probe="$(mktemp -d)"
trap 'rm -rf "$probe"' EXIT
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long){return 0;}\n' >"$probe/p.cpp"
if ! "$cxx" -fsanitize=fuzzer,address,undefined "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1; then
  echo "fuzz: $cxx cannot link libFuzzer (install libclang-rt-14-dev)" >&2
  exit 77
fi

export CCACHE_BASEDIR="$root"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
mkdir -p "$build"
exec 9>"$build/.build.lock"
flock 9
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" "${launcher[@]}" >/dev/null
fi
cmake --build "$build" -- -j"${VEXA_FUZZ_JOBS:-$(nproc)}"
