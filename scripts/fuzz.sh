#!/usr/bin/env bash
# Builds the form-file fuzz targets natively with clang (libFuzzer, address
# and undefined-behaviour sanitizers) and runs each for SECONDS (default 60).
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds="${1:-60}"
out="${FUZZ_DIR:-${BUILD_DIR:-$top/build}/fuzz}"
case "$out" in /*) ;; *) out="$top/$out" ;; esac
mkdir -p "$out/obj"

# libFuzzer's runtime is only a recommendation of clang's package, so it is
# asked for by name.
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  echo "fuzz: installing clang and libFuzzer" >&2
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends clang libclang-rt-dev >/dev/null
fi

flags=(-std=c++20 -g -O1 -I"$top" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
objects=()
for src in "$top"/vcl/streaming/*.cpp; do
  obj="$out/obj/$(basename "$src" .cpp).o"
  if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find "$top/vcl/streaming" "$top/vcl/System.h" -newer "$obj" -name '*.h')" ]; then
    clang++ "${flags[@]}" -c "$src" -o "$obj"
  fi
  objects+=("$obj")
done

run() {  # NAME SEEDS...
  local name="$1"; shift
  local exe="$out/$name"
  if [ ! -x "$exe" ] || [ "$top/tests/fuzz/$name.cpp" -nt "$exe" ] || [ -n "$(find "${objects[@]}" -newer "$exe")" ]; then
    clang++ "${flags[@]}" "$top/tests/fuzz/$name.cpp" "${objects[@]}" -o "$exe"
  fi
  # A corpus of its own in the build, so that the seeds in the sources stay as they are.
  local corpus="$out/corpus-$name"
  mkdir -p "$corpus"
  for seeds in "$@"; do cp -n "$top/tests/fuzz/corpus/$seeds"/* "$corpus"/ 2>/dev/null || true; done
  echo "fuzz: $name for ${seconds}s" >&2
  "$exe" -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=0 -artifact_prefix="$out/$name-" "$corpus" 2>"$out/$name.log" || { tail -40 "$out/$name.log" >&2; exit 1; }
  grep -E "^Done|runs in" "$out/$name.log" | tail -1 >&2 || true
}

run FuzzText text
run FuzzBinary binary
run FuzzRoundTrip text binary
