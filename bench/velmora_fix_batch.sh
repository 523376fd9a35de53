#!/usr/bin/env bash
# Times `velmora-fix --recursive --quiet` over folders of realistic sheets (10 to 20 tracks, each naming a
# file beside it; all of them, then half of them, needing their times carried) against `cp -r` of the
# same folder, each followed by a sync of the file system, so that both sides pay for the same
# durability; the two sides take turns. Runs on a loop-mounted, journaled ext4 image when run as root
# (as users' disks are), and on the scratch folder's file system otherwise.
# Usage: [RUNS=5] [MIX="all half"] bench/velmora_fix_batch.sh [VELMORA_FIX] [COUNT...]
#        (default counts: 200 2000 20000)
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
program="${1:-$top/build/release/cli/velmora-fix}"
shift || true
counts=("${@:-200 2000 20000}")
read -r -a counts <<<"${counts[*]}"
runs="${RUNS:-5}"
read -r -a mixes <<<"${MIX:-all half}"
[[ -x "$program" ]] || { echo "velmora-fix not found at $program (build the release preset first)" >&2; exit 2; }

scratch="$(mktemp -d "${TMPDIR:-/tmp}/velmora-batch.XXXXXX")"
mounted=""
cleanup() {
    [[ -n "$mounted" ]] && umount "$mounted" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

make_sheets() { # folder count mix
    awk -v root="$1" -v count="$2" -v every="$([[ $3 == all ]] && echo 1 || echo 2)" 'BEGIN {
        for (i = 0; i < count; i++) {
            folder = root "/album" int(i / 100)
            if (i % 100 == 0) system("mkdir -p \"" folder "\"")
            printf "" > (folder "/track" i ".wav"); close(folder "/track" i ".wav")
            sheet = folder "/sheet" i ".cue"
            printf "REM GENRE Rock\r\nPERFORMER \"Artist %d\"\r\nTITLE \"Album %d\"\r\nFILE \"track%d.wav\" WAVE\r\n", i, i, i > sheet
            tracks = 10 + i % 11
            for (t = 1; t <= tracks; t++)
                printf "  TRACK %02d AUDIO\r\n    TITLE \"Song %d\"\r\n    PERFORMER \"Artist %d\"\r\n    INDEX 01 %02d:10:%02d\r\n", t, t, i, t, (i % every == 0 ? 80 : 40) > sheet
            close(sheet)
        }
    }'
}

now() { date +%s%N; }

median() { sort -n | awk '{ v[NR] = $1 } END { m = v[int((NR + 1) / 2)]; printf "%d (%d-%d)", m, v[1], v[NR] }'; }

measure() { # place count label mix
    local place="$1" count="$2" copy_times="" fix_times="" i start end
    make_sheets "$place/template" "$count" "$4"
    for ((i = 0; i < runs; i++)); do
        rm -rf "$place/a" "$place/b" "$place/copy"
        cp -r "$place/template" "$place/a"
        cp -r "$place/template" "$place/b"
        sync -f "$place"
        start=$(now); cp -r "$place/a" "$place/copy"; sync -f "$place"; end=$(now)
        copy_times+="$(( (end - start) / 1000000 ))"$'\n'
        start=$(now); "$program" --recursive --quiet "$place/b" >/dev/null || true; sync -f "$place"; end=$(now)
        fix_times+="$(( (end - start) / 1000000 ))"$'\n'
    done
    local copy fix
    copy=$(printf '%s' "$copy_times" | median)
    fix=$(printf '%s' "$fix_times" | median)
    local ratio
    ratio=$(awk -v f="${fix%% *}" -v c="${copy%% *}" 'BEGIN { printf "%.2f", (c > 0 ? f / c : 0) }')
    printf '%-6s %6d sheets, %-4s rewritten  cp -r + sync: %s ms  velmora-fix + sync: %s ms  ratio (medians) %s\n' \
        "$3" "$count" "$4" "$copy" "$fix" "$ratio"
    rm -rf "$place/template" "$place/a" "$place/b" "$place/copy"
}

if [[ $(id -u) -eq 0 ]]; then
    image="$scratch/ext4.img"
    # Small files: one inode for every 4 KiB, or 20,000 sheets copied four times run out of inodes.
    truncate -s 4G "$image"
    mkfs.ext4 -q -F -i 4096 "$image"
    mkdir "$scratch/ext4"
    mount -o loop "$image" "$scratch/ext4"
    mounted="$scratch/ext4"
    for count in "${counts[@]}"; do
        for mix in "${mixes[@]}"; do measure "$scratch/ext4" "$count" ext4 "$mix"; done
    done
else
    echo "not root: no loop-mounted ext4 image; measuring on $(df --output=fstype "$scratch" | tail -1) instead"
    for count in "${counts[@]}"; do
        for mix in "${mixes[@]}"; do measure "$scratch" "$count" disk "$mix"; done
    done
fi

shm="$(mktemp -d /dev/shm/velmora-batch.XXXXXX)"
for count in "${counts[@]}"; do
    for mix in "${mixes[@]}"; do measure "$shm" "$count" tmpfs "$mix"; done
done
rm -rf "$shm"

memory_folder="$(mktemp -d "$scratch/memory.XXXXXX")"
make_sheets "$memory_folder" "${counts[-1]}" all
peak=$(/usr/bin/time -f %M "$program" --recursive --quiet "$memory_folder" 2>&1 >/dev/null | tail -1)
echo "peak memory of velmora-fix over ${counts[-1]} sheets: ${peak} KiB"
