#!/usr/bin/env bash
# The install engine next to curl, bsdtar and cp, all reading from the demo
# service on loopback:
#   1. download speed: downloadArchive next to curl -s -o, median of runs;
#   2. whole install: downloadAndInstall up to the end of placement next to
#      curl -o, bsdtar -xf and cp of the same files to the same targets;
#   3. peak resident memory while downloading <MB> and <large MB>: it must
#      not grow with the archive;
#   4. CPU of jobs waiting for a slot (two wait while three hold theirs, 10 s).
# The archive is a real product zip: a VST2 file, a VST3 file, an AAX bundle
# and four sample banks of incompressible bytes, plus 200 small presets.
#
#   bench/install.sh [MB, default 256] [large MB, default 1024] [runs, default 3] [parts, default 1234]
#
# A quick check: bench/install.sh 32 128 1; the download alone: bench/install.sh 256 1024 3 1
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

ensure_packages "${LINUX_PACKAGES[@]}"
build_linux --target vamrhelper_bench_install --target vamrhelper_demo_service_app >/dev/null

size_mb="${1:-256}"
large_mb="${2:-1024}"
runs="${3:-3}"
parts="${4:-1234}"
bench="$VAMRHELPER_BUILD/linux/bench/vamrhelper_bench_install"

work="$(mktemp -d)"
service_pid=""
cleanup() {
    if [ -n "$service_pid" ]; then kill "$service_pid" 2>/dev/null || true; wait "$service_pid" 2>/dev/null || true; fi
    rm -rf "${work:?}"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# ---- the product archive and its contents list
stage="$work/stage"
kib=$((size_mb * 1024))
plugin_kib=$((kib / 8))
aax_kib=$((kib / 16))
presets=200
bank_kib=$(((kib - 2 * plugin_kib - aax_kib - presets * 4) / 4))
[ "$bank_kib" -gt 0 ] || { echo "MB is too small" >&2; exit 2; }

mkdir -p "$stage/BenchSynth.aaxplugin/Contents/x64" "$stage/Samples" "$stage/Presets" "$work/files" "$work/root"
noise() { head -c "$(($2 * 1024))" /dev/urandom > "$1"; }
noise "$stage/BenchSynth.dll" "$plugin_kib"
noise "$stage/BenchSynth.vst3" "$plugin_kib"
noise "$stage/BenchSynth.aaxplugin/Contents/x64/BenchSynth.aaxplugin" "$aax_kib"
contents="$work/contents.txt"
{
    echo "{vst2folder}/BenchSynth.dll"
    echo "{commonfiles}/BenchSynth.vst3"
    echo "{commonfiles}/BenchSynth.aaxplugin"
} > "$contents"
for n in 1 2 3 4; do
    noise "$stage/Samples/bank$n.bin" "$bank_kib"
    echo "{commonappdata}/BenchSynth/Samples/bank$n.bin" >> "$contents"
done
for ((n = 1; n <= presets; n++)); do
    noise "$stage/Presets/p$n.preset" 4
    echo "{commonappdata}/BenchSynth/Presets/p$n.preset" >> "$contents"
done
archive="$work/files/product.zip"
bsdtar --format zip -cf "$archive" -C "$stage" BenchSynth.dll BenchSynth.vst3 BenchSynth.aaxplugin Samples Presets
rm -rf "${stage:?}"
archive_sha=$(sha256sum "$archive" | cut -d' ' -f1)

large="$work/files/large.bin"
large_sha=""
if [[ "$parts" == *3* ]]; then
    head -c "$((large_mb * 1024 * 1024))" /dev/urandom > "$large"
    large_sha=$(sha256sum "$large" | cut -d' ' -f1)
fi

# ---- the server
"$VAMRHELPER_BUILD/linux/vamrhelper-demo-service" --port 0 --extra-dir "$work/files" > "$work/service.out" 2>&1 &
service_pid=$!
origin=""
for _ in $(seq 200); do
    origin=$(sed -n 's/^listening on //p' "$work/service.out" | head -1)
    [ -n "$origin" ] && break
    sleep 0.05
done
[ -n "$origin" ] || { echo "the demo service did not start: $(cat "$work/service.out")" >&2; exit 1; }

export VAMRHELPER_ROOT="$work/root"
echo "Archive: $(stat -c %s "$archive") bytes, $(wc -l < "$contents") entries. Load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
if [[ "$parts" == *1* ]]; then
    echo
    echo "== 1. download"
    "$bench" download "$origin/extra/product.zip" "$archive" "$archive_sha" "$work" "$runs"
fi
if [[ "$parts" == *2* ]]; then
    echo
    echo "== 2. whole install"
    "$bench" install "$origin/extra/product.zip" "$archive" "$archive_sha" "$contents" "$work" "$runs"
fi
if [[ "$parts" == *3* ]]; then
    echo
    echo "== 3. peak memory (each in a fresh process)"
    "$bench" memory "$origin/extra/product.zip" "$archive" "$archive_sha" "$work"
    "$bench" memory "$origin/extra/large.bin" "$large" "$large_sha" "$work"
fi
if [[ "$parts" == *4* ]]; then
    echo
    echo "== 4. waiting for a slot"
    "$bench" waiting
fi
