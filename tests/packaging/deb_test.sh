#!/usr/bin/env bash
# Builds the Debian package of a built tree, installs it, starts both programs and removes it again.
# Needs root and a machine where Velmora is not installed from a package already; skips otherwise.
# Usage: deb_test.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:?usage: deb_test.sh BUILD_DIR}" && pwd)"
skip() {
    echo "SKIP: $*"
    exit 77
}
[[ "$(id -u)" == 0 ]] || skip "installing a package needs root"
command -v dpkg >/dev/null && command -v cpack >/dev/null || skip "dpkg or cpack is missing"
dpkg-query -W -f='${Status}' velmora 2>/dev/null | grep -q 'installed' && skip "velmora is installed already"

work="$(mktemp -d)"
velmora_pid=""
installed=0
cleanup() {
    [[ -n "$velmora_pid" ]] && kill "$velmora_pid" 2>/dev/null || true
    ((installed)) && dpkg -r velmora >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log") ||
    { cat "$work/cpack.log" >&2; exit 1; }
deb="$(ls "$work"/package/velmora_*.deb)"
[[ "$(dpkg-deb -f "$deb" Package)" == velmora ]] || fail "the package is not named velmora"
[[ "$(dpkg-deb -f "$deb" Version)" == 1.0.0 ]] || fail "the package version is $(dpkg-deb -f "$deb" Version)"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the package does not depend on Qt Widgets"
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' | grep -v '/$' >"$work/files"
for file in /usr/bin/velmora /usr/bin/velmora-fix /usr/share/applications/velmora.desktop \
    /usr/share/icons/hicolor/256x256/apps/velmora.png /usr/share/man/man1/velmora.1.gz \
    /usr/share/man/man1/velmora-fix.1.gz /usr/share/locale/fr/LC_MESSAGES/velmora.mo; do
    grep -qx "$file" "$work/files" || fail "the package lacks $file"
done
grep -v '^/usr/' "$work/files" && fail "the package puts files outside /usr"
grep -E 'mimeinfo\.cache|icon-theme\.cache' "$work/files" && fail "the package carries a desktop cache"
for file in /usr/share/doc/velmora/copyright /usr/share/doc/velmora/changelog.gz \
    /usr/share/metainfo/example.dastrel.velmora.metainfo.xml; do
    grep -qx "$file" "$work/files" || fail "the package lacks $file"
done
if command -v lintian >/dev/null; then
    lintian --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 || true
    if grep -q '^E:' "$work/lintian.log"; then
        fail "lintian finds errors: $(grep '^E:' "$work/lintian.log")"
    fi
    grep '^W:' "$work/lintian.log" || true
fi

dpkg -i "$deb" >"$work/dpkg-install.log" 2>&1 || { cat "$work/dpkg-install.log" >&2; exit 1; }
installed=1
dpkg-query -W -f='${Status}' velmora | grep -q 'install ok installed' || fail "dpkg does not count it installed"
# The desktop's own triggers take the entry into "Open With".
if [[ -f /usr/share/applications/mimeinfo.cache ]]; then
    grep -q '^application/x-cue=.*velmora\.desktop' /usr/share/applications/mimeinfo.cache ||
        fail "the desktop database does not list velmora.desktop after installing"
fi
while read -r file; do
    [[ -e "$file" ]] || fail "$file is missing after installing"
done <"$work/files"

mkdir -p "$work/sheets"
printf 'FILE "disc.bin" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n' >"$work/sheets/disc.cue"
printf 'image' >"$work/sheets/disc.bin"
row="$(/usr/bin/velmora-fix --quiet "$work/sheets/disc.cue")" || fail "the installed velmora-fix fails"
[[ "$row" == *"disc.cue => GOOD"* ]] || fail "the installed velmora-fix printed '$row'"

# The window starts and keeps running until it is ended.
mkdir -m 0700 "$work/runtime"
env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" \
    XDG_DATA_HOME="$work/data" /usr/bin/velmora >"$work/velmora.log" 2>&1 &
velmora_pid=$!
sleep 3
if kill -0 "$velmora_pid" 2>/dev/null; then
    kill "$velmora_pid"
    wait "$velmora_pid" 2>/dev/null || true
else
    wait "$velmora_pid" && status=0 || status=$?
    fail "the installed velmora ended at once with status $status: $(cat "$work/velmora.log")"
fi
velmora_pid=""

dpkg -r velmora >"$work/dpkg-remove.log" 2>&1 || { cat "$work/dpkg-remove.log" >&2; exit 1; }
installed=0
dpkg-query -W -f='${Status}' velmora 2>/dev/null | grep -q 'install ok installed' && fail "still installed after removing"
while read -r file; do
    [[ ! -e "$file" ]] || fail "$file is left after removing"
done <"$work/files"

if ((failures > 0)); then
    echo "$failures failed" >&2
    exit 1
fi
echo "package $(basename "$deb"): built, installed, started and removed"
