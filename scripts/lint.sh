#!/usr/bin/env bash
# The static checks, each a stage of its own (all three when none is named):
#   --format  clang-format --dry-run --Werror on every C++ file in git (.clang-format)
#   --tidy    clang-tidy on src/ (.clang-tidy) with the compile commands of build/dev (configured
#             first when missing); the Windows-only files are not in them and are not checked
#   --shell   shellcheck on every shell script in git (scripts/*.sh, .ci/run, ...)
# Exits non-zero when a check found something; every check runs to the end either way.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${VAULTWING_LINT_BUILD:-build/dev}
jobs=${VAULTWING_LINT_JOBS:-2}
status=0

check_format() {
    echo "== clang-format"
    git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror || status=1
}

check_tidy() {
    echo "== clang-tidy"
    [ -f "$build/compile_commands.json" ] || cmake --preset dev
    # run-clang-tidy takes the files of the compile commands that match; src/ only.
    # Colour codes stripped (clang-tidy 14's runner has no switch for them); the whole log stays
    # in the build folder, the findings are listed once each.
    run-clang-tidy -quiet -j "$jobs" -p "$build" "^$PWD/src/" 2>&1 | sed 's/\x1b\[[0-9;]*m//g' >"$build/clang-tidy.log" ||
        status=1
    grep -E '^/.*: (warning|error): ' "$build/clang-tidy.log" | sort -u || true
}

# Every file git tracks that ends in .sh or .bash (the completion script) or starts with a
# shell's #! line.
shell_scripts() {
    git ls-files -z | while IFS= read -r -d '' file; do
        [ -f "$file" ] || continue
        case "$file" in
            *.sh | *.bash) printf '%s\0' "$file" ;;
            *) if head -n1 "$file" | grep -qE '^#!.*\b(ba)?sh\b'; then printf '%s\0' "$file"; fi ;;
        esac
    done
}

check_shell() {
    echo "== shellcheck"
    shell_scripts | xargs -0 shellcheck || status=1
}

stages=("$@")
[ ${#stages[@]} -gt 0 ] || stages=(--format --tidy --shell)
for stage in "${stages[@]}"; do
    case "$stage" in
        --format) check_format ;;
        --tidy) check_tidy ;;
        --shell) check_shell ;;
        *) echo "usage: $0 [--format] [--tidy] [--shell]" >&2; exit 2 ;;
    esac
done
exit $status
