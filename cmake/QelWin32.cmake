# The product build (i686): only Qelmora.exe, as small as the compiler makes it.

# No exceptions: the program throws and catches none (see src/app/win32/lean_runtime.cpp), so
# neither handlers nor unwind tables are needed.
# No RTTI and no thread-safe statics: nothing asks a type at run time, one thread runs the
# program; together they keep about 4.5 KB out of the exe.
add_compile_options(-Os -ffunction-sections -fdata-sections -fno-exceptions
                    -fno-asynchronous-unwind-tables -fno-rtti -fno-threadsafe-statics)
set(QEL_PROGRAM_LINK_OPTIONS -s -Wl,--gc-sections)
add_compile_definitions(NDEBUG)
include(QelWindows)

# The release zip: the program, its notes file and its page side by side, the program checked
# for Windows 98/2000 first.
if(TARGET Qelmora)
  if(QEL_WEB_SITE STREQUAL "")
    set(web_site_text "说明.htm beside Qelmora.exe (set QEL_WEB_SITE to open a site instead)")
  else()
    set(web_site_text "${QEL_WEB_SITE}")
  endif()
  file(STRINGS ${PROJECT_SOURCE_DIR}/src/app/version.h version_lines
       REGEX "^#define QELMORA_VERSION_(MAJOR|MINOR) ")
  string(REGEX REPLACE ".*MAJOR ([0-9]+).*MINOR ([0-9]+).*" "\\1.\\2" version "${version_lines}")
  get_filename_component(dist_dir ${CMAKE_BINARY_DIR}/../dist ABSOLUTE)
  set(QEL_DIST_ZIP ${dist_dir}/Qelmora-${version}.zip)
  add_custom_target(dist
    COMMAND ${CMAKE_COMMAND} -E echo "Web site address: ${web_site_text}"
    COMMAND ${PROJECT_SOURCE_DIR}/tools/check-exe $<TARGET_FILE:Qelmora>
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dist_dir}
    COMMAND python3 ${PROJECT_SOURCE_DIR}/tools/make-dist ${QEL_DIST_ZIP}
            $<TARGET_FILE:Qelmora>=Qelmora.exe
            ${QEL_PROCESS_NOTES}=process.dll
            ${QEL_GUIDE_PAGE}=说明.htm
    COMMAND ${CMAKE_COMMAND} -E echo "Wrote ${QEL_DIST_ZIP}"
    DEPENDS Qelmora qel_guide_page qel_process_notes
    USES_TERMINAL VERBATIM)
endif()
