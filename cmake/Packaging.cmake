# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, made by CPack from the install rules:
# scripts/make-deb.sh configures a Release tree with the prefix /usr and runs
# cpack in it. The desktop, MIME, icon and manual page caches are refreshed
# by the dpkg triggers of the packages that own them, so there are no
# maintainer scripts.

# The maintainer's name and address: the one place for them (the package's
# control file, its changelog and its copyright file). An example address
# until the project has its own; the homepage is the project's HOMEPAGE_URL.
set(PELORA_MAINTAINER "Pelora maintainers <maintainers@pelora.example.org>" CACHE STRING "Package maintainer and address")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${PELORA_MAINTAINER}")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PELORA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
# The synopsis is the project's DESCRIPTION; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Pelora (ペロラ) composes and prints CD case inserts and disc labels: type a
title, build the track list by hand, by dropping audio files and playlists
on the window (their tags give title, playing time, artist and album art)
or from a disc or disc image (its CD-TEXT, or MusicBrainz and the Cover Art
Archive once the user agrees), and print the front insert, the back tray
card with its two spines and the disc label at their real size on any CUPS
printer. It prints on plain paper
with cut lines or crop marks, on pre-cut jacket and label papers from the
label database (glabels-data) or the user's own products, and on printable
discs in the disc tray of printers that have one; a cover picture or the
album art fills the front and the label. Jackets are saved as .plr
documents; from the command line they are exported to PDF or printed
without a window. The interface is in Japanese, and in English on other
desktops.

ペロラは CD ケースのジャケットとディスクのレーベルを作って、
普通紙、ラベル用紙、プリンタブルディスクに印刷するプログラムです。")

# Libraries as dpkg-shlibdeps finds them; the fonts the program draws with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
# A printing system, the faces for what IPA Gothic lacks, a PDF queue,
# Japanese Qt dialogs, WebP cover pictures, the window on Wayland
# without XWayland, and the label products people print jackets on.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "cups, fonts-noto-cjk, fonts-symbola, glabels-data, printer-driver-cups-pdf, qt6-translations-l10n, qt6-image-formats-plugins, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# What Debian policy wants beside the files (the copyright and a changelog)
# and lintian's view of them, only in the package (a plain `cmake --install` leaves them out).
execute_process(COMMAND date -u -R -d "${PELORA_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE pelora_release_time OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
set(pelora_changelog ${CMAKE_BINARY_DIR}/debian/changelog.Debian)
file(CONFIGURE OUTPUT ${pelora_changelog} CONTENT
"pelora (${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}) unstable; urgency=medium

  * Release ${PROJECT_VERSION}.

 -- ${PELORA_MAINTAINER}  ${pelora_release_time}
")
execute_process(COMMAND gzip -9nf ${pelora_changelog} COMMAND_ERROR_IS_FATAL ANY)
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/copyright ${CMAKE_BINARY_DIR}/debian/copyright @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/debian/copyright ${pelora_changelog}.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR}
        COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME pelora
        COMPONENT debian EXCLUDE_FROM_ALL)

# One package of everything, the Debian files included.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL Unspecified debian)

include(CPack)
