# The Debian package, built by scripts/package with CPack's DEB generator:
# build/fusewright_<version>+deb<release>_<arch>.deb, installed below /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fusewright)
set(CPACK_PACKAGE_VERSION ${FW_DEB_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The install runs with DESTDIR, so the prefix it sees is /usr itself (the
# desktop entry names /usr/bin/fusewright, not the staging folder).
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_CUSTOM_INSTALL_VARIABLES FW_DEBIAN_PACKAGE=ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Fusewright <author@fusewright.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://fusewright.org/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop front-end for avrdude for the ATmega8 and ATmega16")
set(CPACK_PACKAGE_DESCRIPTION
  "Fusewright programs and reads the Flash and the EEPROM of ATmega8 and
ATmega16 chips, always followed by a verification, reads, edits and writes
their fuse and lock bits, reads the calibration bytes of the internal RC
oscillator and holds the chip in reset, each with one button. It composes
the avrdude command lines, shows them with everything the tool prints, and
checks the chip's signature before it touches any memory.
.
The user interface is in Simplified Chinese.")
# The libraries of the program and of its own avrdude come from
# dpkg-shlibdeps. Besides them: the Song face the window is laid out for (without it the fuse names are
# clipped); Qt's own texts in Chinese; the platform plugin without which Qt
# cannot open a window.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-uming, qt6-translations-l10n, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
