# Fails when kavrin-batch's link line names the solver, Qt or GDAL: the program must
# be free of them by what it links, not only by what the linker drops.
if(NOT EXISTS "${LINK_LINE}")
  message("No link line at ${LINK_LINE} (a generator that keeps none): skipped")
  return()
endif()
file(READ "${LINK_LINE}" line)
foreach(heavy ceres Qt6 glog gdal)
  string(FIND "${line}" "${heavy}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "kavrin-batch links ${heavy}:\n${line}")
  endif()
endforeach()
