#!/usr/bin/env bash
# Fetches the Game Icons set (CC BY 3.0) from the npm registry, pinned and verified, and
# leaves its icon data in DIR/icons.json. Run once per build tree: the build keeps the file.
#   fetch-icons.sh DIR
set -euo pipefail
dir=$1
package=@iconify-json/game-icons@1.2.4
integrity=sha512-/HDDZxowXgDJcOEwPspUCq5RuDdl25OyZKdtxqqiPJQNTrWIym7r4StLzIVs77DyNzOWWhH5wDqwYR3WHeDfkg==

command -v npm >/dev/null || { echo "fetch-icons: npm is not installed (run scripts/setup.sh)" >&2; exit 1; }
mkdir -p "$dir"
rm -rf "$dir/fetch"
mkdir "$dir/fetch"
if ! (cd "$dir/fetch" && npm pack --silent "$package" >/dev/null 2>npm-error.log); then
    echo "fetch-icons: cannot fetch $package from the npm registry; is the network reachable?" >&2
    sed 's/^/  npm: /' "$dir/fetch/npm-error.log" | tail -5 >&2
    exit 1
fi
tarball=$(ls "$dir"/fetch/*.tgz)
actual=sha512-$(node -e 'process.stdout.write(require("crypto").createHash("sha512")
    .update(require("fs").readFileSync(process.argv[1])).digest("base64"))' "$tarball")
if [ "$actual" != "$integrity" ]; then
    echo "fetch-icons: $package does not match its pinned checksum (got $actual)" >&2
    exit 1
fi
tar -xzf "$tarball" -C "$dir/fetch" package/icons.json
mv "$dir/fetch/package/icons.json" "$dir/icons.json"
rm -rf "$dir/fetch"
