# The Debian package: cpack -G DEB in the build folder (make package).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${VELTRANE_AUTHOR}")
set(CPACK_PACKAGE_CONTACT "${VELTRANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rename many files in one go, with simulation and undo")
set(CPACK_PACKAGE_DESCRIPTION
"Veltrane renames many files at once: pick a folder and file masks, choose\n\
search and replace with wildcards, insert, remove, number, change case or\n\
truncate, and see every file in a result table. A simulation shows what a\n\
pass would do before anything changes. Nothing is ever overwritten, and a\n\
pass can be undone, also after a restart, from a saved result file.\n\
.\n\
The package holds the window program (veltrane) and the command line\n\
(veltrane-cli), which runs the same passes from a terminal or a script.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELTRANE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VELTRANE_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Found by shlibdeps too; named so that a build without dpkg-shlibdeps still
# says so: PCRE2 for its version (names that are not UTF-8 need 10.34), image
# metadata and audio tags for the fields of new names.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libpcre2-8-0 (>= 10.34), libexiv2-27, libtag1v5")
# Without it the window runs through XWayland, or not at all where there is none.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
