#!/usr/bin/env bash
# Installs a built tree into a scratch prefix and checks what a desktop expects of it.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:?usage: install_test.sh BUILD_DIR}" && pwd)"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null

expected=(
    bin/velmora
    bin/velmora-fix
    share/applications/velmora.desktop
    share/icons/hicolor/16x16/apps/velmora.png
    share/icons/hicolor/32x32/apps/velmora.png
    share/icons/hicolor/48x48/apps/velmora.png
    share/icons/hicolor/256x256/apps/velmora.png
    share/man/man1/velmora.1.gz
    share/man/man1/velmora-fix.1.gz
    share/metainfo/example.dastrel.velmora.metainfo.xml
    share/doc/velmora/copyright
    share/doc/velmora/changelog.gz
    share/locale/fr/LC_MESSAGES/velmora.mo
)
for file in "${expected[@]}"; do
    [[ -f "$prefix/$file" ]] || fail "$file is not installed"
done
for program in velmora velmora-fix; do
    [[ -x "$prefix/bin/$program" ]] || fail "bin/$program is not executable"
done

# Every installed program has its page, and the pages read without complaint.
for program in "$prefix"/bin/*; do
    name="$(basename "$program")"
    page="$prefix/share/man/man1/$name.1.gz"
    if [[ ! -f "$page" ]]; then
        fail "bin/$name has no man page"
        continue
    fi
    warnings="$(zcat "$page" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)" || fail "$name.1 does not format"
    [[ -z "$warnings" ]] || fail "$name.1: $warnings"
    zcat "$page" | grep -q "^\.TH ${name^^} 1 " || fail "$name.1 does not name $name in its title"
done

# An icon's folder says its size: PNG width and height are the big-endian words at bytes 16 and 20.
for icon in "$prefix"/share/icons/hicolor/*/apps/velmora.png; do
    folder="$(basename "$(dirname "$(dirname "$icon")")")"
    size="$(od -An -tu1 -j16 -N8 "$icon" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }')"
    [[ "$size" == "$folder" ]] || fail "the icon in $folder is $size"
done

entry="$prefix/share/applications/velmora.desktop"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "velmora.desktop does not validate"
fi
exec_program="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")"
[[ -x "$prefix/bin/$exec_program" ]] || fail "Exec names $exec_program, which is not installed"
grep -qx 'Icon=velmora' "$entry" || fail "the desktop entry does not name the installed icon"
grep -q '^MimeType=.*application/x-cue;' "$entry" || fail "the desktop entry does not open .cue files"

# "Open With" and the icon know Velmora as soon as the install ends.
if command -v update-desktop-database >/dev/null; then
    grep -q '^application/x-cue=.*velmora\.desktop' "$prefix/share/applications/mimeinfo.cache" 2>/dev/null ||
        fail "the desktop database was not refreshed"
fi
if command -v gtk-update-icon-cache >/dev/null; then
    [[ -s "$prefix/share/icons/hicolor/icon-theme.cache" ]] || fail "the icon cache was not refreshed"
fi
# A staged install, as packages make, leaves the caches to the system.
staged="$(mktemp -d)"
DESTDIR="$staged" cmake --install "$build" --prefix /usr >/dev/null
[[ -f "$staged/usr/share/applications/velmora.desktop" ]] || fail "the staged install lacks the desktop entry"
[[ ! -e "$staged/usr/share/applications/mimeinfo.cache" ]] || fail "a staged install wrote the desktop database"
[[ ! -e "$staged/usr/share/icons/hicolor/icon-theme.cache" ]] || fail "a staged install wrote the icon cache"
rm -rf "$staged"

metainfo="$prefix/share/metainfo/example.dastrel.velmora.metainfo.xml"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >/dev/null || fail "the AppStream metadata does not validate"
fi
grep -q '<launchable type="desktop-id">velmora.desktop</launchable>' "$metainfo" ||
    fail "the AppStream metadata does not name the installed desktop entry"
grep -q '<screenshot type="default">' "$metainfo" || fail "the AppStream metadata shows no screenshot"

version="$("$prefix/bin/velmora-fix" --version)" || fail "velmora-fix --version fails"
[[ "$version" == "velmora-fix 1.0.0" ]] || fail "velmora-fix --version says '$version'"

# The installed programs read their messages from the installed catalogue.
said="$(cd "$prefix" && env -u LC_ALL -u LC_MESSAGES -u LANGUAGE LANG=fr_FR.UTF-8 bin/velmora-fix gone.cue 2>&1)" || true
[[ "$said" == *"Impossible d'ouvrir le fichier \"$prefix/gone.cue\"."* ]] ||
    fail "velmora-fix does not speak French under fr_FR.UTF-8: $said"

if ((failures > 0)); then
    echo "$failures failed" >&2
    exit 1
fi
echo "install layout: ${#expected[@]} files checked"
