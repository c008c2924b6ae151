# What runs under this machine's 64-bit-only Wine: the same sources plus the Windows tests.
# The posix thread model because GoogleTest needs std::mutex, which GCC 12's win32 model lacks.
set(QEL_MINGW_ARCH x86_64)
set(QEL_MINGW_TRIPLET x86_64-w64-mingw32)
set(QEL_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
