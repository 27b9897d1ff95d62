#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, core only, in build-fuzz/) and runs each one: first its
# seed corpus in fuzz/corpus/<target>/ is replayed, then it fuzzes for SECONDS (default 25), two
# targets at a time. Any crash, sanitizer report, leak, time-out or broken property fails the
# run; the input behind it is kept in build-fuzz/artifacts/<target>/.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seconds=${1:-25}
shift || true

"$root/scripts/setup.sh" --fuzz "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14

# Targets that work on files do so in a scratch folder under TMPDIR: in memory where possible.
if [[ -d /dev/shm && -w /dev/shm ]]; then export TMPDIR=/dev/shm; fi

targets=("$@")
if ((${#targets[@]} == 0)); then
    for binary in "$build"/fuzz/*_fuzz; do targets+=("$(basename "$binary" _fuzz)"); done
fi

# One target: replay the seeds, then fuzz from them into a working corpus outside the source tree.
fuzz_one() {
    local target=$1
    local binary="$build/fuzz/${target}_fuzz" seeds="$root/fuzz/corpus/$target"
    local work="$build/corpus/$target" artifacts="$build/artifacts/$target" log="$build/logs/$target.log"
    mkdir -p "$work" "$artifacts" "$(dirname "$log")"
    local options=(-timeout=10 -rss_limit_mb=2048 -artifact_prefix="$artifacts/")
    {
        "$binary" "${options[@]}" -runs=0 "$seeds" &&
        "$binary" "${options[@]}" -max_total_time="$seconds" -print_final_stats=1 "$work" "$seeds"
    } > "$log" 2>&1
}

summary() {
    local target=$1 status=$2 log="$build/logs/$1.log"
    local seeds runs
    seeds=$(find "$root/fuzz/corpus/$target" -type f | wc -l)
    runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log" | tail -n 1)
    printf '%-20s seeds %3s  executions %10s  %s\n' "$target" "$seeds" "${runs:-0}" \
        "$( ((status == 0)) && echo ok || echo FAILED)"
}

failed=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
    pids=()
    for target in "${targets[@]:i:2}"; do
        fuzz_one "$target" &
        pids+=($!)
    done
    for k in "${!pids[@]}"; do
        target=${targets[i + k]}
        status=0
        wait "${pids[k]}" || status=$?
        summary "$target" "$status"
        if ((status != 0)); then
            failed=1
            tail -n 40 "$build/logs/$target.log"
        fi
    done
done
exit "$failed"
