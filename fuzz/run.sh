#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzz target for the given number of seconds (default 600),
# two at a time. New inputs go to the target's own corpus; crashes are written beside it and kept.
# Usage: fuzz/run.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds=${1:-600}
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(SheetRepairFuzzer RenderMarkupFuzzer GifFramesFuzzer MarkupPlainTextFuzzer HandOverFrameFuzzer QtCanvasFuzzer)
fi

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends clang libclang-rt-14-dev
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

declare -A dictionary=(
    [SheetRepairFuzzer]=cue.dict [RenderMarkupFuzzer]=markup.dict [MarkupPlainTextFuzzer]=markup.dict
    [GifFramesFuzzer]=gif.dict [HandOverFrameFuzzer]=handover.dict [QtCanvasFuzzer]=markup.dict)
logs=build/libfuzzer/logs
mkdir -p "$logs"

run_target() {
    local target=$1 findings=fuzz/corpus/$1
    local scratch=build/libfuzzer/corpus/$target
    mkdir -p "$scratch"
    LSAN_OPTIONS="suppressions=fuzz/lsan.supp" build/libfuzzer/fuzz/"$target" "$scratch" "fuzz/corpus/$target" \
        -dict="fuzz/dict/${dictionary[$target]}" -max_total_time="$seconds" -max_len=65536 \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
        >"$logs/$target.log" 2>&1
}

status=0
pending=()
for target in "${targets[@]}"; do
    run_target "$target" &
    pending+=($!)
    if ((${#pending[@]} == 2)); then
        wait "${pending[0]}" || status=1
        pending=("${pending[@]:1}")
    fi
done
for pid in "${pending[@]}"; do
    wait "$pid" || status=1
done

for target in "${targets[@]}"; do
    echo "== $target"
    grep -E '^#[0-9]+.*(DONE|pulse|INITED)|stat::number_of_executed_units|cov:' "$logs/$target.log" | tail -2
    grep -E 'ERROR: (libFuzzer|AddressSanitizer|LeakSanitizer)|runtime error|SUMMARY:|Test unit written' "$logs/$target.log" || true
done
exit $status
