# The API reference of the installed headers, made by Doxygen: the target docs, built with the rest
# when VOSHAPE_BUILD_DOCS is on (then Doxygen must be found) and on demand whenever it is found. A
# warning (an undocumented class or member, a broken reference, a snippet that is not there) fails
# the build.
option(VOSHAPE_BUILD_DOCS "Build the API reference with Doxygen (warnings fail the build)" OFF)
if(VOSHAPE_BUILD_DOCS)
  find_package(Doxygen REQUIRED OPTIONAL_COMPONENTS dot)
else()
  find_package(Doxygen QUIET OPTIONAL_COMPONENTS dot)
endif()
if(DOXYGEN_FOUND)
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
  add_custom_target(docs ${docs_all}
    COMMAND Doxygen::doxygen ${VOSHAPE_DOCS_DIR}/Doxyfile
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "The API reference in ${VOSHAPE_DOCS_DIR}/html"
    VERBATIM)
endif()
