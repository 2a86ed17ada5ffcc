#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages needed to build, run and test Pelora.
#
# Quick and silent when everything is there: one `dpkg -s` over the list.
# Otherwise runs `apt-get update` once and installs what is missing, without
# recommended packages (none of them is needed: the Generic PDF PPD is in
# cups-filters itself, pdftopdf in cups-filters-core-drivers, both listed).
# Never asks anything: apt runs non-interactively, and sudo (used when not
# root) only asks for a password when there is a terminal to ask on.
#
# PELORA_SKIP_DEPS=1 skips the check (offline machines that know better).
set -euo pipefail

packages=(
    # build
    build-essential cmake ninja-build ccache pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
    # the English translation: lupdate and lrelease, and their CMake functions
    qt6-l10n-tools qt6-tools-dev
    # WebP cover pictures
    qt6-image-formats-plugins
    libcups2-dev libtag1-dev libjpeg-dev libbenchmark-dev
    # discs: the TOC and raw CD-TEXT (libcdio), MusicBrainz disc ids (libdiscid)
    libcdio-dev libdiscid-dev
    clang libclang-rt-14-dev
    # fonts: the Japanese Gothic face the program substitutes for its UI font,
    # and the faces for what it lacks (Hangul, rare kanji; emoji as outlines)
    fonts-ipafont-gothic fonts-noto-cjk fonts-symbola
    # printing, and the throw-away CUPS used by the tests
    cups cups-daemon cups-client cups-bsd cups-ipp-utils
    cups-filters cups-filters-core-drivers printer-driver-cups-pdf
    # the PPDs of printers with a disc tray (Epson, Canon) for the test queues
    printer-driver-gutenprint
    # tools used by tests and scripts
    xvfb xauth x11-utils imagemagick librsvg2-bin poppler-utils
    lame sox id3v2
    desktop-file-utils shared-mime-info
    # the label products (pre-cut jacket papers) and the tests that read them
    glabels-data
    # the Debian package, its metainfo and manual pages (scripts/make-deb.sh
    # and the debian_package test)
    dpkg-dev lintian appstream man-db
)

if [[ ${PELORA_SKIP_DEPS:-} == 1 ]]; then
    exit 0
fi

# Which packages are not fully installed? `dpkg -s` prints one paragraph per
# known package; unknown ones only produce an error line.
mapfile -t missing < <(
    dpkg -s "${packages[@]}" 2>/dev/null | awk -v want="${packages[*]}" '
        BEGIN { n = split(want, list, " "); for (i = 1; i <= n; i++) need[list[i]] = 1 }
        /^Package: / { pkg = $2 }
        /^Status: install ok installed$/ { delete need[pkg] }
        END { for (p in need) print p }
    ' | sort
)

if (( ${#missing[@]} == 0 )); then
    exit 0
fi

echo "install-deps: installing ${missing[*]}" >&2

as_root=()
if (( EUID != 0 )); then
    if ! command -v sudo >/dev/null; then
        echo "install-deps: not root and no sudo; as root run:" >&2
        echo "  apt-get install --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    if [[ -t 0 ]]; then
        as_root=(sudo)
    else
        as_root=(sudo -n)   # no terminal: fail rather than wait for a password
    fi
fi

apt_env=(env DEBIAN_FRONTEND=noninteractive NEEDRESTART_MODE=a)
apt_opts=(-q -y -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold)

"${as_root[@]}" "${apt_env[@]}" apt-get "${apt_opts[@]}" update </dev/null
"${as_root[@]}" "${apt_env[@]}" apt-get "${apt_opts[@]}" install --no-install-recommends \
    "${missing[@]}" </dev/null
