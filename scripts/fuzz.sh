#!/usr/bin/env bash
# The fuzzing harnesses (fuzz/README.md): built with clang, libFuzzer and the sanitizers
# into build/fuzz, apart from the gcc presets.
#
#   scripts/fuzz.sh --list                       the harnesses
#   scripts/fuzz.sh NAME SECONDS [OPTION...]     build, then fuzz one for that long
#   scripts/fuzz.sh --ci                         every harness, a fixed number of runs
#
# A run starts from the harness's corpus in fuzz/corpus/ and keeps what it finds in
# build/fuzz/found/NAME for the next run; an input that breaks the harness is written to
# build/fuzz/crashes/. Options after SECONDS go to libFuzzer: -fork=1 -ignore_crashes=1
# goes on past a fault for the whole time, -max_len=512 caps the input size.
#
# Every run has a watchdog: a harness that does not end in its time is stopped and the run
# fails, saying so. A failure of the sanitizer runtime itself (its "CHECK failed") is told
# apart from a fault of the code, and its inputs go to build/fuzz/runtime-failures/.
[[ "${1:-}" == --help || "${1:-}" == -h ]] && { sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"; exit 0; } # the comment above
set -euo pipefail
cd "$(dirname "$0")/.."

harnesses=(data_files data_check txd_read txd_write scenario pe_read)
# Runs per harness in CI: together about 8 CPU seconds on the machine they were tuned on,
# the build about 50 (the scenario reader's JSON code most of it). The readers', checker's
# and scenario harnesses are 32-bit, so a machine that runs 32-bit programs through qemu
# runs those ~10x slower.
declare -A ci_runs=([data_files]=1500 [data_check]=1000 [txd_read]=4000 [txd_write]=4000 [scenario]=2000 [pe_read]=4000)
# The watchdog of each CI run: far beyond what those runs take even under qemu.
ci_limit=300

usage() {
    echo "usage: scripts/fuzz.sh --list | --ci | NAME SECONDS [libFuzzer option...]" >&2
    exit 2
}

source scripts/qemu-user.sh
# Under qemu-user the leak check at exit never ends: it stops the process's threads with
# ptrace, which qemu-user does not give. Leaks are looked for where the kernel runs the
# harnesses itself.
if qemu_i386_entry >/dev/null; then
    export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
fi
# What a harness may hold (libFuzzer stops it past that and keeps the input). A 32-bit one
# has 3 GB of addresses under qemu (4 natively), half a gigabyte of them the sanitizer's
# shadow, so one that grows is stopped with libFuzzer's clear "out-of-memory" report long
# before the runtime runs out of room. The allocator's quarantine (256 MB) fits within it.
rss_limit_mb=1024
# An input that runs longer than this is a hang of the code: libFuzzer reports it.
input_timeout=60

build() {
    command -v clang++ >/dev/null || { echo "fuzz: clang++ is missing (bash scripts/setup.sh installs it)" >&2; exit 1; }
    cmake -S fuzz -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build build/fuzz -j"$(nproc)" >/dev/null
}

# The corpus directories of a harness, after the one new inputs go to.
corpora() {
    local name=$1 dir
    echo "fuzz/corpus/$name"
    case $name in
    data_check) echo fuzz/corpus/data_files ;;
    txd_read)
        # The shipped dictionaries the sim build drew, the smaller ones (a megabyte input
        # costs more than it finds).
        dir=build/fuzz/shipped-txd
        rm -rf "$dir"
        mkdir -p "$dir"
        find assets/kell-hud/textures -name '*.txd' -size -300k -exec cp {} "$dir/" \; 2>/dev/null || true
        echo "$dir"
        ;;
    esac
}

# The executions the log reports: the final statistics, or the last status line (in fork
# mode, -fork=1 -ignore_crashes=1, and in a run that was stopped).
executions() {
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$1" | tail -1)
    [ -n "$runs" ] || runs=$(sed -n 's/^#\([0-9][0-9]*\)[:[:space:]].*cov:.*/\1/p' "$1" | tail -1)
    echo "${runs:-?}"
}

# Runs one harness under a watchdog of `limit` seconds; prints its executions. A failure
# says which of three it is: a fault the code has (the input is kept), the sanitizer
# runtime failing inside itself (the machine's, not the code's: its inputs are set apart),
# or a run that did not end in time.
run() {
    local name=$1 found=$2 limit=$3
    shift 3
    local log=build/fuzz/$name.log
    mkdir -p "$found" build/fuzz/crashes
    local status=0 before
    before=$(find build/fuzz/crashes -name "$name-*" | sort)
    # shellcheck disable=SC2046
    timeout -k 10 "$limit" "build/fuzz/fuzz_$name" "$found" $(corpora "$name") -print_final_stats=1 \
        -artifact_prefix="build/fuzz/crashes/$name-" -timeout="$input_timeout" -rss_limit_mb="$rss_limit_mb" "$@" >"$log" 2>&1 || status=$?
    local runs
    runs=$(executions "$log")
    local kept
    kept=$(comm -13 <(echo "$before") <(find build/fuzz/crashes -name "$name-*" | sort))
    if grep -q "Sanitizer: CHECK failed" "$log"; then
        # The runtime's own consistency check: no input of ours can cause it.
        mkdir -p build/fuzz/runtime-failures
        [ -z "$kept" ] || while read -r input; do mv "$input" build/fuzz/runtime-failures/; done <<<"$kept"
        grep -m1 "Sanitizer: CHECK failed" "$log" >&2
        echo "fuzz: $name: the sanitizer runtime failed inside itself after $runs executions, a fault of this" \
             "machine's setup and not of the code (log: $log). Where qemu-user runs 32-bit programs," \
             "scripts/qemu-user.sh must be sourced first (it reserves the address space the runtime shadows)." >&2
        return 1
    fi
    if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
        tail -3 "$log" >&2
        echo "fuzz: $name did not end within $limit s and was stopped after $runs executions (log: $log)" >&2
        return 1
    fi
    local faults
    faults=$(grep -c . <<<"$kept" || true)
    if [ "$status" -ne 0 ] || [ "$faults" -gt 0 ]; then
        grep -E "property broken|  seen:|ERROR: |SUMMARY|Test unit written" "$log" >&2 || tail -20 "$log" >&2
        echo "fuzz: $name broke after $runs executions, $faults input(s) kept in build/fuzz/crashes (log: $log);" \
             "run one again with build/fuzz/fuzz_$name FILE" >&2
        return 1
    fi
    echo "fuzz: $name: $runs executions, no fault"
}

[ $# -ge 1 ] || usage
case $1 in
--list)
    printf '%s\n' "${harnesses[@]}"
    ;;
--ci)
    build
    for name in "${harnesses[@]}"; do
        # A fixed seed and a fresh directory for new inputs: the same runs every time.
        rm -rf "build/fuzz/ci/$name"
        run "$name" "build/fuzz/ci/$name" "$ci_limit" -runs="${ci_runs[$name]}" -seed=1
    done
    ;;
*)
    [ $# -ge 2 ] || usage
    name=$1 seconds=$2
    shift 2
    [[ " ${harnesses[*]} " == *" $name "* ]] || { echo "fuzz: no harness $name; scripts/fuzz.sh --list names them" >&2; exit 2; }
    [[ $seconds =~ ^[0-9]+$ ]] || usage
    build
    # libFuzzer looks at the clock between inputs; the watchdog allows for the corpus's
    # loading and the last input.
    run "$name" "build/fuzz/found/$name" $((seconds + 60 + seconds / 10)) -max_total_time="$seconds" "$@"
    ;;
esac
