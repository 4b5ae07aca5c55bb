#!/bin/sh
# Lighthouse's accessibility score of the web edition with the load dialog open and after a run
# (goal: 100 in both). Lighthouse and Puppeteer come from npm into a cache folder, once; the
# browser is the system's Chromium.
# Usage: bench/lighthouse.sh [WEB_BUILD_DIR]   (default: build-web/bin)
set -eu
build=$(realpath "${1:-build-web/bin}")
here=$(dirname "$(realpath "$0")")
cache=${XDG_CACHE_HOME:-$HOME/.cache}/velmora-bench/lighthouse
export CHROME_PATH=${CHROME_PATH:-/usr/bin/chromium}

mkdir -p "$cache"
if [ ! -d "$cache/node_modules/lighthouse" ] || [ ! -d "$cache/node_modules/puppeteer-core" ]; then
    echo "Installing Lighthouse 12 and puppeteer-core into $cache (once)"
    [ -f "$cache/package.json" ] || echo '{"private": true}' > "$cache/package.json"
    (cd "$cache" && npm install --no-audit --no-fund lighthouse@12.8.2 puppeteer-core@24.9.0)
fi
cp "$here/lighthouse_flow.mjs" "$cache/"

port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
/usr/bin/python3 -m http.server --bind 127.0.0.1 --directory "$build" "$port" >/dev/null 2>&1 &
server=$!
trap 'kill $server' EXIT
sleep 1
node "$cache/lighthouse_flow.mjs" "http://127.0.0.1:$port/velmora.html"
