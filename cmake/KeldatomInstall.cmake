# Installation: the public headers (cmake/KeldatomHeaders.cmake) under include/keldatom/ in
# their folders, the shared library,
# the CMake package (keldatom::keldatom) and the pkg-config file keldatom.pc.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

target_include_directories(keldatom PUBLIC $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/keldatom>)
set(KELDATOM_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/keldatom)

include(${CMAKE_CURRENT_LIST_DIR}/KeldatomHeaders.cmake)
foreach(header ${KELDATOM_PUBLIC_HEADERS})
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/keldatom/${folder})
endforeach()

install(TARGETS keldatom EXPORT keldatomTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(EXPORT keldatomTargets NAMESPACE keldatom:: DESTINATION ${KELDATOM_CMAKE_DIR})

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/keldatomConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/keldatomConfig.cmake
                              INSTALL_DESTINATION ${KELDATOM_CMAKE_DIR})
# The soname carries the major version, so any release of the same major version fits.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/keldatomConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/keldatomConfig.cmake ${PROJECT_BINARY_DIR}/keldatomConfigVersion.cmake
        DESTINATION ${KELDATOM_CMAKE_DIR})

# The prefix of keldatom.pc is the one installed into, which `cmake --install --prefix`
# may choose after configuration: the file is completed at install time.
set(KELDATOM_PC_PREFIX "@KELDATOM_PC_PREFIX@")
configure_file(${PROJECT_SOURCE_DIR}/cmake/keldatom.pc.in ${PROJECT_BINARY_DIR}/keldatom.pc.in @ONLY)
install(CODE "
  file(READ \"${PROJECT_BINARY_DIR}/keldatom.pc.in\" pc)
  string(REPLACE \"@KELDATOM_PC_PREFIX@\" \"\${CMAKE_INSTALL_PREFIX}\" pc \"\${pc}\")
  file(WRITE \"${PROJECT_BINARY_DIR}/keldatom.pc\" \"\${pc}\")
")
install(FILES ${PROJECT_BINARY_DIR}/keldatom.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
