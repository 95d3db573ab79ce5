# `make test` builds kavrin-benchmarks before it runs ctest, and that target
# holds every benchmark of bench/: a benchmark that no longer compiles fails
# the tests instead of waiting for the next `make bench`.
# cmake -DSOURCE_DIR=… -P EveryBenchmarkBuildsInMakeTest.cmake
file(READ ${SOURCE_DIR}/bench/CMakeLists.txt benchLists)
file(READ ${SOURCE_DIR}/Makefile makefile)

string(REGEX MATCH "\ntest:[^\n]*\n(\t[^\n]*\n)+" testRecipe "${makefile}")
string(FIND "${testRecipe}" "--target kavrin-benchmarks" built)
string(FIND "${testRecipe}" "ctest" tested)
if(built EQUAL -1 OR tested EQUAL -1 OR tested LESS built)
  message(FATAL_ERROR "make test does not build kavrin-benchmarks before running ctest:\n${testRecipe}")
endif()

string(REGEX MATCH "add_dependencies\\(kavrin-benchmarks([^)]*)\\)" collected "${benchLists}")
set(collected " ${CMAKE_MATCH_1} ")
file(GLOB sources RELATIVE ${SOURCE_DIR}/bench ${SOURCE_DIR}/bench/*.cpp)
list(LENGTH sources count)
if(count EQUAL 0)
  message(FATAL_ERROR "no benchmark sources in ${SOURCE_DIR}/bench")
endif()
foreach(source IN LISTS sources)
  string(REGEX MATCH "add_executable\\(([^ ]+) [^)]*${source}" declared "${benchLists}")
  if(NOT declared)
    message(FATAL_ERROR "bench/${source} is in no benchmark program")
  endif()
  string(FIND "${collected}" " ${CMAKE_MATCH_1} " found)
  if(found EQUAL -1)
    message(FATAL_ERROR "${CMAKE_MATCH_1} (bench/${source}) is not built by kavrin-benchmarks, so make test would not compile it")
  endif()
endforeach()
message(STATUS "${count} benchmarks, all built by make test")
