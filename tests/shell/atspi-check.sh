#!/usr/bin/env bash
# Reads Velmora through the accessibility bridge as a screen reader on a French desktop would, and
# fails on any object it does not find there: roles, names, a link's press action, a row's reasons.
# Usage: atspi-check.sh VELMORA    (on an X desktop: on-x-desktop.sh atspi-check.sh VELMORA)
set -euo pipefail
(($# == 1)) || { echo "usage: atspi-check.sh VELMORA" >&2; exit 2; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A sheet whose file is there and whose time is normalised: a row with a reason and no chooser.
printf 'FILE "a.wav" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 0:1:80\n' >"$work/album.cue"
: >"$work/a.wav"
LANG=fr_FR.UTF-8 LANGUAGE= LC_ALL= LC_MESSAGES= python3 "$(dirname "$0")/atspi-tree.py" "$1" "$work/album.cue" \
    >"$work/tree"

# role|name|description|actions, as extended regular expressions on whole lines.
expected=(
    '^frame\|Velmora Version 1\.0'
    '^dialog\|À propos\|'
    '^link\|Ouvrir un fichier Cue\|[^|]*\|(.*,)?[Pp]ress(,.*)?$'
    '^link\|À propos\|[^|]*\|(.*,)?[Pp]ress(,.*)?$'
    '^graphic\|Bannière\|'
    '^graphic\|Logo de Velmora\|'
    '^graphic\|Portrait de l.auteur\|'
    '^progress bar\|Progression de la réparation\|'
    '^list item\|album\.cue => CORRECTED\|.*album\.cue 1 temps a été normalisé \(ligne 3\)\.\|'
    '^link\|Brisel\|'
    '^push button\|OK\|'
)
status=0
for pattern in "${expected[@]}"; do
    if ! grep -Eq -- "$pattern" "$work/tree"; then
        echo "atspi-check.sh: nothing matches /$pattern/" >&2
        status=1
    fi
done
if ((status != 0)); then
    echo "--- what the bridge shows:" >&2
    cat "$work/tree" >&2
fi
exit "$status"
