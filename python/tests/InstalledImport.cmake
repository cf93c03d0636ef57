# Installs the build tree into a fresh prefix and imports voshape from the prefix alone (run from
# the prefix, so that no build folder is on the path): the module in the prefix's site-packages,
# the libraries found through its run path.
#   cmake -DBUILD=<build tree> -DPREFIX=<new prefix> -DSITE=<site-packages, relative>
#         -DPYTHON=<interpreter> [-DPRELOAD=<library>] -P InstalledImport.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install ${BUILD} --prefix ${PREFIX} failed: ${status}")
endif()
set(environment PYTHONPATH=${PREFIX}/${SITE} PYTHONDONTWRITEBYTECODE=1)
if(PRELOAD)
  list(APPEND environment LD_PRELOAD=${PRELOAD} PYTHONMALLOC=malloc ASAN_OPTIONS=detect_leaks=0)
endif()
set(check [=[
import sys, voshape
assert voshape.__file__.startswith(sys.argv[1]), voshape.__file__
editor = voshape.Editor.from_string("shape A 3\n")
editor.selector.set_primary("A", 2)
assert [item.name for item in editor.application_selection][2:] == ["A.curve/Points[2]/x", "A.curve/Points[2]/y"]
print("voshape", voshape.__version__, "from", voshape.__file__)
]=])
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH ${environment}
                        ${PYTHON} -c "${check}" ${PREFIX}
                WORKING_DIRECTORY ${PREFIX} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "import voshape from ${PREFIX}/${SITE} failed: ${status}")
endif()
