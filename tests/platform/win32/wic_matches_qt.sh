#!/usr/bin/env bash
# Decodes each picture with the Linux build's decoder and with Windows Imaging Component under Wine and
# compares the pixels: the same size; for PNG, which is lossless, the same pixels; for JPEG, a mean
# channel difference of at most 1 (of 255) and 99 % of the channels within TOLERANCE. JPEG decoders may
# smooth colour differently where the colour halves its resolution, so a few edge pixels differ more.
#   wic_matches_qt.sh QT_DUMP RUN.sh PREFIX WIC_DUMP.exe OUTPUT TOLERANCE PICTURE...
set -euo pipefail
qt_dump=$1 run=$2 prefix=$3 wic_dump=$4 output=$5 tolerance=$6
shift 6
if [[ ! -x "$qt_dump" ]]; then
    echo "$qt_dump is missing: build the dev preset's pictures_qt_dump first" >&2
    exit 1
fi
rm -rf "$output"
mkdir -p "$output"
qt_arguments=() wic_arguments=()
for picture in "$@"; do
    name=$(basename "$picture")
    qt_arguments+=("$picture" "$output/$name.qt")
    wic_arguments+=("Z:$picture" "Z:$output/$name.wic")
done
QT_QPA_PLATFORM=offscreen "$qt_dump" "${qt_arguments[@]}"
"$run" "$prefix" "$wic_dump" "${wic_arguments[@]}"

python3 - "$output" "$tolerance" "$@" <<'PYTHON'
import os, sys
output, tolerance, pictures = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
def read(path):
    with open(path, "rb") as f:
        width, height = map(int, f.readline().split())
        return width, height, f.read()
failed = False
for picture in pictures:
    name = os.path.basename(picture)
    qt, wic = read(f"{output}/{name}.qt"), read(f"{output}/{name}.wic")
    if qt[:2] != wic[:2] or len(qt[2]) != len(wic[2]):
        print(f"{name}: {qt[0]}x{qt[1]} on Linux, {wic[0]}x{wic[1]} from WIC")
        failed = True
        continue
    differences = [abs(a - b) for a, b in zip(qt[2], wic[2])]
    largest = max(differences)
    mean = sum(differences) / len(differences)
    within = sum(1 for d in differences if d <= tolerance) / len(differences)
    print(f"{name}: {qt[0]}x{qt[1]}, channel differences: largest {largest}, mean {mean:.3f}, "
          f"{within:.2%} within {tolerance}")
    if name.lower().endswith(".png"):
        failed = failed or largest != 0
    else:
        failed = failed or mean > 1 or within < 0.99
sys.exit(1 if failed else 0)
PYTHON
