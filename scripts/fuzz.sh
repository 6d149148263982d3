#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs each for SECONDS (default 60), starting from the committed corpus:
#   scripts/fuzz.sh [SECONDS]
# New inputs go to <build>/fuzz/found/<name>; a crash leaves its input in <build>/fuzz and
# ends the script with the fuzzer's status. To keep a find as a test, copy the input into
# fuzz/corpus/<name>/ (the ordinary test run replays that folder).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FXUI_BUILD_DIR:-$root/build}/fuzz
seconds=${1:-60}

missing=()
for p in clang libclang-rt-14-dev libstb-dev cmake make; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

flags="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g"
cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" -DFXUI_FUZZ=ON -DFXUI_TESTS=OFF -DFXUI_BENCH=OFF >/dev/null
cmake --build "$out" -j2 --target fxapply_fuzzer effects_fuzzer

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1
for name in fxapply effects; do
  found="$out/found/$name"
  mkdir -p "$found"
  echo "== fuzzing $name for $seconds s"
  (cd "$out" && "$out/bin/${name}_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=20 \
      -rss_limit_mb=4096 "$found" "$root/fuzz/corpus/$name")
done
