# sw_add_setup_program(<name> PROJECT <project.txt> [HANDLERS <source>...])
#
# Builds an author's setup program: the project's text form compiled into the
# TFORM1 resource, with the theme bitmap and the language flags (BM_LANG_*),
# linked with the install engine. The handler sources define
# BindProjectHandlers(TForm1&); without them the project has no C++ handlers.
# Windows builds only.
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
  set(bitmaps ${SW_RESOURCES_DIR}/installtheme1.bmp)
  set(rc_lines "TFORM1 RCDATA \"${stream}\"\nINSTALLTHEME1 BITMAP \"${SW_RESOURCES_DIR}/installtheme1.bmp\"\n")
  # The language flags, named after their files.
  file(GLOB flags ${SW_RESOURCES_DIR}/flags/BM_LANG_*.bmp)
  foreach(flag ${flags})
    get_filename_component(flag_name ${flag} NAME_WE)
    string(APPEND rc_lines "${flag_name} BITMAP \"${flag}\"\n")
    list(APPEND bitmaps ${flag})
  endforeach()
  file(GENERATE OUTPUT ${rc} CONTENT "${rc_lines}")
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${stream};${bitmaps}")
  if(NOT ARG_HANDLERS)
    set(ARG_HANDLERS ${SW_APP_DIR}/DefaultHandlers.cpp)
  endif()
  add_executable(${name} WIN32 ${SW_APP_DIR}/SetupMain.cpp ${rc} ${ARG_HANDLERS})
  target_link_libraries(${name} PRIVATE sw_app)
  add_dependencies(${name} ${name}_project)
endfunction()
