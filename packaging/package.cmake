# The Debian package, built by `cpack` in a build folder (scripts/package does it all).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Velmora developers")
set(CPACK_PACKAGE_CONTACT "${VELMORA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop unit converter for 32 unit categories")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora converts a value typed in any unit into all other units of its\n"
    "category on every keystroke: length, area, volume, temperature, mass,\n"
    "force, pressure, energy, storage capacity, speed, viscosity, flow and\n"
    "more, and twelve categories of your own.\n"
    "\n"
    "A unit manager edits the unit lists, an options dialog sets decimal\n"
    "places, thousands separators and the look, and a calculator evaluates\n"
    "arithmetic expressions.")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELMORA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries the program links are found by dpkg-shlibdeps and added to the dependencies named
# here. libcurl is not linked but loaded when a request is made, so dpkg-shlibdeps cannot see it;
# 7.88 has every option the requests use. Every text of the program is Chinese, which needs a CJK
# font. On a Wayland desktop Qt needs its Wayland platform plug-in to run natively (without it the
# program runs through Xwayland).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4 (>= 7.88)")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-wqy-microhei, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
