# The product: 32-bit Windows, like the programs it hands results to.
set(LUMIGRAB_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
