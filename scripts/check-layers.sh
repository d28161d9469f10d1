#!/usr/bin/env bash
# Fails when a C++ file includes a header from a layer above its own, climbs with "../",
# or lies in no layer. Every C++ folder is in a layer: the plug-in's folders (src/), the
# tools', the simulated host's, the fuzzing harnesses, the benchmark and the tests. The
# rows below go lowest first; groups on one row are side by side and include neither each
# other nor anything above them. Within a group any file may include any other.
# docs/architecture.md explains the layers.
#
#   bash scripts/check-layers.sh [TREE]    (TREE: a checkout to check; default this one)
[[ "${1:-}" == --help || "${1:-}" == -h ]] && { sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"; exit 0; } # the comment above
set -euo pipefail

# A group is a folder (src/core, tools/txd, sim/preview, fuzz, ...) or, for the files at
# the top of sim/, one of the sim:* groups named in sim_files below.
layers=(
    "tools/text"
    "src/platform"
    "src/host src/injector"
    "src/core"
    "src/data"
    "src/state"
    "src/textures"
    "src/draw tools/txd"
    "src/hud src/radar tools/art"
    "src/hooks"
    "src/app"
    "sim:base"
    "sim:plugin"
    "sim/preview sim:scenario"
    "sim:host"
    "sim/substitutes"
    "sim/check"
    "sim/pack"
    "sim:run"
    "sim:main sim/studio bench fuzz"
    "tests"
)

# The files at the top of sim/ by group, named without extension or _linux/_windows.
sim_files=(
    "sim:base address_space host_image image_writer x86 system plugin_heap host_records host_state world_state marker_shapes textures sanitizer_options"
    "sim:plugin trace plugin_loader plugin_placement win32_seam pe_file mod_folder command_checks"
    "sim:scenario scenario scenario_world scenario_fields scenario_cursor"
    "sim:host host_aim host_build host_frame host_help host_options host_phone host_radar host_renderer_start host_routines host_sites render_engine graphics_device substitutes"
    "sim:run run"
    "sim:main main"
)

# Where a quoted include is looked for after the including file's own folder: the include
# paths the builds give.
include_roots=(sim src tools . tests/support)
# Headers the build writes (CMakeLists.txt).
generated=(player_readme.h studio_embedded.h)

root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
cd "$root"

declare -A rank sim_group is_generated
for i in "${!layers[@]}"; do
    for group in ${layers[$i]}; do rank[$group]=$i; done
done
for row in "${sim_files[@]}"; do
    read -r group names <<<"$row"
    for name in $names; do sim_group[$name]=$group; done
done
for name in "${generated[@]}"; do is_generated[$name]=1; done

# The group of a file given relative to the tree; empty when it has none.
group_of() {
    local path=$1 rest stem
    case $path in
        src/*/* | tools/*/* | sim/*/*)
            rest=${path#*/}
            REPLY=${path%%/*}/${rest%%/*} ;;
        sim/*)
            stem=${path#sim/}; stem=${stem%.*}; stem=${stem%_linux}; stem=${stem%_windows}
            REPLY=${sim_group[$stem]:-} ;;
        fuzz/* | bench/* | tests/*) REPLY=${path%%/*} ;;
        *) REPLY= ;;
    esac
}

status=0
files=$(find src sim tools fuzz bench tests \( -name '*.h' -o -name '*.cpp' \) -type f | sort)
for file in $files; do
    group_of "$file"
    if [ -z "$REPLY" ] || [ -z "${rank[$REPLY]+set}" ]; then
        echo "check-layers: $file is in no layer; add ${REPLY:-it} to the lists in scripts/check-layers.sh and to docs/architecture.md" >&2
        status=1
    fi
done

while IFS=: read -r file n text; do
    group_of "$file"; from=$REPLY
    [ -n "$from" ] && [ -n "${rank[$from]+set}" ] || continue
    [[ $text =~ \"([^\"]+)\" ]] || continue
    header=${BASH_REMATCH[1]}
    if [[ $header == *../* ]]; then
        echo "$file:$n: climbs with ../ (name the header from an include path): $text" >&2
        status=1
        continue
    fi
    target=
    for dir in "${file%/*}" "${include_roots[@]}"; do
        if [ -f "$dir/$header" ]; then target=${dir#./}/$header; break; fi
    done
    if [ -z "$target" ]; then
        [ -n "${is_generated[$header]+set}" ] && continue
        echo "$file:$n: includes $header, which is no file of this tree" >&2
        status=1
        continue
    fi
    group_of "$target"; to=$REPLY
    [ "$to" = "$from" ] && continue
    if [ -z "$to" ] || [ -z "${rank[$to]+set}" ]; then
        continue # reported above as in no layer
    elif [[ $from == src/* && $to != src/* ]]; then
        echo "$file:$n: the plug-in ($from/) includes $target, outside src/: $text" >&2
        status=1
    elif [ "${rank[$to]}" -ge "${rank[$from]}" ]; then
        echo "$file:$n: $from includes $target ($to), which is not below it: $text" >&2
        status=1
    fi
done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' $files)

# The plug-in's files a tool compiles into itself must be of folders the tool may include.
# Each add_library/add_executable of the tools' CMake files whose first source is under
# tools/ is checked, with the set() lists it names expanded.
for cmake_file in CMakeLists.txt cmake/windows-tools.cmake; do
    [ -f "$cmake_file" ] || continue
    while read -r target tool sources; do
        group_of "$tool"; tool_group=$REPLY
        for source in $sources; do
            [[ $source == src/* ]] || continue
            group_of "$source"
            if [ -z "${rank[$REPLY]+set}" ] || [ "${rank[$REPLY]}" -ge "${rank[$tool_group]}" ]; then
                echo "$cmake_file: $target ($tool_group) compiles $source ($REPLY), which is not below it" >&2
                status=1
            fi
        done
    done < <(awk '
        { text = text " " $0 }
        END {
            gsub(/\$\{CMAKE_SOURCE_DIR\}\//, "", text)
            n = split(text, statements, ")")
            for (i = 1; i <= n; i++) {
                s = statements[i]
                if (match(s, /set\([A-Z_]+ /)) {
                    split(substr(s, RSTART + 4), w, " ")
                    name = w[1]; sub(/^set\(/, "", name)
                    lists[name] = substr(s, RSTART + 4 + length(w[1]))
                } else if (match(s, /add_(executable|library)\([A-Za-z_-]+ /)) {
                    rest = substr(s, RSTART); sub(/^add_(executable|library)\(/, "", rest)
                    m = split(rest, w, " ")
                    first = (w[2] == "STATIC" || w[2] == "OBJECT" || w[2] == "SHARED" || w[2] == "MODULE") ? 3 : 2
                    if (w[first] !~ /^tools\//) continue
                    out = w[1] " " w[first]
                    for (j = first; j <= m; j++) {
                        word = w[j]
                        if (word ~ /^\$\{[A-Z_]+\}$/) { gsub(/[${}]/, "", word); out = out " " lists[word] }
                        else out = out " " word
                    }
                    print out
                }
            }
        }' "$cmake_file")
done

[ $status -eq 0 ] && echo "check-layers: every include of src/, sim/, tools/, fuzz/, bench/ and tests/ points down"
exit $status
