# Read by cpack before it writes the .deb: every entry of its archives
# carries the time of the commit being packaged (CPack's DEB generator takes
# it from SOURCE_DATE_EPOCH), so two builds of one commit give the same bytes.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C ${CPACK_LUMORA_SOURCE_DIR} log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE git_failed ERROR_QUIET)
  if(git_failed OR epoch STREQUAL "")
    set(epoch 0)  # not a git checkout
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
