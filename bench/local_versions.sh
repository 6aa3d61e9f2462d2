#!/usr/bin/env bash
# checkLocalVersions over a large catalogue, with a warm and a cold file cache.
#
#   bench/local_versions.sh [products] [code-KiB] [cold-runs]
#
# Lays out <products> products once (three in four installed as AAX bundle,
# VST2 DLL and single-file VST3 with <code-KiB> of code before the version
# resource, plus the resource file) in a folder of the build tree, then times
# checkLocalVersions: five runs with a warm cache, and <cold-runs> runs each
# after dropping the page cache (needs root).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

products="${1:-2000}"
code_kib="${2:-256}"
cold_runs="${3:-3}"

build_linux --target vamrhelper_bench_local_versions
bench="$VAMRHELPER_BUILD/linux/bench/vamrhelper_bench_local_versions"
root="$VAMRHELPER_BUILD/bench-local-versions-$products-$code_kib"

if [ ! -f "$root/.prepared" ]; then
    rm -rf "$root"
    "$bench" prepare "$root" "$products" "$code_kib"
    touch "$root/.prepared"
fi
echo "tree: $(find "$root" -type f | wc -l) files, $(du -sh "$root" | cut -f1)"

# The log grows by a few lines per product and run; start each run small.
reset_log() { rm -f "$root/AppData/Vamrelund/VDS.txt"; }

echo "== warm cache"
reset_log
"$bench" run "$root" "$products" 1 >/dev/null   # fills the cache
reset_log
"$bench" run "$root" "$products" 5

echo "== cold cache"
for ((i = 1; i <= cold_runs; i++)); do
    reset_log
    sync
    as_root sh -c 'echo 3 > /proc/sys/vm/drop_caches'
    "$bench" run "$root" "$products" 1
done
