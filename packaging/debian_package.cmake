# The Debian package: `cpack -G DEB` in a build tree (scripts/package makes one for the prefix
# /usr and runs it). Its dependencies are those of the installed programs' shared libraries
# (dpkg-shlibdeps), the fonts the engine writes fallback text in, and poppler-data, which the
# engine and the page helper read the character collections of Asian fonts from.

# The font packages are listed once, in scripts/setup, which installs them for the build.
file(READ "${PROJECT_SOURCE_DIR}/scripts/setup" relettra_setup_script)
if(NOT relettra_setup_script MATCHES "fallback_font_packages=\\(([^)]*)\\)")
  message(FATAL_ERROR "scripts/setup has no fallback_font_packages list")
endif()
string(REGEX REPLACE "[ \t\r\n]+" ";" relettra_font_packages "${CMAKE_MATCH_1}")
list(REMOVE_ITEM relettra_font_packages "")
list(JOIN relettra_font_packages ", " relettra_font_depends)

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "relettra")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Relettra developers")
set(CPACK_PACKAGE_CONTACT "The Relettra developers <support@relettra.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rewrites text and images in many PDF files at once")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
# Only what a plain install holds: components left out of it (the install test's window driver)
# stay out of the package too.
set(CPACK_MONOLITHIC_INSTALL ON)

set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION "graphics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://relettra.example.org/")
# The long description; CPack puts the summary above it as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Relettra replaces text that stands at a given place on a page, inside the
page's own font wherever that font can show the new text, draws images over
page areas, and finds text by its content to replace it or stamp an image
where it stands. Each input yields a new PDF in an output folder; the input
is never changed.
.
The package holds the window (relettra), the headless batch command
(relettra-batch) and the console engine (marqel) with its library.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${relettra_font_depends}, poppler-data")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The engine library lies in the loader's folders: the package has dpkg update the loader's cache
# by its trigger.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${CMAKE_CURRENT_LIST_DIR}/debian/triggers")

include(CPack)
