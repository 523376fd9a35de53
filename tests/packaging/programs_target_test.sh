#!/usr/bin/env bash
# velmora_programs, which ./run.sh builds: both programs and what they read at run time, and nothing
# of the tests, benchmarks or fuzz targets that would make a first run wait for them.
set -euo pipefail
build="$1"

fail() {
    echo "$*" >&2
    exit 1
}

direct=$(ninja -C "$build" -t query velmora_programs)
everything=$(ninja -C "$build" -t inputs velmora_programs)

for program in shell/velmora cli/velmora-fix; do
    grep -qx "    $program" <<<"$direct" || fail "velmora_programs does not build $program"
done
grep -qx 'messages/message_catalogues' <<<"$everything" ||
    fail "velmora_programs does not build the message catalogues"
if strays=$(grep -E '(^|/)(tests|bench|fuzz)/|testing|gtest|benchmark' <<<"$everything"); then
    fail "velmora_programs builds what only tests need:"$'\n'"$strays"
fi
echo "velmora_programs builds the two programs and what they load"
