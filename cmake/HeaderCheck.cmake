# Every header compiles on its own: one translation unit per header that
# includes only that header, compiled with the flags of `library`. Part of the
# default build, so a header that leans on what its includer included fails it.
function(sw_check_headers target library)
  set(sources)
  foreach(header ${ARGN})
    file(RELATIVE_PATH relative ${CMAKE_CURRENT_SOURCE_DIR} ${header})
    string(MAKE_C_IDENTIFIER ${relative} id)
    set(unit ${CMAKE_CURRENT_BINARY_DIR}/header-check/${id}.cpp)
    file(CONFIGURE OUTPUT ${unit} CONTENT "#include \"${relative}\"\n")
    list(APPEND sources ${unit})
  endforeach()
  add_library(${target} OBJECT ${sources})
  target_link_libraries(${target} PRIVATE ${library})
endfunction()
