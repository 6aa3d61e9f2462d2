#!/usr/bin/env bash
# Throughput of the demo service serving a 256 MB archive on loopback, next to
# python3 -m http.server (and nginx, when it is installed) serving the same
# file. Each server is read by curl into /dev/null: three single downloads
# (median reported), one ranged download of the second half, and three
# downloads at once (the install queue runs up to three jobs).
#
#   bench/demo-service-throughput.sh [size in MB, default 256]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

ensure_packages "${LINUX_PACKAGES[@]}" curl python3
build_linux --target vamrhelper_demo_service_app >/dev/null

size_mb="${1:-256}"
work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
    rm -rf "${work:?}"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkdir -p "$work/files"
head -c "$((size_mb * 1024 * 1024))" /dev/urandom > "$work/files/archive.zip"
bytes=$(stat -c %s "$work/files/archive.zip")

# Waits until the given file holds a line matching the pattern; prints the line.
wait_for_line() {
    for _ in $(seq 200); do
        if line=$(grep -m1 -E "$2" "$1" 2>/dev/null); then echo "$line"; return 0; fi
        sleep 0.05
    done
    echo "server did not start: $(cat "$1")" >&2
    return 1
}

free_port() {
    python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()'
}

# Demo service.
"$VAMRHELPER_BUILD/linux/vamrhelper-demo-service" --port 0 --extra-dir "$work/files" > "$work/service.out" 2>&1 &
pids+=($!)
service_url="$(wait_for_line "$work/service.out" '^listening on ' | sed 's/^listening on //')/extra/archive.zip"

# python3 -m http.server.
python_port=$(free_port)
python3 -u -m http.server "$python_port" --bind 127.0.0.1 --directory "$work/files" > "$work/python.out" 2>&1 &
pids+=($!)
wait_for_line "$work/python.out" 'Serving HTTP' >/dev/null
python_url="http://127.0.0.1:$python_port/archive.zip"

# nginx, when present, with a private configuration.
nginx_url=""
if command -v nginx >/dev/null 2>&1; then
    nginx_port=$(free_port)
    mkdir -p "$work/nginx"
    cat > "$work/nginx/nginx.conf" <<CONF
daemon off;
master_process off;
worker_processes 1;
error_log $work/nginx/error.log;
pid $work/nginx/nginx.pid;
events { worker_connections 64; }
http {
    access_log off;
    sendfile on;
    client_body_temp_path $work/nginx; proxy_temp_path $work/nginx; fastcgi_temp_path $work/nginx;
    uwsgi_temp_path $work/nginx; scgi_temp_path $work/nginx;
    server { listen 127.0.0.1:$nginx_port; root $work/files; }
}
CONF
    nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" 2>"$work/nginx/start.log" &
    pids+=($!)
    for _ in $(seq 100); do curl -s -o /dev/null "http://127.0.0.1:$nginx_port/archive.zip" -r 0-0 && break; sleep 0.05; done
    nginx_url="http://127.0.0.1:$nginx_port/archive.zip"
fi

# MB/s of one download (optionally with extra curl arguments); checks the byte count.
speed() {
    local url="$1"; shift
    curl -s -o /dev/null -w '%{size_download} %{speed_download}\n' "$@" "$url" | awk '{ printf "%.0f %.0f\n", $1, $2 / 1048576 }'
}

median_of_three() {
    local url="$1" a b c
    a=$(speed "$url" | awk '{print $2}'); b=$(speed "$url" | awk '{print $2}'); c=$(speed "$url" | awk '{print $2}')
    printf '%s\n%s\n%s\n' "$a" "$b" "$c" | sort -n | sed -n 2p
}

# CPU time (user + system, in ms) a process has used so far.
cpu_ms() {
    awk -v hz="$(getconf CLK_TCK)" '{ printf "%.0f\n", ($14 + $15) * 1000 / hz }' "/proc/$1/stat"
}

# Server CPU per GB served, over three whole downloads: independent of the
# machine's other load, unlike the speeds.
cpu_per_gb() {
    local pid="$1" url="$2" before after
    before=$(cpu_ms "$pid")
    for _ in 1 2 3; do curl -s -o /dev/null "$url"; done
    after=$(cpu_ms "$pid")
    awk -v ms="$((after - before))" -v b="$bytes" 'BEGIN { printf "%.0f\n", ms / (3 * b / 1073741824) }'
}

# A server that ignores Range sends the whole file: reported as such.
ranged() {
    local result
    result=$(speed "$1" -H "Range: bytes=$((bytes / 2))-")
    if [ "$(echo "$result" | awk '{print $1}')" = "$((bytes - bytes / 2))" ]; then
        echo "$result" | awk '{print $2}'
    else
        echo "no Range"
    fi
}

parallel_three() {
    local url="$1" start end downloads=()
    start=$(date +%s.%N)
    for _ in 1 2 3; do curl -s -o /dev/null "$url" & downloads+=($!); done
    wait "${downloads[@]}"
    end=$(date +%s.%N)
    awk -v b="$bytes" -v s="$start" -v e="$end" 'BEGIN { printf "%.0f\n", 3 * b / 1048576 / (e - s) }'
}

# Sanity: each server delivers the whole file.
for url in "$service_url" "$python_url" $nginx_url; do
    got=$(speed "$url" | awk '{print $1}')
    [ "$got" = "$bytes" ] || { echo "$url delivered $got of $bytes bytes" >&2; exit 1; }
done

echo "File: $size_mb MB on loopback, read by curl into /dev/null. Speeds in MB/s (MB = 2^20 bytes);"
echo "server CPU in ms per GB served. Load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-24s %8s %12s %18s %16s\n' "server" "single" "ranged half" "3 at once (total)" "CPU ms per GB"
report() {
    printf '%-24s %8s %12s %18s %16s\n' "$1" "$(median_of_three "$3")" "$(ranged "$3")" "$(parallel_three "$3")" "$(cpu_per_gb "$2" "$3")"
}
report "demo service" "${pids[0]}" "$service_url"
report "python3 -m http.server" "${pids[1]}" "$python_url"
if [ -n "$nginx_url" ]; then report "nginx (sendfile)" "${pids[2]}" "$nginx_url"; fi
[ -n "$nginx_url" ] || echo "(nginx is not installed: only python3 -m http.server is compared)"
