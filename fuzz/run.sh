#!/usr/bin/env bash
# Installs what is missing, builds the loader's fuzz target with clang,
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer in its own build
# directory, writes the seed corpus, and fuzzes for the given number of seconds
# (default 120). Exits non-zero on a crash, a leak, a sanitizer report or a
# broken property; the input that broke it is left as crash-*, leak-* or
# timeout-* in the build directory.
#
#   bash fuzz/run.sh [SECONDS]
#
# DROVANEL_FUZZ_BUILD_DIR chooses the build directory (default build-fuzz),
# DROVANEL_FUZZ_SEED the fuzzer's random seed (default 1, so a run can be
# repeated); further libFuzzer options can follow in DROVANEL_FUZZ_ARGS. The
# corpus grows in the build directory's corpus/ and is reused by later runs.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-120}
build=${DROVANEL_FUZZ_BUILD_DIR:-$root/build-fuzz}
case $build in /*) ;; *) build=$root/$build ;; esac

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DDROVANEL_FUZZ=ON \
    -DDROVANEL_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
cmake --build "$build" -j "$(nproc)" >&2

# Seed files written from the layout: a header alone, then one object holding a
# Part1 entry (the format's worked example) with a Big5, a UTF-8 and a GB18030
# string, a Part2 entry and bytes after it.
mkdir -p "$build/corpus" "$build/seeds"
header() { head -c 52 /dev/zero; printf "\\x$1\\x00"; head -c 6 /dev/zero; }
header 00 >"$build/seeds/empty.res"
{
    header 01
    printf '\x01\x00\x00\x00\x64\x00\x00\x00'
    printf '\x03\x00\x00\x00\xa4\x40\x00\x04\x00\x00\x00\xe4\xb8\xad\x00'
    printf '\x05\x00\x00\x00\xc4\xe3\xba\xc3\x00'
    printf '\x01\x00\x00\x00\x0c\x00\x00\x00\x05\x00\x00\x00\xff\xff\xff\xff'
    printf '\x01\x00\x00\x00'; head -c 36 /dev/zero; printf '\x0a\x00\x00\x00tail'
} >"$build/seeds/object.res"
# The same bytes also go to the JSON reader, which a seed of JSON leads in.
printf '{"header": "%s", "objects": [{"ObjectType": 1, "EntryTypeTypeID": 2, "String1": %s' \
    "$(printf '%0120d' 0)" '{"hex": "00"},' >"$build/seeds/object.json"
printf ' "String2": {"text": "m"}, "String3": {"text": "\\u4e2d", "encoding": "big5"},' \
    >>"$build/seeds/object.json"
printf ' "Part1": [{"Type": 4, "Value1": 5, "Value2": 6}], "Part2": []}], "trailing": "00"}' \
    >>"$build/seeds/object.json"

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}:abort_on_error=1
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
cd "$build"
set +e
# shellcheck disable=SC2086
./drovanel_fuzz_load -seed="${DROVANEL_FUZZ_SEED:-1}" -max_total_time="$seconds" \
    -print_final_stats=1 -rss_limit_mb=2048 ${DROVANEL_FUZZ_ARGS:-} corpus seeds >fuzz.log 2>&1
status=$?
set -e
if [ "$status" -ne 0 ]; then
    tail -n 80 fuzz.log
    echo "fuzzing failed (exit status $status); the full log is $build/fuzz.log" >&2
fi
grep -E '^(Done|stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb))' fuzz.log
exit "$status"
