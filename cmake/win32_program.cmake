# Win32 programs for Wine, built with the i686 mingw-w64 cross compiler when it is installed:
# 32-bit, as Turbo HAMLOG is, so they run in 32-bit and 64-bit prefixes alike.
find_program(VANTREL_MINGW_CC i686-w64-mingw32-gcc)
if(VANTREL_MINGW_CC)
  message(STATUS "Win32 programs (Turbo HAMLOG relay): ${VANTREL_MINGW_CC}")
else()
  message(STATUS "Win32 programs (Turbo HAMLOG relay) skipped: i686-w64-mingw32-gcc not found "
                 "(Debian package gcc-mingw-w64-i686-win32)")
endif()

# vantrel_win32_program(TARGET target OUTPUT file.exe SOURCE file.c): a console program
# built into the current binary folder; does nothing without the cross compiler.
function(vantrel_win32_program)
  cmake_parse_arguments(ARG "" "TARGET;OUTPUT;SOURCE" "" ${ARGN})
  if(NOT VANTREL_MINGW_CC)
    return()
  endif()
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${ARG_OUTPUT})
  set(source ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_SOURCE})
  add_custom_command(OUTPUT ${output}
    COMMAND ${VANTREL_MINGW_CC} -std=c11 -O2 -Wall -Wextra -Werror -static -s -o ${output} ${source}
    DEPENDS ${source}
    COMMENT "Building the Win32 program ${ARG_OUTPUT}")
  add_custom_target(${ARG_TARGET} ALL DEPENDS ${output})
endfunction()
