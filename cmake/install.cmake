# Install rules: the libraries of both levels, their headers, the vesk
# program, the host core's shared library and header, a CMake package (find_package(vesk) gives vesk::veskdll133 and,
# when it is built, vesk::veskdll) and a pkg-config file per library.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VESK_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/vesk)
set(VESK_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

set(VESK_INSTALLED_LEVELS veskdll133 veskdll)

install(TARGETS ${VESK_INSTALLED_LEVELS} EXPORT veskTargets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})

# The pkg-config files find the prefix from their own folder, so an installed
# tree can be moved (and `cmake --install --prefix` may choose it late).
file(RELATIVE_PATH VESK_PC_PREFIX_FROM_PCFILEDIR
     /root/${VESK_INSTALL_PKGCONFIGDIR} /root)
string(REGEX REPLACE "/$" "" VESK_PC_PREFIX_FROM_PCFILEDIR "${VESK_PC_PREFIX_FROM_PCFILEDIR}")
set(VESK_PC_DESCRIPTION_veskdll133 "Urban storm-water runoff library, current level")
set(VESK_PC_DESCRIPTION_veskdll "Urban storm-water runoff library, earlier level")
foreach(level IN LISTS VESK_INSTALLED_LEVELS)
  install(FILES ${PROJECT_SOURCE_DIR}/include/${level}.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  set(VESK_PC_NAME ${level})
  set(VESK_PC_DESCRIPTION "${VESK_PC_DESCRIPTION_${level}}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/vesk-level.pc.in ${PROJECT_BINARY_DIR}/pkgconfig/${level}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/${level}.pc DESTINATION ${VESK_INSTALL_PKGCONFIGDIR})
endforeach()

if(TARGET vesk)
  install(TARGETS vesk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The host core's C interface (found beside libveskdll133 through its
# $ORIGIN run path); its header includes veskdll133.h.
if(TARGET vesk_host)
  install(TARGETS vesk_host LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/host/include/vesk_host.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
endif()

install(EXPORT veskTargets NAMESPACE vesk:: DESTINATION ${VESK_INSTALL_CMAKEDIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/veskConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/veskConfig.cmake
                              INSTALL_DESTINATION ${VESK_INSTALL_CMAKEDIR})
# The library accepts a host built for the same major, minor and third number.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/veskConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/veskConfig.cmake ${PROJECT_BINARY_DIR}/veskConfigVersion.cmake
        DESTINATION ${VESK_INSTALL_CMAKEDIR})
