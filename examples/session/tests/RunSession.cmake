# Runs vo-shape-session once and checks it. Variables:
#   DRIVER    the driver;  ARGS  its arguments, separated by "|";  WORKDIR  where it runs
#   EXIT      the exit status it must give;  INPUT  a file for its standard input (optional)
#   EXPECTED  the reviewed transcript that standard output and error, merged in the order they
#             were written, must equal byte for byte;  ACTUAL  where that transcript is written
#   PYTHON    instead of EXPECTED: a Python 3 that must read standard output as one JSON object
#             a line, each with the report's members
# Usage: cmake -DDRIVER=... -DARGS=... -DWORKDIR=... -DEXIT=... [...] -P RunSession.cmake
string(REPLACE "|" ";" arguments "${ARGS}")
set(input)
if(INPUT)
  set(input INPUT_FILE "${INPUT}")
endif()

if(PYTHON)
  set(check "import json, sys
members = {'source', 'line', 'command', 'error', 'results', 'events', 'callbacks', 'editor', 'host'}
reports = [json.loads(line) for line in sys.stdin]
if not reports or any(set(report) != members for report in reports):
    sys.exit('not one report a line with the members ' + ', '.join(sorted(members)))
print(len(reports), 'reports,', sum(report['error'] is not None for report in reports), 'errors')
")
  execute_process(COMMAND "${DRIVER}" ${arguments} COMMAND "${PYTHON}" -c "${check}"
                  WORKING_DIRECTORY "${WORKDIR}" ${input}
                  RESULTS_VARIABLE statuses OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  list(GET statuses 0 status)
  list(GET statuses 1 parsed)
  if(NOT parsed EQUAL 0)
    message(FATAL_ERROR "the JSON output does not parse: ${parsed}\n${errors}")
  endif()
  message(STATUS "${output}")
else()
  execute_process(COMMAND "${DRIVER}" ${arguments} WORKING_DIRECTORY "${WORKDIR}" ${input}
                  RESULT_VARIABLE status OUTPUT_VARIABLE transcript ERROR_VARIABLE transcript)
  file(WRITE "${ACTUAL}" "${transcript}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${EXPECTED}" "${ACTUAL}"
                  RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "the transcript differs from the reviewed one; compare with\n"
                        "  diff -u ${EXPECTED} ${ACTUAL}")
  endif()
endif()

if(NOT status EQUAL EXIT)
  message(FATAL_ERROR "exit status ${status}, expected ${EXIT}")
endif()
