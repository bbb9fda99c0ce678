# Install rules: libraries, headers, the qstr tool, a CMake package
# (find_package(qstr14) gives qstr14::qstr14 and qstr14::qstr14_static, and
# the sort key library qstr14::qstr14_keys and qstr14::qstr14_keys_static)
# and pkg-config files (qstr14, qstr14-keys).
include(CMakePackageConfigHelpers)

install(TARGETS qstr14 qstr14_static qstr14_keys qstr14_keys_static
  EXPORT qstr14Targets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY include/qstr14 DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS qstr RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(QSTR14_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/qstr14)
install(EXPORT qstr14Targets NAMESPACE qstr14:: DESTINATION ${QSTR14_CMAKE_DIR})
configure_package_config_file(cmake/qstr14Config.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/qstr14Config.cmake
  INSTALL_DESTINATION ${QSTR14_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/qstr14ConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qstr14Config.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/qstr14ConfigVersion.cmake
        DESTINATION ${QSTR14_CMAKE_DIR})

file(RELATIVE_PATH QSTR14_PC_TO_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
configure_file(cmake/qstr14.pc.in ${CMAKE_CURRENT_BINARY_DIR}/qstr14.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qstr14.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The sort key library's pkg-config file: it builds on libqstr14.
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/qstr14-keys.pc @ONLY CONTENT [[
prefix=${pcfiledir}/@QSTR14_PC_TO_PREFIX@
exec_prefix=${prefix}
libdir=${prefix}/@CMAKE_INSTALL_LIBDIR@
includedir=${prefix}/@CMAKE_INSTALL_INCLUDEDIR@

Name: qstr14-keys
Description: Sort keys for the multi-level comparison of qstr14
Version: @PROJECT_VERSION@
Requires: qstr14 = @PROJECT_VERSION@
Libs: -L${libdir} -lqstr14-keys
Libs.private: -lstdc++ -lm
Cflags: -I${includedir}
]])
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qstr14-keys.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
