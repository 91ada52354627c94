# The archive tool on real files: add, list, verify and extract a set of
# files, the same archive carried at an offset, and bad input.
#   cmake -DARCHIVE=<tool> -DWORK=<folder> -P ArchiveTool.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/src ${WORK}/out)
string(REPEAT "setwright archive tool " 5000 text)
file(WRITE ${WORK}/src/text.txt "${text}")
file(WRITE ${WORK}/src/empty.txt "")
file(WRITE ${WORK}/src/one.txt "1")

function(run expect)
  execute_process(COMMAND ${ARCHIVE} ${ARGN} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(expect STREQUAL "ok" AND NOT rc EQUAL 0)
    message(FATAL_ERROR "archive ${ARGN} failed (${rc}): ${out}${err}")
  elseif(expect STREQUAL "fail" AND rc EQUAL 0)
    message(FATAL_ERROR "archive ${ARGN} succeeded on bad input: ${out}")
  endif()
  set(out "${out}${err}" PARENT_SCOPE)
endfunction()

run(ok add --threads 2 files.1 src/text.txt src/empty.txt src/one.txt)
run(ok list files.1)
if(NOT out MATCHES "3 entries" OR NOT out MATCHES "text.txt")
  message(FATAL_ERROR "list: ${out}")
endif()
run(ok verify files.1)
run(ok extract files.1 out)
foreach(name text.txt empty.txt one.txt)
  file(READ ${WORK}/src/${name} a HEX)
  file(READ ${WORK}/out/${name} b HEX)
  if(NOT a STREQUAL b)
    message(FATAL_ERROR "${name} differs after extraction")
  endif()
endforeach()

# Carried at an offset inside another file.
string(REPEAT "L" 1000 lead)
file(WRITE ${WORK}/lead.bin "${lead}")
execute_process(COMMAND ${CMAKE_COMMAND} -E cat ${WORK}/lead.bin ${WORK}/files.1 OUTPUT_FILE ${WORK}/carrier.exe)
run(ok verify --offset 1000 carrier.exe)
run(ok extract --offset 1000 carrier.exe out2 ${WORK}/src/one.txt)

# Bad input: a table that cannot be, a missing archive, a missing entry.
run(fail verify lead.bin)
run(fail list missing.1)
if(NOT out MATCHES "missing.1")
  message(FATAL_ERROR "the error does not name the file: ${out}")
endif()
run(fail extract files.1 out3 nothing.txt)
