#!/usr/bin/env bash
# Installs Velmora with `velmora-setup.exe /S` in a fresh Wine prefix, checks its files, Start-menu
# entry and registry keys, uninstalls with `Uninstall.exe /S` and checks that nothing of it is left.
# The second round finds ".cue" claimed by another program: the installer and the uninstaller keep
# that claim.
#   installer_test.sh RUN.sh PREFIX velmora-setup.exe
set -euo pipefail
run=$1
prefix=$(realpath -m "$2")
setup=$3

rm -rf "$prefix" "$prefix.lock"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

wine_run() { "$run" "$prefix" "$@"; }
settle() { WINEPREFIX="$prefix" wineserver --wait; }
# The value of a registry entry, or nothing when it is not there.
read_value() {
    wine_run reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="$2" \
        '$1 == name && $2 ~ /^REG_/ { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]+/, ""); print }'
}
read_default() {
    wine_run reg query "$1" /ve 2>/dev/null | tr -d '\r' | awk \
        '$1 == "(Default)" && $2 ~ /^REG_/ { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]+/, ""); print }'
}
key_exists() { wine_run reg query "$1" >/dev/null 2>&1; }
expect_value() {
    local got
    got=$("$@")
    [[ "$got" == "$expected" ]] || fail "$* is '$got', expected '$expected'"
}

wine_run cmd /c exit 0
user=$(find "$prefix/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public -printf '%f\n' | head -1)
home="$prefix/drive_c/users/$user"
folder="$home/AppData/Local/Programs/Velmora"
link="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Velmora.lnk"
windows_folder="C:\\users\\$user\\AppData\\Local\\Programs\\Velmora"
command="\"$windows_folder\\bin\\velmora.exe\" \"%1\""
classes='HKCU\Software\Classes'
explorer='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.cue'
settings='HKCU\Software\Dastrel\Velmora'
uninstall='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora'

for round in free claimed; do
    if [[ $round == claimed ]]; then
        wine_run reg add "$classes\\.cue" /ve /d other_player /f >/dev/null
    fi
    wine_run "$setup" /S
    settle

    for file in bin/velmora.exe Uninstall.exe share/locale/fr/LC_MESSAGES/velmora.mo \
        share/locale/ja/LC_MESSAGES/velmora.mo; do
        [[ -f "$folder/$file" ]] || fail "$round: $file was not installed"
    done
    cmp -s "$(dirname "$setup")/../../shell/win32/velmora.exe" "$folder/bin/velmora.exe" ||
        fail "$round: the installed velmora.exe differs from the built one"
    [[ -f "$link" ]] || fail "$round: no Start-menu entry"

    expected=$command expect_value read_default "$classes\\cue_auto_file\\Shell\\Open\\command"
    expected="$windows_folder\\bin\\velmora.exe,0" \
        expect_value read_value "$classes\\cue_auto_file\\Shell\\Open\\command" DefaultIcon
    expected=$command expect_value read_value "$explorer" Application
    expected=0x1 expect_value read_value "$settings" associate
    expected="\"$windows_folder\\Uninstall.exe\"" expect_value read_value "$uninstall" UninstallString
    if [[ $round == free ]]; then
        expected=cue_auto_file expect_value read_default "$classes\\.cue"
    else
        expected=other_player expect_value read_default "$classes\\.cue"
    fi

    wine_run "$folder/Uninstall.exe" /S
    settle

    [[ ! -e "$folder" ]] || fail "$round: left behind: $(cd "$folder" && find . | tr '\n' ' ')"
    [[ ! -e "$link" ]] || fail "$round: the Start-menu entry is left"
    for key in "$classes\\cue_auto_file" "$explorer" "$settings" 'HKCU\Software\Dastrel' "$uninstall"; do
        key_exists "$key" && fail "$round: the key $key is left"
    done
    if [[ $round == free ]]; then
        key_exists "$classes\\.cue" && fail "free: the key $classes\\.cue is left"
    else
        expected=other_player expect_value read_default "$classes\\.cue"
    fi
done

((failures == 0)) || exit 1
echo "installed, checked and uninstalled twice"
