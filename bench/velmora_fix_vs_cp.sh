#!/usr/bin/env bash
# Times velmora-fix over a folder of 2,000 sheets against `cp -r` of the same folder, in one run.
# Usage: bench/velmora_fix_vs_cp.sh [VELMORA_FIX] [SHEETS]
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
program="${1:-$top/build/release/cli/velmora-fix}"
count="${2:-2000}"
[[ -x "$program" ]] || { echo "velmora-fix not found at $program (build the release preset first)" >&2; exit 2; }

work="$(mktemp -d "${TMPDIR:-/tmp}/velmora-fix-vs-cp.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir "$work/sheets"

# Half of the sheets need their times carried, half are already good; each names a file beside it.
for ((i = 0; i < count; i++)); do
    folder="$work/sheets/album$((i / 100))"
    mkdir -p "$folder"
    : >"$folder/track$i.wav"
    frames=$(( i % 2 == 0 ? 80 : 40 ))
    {
        printf 'PERFORMER "Artist %d"\r\nTITLE "Album %d"\r\nFILE "track%d.wav" WAVE\r\n' "$i" "$i" "$i"
        for t in 1 2 3 4 5 6 7 8 9 10 11 12; do
            printf '  TRACK %02d AUDIO\r\n    TITLE "Song %d"\r\n    INDEX 01 %02d:10:%02d\r\n' "$t" "$t" "$t" "$frames"
        done
    } >"$folder/sheet$i.cue"
done
sync

now() { date +%s%N; }

start=$(now)
cp -r "$work/sheets" "$work/copy"
copied=$(now)
status=0
"$program" --recursive --quiet "$work/sheets" >"$work/rows" || status=$?
fixed=$(now)

cp_ms=$(( (copied - start) / 1000000 ))
fix_ms=$(( (fixed - copied) / 1000000 ))
rows=$(wc -l <"$work/rows")
corrected=$(grep -c ' => CORRECTED$' "$work/rows" || true)
echo "sheets: $count (rows: $rows, corrected: $corrected, exit status: $status)"
echo "cp -r:       ${cp_ms} ms"
echo "velmora-fix: ${fix_ms} ms"
awk -v f="$fix_ms" -v c="$cp_ms" 'BEGIN { if (c > 0) printf "ratio velmora-fix / cp -r: %.2f\n", f / c }'
