# Installing txtppt2: the shared library with its SONAME links, the public
# header, the txtppt2 command, a pkg-config file and a CMake package
# (find_package(txtppt2) gives txtppt2::txtppt2), split into the Runtime and
# Development components; the Python module goes in its own component,
# Python. Also registers the test that installs into a
# scratch prefix and builds a C consumer against it.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TXTPPT2_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/txtppt2)

install(TARGETS txtppt2 EXPORT txtppt2Targets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
          COMPONENT Runtime NAMELINK_COMPONENT Development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime
  PUBLIC_HEADER DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Development)

if(TARGET txtppt2_cli)
  # The command finds the library beside it in an installed tree wherever
  # that tree is put; packagers turn this off with CMAKE_SKIP_INSTALL_RPATH.
  if(NOT DEFINED CMAKE_INSTALL_RPATH)
    file(RELATIVE_PATH TXTPPT2_BIN_TO_LIB
         ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
    set_target_properties(txtppt2_cli PROPERTIES
      INSTALL_RPATH "$ORIGIN/${TXTPPT2_BIN_TO_LIB}")
  endif()
  install(TARGETS txtppt2_cli
          RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)
endif()

if(TARGET txtppt2_python)
  # The Python package goes to the interpreter's site directory for the
  # prefix, relative to it: on Debian lib/python3.11/dist-packages, where its
  # python3 looks for /usr/local. An absolute TXTPPT2_PYTHON_INSTALL_DIR is
  # taken as it is.
  if(NOT DEFINED TXTPPT2_PYTHON_INSTALL_DIR)
    execute_process(
      COMMAND ${Python3_EXECUTABLE} -c
        "import os, sysconfig; p = sysconfig.get_paths(); print(os.path.relpath(p['platlib'], p['data']))"
      OUTPUT_VARIABLE TXTPPT2_PYTHON_SITE_DIR
      OUTPUT_STRIP_TRAILING_WHITESPACE
      RESULT_VARIABLE TXTPPT2_PYTHON_SITE_RESULT)
    if(NOT TXTPPT2_PYTHON_SITE_RESULT EQUAL 0
       OR TXTPPT2_PYTHON_SITE_DIR MATCHES "^\\.\\.")
      set(TXTPPT2_PYTHON_SITE_DIR
          lib/python${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}/site-packages)
    endif()
    set(TXTPPT2_PYTHON_INSTALL_DIR ${TXTPPT2_PYTHON_SITE_DIR} CACHE PATH
        "Where to install the Python package (relative to the prefix, or absolute)")
  endif()
  install(TARGETS txtppt2_python
          LIBRARY DESTINATION ${TXTPPT2_PYTHON_INSTALL_DIR}/txtppt2
          COMPONENT Python)
  install(FILES ${TXTPPT2_PYTHON_SOURCES}
          DESTINATION ${TXTPPT2_PYTHON_INSTALL_DIR}/txtppt2
          COMPONENT Python)
endif()

# CMake package: targets, config and version (same major version).
install(EXPORT txtppt2Targets
        NAMESPACE txtppt2::
        FILE txtppt2Targets.cmake
        DESTINATION ${TXTPPT2_CMAKE_PACKAGE_DIR}
        COMPONENT Development)
configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/txtppt2Config.cmake.in
  ${PROJECT_BINARY_DIR}/txtppt2Config.cmake
  INSTALL_DESTINATION ${TXTPPT2_CMAKE_PACKAGE_DIR})
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/txtppt2ConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/txtppt2Config.cmake
              ${PROJECT_BINARY_DIR}/txtppt2ConfigVersion.cmake
        DESTINATION ${TXTPPT2_CMAKE_PACKAGE_DIR}
        COMPONENT Development)

# pkg-config. The prefix is the one in force when installing (for example
# `cmake --install build --prefix /opt/txtppt2`), not the configured one, so
# the file is made by the install step itself.
foreach(kind LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${kind}}")
    set(TXTPPT2_PC_${kind} "${CMAKE_INSTALL_${kind}}")
  else()
    set(TXTPPT2_PC_${kind} "\${prefix}/${CMAKE_INSTALL_${kind}}")
  endif()
endforeach()
# The template keeps @prefix@ for the install step to fill in.
set(TXTPPT2_PC_PREFIX "@prefix@")
set(TXTPPT2_PC_TEMPLATE ${PROJECT_BINARY_DIR}/txtppt2.pc.template)
configure_file(${CMAKE_CURRENT_LIST_DIR}/txtppt2.pc.in ${TXTPPT2_PC_TEMPLATE}
               @ONLY)
install(CODE "
  set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
  configure_file(\"${TXTPPT2_PC_TEMPLATE}\" \"${PROJECT_BINARY_DIR}/txtppt2.pc\"
                 @ONLY)"
  COMPONENT Development)
install(FILES ${PROJECT_BINARY_DIR}/txtppt2.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
        COMPONENT Development)

# The test runs the installed tree on the build machine.
if(TXTPPT2_BUILD_TESTS AND NOT WIN32 AND NOT CMAKE_CROSSCOMPILING)
  # Consumers are built for the library's target (the -m32 of a 32-bit
  # build) and, of a sanitized library, sanitized too.
  set(TXTPPT2_CONSUMER_FLAGS "${CMAKE_C_FLAGS_INIT}")
  if(TXTPPT2_SANITIZE)
    string(APPEND TXTPPT2_CONSUMER_FLAGS " -fsanitize=${TXTPPT2_SANITIZE}")
  elseif(TXTPPT2_BUILD_FUZZERS)
    string(APPEND TXTPPT2_CONSUMER_FLAGS " -fsanitize=address,undefined")
  endif()
  add_test(NAME install.consumer
           COMMAND ${PROJECT_SOURCE_DIR}/tests/install/install_test.sh
                   ${PROJECT_BINARY_DIR}
                   ${PROJECT_BINARY_DIR}/install-test
                   ${PROJECT_SOURCE_DIR}/tests/install
                   ${PROJECT_SOURCE_DIR}/examples/sample.ppt
                   ${CMAKE_C_COMPILER}
                   ${CMAKE_COMMAND}
                   "${TXTPPT2_CONSUMER_FLAGS}")
  if(CMAKE_SKIP_INSTALL_RPATH)
    set_tests_properties(install.consumer PROPERTIES
                         ENVIRONMENT TXTPPT2_INSTALL_WITHOUT_RPATH=1)
  endif()
endif()
