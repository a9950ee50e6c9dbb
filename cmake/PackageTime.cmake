# Read by cpack before it installs and packs (CPACK_PROJECT_CONFIG_FILE):
# SOURCE_DATE_EPOCH becomes the time of the commit being packaged, so that
# two builds of one commit give the same bytes. CPack's DEB generator takes
# its archive times from it, binutils' strip the PE header time of a
# stripped exe, and cmake/PackageZip.cmake the zip entries' time.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C ${CPACK_LUMORA_SOURCE_DIR} log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE git_failed ERROR_QUIET)
  if(git_failed OR epoch STREQUAL "")
    set(epoch 0)  # not a git checkout
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
