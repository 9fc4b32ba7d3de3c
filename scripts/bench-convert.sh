#!/usr/bin/env bash
# Times text-to-binary conversion of one form file by our converter and by
# Free Pascal's ObjectTextToBinary, both built natively, as whole processes,
# alternating A B A B. Prints: RATIO DETAIL (ours/theirs, lower is better).
# Usage: bench-convert.sh FORM_FILE WORK_DIR
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
form="$1"; work="$2"
mkdir -p "$work"

if ! command -v c++ >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends g++ >/dev/null
fi
if ! command -v fpc >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends fp-compiler fp-units-rtl >/dev/null
fi
c++ -O2 -std=c++20 -I"$top" -o "$work/dfmconvert" "$top/tools/convert/main.cpp" \
  "$top"/vcl/streaming/*.cpp
fpc -O2 -v0 -FE"$work" -FU"$work" "$top/bench/fpc/textobin.pas" >/dev/null

# Both must agree on the bytes before their times mean anything.
"$work/dfmconvert" -b "$form" "$work/ours.dfm"
"$work/textobin" "$form" "$work/theirs.dfm"
same=yes
cmp -s "$work/ours.dfm" "$work/theirs.dfm" || same=no

elapsed() {  # seconds for one whole-process run
  local s e
  s=$(date +%s%N); "$@" >/dev/null; e=$(date +%s%N)
  awk -v s="$s" -v e="$e" 'BEGIN { printf "%.6f", (e - s) / 1e9 }'
}
ours=(); theirs=()
for i in $(seq 1 10); do
  ours+=("$(elapsed "$work/dfmconvert" -b "$form" "$work/ours.dfm")")
  theirs+=("$(elapsed "$work/textobin" "$form" "$work/theirs.dfm")")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
mo=$(median "${ours[@]}"); mt=$(median "${theirs[@]}")
ratio=$(awk -v a="$mo" -v b="$mt" 'BEGIN { printf "%.4f", a / b }')
echo "$ratio ours ${mo}s, Free Pascal ${mt}s, same bytes: $same"
