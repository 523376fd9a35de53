#!/usr/bin/env bash
# Installs the Debian packages of tools/packages.txt that are not installed yet.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

missing=()
while read -r pkg; do
    [[ -z "$pkg" || "$pkg" == \#* ]] && continue
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done <"$here/packages.txt"

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    sudo_cmd=(sudo)
fi

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}" >&2
    "${sudo_cmd[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The message tests read Velmora as a French desktop user does, under fr_FR.UTF-8; the About window is
# also shown under ja_JP.UTF-8 and ru_RU.UTF-8.
for language in fr_FR ja_JP ru_RU; do
    if ! locale -a 2>/dev/null | grep -qix "$language.utf8"; then
        echo "Generating the $language.UTF-8 locale" >&2
        "${sudo_cmd[@]}" localedef -i "$language" -c -f UTF-8 "$language.UTF-8"
    fi
done
