# The product build (i686): only Qelmora.exe, as small as the compiler makes it.

add_compile_options(-Os -ffunction-sections -fdata-sections -fno-exceptions)
set(QEL_PROGRAM_LINK_OPTIONS -s -Wl,--gc-sections)
add_compile_definitions(NDEBUG)
include(QelWindows)
