# The Debian package, made from a built tree by cpack (scripts/package):
#   cpack --config build/CPackConfig.cmake -B <folder>
# Its dependencies: the shared libraries the binary links (dpkg-shlibdeps), the packages of the QML
# modules the app's QML imports (found at packaging time, see PackageDepends.cmake) and Qt's
# Wayland platform plugin.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvela-calculator)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Morvela)
set(CPACK_PACKAGE_CONTACT "Morvela <packages@morvela.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator for musicians: tempo, pitch and harmony")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Only the application: nothing of the build tree's other install rules.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://morvela.app)
set(CPACK_PACKAGE_DESCRIPTION "Seven tools for musicians, producers and sound designers share one window:
note lengths in milliseconds with tap tempo, Euclidean rhythms, reverb and
delay times, note frequencies, equal temperaments, overtones and a circle of
fifths. Every figure is copied to the clipboard with one click, and a small
built-in synthesiser auditions chords, tones and clicks.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-inter, fonts-noto-color-emoji")

# Read by PackageDepends.cmake when cpack runs.
set(CPACK_MORVELA_EXTRA_DEPENDS "qt6-wayland")
set(CPACK_MORVELA_QML_SOURCE_DIR "${PROJECT_SOURCE_DIR}/src")
set(CPACK_MORVELA_QT_QML_DIR "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_QML}")
set(CPACK_MORVELA_QMLIMPORTSCANNER "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_LIBEXECS}/qmlimportscanner")
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_CURRENT_LIST_DIR}/PackageDepends.cmake")

include(CPack)
