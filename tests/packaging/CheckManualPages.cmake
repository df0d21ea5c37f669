# cmake -DGROFF=PROGRAM -DPAGES=FOLDER -P CheckManualPages.cmake
# Every English manual page in FOLDER and its Russian translation in
# FOLDER/ru format without a warning, as man formats them (the English one
# also for an ASCII terminal); and the two say
# the same: the same date, the same sections, paragraphs and items in the
# same order, and the same options.
if(NOT GROFF)
  message("groff is not installed: the manual pages are not checked")
  return()
endif()

file(GLOB pages RELATIVE ${PAGES} ${PAGES}/*.1)
if(NOT pages)
  message(FATAL_ERROR "No manual pages in ${PAGES}")
endif()

# The date of FILE's title line, its outline (the section, paragraph and item
# macros in order) and the options it names, each sorted once.
function(read_page file date_var outline_var options_var)
  file(STRINGS ${file} title REGEX "^\\.TH ")
  string(REGEX MATCH "^\\.TH [^ ]+ [^ ]+ \"([^\"]*)\"" ignored "${title}")
  set(${date_var} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  file(STRINGS ${file} macros REGEX "^\\.(SH|SS|PP|TP|TQ|IP)( |$)")
  list(TRANSFORM macros REPLACE "^\\.([A-Z]+).*" "\\1")
  list(JOIN macros " " outline)
  set(${outline_var} "${outline}" PARENT_SCOPE)
  file(READ ${file} text)
  string(REPLACE "\\-" "-" text "${text}")
  string(REGEX MATCHALL "--[a-z][-a-z]*" options "${text}")
  list(REMOVE_DUPLICATES options)
  list(SORT options)
  list(JOIN options " " options)
  set(${options_var} "${options}" PARENT_SCOPE)
endfunction()

set(failures)
foreach(page ${pages})
  set(english ${PAGES}/${page})
  set(russian ${PAGES}/ru/${page})
  if(NOT EXISTS ${russian})
    list(APPEND failures "${page} has no Russian translation ru/${page}")
    continue()
  endif()
  # The English page also for a terminal that shows no more than ASCII.
  foreach(file_and_device ${english}|utf8 ${english}|ascii ${russian}|utf8)
    string(REPLACE "|" ";" file_and_device ${file_and_device})
    list(GET file_and_device 0 file)
    list(GET file_and_device 1 device)
    execute_process(COMMAND ${GROFF} -k -ww -z -man -T${device} ${file}
                    RESULT_VARIABLE result ERROR_VARIABLE warnings)
    if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
      string(STRIP "${warnings}" warnings)
      list(APPEND failures "groff -T${device} on ${file}: ${warnings}")
    endif()
  endforeach()
  read_page(${english} english_date english_outline english_options)
  read_page(${russian} russian_date russian_outline russian_options)
  if(NOT english_date STREQUAL russian_date)
    list(APPEND failures "${page}: dated ${english_date}, in Russian ${russian_date}")
  endif()
  if(NOT english_outline STREQUAL russian_outline)
    list(APPEND failures "${page}: the outlines differ:\n  ${english_outline}\n  ${russian_outline}")
  endif()
  if(NOT english_options STREQUAL russian_options)
    list(APPEND failures "${page}: the options differ:\n  ${english_options}\n  ${russian_options}")
  endif()
endforeach()

if(failures)
  list(JOIN failures "\n" report)
  message(FATAL_ERROR "${report}")
endif()
list(JOIN pages ", " checked)
message("Checked ${checked} and their Russian translations")
