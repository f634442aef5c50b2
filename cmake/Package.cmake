# The Debian package: `make package` (cpack -G DEB in the build folder)
# gives velmora_<version>_<arch>.deb with what cmake/Install.cmake installs,
# under /usr. The shared libraries the programs use give the dependencies
# (dpkg-shlibdeps); Qt needs its platform plugins besides, which the Qt
# libraries only recommend.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR Norvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Velmora maintainers <maintainers@velmora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "plans how parts are cut from stock sheets with a panel saw")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.velmora.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
if(TARGET velmora)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
    # Qt's own texts (file dialogs, buttons) in the chosen language.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
endif()
# CPack puts the summary above it as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Velmora lays out rectangular parts on stock sheets with straight through
cuts, automatically (many randomised attempts, the best one kept) or sheet by
sheet in a manual mode. Parts have sizes in six units, quantities, grain lock
and an edge band on each of their four edges.
.
It draws the cutting diagrams, writes the cutting report and the bill,
exports DXF and SVG, prints labels and puts good offcuts back into stock.
Projects are kept in the program's own XML files (.vlp); Quillon projects
(.qln) are read too.
.
The package holds the desktop program velmora and the command-line program
velmora-cli, which runs the same optimisation from scripts.")

include(CPack)
