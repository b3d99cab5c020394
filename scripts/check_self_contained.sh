#!/usr/bin/env bash
# Fails when a file of the project reads from a directory beside the checkout: a clean clone has
# nothing beside it, so every file a build, a test or a script needs lives in the project.
#   check_self_contained.sh [DIR]    checks the files of DIR (default: the project)
#   check_self_contained.sh --self-test
#                                    checks that a planted reference is caught
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"

# The patterns are put together here, so that this file does not match itself.
up='..'
beside='sha''red'
patterns=("${up}/${beside}" "/work/${beside}" "BRIX_SHA""RED_DIR")

check() {
    local dir="$1" files args=()
    if git -C "$dir" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        files="$(git -C "$dir" ls-files --cached --others --exclude-standard)"
    else
        files="$(cd "$dir" && find . -type f -not -path './build*' -not -path './.git/*' | sed 's|^\./||')"
    fi
    for p in "${patterns[@]}"; do args+=(-e "$p"); done
    local found
    found="$(cd "$dir" && while IFS= read -r f; do [ -f "$f" ] && printf '%s\0' "$f"; done <<<"$files" |
        xargs -0 -r grep -I -n -H -F "${args[@]}" || true)"
    [ -z "$found" ] && return 0
    echo "$found" >&2
    return 1
}

if [ "${1:-}" = "--self-test" ]; then
    tmp="$(mktemp -d)"
    trap 'rm -rf "$tmp"' EXIT
    mkdir -p "$tmp/tests"
    echo 'int x;' >"$tmp/tests/clean.cpp"
    check "$tmp" || { echo "self-test: a clean tree was refused" >&2; exit 1; }
    printf 'const char* p = "%s/fixtures/a.db";\n' "${patterns[0]}" >"$tmp/tests/planted.cpp"
    if check "$tmp" 2>/dev/null; then
        echo "self-test: a planted reference was not caught" >&2
        exit 1
    fi
    echo "self-test passed"
    exit 0
fi

dir="${1:-$here}"
if ! check "$dir"; then
    echo "These files read from outside the project; copy what they need into it." >&2
    exit 1
fi
echo "No file reads from outside the project."
