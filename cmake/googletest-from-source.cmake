# GoogleTest built from source with the target's own compiler and flags, for
# builds that cannot link the system's prebuilt libraries (Windows, or a
# 32-bit build on a 64-bit machine). Debian's googletest package installs
# the sources in /usr/src/googletest. Gives GTest::gtest and
# GTest::gtest_main, as find_package(GTest) does.
if(TARGET GTest::gtest)
  return()
endif()
set(TXTPPT2_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest's sources, built for the target")
if(NOT EXISTS ${TXTPPT2_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest's sources are not in "
          "${TXTPPT2_GOOGLETEST_SOURCE_DIR} (Debian: apt-get install googletest)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${TXTPPT2_GOOGLETEST_SOURCE_DIR}
                 ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Not our code: its warnings are not ours to fix.
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)
