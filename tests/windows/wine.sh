# Sourced by the Windows tools' tests: runs Windows programs under Wine, or skips the test
# (exit status 77) with one line saying why when Wine cannot run here.

export WINEDEBUG=-all
# No prompts for Wine's optional .NET and HTML engines, which nothing here uses.
export WINEDLLOVERRIDES="mscoree,mshtml="

wine_skip() {
    echo "SKIPPED: $*"
    exit 77
}

# Wine starts only where the kernel runs 32-bit programs itself: under qemu's user mode it
# cannot map the shared user data. scripts/setup.sh installs it where it can run.
need_wine() {
    command -v wine >/dev/null ||
        wine_skip "wine is not installed (scripts/setup.sh installs it where the kernel runs 32-bit programs natively)"
    local started
    started=$(timeout 300 wine cmd /c echo wine-runs 2>&1 | tr -d '\r') || true
    case "$started" in
    *wine-runs*) ;;
    *) wine_skip "wine cannot start on this machine ($(grep -m1 . <<<"$started" || echo 'no output')); it needs a kernel that runs 32-bit programs natively" ;;
    esac
}

# A path as the Windows programs see it (Z:\... for this machine's folders).
winpath() { winepath -w "$1" 2>/dev/null; }

need_file() {
    [ -f "$1" ] || { echo "FAILED: $1 is missing: $2" >&2; exit 1; }
}
