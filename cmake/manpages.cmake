# The manual pages. libtxtppt2(3) is written by hand (docs/man/libtxtppt2.3.in,
# the version filled in); txtppt2(1) is made at build time from the built
# command's --help by tools/help_to_man.py, so that it lists exactly the
# options the command has. Both are installed with the parts they describe:
# txtppt2(1) with the command (Runtime), libtxtppt2(3) with the header
# (Development). The tests docs.* check both against --help and the header.
if(WIN32 OR CMAKE_CROSSCOMPILING)
  return()
endif()
include(GNUInstallDirs)

set(TXTPPT2_MAN_DIR ${PROJECT_BINARY_DIR}/man)
configure_file(${PROJECT_SOURCE_DIR}/docs/man/libtxtppt2.3.in
               ${TXTPPT2_MAN_DIR}/libtxtppt2.3 @ONLY)
install(FILES ${TXTPPT2_MAN_DIR}/libtxtppt2.3
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man3 COMPONENT Development)

if(NOT TARGET txtppt2_cli)
  return()
endif()
if(NOT Python3_Interpreter_FOUND)
  find_package(Python3 COMPONENTS Interpreter QUIET)
endif()
if(NOT Python3_Interpreter_FOUND)
  message(STATUS "txtppt2(1) manual page: not built (no python3 found to "
                 "make it from the command's --help)")
  return()
endif()
message(STATUS "txtppt2(1) manual page: made from the command's --help")
add_custom_command(
  OUTPUT ${TXTPPT2_MAN_DIR}/txtppt2.1
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/help_to_man.py
          $<TARGET_FILE:txtppt2_cli> ${PROJECT_VERSION}
          ${TXTPPT2_MAN_DIR}/txtppt2.1
  DEPENDS txtppt2_cli ${PROJECT_SOURCE_DIR}/tools/help_to_man.py
  COMMENT "Making txtppt2.1 from txtppt2 --help"
  VERBATIM)
add_custom_target(txtppt2_man_page ALL DEPENDS ${TXTPPT2_MAN_DIR}/txtppt2.1)
install(FILES ${TXTPPT2_MAN_DIR}/txtppt2.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Runtime)
