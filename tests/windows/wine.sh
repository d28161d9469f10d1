# Sourced by the Windows tools' tests: runs Windows programs under Wine, or skips the test
# (exit status 77) with one line saying why when Wine cannot run here.
#
# The programs see this machine as a Windows PC would: Wine's prefix, HOME and the desktop's
# folders are made afresh in a private folder, the prefix has no Z: drive (Wine's view of
# the whole Linux root), and a test hands each folder it needs over as a drive of its own
# (wine_drive). A Linux path compiled into a Windows program then fails the test instead
# of finding the build machine's files.

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/qemu-user.sh"

export WINEDEBUG=-all
# No prompts for Wine's optional .NET and HTML engines, which nothing here uses.
export WINEDLLOVERRIDES="mscoree,mshtml="

wine_skip() {
    echo "SKIPPED: $*"
    exit 77
}

# Stops the prefix's server and removes the private folder (the EXIT trap need_wine sets;
# a test that sets its own calls it from there).
wine_done() {
    [ -n "${wine_home:-}" ] || return 0
    wineserver -k 2>/dev/null || true
    rm -rf "$wine_home"
}

# Wine needs its signal handler told the trap number of each fault, which a kernel that runs
# 32-bit programs itself does and Debian 12's qemu-user does not: Wine then stops at its first
# fault, minutes into its start-up, so a quick probe decides first. Under a qemu-i386 that
# tells (scripts/qemu-trap-numbers.sh builds one) Wine runs, about ten times slower.
# scripts/setup.sh installs Wine where the kernel runs 32-bit programs natively.
# Sets wine_home, the private folder (the test may keep its own files below it).
need_wine() {
    command -v wine >/dev/null ||
        wine_skip "wine is not installed (scripts/setup.sh installs it where the kernel runs 32-bit programs natively)"
    local entry started limit=300
    if entry=$(qemu_i386_entry); then
        qemu_reports_trap_numbers ||
            wine_skip "32-bit programs run through qemu-user here ($entry), which does not tell signal handlers the trap number Wine needs; scripts/qemu-trap-numbers.sh builds a qemu-i386 that does"
        limit=900
    fi
    wine_home=$(mktemp -d)
    trap wine_done EXIT
    export HOME="$wine_home/home" WINEPREFIX="$wine_home/prefix" XDG_CONFIG_HOME="$wine_home/home/.config" \
        XDG_CACHE_HOME="$wine_home/home/.cache" XDG_DATA_HOME="$wine_home/home/.local/share"
    mkdir -p "$HOME" "$WINEPREFIX"
    # One server for the whole test: without it every program (each winepath too) would
    # start the prefix's services afresh.
    wineserver -p
    # The first start makes the prefix, which can take a minute or two on a busy machine. It
    # also starts the prefix's services, which live on with the server and hold its output
    # open: a file, not a pipe, takes it.
    timeout $limit wine cmd /c echo wine-runs >"$wine_home/started" 2>&1 || true
    started=$(tr -d '\r' <"$wine_home/started")
    case "$started" in
    *wine-runs*) ;;
    *) wine_skip "wine cannot start on this machine ($(grep -m1 . <<<"$started" || echo 'no output')); it needs a kernel that runs 32-bit programs natively, or the qemu-i386 of scripts/qemu-trap-numbers.sh" ;;
    esac
    # The prefix is made with Z: as the Linux root; Wine reads its drives afresh at each
    # path it converts, so removing the link hides the root from every later program.
    rm -f "$WINEPREFIX/dosdevices/z:"
    wine_drive w "$wine_home"
}

# wine_drive LETTER FOLDER: the Windows programs see FOLDER as LETTER: (and nothing else
# of this machine but the folders given so).
wine_drive() {
    [ -d "$2" ] || { echo "FAILED: wine_drive: $2 is not a folder" >&2; exit 1; }
    ln -sfn "$(cd "$2" && pwd)" "$WINEPREFIX/dosdevices/$1:"
}

# A path as the Windows programs see it: on the drive whose folder holds it (the longest such
# folder), as Wine names it. A path on no such drive fails the test: Wine would name it
# \\?\unix\..., which no Windows PC has. Worked out here rather than by winepath, which
# costs a Windows program's start (most of a minute where qemu runs Wine).
winpath() {
    local path link folder drive="" drive_folder="" rest
    path=$(realpath -m "$1")
    for link in "$WINEPREFIX"/dosdevices/?:; do
        folder=$(realpath -e "$link" 2>/dev/null) || continue
        case "$path/" in
        "${folder%/}"/*) [ ${#folder} -le ${#drive_folder} ] || { drive=${link##*/} drive_folder=$folder; } ;;
        esac
    done
    [ -n "$drive" ] || { echo "FAILED: $1 lies on no drive the test gave Wine (wine_drive)" >&2; return 1; }
    rest=${path#"${drive_folder%/}"}
    rest=${rest//\//\\}
    echo "${drive^^}${rest:-\\}"
}

need_file() {
    [ -f "$1" ] || { echo "FAILED: $1 is missing: $2" >&2; exit 1; }
}
