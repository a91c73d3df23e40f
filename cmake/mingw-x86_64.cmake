# The same sources as 64-bit Windows programs, for running the Windows tests on hosts whose kernel
# cannot execute 32-bit code (and so cannot run 32-bit Wine).
set(PZ_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
