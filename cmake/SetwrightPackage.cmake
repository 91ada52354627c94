# Makes the win32 build folder a package that an author's own CMake project builds its setup program
# against, without building the library again:
#
#   find_package(Setwright REQUIRED)          # configured with -DSetwright_DIR=<this build folder>
#
# SetwrightTargets.cmake imports the library, the lean run-time objects and the loading program;
# SetwrightConfig.cmake adds the Windows program settings, the host tools and sw_add_setup_program.
export(TARGETS sw_project sw_platform sw_system sw_controls sw_archive sw_objects sw_shortcuts sw_dialogs
               sw_visual sw_engine setwright sw_app sw_lean_runtime PellmoorLoadProgram
       FILE ${PROJECT_BINARY_DIR}/SetwrightTargets.cmake)
get_filename_component(SW_PACKAGE_FORMTEXT "${SW_FORMTEXT}" ABSOLUTE BASE_DIR "${PROJECT_SOURCE_DIR}")
if(SW_BUILDSETUP)
  get_filename_component(SW_PACKAGE_BUILDSETUP "${SW_BUILDSETUP}" ABSOLUTE BASE_DIR "${PROJECT_SOURCE_DIR}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/SetwrightConfig.cmake.in ${PROJECT_BINARY_DIR}/SetwrightConfig.cmake @ONLY)
