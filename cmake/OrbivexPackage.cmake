# The Debian package of Orbivex, made with CPack from the install rules of the build
# (scripts/package): orbivex_<version>_<arch>.deb, installing into /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orbivex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ORBIVEX_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries come from dpkg-shlibdeps; what the programs read at run time is named here: the
# ephemeris files, the time-zone database, the fonts of the wheel and the images, the Qt
# platform plugins without which the window cannot open, Qt SQL's SQLite driver (a plugin) for
# the chart library, and the atlas of places, which orbivex-cli loads only when a place is looked
# up: dpkg-shlibdeps sees neither.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "swe-standard-data, tzdata, fonts-dejavu-core, fonts-liberation2, qt6-qpa-plugins, \
libqt6sql6-sqlite, libgeonames0")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "heliocentric aspect charts for any date")
set(CPACK_PACKAGE_DESCRIPTION "Orbivex is a desktop program for heliocentric astrology. For any moment from
year 1 to 2799 it computes the heliocentric longitudes (J2000) of Earth,
Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune and Pluto with the Swiss
Ephemeris, finds the aspects between them within configurable orbs, and shows
them as an aspect grid, a chart wheel and written reports: world transits,
natal aspects, personal transits and synastry.
.
It finds aspect patterns (grand trines, kites, T-squares, yods, stelliums and
more) and midpoints, tells when each aspect begins, is exact and ends, steps
through time or searches ahead for a pattern, lists every exact aspect of a
year, reads dates in named time zones and the Julian calendar, and saves
charts as PNG, SVG or PDF.
.
orbivex-cli computes the same charts from the command line, as text or JSON.")
include(CPack)
