# The Debian package, made by CPack from a Release build:
#   cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
#   cmake --build build/release && (cd build/release && cpack -G DEB)
# Its version is the project's, with the package's own revision after it; its dependencies are
# computed from the binaries by dpkg-shlibdeps.

set(CPACK_PACKAGE_NAME tollwen-level-editor)
set(CPACK_PACKAGE_VENDOR "The Tollwen developers")
# A placeholder address until the project has one of its own.
set(CPACK_PACKAGE_CONTACT "The Tollwen developers <developers@tollwen.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "level editor for the tile-based game Tollwen")
set(CPACK_PACKAGE_DESCRIPTION [=[
The Tollwen Level Editor opens a level picture (a 640 x 447 JPEG), lays the
level's grid of 19 x 13 cells over it and paints tiles from a palette of
sixteen into the cells with brush, line, rectangle, fill, selection and
conveyor-path tools. Every step can be undone, unsaved changes are kept for
recovery after a crash, and the level data file is saved beside the picture.

tollwen-level-tool checks, renders and compares levels from the command line,
without a display, for level packs kept in version control and their CI.]=])
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(TOLLWEN_DEBIAN_VERSION ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its Wayland platform in the first package; without it a Wayland session falls back
# to XWayland. The second holds Qt's own translations: without them a translated window would
# show Qt's dialogs and buttons in English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
