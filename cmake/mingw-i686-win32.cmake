# The product: 32-bit, win32 thread model (no winpthreads DLL or import to carry).
set(QEL_MINGW_ARCH i686)
set(QEL_MINGW_TRIPLET i686-w64-mingw32)
set(QEL_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
