#!/usr/bin/env bash
# checkLocalVersions over a large catalogue, with a warm and a cold file cache.
#
#   bench/local_versions.sh [products] [code-KiB] [runs]
#
# Lays out <products> products once (three in four installed as AAX bundle,
# VST2 DLL and single-file VST3 with <code-KiB> of code before the version
# resource, plus the resource file) in a folder of the build tree, then times
# checkLocalVersions, each run in a fresh process:
#   - warm cache, with an empty log and with a full (1 MB) log, since every
#     present format writes a log line and a full log is trimmed every 25 lines;
#   - cold cache, after dropping the page cache (needs root);
# and the same file work without log lines ("file checks only").
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

products="${1:-2000}"
code_kib="${2:-256}"
runs="${3:-3}"

build_linux --target vamrhelper_bench_local_versions
bench="$VAMRHELPER_BUILD/linux/bench/vamrhelper_bench_local_versions"
root="$VAMRHELPER_BUILD/bench-local-versions-$products-$code_kib"
log="$root/AppData/Vamrelund/VDS.txt"

if [ ! -f "$root/.prepared" ]; then
    rm -rf "${root:?}"
    "$bench" prepare "$root" "$products" "$code_kib"
    touch "$root/.prepared"
fi
echo "tree: $(find "$root" -type f | wc -l) files, $(du -sh "$root" | cut -f1)"

empty_log() { rm -f "$log"; }
full_log() { mkdir -p "$(dirname "$log")"; head -c 1000000 /dev/zero | tr '\0' 'x' | fold -w 78 | sed 's/$/\r/' > "$log"; }
drop_caches() { sync; as_root sh -c 'echo 3 > /proc/sys/vm/drop_caches'; }
times() { for ((i = 1; i <= runs; i++)); do "$@"; done; }

"$bench" files "$root" "$products" 1 >/dev/null   # fills the cache

echo "== warm cache, empty log"
times eval 'empty_log; "$bench" run "$root" "$products" 1'
echo "== warm cache, full log"
times eval 'full_log; "$bench" run "$root" "$products" 1'
echo "== warm cache, no log lines"
"$bench" files "$root" "$products" "$runs"

echo "== cold cache, empty log"
times eval 'empty_log; drop_caches; "$bench" run "$root" "$products" 1'
echo "== cold cache, no log lines"
times eval 'drop_caches; "$bench" files "$root" "$products" 1'
