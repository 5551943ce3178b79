# A 64-bit build of the same sources, only for running the Windows tests on
# hosts whose kernel refuses 32-bit programs (and so 32-bit Wine).
set(LUMIGRAB_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
