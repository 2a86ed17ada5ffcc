#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Packs a built tree with CPack as scripts/make-deb.sh does, then checks the
# .deb: the files it installs, its Depends line, the version everywhere, the
# manual pages as man shows them, the packaged program run without a display
# or a session, and lintian. A CTest test, debian_package.
#
#   scripts/check-package.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: check-package.sh BUILD_DIR}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

if ! cpack -G DEB -B "$scratch/out" --config "$build/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    exit 1
fi
deb=$(echo "$scratch"/out/pelora_*.deb)
version=$(dpkg-deb -f "$deb" Version)
upstream=${version%-*}
echo "package: $(basename "$deb")"

# Files.
tree=$scratch/root
dpkg-deb -x "$deb" "$tree"
for f in usr/bin/pelora \
         usr/share/applications/pelora.desktop \
         usr/share/mime/packages/pelora-mime.xml \
         usr/share/icons/hicolor/scalable/apps/pelora.svg \
         usr/share/icons/hicolor/scalable/mimetypes/application-x-pelora.svg \
         usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/pelora.png \
         usr/share/man/man1/pelora.1.gz \
         usr/share/man/ja/man1/pelora.1.gz \
         usr/share/doc/pelora/{README.md,copyright,changelog.Debian.gz} \
         usr/share/lintian/overrides/pelora \
         usr/share/doc/pelora/docs/screenshot-main.png \
         usr/share/doc/pelora/docs/screenshot-main-en.png \
         usr/share/doc/pelora/examples/サンプル.plr; do
    [[ -f $tree/$f ]] || fail "not in the package: /$f"
done
# The licence is the system's (copyright points there), not a copy of ours.
[[ ! -e $tree/usr/share/doc/pelora/COPYING ]] || fail "the package has its own copy of the GPL"
outside=$(cd "$tree" && find . -mindepth 1 -maxdepth 1 ! -name usr; find usr -mindepth 1 -maxdepth 1 ! -name bin ! -name share)
[[ -z $outside ]] || fail "files outside /usr/bin and /usr/share: $outside"
dpkg-deb --ctrl-tarfile "$deb" | tar -t >"$scratch/control.txt"
! grep -qE 'preinst|postinst|prerm|postrm' "$scratch/control.txt" || fail "the package has maintainer scripts"

# The metainfo (named by its id) with the desktop entry it launches.
appstreamcli validate-tree --no-net --pedantic "$tree" >"$scratch/appstream.txt" 2>&1 \
    || fail "appstreamcli validate-tree: $(cat "$scratch/appstream.txt")"

# Depends: the Qt, CUPS and disc libraries as dpkg-shlibdeps finds them, and the font.
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libcups2 libcdio19 libdiscid0 fonts-ipafont-gothic; do
    [[ ", $depends," == *", $d "* || ", $depends," == *", $d,"* ]] || fail "Depends lacks $d: $depends"
done

# One version: the package, the program, the metainfo's release, the changelog.
got=$("$tree/usr/bin/pelora" --version)
[[ $got == *" version $upstream" ]] || fail "pelora --version says '$got', the package is $upstream"
grep -q "<release version=\"$upstream\"" "$tree"/usr/share/metainfo/*.metainfo.xml \
    || fail "the metainfo has no release $upstream"
[[ $(zcat "$tree/usr/share/doc/pelora/changelog.Debian.gz" | head -1) == "pelora ($version) "* ]] \
    || fail "changelog.Debian does not start with $version"

# Manual pages render without a warning from man or groff.
for lang in en ja; do
    page=$tree/usr/share/man/man1/pelora.1.gz
    [[ $lang == en ]] || page=$tree/usr/share/man/$lang/man1/pelora.1.gz
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" >"$scratch/man.txt" 2>"$scratch/man.err" \
        || fail "man cannot show the $lang page"
    [[ ! -s $scratch/man.err ]] || fail "man warns about the $lang page: $(cat "$scratch/man.err")"
    for option in --export-pdf --import-cd; do
        grep -q -- "$option" "$scratch/man.txt" || fail "the $lang page lacks $option"
    done
done
grep -q 'オプション' <(LC_ALL=C.UTF-8 man -E UTF-8 -l "$tree/usr/share/man/ja/man1/pelora.1.gz" 2>/dev/null) \
    || fail "the ja page is not Japanese"

# The packaged program without a display or a session: its own output only.
quiet() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR -u QT_QPA_PLATFORM -u QT_LOGGING_RULES \
        PELORA_CONFIG_DIR="$scratch/config" "$tree/usr/bin/pelora" "$@" >"$scratch/out.txt" 2>"$scratch/err.txt" \
        || fail "pelora $* failed: $(cat "$scratch/err.txt")"
    [[ ! -s $scratch/err.txt ]] || fail "pelora $* wrote to standard error: $(head -3 "$scratch/err.txt")"
}
quiet --help
grep -q -- '--export-pdf' "$scratch/out.txt" || fail "pelora --help lacks --export-pdf"
quiet --export-pdf "$scratch/jacket.pdf" "$tree/usr/share/doc/pelora/examples/サンプル.plr"
[[ ! -s $scratch/out.txt ]] || fail "pelora --export-pdf wrote to standard output"
[[ $(pdfinfo "$scratch/jacket.pdf" 2>/dev/null | sed -n 's/^Pages: *//p') == 2 ]] || fail "the exported PDF does not have 2 pages"
# A disc image's track list, read through the packaged program's libcdio.
printf 'TITLE "Disc"\r\nFILE "disc.bin" BINARY\r\n  TRACK 01 AUDIO\r\n    TITLE "One"\r\n    INDEX 01 00:00:00\r\n  TRACK 02 AUDIO\r\n    TITLE "Two"\r\n    INDEX 01 00:02:00\r\n' >"$scratch/disc.cue"
truncate -s $((375 * 2352)) "$scratch/disc.bin"
quiet --import-cd "$scratch/disc.cue" "$scratch/disc.plr"
[[ $(tr -d '\r' <"$scratch/disc.plr") == $'Disc\nOne  (00:02)\nTwo  (00:03)' ]] \
    || fail "pelora --import-cd wrote: $(tr -d '\r' <"$scratch/disc.plr" 2>/dev/null)"

# Lintian: no errors, no warnings (the package's own overrides apply).
lintian --no-cfg --fail-on error,warning "$deb" >"$scratch/lintian.txt" 2>&1 \
    || fail "lintian: $(grep -v 'root privileges' "$scratch/lintian.txt")"

if (( failures )); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "debian package OK"
