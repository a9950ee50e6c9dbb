# lumora_add_lab_test(NAME n [CAMSIM_ARGS "..."] [NO_ROUTE | TWO_SIDES [CAMSIM_ARGS_B "..."] [SIDE_B_ADDR A]]
#                     [WINE_SCRIPT] COMMAND exe args...)
# Registers a test that runs on the PC side of a private network lab made for
# it alone. Windows executables run under Wine with a wineserver inside the
# lab; WINE_SCRIPT runs the command as given (a script that starts Wine
# programs itself) with that wineserver. TWO_SIDES adds a second camera
# subnet behind a second PC interface, with its own simulator. The camera
# simulator is always the native one.
set(LUMORA_LAB_RUN ${CMAKE_SOURCE_DIR}/scripts/lab-run.sh)
if(WIN32)
  set(LUMORA_CAMSIM_BIN ${CMAKE_SOURCE_DIR}/build/native/tools/camsim/camsim CACHE FILEPATH
      "The native camera simulator the Windows lab tests use")
endif()

function(lumora_add_lab_test)
  cmake_parse_arguments(LAB "NO_ROUTE;TWO_SIDES;WINE_SCRIPT" "NAME;CAMSIM_ARGS;CAMSIM_ARGS_B;SIDE_B_ADDR" "COMMAND" ${ARGN})
  set(options)
  if(LAB_NO_ROUTE)
    list(APPEND options --no-route)
  else()
    if(WIN32)
      list(APPEND options --camsim ${LUMORA_CAMSIM_BIN})
    else()
      list(APPEND options --camsim $<TARGET_FILE:camsim>)
    endif()
    list(APPEND options --camsim-args "${LAB_CAMSIM_ARGS}")
  endif()
  if(LAB_TWO_SIDES)
    list(APPEND options --two-sides --camsim-args-b "${LAB_CAMSIM_ARGS_B}")
    if(LAB_SIDE_B_ADDR)
      list(APPEND options --side-b-addr ${LAB_SIDE_B_ADDR})
    endif()
  endif()
  if(WIN32 AND LAB_WINE_SCRIPT)
    list(APPEND options --wine-server)
  elseif(WIN32)
    list(APPEND options --wine)
  endif()
  add_test(NAME ${LAB_NAME} COMMAND ${LUMORA_LAB_RUN} ${options} -- ${LAB_COMMAND})
  set_tests_properties(${LAB_NAME} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endfunction()
