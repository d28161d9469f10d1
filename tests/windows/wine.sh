# Sourced by the Windows tools' tests: runs Windows programs under Wine, or skips the test
# (exit status 77) with one line saying why when Wine cannot run here.

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/qemu-user.sh"

export WINEDEBUG=-all
# No prompts for Wine's optional .NET and HTML engines, which nothing here uses.
export WINEDLLOVERRIDES="mscoree,mshtml="

wine_skip() {
    echo "SKIPPED: $*"
    exit 77
}

# Wine starts only where the kernel runs 32-bit programs itself: under qemu's user mode it
# cannot map the shared user data, and its start-up waits minutes before it gives up, so
# the binfmt entry decides that at once. scripts/setup.sh installs Wine where it can run.
need_wine() {
    command -v wine >/dev/null ||
        wine_skip "wine is not installed (scripts/setup.sh installs it where the kernel runs 32-bit programs natively)"
    local entry started
    if entry=$(qemu_i386_entry); then
        wine_skip "32-bit programs run through qemu-user here ($entry), under which wine cannot start; it needs a kernel that runs them natively"
    fi
    # The first start makes Wine's prefix, which can take a minute on a busy machine.
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
