# sw_compile_text_form(<target> <input.txt> <output.bin>)
#
# Adds a custom target <target> that compiles a text form into a binary project
# stream with formtext. A relative input is taken from the current source
# folder, a relative output from the current binary folder. Native builds run
# the formtext target; cross builds run the host formtext named by SW_FORMTEXT.
function(sw_compile_text_form target input output)
  get_filename_component(input "${input}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  get_filename_component(output "${output}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  if(CMAKE_CROSSCOMPILING)
    if(NOT SW_FORMTEXT)
      message(FATAL_ERROR "sw_compile_text_form(${target}): a cross build needs a host formtext; "
                          "build it natively and pass -DSW_FORMTEXT=<path to formtext>")
    endif()
    get_filename_component(tool "${SW_FORMTEXT}" ABSOLUTE)
    if(NOT EXISTS "${tool}")
      message(FATAL_ERROR "sw_compile_text_form(${target}): SW_FORMTEXT=${SW_FORMTEXT} does not exist")
    endif()
    set(tool_dependency "${tool}")
  else()
    set(tool $<TARGET_FILE:formtext>)
    set(tool_dependency formtext)
  endif()
  get_filename_component(output_dir "${output}" DIRECTORY)
  add_custom_command(
    OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${output_dir}"
    COMMAND ${tool} "${input}" "${output}"
    DEPENDS "${input}" ${tool_dependency}
    COMMENT "Compiling text form ${input}"
    VERBATIM)
  add_custom_target(${target} DEPENDS "${output}")
endfunction()
