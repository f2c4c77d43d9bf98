# Installation: the program, the static toolkit, its public headers (under
# their toolkit/... paths), a CMake package and a pkg-config file.
include(CMakePackageConfigHelpers)

install(TARGETS tavorin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS tavorin_toolkit EXPORT tavorinTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/toolkit/
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/toolkit
        FILES_MATCHING PATTERN "*.h"
        PATTERN "*_internal.h" EXCLUDE
        PATTERN "*fuzz_corpus*" EXCLUDE)

install(EXPORT tavorinTargets NAMESPACE tavorin::
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/tavorin)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/tavorinConfig.cmake.in
  ${PROJECT_BINARY_DIR}/tavorinConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/tavorin)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/tavorinConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/tavorinConfig.cmake
              ${PROJECT_BINARY_DIR}/tavorinConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/tavorin)
