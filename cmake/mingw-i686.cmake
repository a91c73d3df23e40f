# The shipped 32-bit Windows deliverables.
set(PZ_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
