# sw_add_setup_program(<name> PROJECT <project.txt> [HANDLERS <source>...])
#
# Builds an author's setup program: the project's text form compiled into the
# TFORM1 resource, with the theme bitmap, linked with the install engine. The
# handler sources define BindProjectHandlers(TForm1&); without them the
# project has no C++ handlers. Windows builds only.
include(FormText)

function(sw_add_setup_program name)
  cmake_parse_arguments(ARG "" "PROJECT" "HANDLERS" ${ARGN})
  if(NOT ARG_PROJECT)
    message(FATAL_ERROR "sw_add_setup_program(${name}): PROJECT is required")
  endif()
  set(stream ${CMAKE_CURRENT_BINARY_DIR}/${name}-tform1.bin)
  sw_compile_text_form(${name}_project ${ARG_PROJECT} ${stream})
  if(NOT WIN32)
    return()
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc)
  file(GENERATE OUTPUT ${rc} CONTENT
"TFORM1 RCDATA \"${stream}\"
INSTALLTHEME1 BITMAP \"${SW_RESOURCES_DIR}/installtheme1.bmp\"
")
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${stream};${SW_RESOURCES_DIR}/installtheme1.bmp")
  if(NOT ARG_HANDLERS)
    set(ARG_HANDLERS ${SW_APP_DIR}/DefaultHandlers.cpp)
  endif()
  add_executable(${name} WIN32 ${SW_APP_DIR}/SetupMain.cpp ${rc} ${ARG_HANDLERS})
  target_link_libraries(${name} PRIVATE sw_app)
  add_dependencies(${name} ${name}_project)
endfunction()
