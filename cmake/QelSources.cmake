# Source lists, found by folder so that new files join their target without editing CMake.

function(qel_glob out)
  set(files)
  foreach(pattern IN LISTS ARGN)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${pattern})
    list(APPEND files ${found})
  endforeach()
  list(SORT files)
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# Relative paths, so that a checkout living under a folder named win32/ or memory/ is not misread.
function(qel_filter_by_folder out folder_regex keep)
  set(result)
  foreach(file IN LISTS ARGN)
    file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${file})
    if(rel MATCHES "${folder_regex}")
      set(match TRUE)
    else()
      set(match FALSE)
    endif()
    if(match STREQUAL keep)
      list(APPEND result ${file})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

qel_glob(_qel_all_src src/*.cpp)
# Portable code: everything outside any win32/ or memory/ folder.
qel_filter_by_folder(QEL_CORE_SOURCES "(^|/)(win32|memory)/" FALSE ${_qel_all_src})
qel_filter_by_folder(QEL_MEMORY_SOURCES "(^|/)memory/" TRUE ${_qel_all_src})
# Real Windows calls and the Win32 host; the program's own entry point stays out.
qel_filter_by_folder(_qel_win32_src "(^|/)win32/" TRUE ${_qel_all_src})
qel_filter_by_folder(QEL_WIN32_SOURCES "^src/app/win32/" FALSE ${_qel_win32_src})

qel_glob(QEL_APP_SOURCES src/app/win32/*.cpp)
qel_glob(QEL_APP_RESOURCES src/app/win32/*.rc)
# Files the resource scripts pull in (icon, manifest, ids): windres reports no dependencies.
qel_glob(QEL_APP_RESOURCE_INPUTS src/app/win32/*.h src/app/win32/*.ico src/app/win32/*.manifest
         src/app/win32/*.bmp)

qel_glob(QEL_NATIVE_TEST_SOURCES tests/native/*.cpp)
qel_glob(QEL_WINE_TEST_SOURCES tests/wine/*.cpp)
file(GLOB QEL_CONTRACT_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/contract/*.cpp)

file(GLOB QEL_NATIVE_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/native/*.cpp)
file(GLOB QEL_WINE_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/wine/*.cpp)
file(GLOB QEL_WINE_BENCH_SCRIPTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/wine/*.sh)
file(GLOB QEL_SMOKE_SCRIPTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/smoke/*.sh)
