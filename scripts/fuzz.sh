#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`) and runs each for SECONDS (default 30), starting
# from its seed corpus in fuzz/corpus/<target>/. New inputs the fuzzer finds go to
# build/fuzz/corpus/<target>/ (the seeds stay as they are); an input that breaks a property is
# saved in build/fuzz/artifacts/ and the script fails. Prints the executions per target.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"

[ -f build/fuzz/build.ninja ] || cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

targets=(fuzz_language_file fuzz_ini fuzz_decrypt_byte fuzz_decrypt_file fuzz_command_line
         fuzz_relative_paths fuzz_favourites fuzz_wildcard)
mkdir -p build/fuzz/artifacts build/fuzz/logs
failed=()
summary=()
for t in "${targets[@]}"; do
    mkdir -p "build/fuzz/corpus/$t"
    log="build/fuzz/logs/$t.log"
    echo "== $t: ${seconds}s"
    status=0
    ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
        "build/fuzz/bin/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="build/fuzz/artifacts/$t-" "build/fuzz/corpus/$t" "fuzz/corpus/$t" >"$log" 2>&1 ||
        status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    if [ "$status" -ne 0 ]; then
        failed+=("$t")
        summary+=("$(printf '%-22s FAILED (see %s)' "$t" "$log")")
        grep -E "PROPERTY VIOLATED|ERROR: |runtime error|Test unit written" "$log" | head -5 || true
    else
        summary+=("$(printf '%-22s %12s executions in %ss' "$t" "${runs:-?}" "$seconds")")
    fi
done
echo
echo "Fuzzing summary:"
printf '  %s\n' "${summary[@]}"
if [ ${#failed[@]} -ne 0 ]; then
    echo "Failed: ${failed[*]}" >&2
    exit 1
fi
