#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs each
# for SECONDS (default 60) on a working copy of its seed corpus. A crash,
# hang, leak or oversized allocation stops that target with its input saved
# under build-fuzz/findings/; copy it into tests/fuzz/corpus/ to keep it as
# a regression case.
#   tools/fuzz.sh [SECONDS]        run every target
#   FUZZ_TARGETS="fuzz_ini" tools/fuzz.sh 30
#   tools/fuzz.sh --check          each target once over its corpus (CI)
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh clang libclang-rt-14-dev
seconds=${1:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTASQUEL_FUZZ=ON -DTASQUEL_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_all >/dev/null
targets=(${FUZZ_TARGETS:-fuzz_container fuzz_xml fuzz_restore fuzz_import fuzz_ini fuzz_sealed fuzz_icalendar fuzz_multistatus})
corpus_of() {
  case $1 in
    fuzz_container) echo container ;;
    fuzz_ini) echo ini ;;
    fuzz_sealed) echo sealed ;;
    fuzz_icalendar) echo ics ;;
    fuzz_multistatus) echo dav ;;
    *) echo xml ;;
  esac
}
dict_of() {
  case $1 in
    fuzz_icalendar) echo tests/fuzz/icalendar.dict ;;
    fuzz_multistatus) echo tests/fuzz/dav.dict ;;
    *) echo tests/fuzz/interchange.dict ;;
  esac
}
mkdir -p build-fuzz/findings
# A smaller quarantine keeps a long run under the memory limit.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:quarantine_size_mb=32}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
export QT_QPA_PLATFORM=offscreen
status=0
for t in "${targets[@]}"; do
  seeds=tests/fuzz/corpus/$(corpus_of "$t")
  work=build-fuzz/corpus/$t
  mkdir -p "$work"
  common=(-rss_limit_mb=512 -malloc_limit_mb=256 -timeout=10
          -dict="$(dict_of "$t")" -artifact_prefix=build-fuzz/findings/"$t"-)
  if [[ $seconds == --check ]]; then
    # Every seed once, then a short run.
    args=("${common[@]}" -runs=0 "$seeds")
    "build-fuzz/tests/fuzz/$t" "${args[@]}" >"build-fuzz/$t.log" 2>&1 || { status=1; tail -30 "build-fuzz/$t.log"; }
    args=("${common[@]}" -max_total_time=30 "$work" "$seeds")
  else
    args=("${common[@]}" -max_total_time="$seconds" -print_final_stats=1 "$work" "$seeds")
  fi
  if "build-fuzz/tests/fuzz/$t" "${args[@]}" >"build-fuzz/$t.log" 2>&1; then
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "build-fuzz/$t.log" | grep -o '[0-9]*$' || true)
    last=$(grep -E '^#[0-9]+' "build-fuzz/$t.log" | tail -1 || true)
    echo "$t: clean ${execs:+($execs runs)} ${last}"
  else
    status=1
    echo "$t: FOUND A PROBLEM (build-fuzz/$t.log, input in build-fuzz/findings/)"
    grep -E 'ERROR|SUMMARY|Test unit written' "build-fuzz/$t.log" | head -5
  fi
done
exit $status
