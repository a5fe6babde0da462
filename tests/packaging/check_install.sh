#!/usr/bin/env bash
# Usage: check_install.sh CMAKE BUILD_DIR SOURCE_DIR VERSION APPLICATION_ID MIME_TYPE
# Installs the build into a temporary DESTDIR and checks what a desktop sees: exactly the expected
# files, valid desktop entry, metainfo and MIME package, both programs at the project version, and the
# MIME type given to measurement files by their content but not to any text file named .dat.
# A missing validation tool skips its check (exit 77) unless QUILLON_REQUIRE_PACKAGING_TOOLS=1, as in
# scripts/test.sh, where it is a failure.
set -euo pipefail

cmake="$1" build="$2" source="$3" version="$4" id="$5" mime_type="$6"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
root="$work/root"
status=0
skipped=()

fail() {
    echo "FAIL: $*"
    status=1
}

have() {
    if command -v "$1" >/dev/null; then
        return 0
    fi
    if [[ "${QUILLON_REQUIRE_PACKAGING_TOOLS:-0}" == 1 ]]; then
        fail "$1 is not installed"
    else
        skipped+=("$1")
    fi
    return 1
}

DESTDIR="$root" "$cmake" --install "$build" --prefix /usr >/dev/null

expected="./usr/bin/quillon
./usr/bin/quillon-report
./usr/share/applications/$id.desktop
./usr/share/bash-completion/completions/quillon-report
./usr/share/doc/quillon/changelog.gz
./usr/share/doc/quillon/copyright
./usr/share/icons/hicolor/64x64/apps/$id.png
./usr/share/icons/hicolor/scalable/apps/$id.svg
./usr/share/man/man1/quillon-report.1.gz
./usr/share/man/man1/quillon.1.gz
./usr/share/metainfo/$id.metainfo.xml
./usr/share/mime/packages/$id.xml
./usr/share/quillon/translations/quillon.ts"
installed="$(cd "$root" && find . ! -type d | LC_ALL=C sort)"
if [[ "$installed" != "$expected" ]]; then
    fail "installed files differ (< expected, > installed):"
    diff <(echo "$expected") <(echo "$installed") || true
fi

check_output() {
    local what="$1" expected_output="$2"
    shift 2
    local output
    output="$("$@" 2>&1)" || true
    [[ "$output" == "$expected_output" ]] || fail "$what printed '$output', not '$expected_output'"
}
check_output "quillon --version" "Quillon - Version $version" "$root/usr/bin/quillon" --version
check_output "quillon-report --version" "quillon-report $version" "$root/usr/bin/quillon-report" --version
gzip -t "$root"/usr/share/man/man1/*.gz "$root"/usr/share/doc/quillon/changelog.gz || fail "a compressed file is damaged"

share="$root/usr/share"
if have desktop-file-validate; then
    desktop-file-validate "$share/applications/$id.desktop" || fail "desktop entry"
    grep -qx "MimeType=$mime_type;" "$share/applications/$id.desktop" || fail "desktop entry names another MIME type"
    grep -qx "Icon=$id" "$share/applications/$id.desktop" || fail "desktop entry names another icon"
fi
if have appstreamcli; then
    appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >/dev/null ||
        fail "metainfo: $(appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml")"
fi
if have xmllint; then
    xmllint --noout "$share/mime/packages/$id.xml" "$share/icons/hicolor/scalable/apps/$id.svg" || fail "XML"
fi

# The type a file manager gives a file, from the installed tree's MIME database only.
file_type() {
    XDG_DATA_HOME="$share" XDG_DATA_DIRS="$share" gio info -a standard::content-type "$1" |
        sed -n 's/^ *standard::content-type: //p'
}
if have update-mime-database && have gio; then
    XDG_DATA_DIRS="$share" update-mime-database "$share/mime"
    mkdir "$work/files"
    # Every example, whatever its kind, is recognised by its first line, also under another name.
    for example in "$source"/examples/*.dat; do
        cp "$example" "$work/files/measurement"
        type="$(file_type "$example")"
        [[ "$type" == "$mime_type" ]] || fail "$(basename "$example") is '$type'"
        type="$(file_type "$work/files/measurement")"
        [[ "$type" == "$mime_type" ]] || fail "$(basename "$example") without its name is '$type'"
    done
    printf 'Channel 1, 20.1\nB89.4.1_Data:Version=1:Type=BallBar\n' >"$work/files/notes.dat"
    type="$(file_type "$work/files/notes.dat")"
    [[ "$type" != "$mime_type" && -n "$type" ]] || fail "a text file named notes.dat is '$type'"
fi

if [[ $status -eq 0 && ${#skipped[@]} -gt 0 ]]; then
    echo "Skipped the checks that need: ${skipped[*]}"
    exit 77
fi
[[ $status -eq 0 ]] && echo "install tree, versions, desktop entry, metainfo and MIME type checked"
exit $status
