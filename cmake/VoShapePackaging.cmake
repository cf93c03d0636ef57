# What an installed prefix offers beside the CMake package: the short include form, a pkg-config
# file, and the Debian packages CPack makes of the Runtime and Development components.

set(VOSHAPE_SUMMARY "Shape-editing selection model of a node-based compositing application")

# The short form #include "VoShape.h" of earlier applications: one forwarding header a public
# header, in a folder of their own, so that this form needs no folder on the include path that also
# holds base/, foundation/ or host/.
foreach(header IN LISTS VOSHAPE_HEADERS)
  get_filename_component(name ${header} NAME)
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/unprefixed/${name}
       CONTENT "#pragma once\n// The short form of <VoShape/${name}>.\n#include <VoShape/${name}>\n")
endforeach()
install(DIRECTORY ${PROJECT_BINARY_DIR}/unprefixed/ DESTINATION ${VOSHAPE_UNPREFIXED_DIR}
        COMPONENT Development)

# pkg-config: the prefix is found from the file's own place, so that a prefix copied or unpacked
# elsewhere (dpkg -x) still gives the right folders.
set(VOSHAPE_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH VOSHAPE_PKGCONFIG_TO_PREFIX /${VOSHAPE_PKGCONFIG_DIR} /)
string(REGEX REPLACE "/$" "" VOSHAPE_PKGCONFIG_TO_PREFIX ${VOSHAPE_PKGCONFIG_TO_PREFIX})
configure_file(cmake/voshape.pc.in ${PROJECT_BINARY_DIR}/voshape.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/voshape.pc DESTINATION ${VOSHAPE_PKGCONFIG_DIR}
        COMPONENT Development)

# cpack -G DEB: libvoshape<major> (the libraries) and libvoshape-dev (the rest, depending on the
# first at the same version). dpkg-shlibdeps finds what the libraries need of the system.
set(CPACK_PACKAGE_NAME voshape)
set(CPACK_PACKAGE_VENDOR "libVoshape developers")
set(CPACK_PACKAGE_CONTACT "libVoshape developers <voshape@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${VOSHAPE_SUMMARY})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL Runtime Development)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS Runtime)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A shlibs file in the runtime package, so that packages built against it get their dependency on
# it from dpkg-shlibdeps in turn (CPack adds the ldconfig calls of its scripts with it).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libvoshape${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libvoshape-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
include(CPack)
