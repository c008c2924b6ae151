# Common to both MinGW builds: the libraries and the program.

enable_language(RC)

# The DLLs the program may import from; every Windows target links the same set.
add_library(qel_windows_libs INTERFACE)
target_link_libraries(qel_windows_libs INTERFACE kernel32 user32 gdi32 advapi32 comctl32 shell32)

qel_library(qelmora_core SOURCES ${QEL_CORE_SOURCES})
qel_library(qelmora_win32 SOURCES ${QEL_WIN32_SOURCES} LINK qelmora_core qel_windows_libs)

# Qelmora.exe: a GUI program (no console) with its resources.
if(QEL_APP_SOURCES)
  add_executable(Qelmora WIN32 ${QEL_APP_SOURCES} ${QEL_APP_RESOURCES})
  target_link_libraries(Qelmora PRIVATE qelmora_win32 qelmora_core qel_windows_libs)
  # Subsystem version 4.0: what Windows 98 and 2000 accept (i686 defaults to it, x86_64 not).
  target_link_options(Qelmora PRIVATE
    -Wl,--major-subsystem-version,4,--minor-subsystem-version,0 ${QEL_PROGRAM_LINK_OPTIONS})
  if(QEL_APP_RESOURCES)
    # windres resolves icon and manifest names against its include path.
    set_source_files_properties(${QEL_APP_RESOURCES} PROPERTIES
      INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/src/app/win32
      OBJECT_DEPENDS "${QEL_APP_RESOURCE_INPUTS}")
  endif()
else()
  message(STATUS "  Qelmora.exe: no program sources yet, skipped")
endif()

# 说明.htm beside Qelmora.exe: the page the first run and "网站" open when no site address is
# configured. Written in GBK from its UTF-8 source, so that it reads as the program's users expect.
set(QEL_GUIDE_PAGE ${CMAKE_BINARY_DIR}/说明.htm)
add_custom_command(OUTPUT ${QEL_GUIDE_PAGE}
  COMMAND ${PROJECT_SOURCE_DIR}/tools/gbk-text ${PROJECT_SOURCE_DIR}/data/guide.htm ${QEL_GUIDE_PAGE}
  DEPENDS ${PROJECT_SOURCE_DIR}/data/guide.htm ${PROJECT_SOURCE_DIR}/tools/gbk-text VERBATIM)
add_custom_target(qel_guide_page ALL DEPENDS ${QEL_GUIDE_PAGE})

# process.dll beside Qelmora.exe, as in the release zip, so that `make run` shows the notes:
# written the same way from data/process-notes.txt.
set(QEL_PROCESS_NOTES ${CMAKE_BINARY_DIR}/process.dll)
add_custom_command(OUTPUT ${QEL_PROCESS_NOTES}
  COMMAND ${PROJECT_SOURCE_DIR}/tools/gbk-text ${PROJECT_SOURCE_DIR}/data/process-notes.txt ${QEL_PROCESS_NOTES}
  DEPENDS ${PROJECT_SOURCE_DIR}/data/process-notes.txt ${PROJECT_SOURCE_DIR}/tools/gbk-text VERBATIM)
add_custom_target(qel_process_notes ALL DEPENDS ${QEL_PROCESS_NOTES})
