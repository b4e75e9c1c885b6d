# The Debian package, tamcal_<version>_<arch>.deb, made by `cpack -G DEB` from
# the install rules (scripts/package.sh). Its dependencies come from the Qt
# libraries the program links, found by dpkg-shlibdeps (which also brings the
# browser engine's helper process).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tamcal)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "TamCal")
set(CPACK_PACKAGE_CONTACT "TamCal developers <tamcal@invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calendar diary with a short note for every day")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "TamCal shows several months side by side, with every day that holds a note in\n"
       "bold. Notes can be protected by a password, and a range of days becomes an\n"
       "HTML report. From the command line, reports and exports (text or JSON) run\n"
       "without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
