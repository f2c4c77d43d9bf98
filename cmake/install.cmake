# Installation: the program, the static toolkit, its public headers (under
# their toolkit/... paths), a CMake package and a pkg-config file.
include(CMakePackageConfigHelpers)

install(TARGETS tavorin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS tavorin_toolkit EXPORT tavorinTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
# One public header per subsystem; everything else in toolkit/ is private.
foreach(header console/console.h editor/editor.h calc/calc.h listing/listing.h
               windows/shell.h)
  get_filename_component(subdir ${header} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/toolkit/${header}
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/toolkit/${subdir})
endforeach()

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

# pkg-config: the prefix is found from the file's own place, so a tree
# installed anywhere (a package, a temporary prefix) describes itself.
configure_file(${PROJECT_SOURCE_DIR}/cmake/tavorin-toolkit.pc.in
               ${PROJECT_BINARY_DIR}/tavorin-toolkit.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/tavorin-toolkit.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(FILES ${PROJECT_SOURCE_DIR}/man/tavorin.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package: cpack -G DEB in the build tree.
set(CPACK_PACKAGE_NAME tavorin)
set(CPACK_PACKAGE_VENDOR "Tavorin")
set(CPACK_PACKAGE_CONTACT "Tavorin maintainers <maintainers@tavorin.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compare two text files line by line at the terminal")
set(CPACK_PACKAGE_DESCRIPTION
    "tavorin compares two text files line by line in a terminal of its own, echoing every line, and reports the first line that differs. The package also holds its console toolkit: a static library, its headers, and CMake and pkg-config files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.34)")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xterm")
include(CPack)
