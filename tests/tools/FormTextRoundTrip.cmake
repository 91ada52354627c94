# cmake -DFORMTEXT=<tool> -DINPUT=<text form> -DWORK=<dir> -P FormTextRoundTrip.cmake
#
# The formtext tool itself: text -> binary -> text gives the input back, binary -> text -> binary the same bytes,
# and a broken text form fails with its file, line and column and leaves no output behind; a binary stream with a
# wrong signature is an invalid stream, and a folder given as input is named.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run)
  execute_process(COMMAND ${FORMTEXT} ${ARGN} RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "formtext ${ARGN} failed (${rc}): ${err}")
  endif()
endfunction()

run(${INPUT} ${WORK}/a.bin)
run(${WORK}/a.bin ${WORK}/a.txt)
run(${WORK}/a.txt ${WORK}/b.bin)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${INPUT} ${WORK}/a.txt RESULT_VARIABLE same_text)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/a.bin ${WORK}/b.bin RESULT_VARIABLE same_bytes)
if(NOT same_text EQUAL 0)
  message(FATAL_ERROR "text -> binary -> text changed ${INPUT}")
endif()
if(NOT same_bytes EQUAL 0)
  message(FATAL_ERROR "binary -> text -> binary changed the bytes of ${INPUT}")
endif()

file(WRITE ${WORK}/broken.txt "object Form1: TForm1\n  Caption = 'unterminated\nend\n")
execute_process(COMMAND ${FORMTEXT} ${WORK}/broken.txt ${WORK}/broken.bin RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0 OR EXISTS ${WORK}/broken.bin)
  message(FATAL_ERROR "a broken text form was converted")
endif()
if(NOT err MATCHES "broken\\.txt\\(2:[0-9]+\\)")
  message(FATAL_ERROR "the error does not name the file, line and column: ${err}")
endif()

# Fails unless formtext, converting ${input}, fails and its error matches ${pattern}.
function(expect_failure input pattern)
  execute_process(COMMAND ${FORMTEXT} ${input} ${WORK}/out.any RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(rc EQUAL 0 OR EXISTS ${WORK}/out.any)
    message(FATAL_ERROR "formtext converted ${input}")
  endif()
  if(NOT err MATCHES "${pattern}")
    message(FATAL_ERROR "formtext on ${input}: expected an error matching '${pattern}', got: ${err}")
  endif()
endfunction()

file(WRITE ${WORK}/tpf1.bin "TPF1 a stream with a wrong signature")
expect_failure(${WORK}/tpf1.bin "tpf1\\.bin\\(offset 0\\): Invalid stream format")
expect_failure(${WORK} "formtext-[a-z-]+: is a folder, not a file")
