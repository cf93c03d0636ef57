# The API reference of the installed headers, made by Doxygen: the target docs, built with the rest
# when VOSHAPE_BUILD_DOCS is on (then Doxygen and Python 3 must be found) and on demand whenever
# both are found. A warning (an undocumented class or member, a broken reference, a snippet that is
# not there) fails the build, and so does a documented function that leaves a parameter without
# \param (tools/check-param-docs.py, on the XML Doxygen writes beside the HTML).
option(VOSHAPE_BUILD_DOCS "Build the API reference with Doxygen (warnings fail the build)" OFF)
if(VOSHAPE_BUILD_DOCS)
  find_package(Doxygen REQUIRED OPTIONAL_COMPONENTS dot)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
else()
  find_package(Doxygen QUIET OPTIONAL_COMPONENTS dot)
  find_package(Python3 QUIET COMPONENTS Interpreter)
endif()
if(DOXYGEN_FOUND AND Python3_Interpreter_FOUND)
  set(VOSHAPE_DOCS_DIR ${PROJECT_BINARY_DIR}/docs)
  # The class diagrams need Graphviz's dot; without it Doxygen draws plain ones.
  if(TARGET Doxygen::dot)
    set(VOSHAPE_DOCS_HAVE_DOT YES)
  else()
    set(VOSHAPE_DOCS_HAVE_DOT NO)
  endif()
  configure_file(docs/Doxyfile.in ${VOSHAPE_DOCS_DIR}/Doxyfile @ONLY)
  if(VOSHAPE_BUILD_DOCS)
    set(docs_all ALL)
  endif()
  # The XML is written afresh: Doxygen leaves the files of a class that is gone, which the check
  # would still read.
  add_custom_target(docs ${docs_all}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${VOSHAPE_DOCS_DIR}/xml
    COMMAND Doxygen::doxygen ${VOSHAPE_DOCS_DIR}/Doxyfile
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/check-param-docs.py
            ${VOSHAPE_DOCS_DIR}/xml
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "The API reference in ${VOSHAPE_DOCS_DIR}/html"
    VERBATIM)
endif()
