# Shared settings: warnings, sanitizers, and the MinGW fixture builder.

function(qm_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wconversion -Wpedantic -Werror)
  if(WIN32)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
  endif()
endfunction()

if(QM_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# qm_fixture(NAME <name> KIND exe|dll|gui ARCH x86_64|i686 SOURCES <files> [RC <file>])
# builds a small Windows module from the repository with the MinGW compiler of
# that architecture, whatever the current preset. Tests read them as data.
set(QM_FIXTURE_DIR ${CMAKE_BINARY_DIR}/fixtures)
function(qm_fixture)
  cmake_parse_arguments(F "" "NAME;KIND;ARCH" "SOURCES;RC;LIBS" ${ARGN})
  set(out ${QM_FIXTURE_DIR}/${F_ARCH}/${F_NAME})
  set(srcs)
  foreach(s IN LISTS F_SOURCES)
    list(APPEND srcs ${CMAKE_CURRENT_SOURCE_DIR}/${s})
  endforeach()
  set(deps ${srcs})
  set(rc_obj)
  if(F_RC)
    set(rc_obj ${CMAKE_CURRENT_BINARY_DIR}/${F_ARCH}-${F_NAME}.res.o)
    add_custom_command(OUTPUT ${rc_obj}
      COMMAND ${F_ARCH}-w64-mingw32-windres -I${CMAKE_CURRENT_SOURCE_DIR} -I${CMAKE_SOURCE_DIR}
              ${CMAKE_CURRENT_SOURCE_DIR}/${F_RC} -O coff -o ${rc_obj}
      DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${F_RC}
      IMPLICIT_DEPENDS C ${CMAKE_CURRENT_SOURCE_DIR}/${F_RC}
      VERBATIM)
  endif()
  set(kind_flags)
  if(F_KIND STREQUAL "dll")
    set(kind_flags -shared)
  elseif(F_KIND STREQUAL "gui")
    set(kind_flags -mwindows)
  endif()
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QM_FIXTURE_DIR}/${F_ARCH}
    COMMAND ${F_ARCH}-w64-mingw32-gcc -O1 -s -static ${kind_flags} -o ${out} ${srcs} ${rc_obj} ${F_LIBS}
    DEPENDS ${deps} ${rc_obj}
    VERBATIM)
  string(MAKE_C_IDENTIFIER "fixture_${F_ARCH}_${F_NAME}" tgt)
  add_custom_target(${tgt} ALL DEPENDS ${out})
  set_property(GLOBAL APPEND PROPERTY QM_FIXTURE_TARGETS ${tgt})
endfunction()

# The Windows headers are most of what a Win32 source costs to compile: the
# libraries named here parse them once, as one precompiled header made for
# the first and reused by the rest (they share their flags).
function(qm_windows_pch first)
  target_precompile_headers(${first} PRIVATE ${CMAKE_SOURCE_DIR}/platform/win32/win.h <commctrl.h>)
  foreach(target IN LISTS ARGN)
    target_precompile_headers(${target} REUSE_FROM ${first})
  endforeach()
endfunction()
