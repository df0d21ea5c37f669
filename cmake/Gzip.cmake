# cmake -DINPUT=FILE -DOUTPUT=FILE.gz -P Gzip.cmake
# Compresses one file as Debian keeps manual pages: best compression, no name
# or time stamp inside, so the same page gives the same bytes.
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
execute_process(COMMAND gzip -9 -n -c ${INPUT} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "gzip failed on ${INPUT}")
endif()
