#!/usr/bin/env bash
# What the window loads before it shows: no network module (second starts talk over a plain Unix
# socket) and no character set detector (opened when a sheet needs it).
set -euo pipefail
program="$1"

libraries=$(ldd "$program")
if strays=$(grep -E 'libQt6Network|libuchardet' <<<"$libraries"); then
    echo "$program loads at start what it does not need:"$'\n'"$strays" >&2
    exit 1
fi
grep -q 'libQt6Widgets' <<<"$libraries" || {
    echo "ldd did not list $program's libraries:"$'\n'"$libraries" >&2
    exit 1
}
echo "$program loads neither the network module nor the detector at start"
