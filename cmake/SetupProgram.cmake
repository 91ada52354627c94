# sw_add_setup_program(<name> PROJECT <project.txt> [HANDLERS <source>...] [DIALOGS <folder>]
#                      [LICENSE <file>] [README <file>])
#
# Builds an author's setup program: the project's text form compiled into the
# TFORM1 resource, every dialog form of src/resources/forms (each <NAME>.txt
# compiled into the RCDATA resource NAME), the theme bitmap and the language
# flags (BM_LANG_*), linked with the install engine. A <NAME>.txt in the
# DIALOGS folder replaces the dialog form of that name. The handler sources
# define BindProjectHandlers(TForm1&); without them the project has no C++
# handlers. LICENSE and README name the product's licence and readme (plain
# text or RTF), shown by the licence and readme pages. Windows builds only.
include(FormText)

function(sw_add_setup_program name)
  cmake_parse_arguments(ARG "" "PROJECT;DIALOGS;LICENSE;README" "HANDLERS" ${ARGN})
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
  # The dialog forms, the author's in place of ours of the same name.
  file(GLOB dialog_forms ${SW_RESOURCES_DIR}/forms/*.txt)
  if(ARG_DIALOGS)
    get_filename_component(dialogs_dir "${ARG_DIALOGS}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    file(GLOB own_forms ${dialogs_dir}/*.txt)
    foreach(own ${own_forms})
      get_filename_component(own_name ${own} NAME)
      list(FILTER dialog_forms EXCLUDE REGEX "/${own_name}$")
    endforeach()
    list(APPEND dialog_forms ${own_forms})
  endif()
  sw_page_text(dialog_forms TLICENSEFORM Agreement "${ARG_LICENSE}" ${name})
  sw_page_text(dialog_forms TREADMEFORM Information "${ARG_README}" ${name})
  set(dialog_streams)
  set(form_targets)
  foreach(form ${dialog_forms})
    get_filename_component(form_name ${form} NAME_WE)
    string(TOUPPER ${form_name} form_name)
    set(form_stream ${CMAKE_CURRENT_BINARY_DIR}/${name}-forms/${form_name}.bin)
    sw_compile_text_form(${name}_form_${form_name} ${form} ${form_stream})
    string(APPEND rc_lines "${form_name} RCDATA \"${form_stream}\"\n")
    list(APPEND dialog_streams ${form_stream})
    list(APPEND form_targets ${name}_form_${form_name})
  endforeach()
  # The language flags, named after their files.
  file(GLOB flags ${SW_RESOURCES_DIR}/flags/BM_LANG_*.bmp)
  foreach(flag ${flags})
    get_filename_component(flag_name ${flag} NAME_WE)
    string(APPEND rc_lines "${flag_name} BITMAP \"${flag}\"\n")
    list(APPEND bitmaps ${flag})
  endforeach()
  file(GENERATE OUTPUT ${rc} CONTENT "${rc_lines}")
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${stream};${dialog_streams};${bitmaps}")
  if(NOT ARG_HANDLERS)
    set(ARG_HANDLERS ${SW_APP_DIR}/DefaultHandlers.cpp)
  endif()
  add_executable(${name} WIN32 ${SW_APP_DIR}/SetupMain.cpp ${rc} ${ARG_HANDLERS})
  target_link_libraries(${name} PRIVATE sw_app)
  if(TARGET sw_lean_runtime)
    target_link_libraries(${name} PRIVATE sw_lean_runtime)
  endif()
  add_dependencies(${name} ${name}_project ${form_targets})
endfunction()

# Replaces <form> in the list <forms_var> by a copy whose <control> shows the
# text of <file>; nothing without a file.
function(sw_page_text forms_var form control file name)
  if(NOT file)
    return()
  endif()
  get_filename_component(file "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  set(forms ${${forms_var}})
  list(FILTER forms INCLUDE REGEX "/${form}\\.txt$")
  list(FILTER ${forms_var} EXCLUDE REGEX "/${form}\\.txt$")
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${name}-pages/${form}.txt)
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${name}-pages)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_custom_command(OUTPUT ${output}
                     COMMAND Python3::Interpreter ${SW_PAGE_TEXT_SCRIPT} ${forms} ${control} ${file} ${output}
                     DEPENDS ${forms} ${file} ${SW_PAGE_TEXT_SCRIPT}
                     COMMENT "Putting ${file} into ${form}" VERBATIM)
  list(APPEND ${forms_var} ${output})
  set(${forms_var} ${${forms_var}} PARENT_SCOPE)
endfunction()
set(SW_PAGE_TEXT_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/page_text.py)

# sw_add_distribution(<target> SETUP_PROGRAM <setup target> OUTPUT <folder>
#                     [WORKING_DIRECTORY <folder>] [DEPENDS <target>...])
#
# Adds a target that builds the setup program's distribution (setup.exe,
# setup.1, files.1) into OUTPUT, as "setup.exe -b" would, with the Linux build
# command named by SW_BUILDSETUP (the native build's buildsetup): BUILD.INF
# naming OUTPUT lies beside the setup program while it runs, and the loading
# program comes from its build folder. The project's relative file names start
# from WORKING_DIRECTORY (by default the setup program's folder). Built on
# request, not with "all"; for Windows programs cross-built on Linux.
set(SW_BUILD_DISTRIBUTION_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/BuildDistribution.cmake)

function(sw_add_distribution target)
  cmake_parse_arguments(ARG "" "SETUP_PROGRAM;OUTPUT;WORKING_DIRECTORY" "DEPENDS" ${ARGN})
  if(NOT ARG_SETUP_PROGRAM OR NOT ARG_OUTPUT)
    message(FATAL_ERROR "sw_add_distribution(${target}): SETUP_PROGRAM and OUTPUT are required")
  endif()
  if(NOT WIN32 OR NOT CMAKE_CROSSCOMPILING)
    return()
  endif()
  get_filename_component(output "${ARG_OUTPUT}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  set(working_directory $<TARGET_FILE_DIR:${ARG_SETUP_PROGRAM}>)
  if(ARG_WORKING_DIRECTORY)
    get_filename_component(working_directory "${ARG_WORKING_DIRECTORY}" ABSOLUTE BASE_DIR
                           "${CMAKE_CURRENT_BINARY_DIR}")
  endif()
  # In Windows form: the build command maps Z: onto "/".
  string(REPLACE "/" "\\" windows_output "Z:${output}")
  add_custom_target(${target}
    COMMAND ${CMAKE_COMMAND} -DBUILDSETUP=${SW_BUILDSETUP} -DPROGRAM=$<TARGET_FILE:${ARG_SETUP_PROGRAM}>
            -DTOOL_DIR=$<TARGET_FILE_DIR:PellmoorLoadProgram> -DBUILD_INF_LINE=${windows_output}
            -DWORKING_DIRECTORY=${working_directory} -P ${SW_BUILD_DISTRIBUTION_SCRIPT}
    BYPRODUCTS ${output}/setup.exe ${output}/setup.1 ${output}/files.1
    COMMENT "Building the distribution of ${ARG_SETUP_PROGRAM} into ${output}"
    VERBATIM)
  add_dependencies(${target} ${ARG_SETUP_PROGRAM} PellmoorLoadProgram ${ARG_DEPENDS})
endfunction()
