# chmlib, through which the help viewer reads the compiled help file.
# Included once after the mirkano_gui library is defined.
get_property(_mirkano_chmlib_linked GLOBAL PROPERTY MIRKANO_CHMLIB_LINKED)
if(NOT _mirkano_chmlib_linked)
  find_path(CHMLIB_INCLUDE_DIR chm_lib.h REQUIRED)
  find_library(CHMLIB_LIBRARY chm REQUIRED)
  target_include_directories(mirkano_gui PRIVATE ${CHMLIB_INCLUDE_DIR})
  target_link_libraries(mirkano_gui PUBLIC ${CHMLIB_LIBRARY})
  set_property(GLOBAL PROPERTY MIRKANO_CHMLIB_LINKED TRUE)
endif()
