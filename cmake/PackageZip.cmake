# Run by CPack's External generator once the release files are staged: adds
# SHA256SUMS and writes LumoraSearch-<version>-win64.zip with cmake/write_zip.py,
# so that two builds of one commit give the same bytes.

# Every entry carries the time of the commit being packaged
# (cmake/PackageTime.cmake).
set(epoch $ENV{SOURCE_DATE_EPOCH})

set(staged ${CPACK_TEMPORARY_DIRECTORY})
file(GLOB_RECURSE files RELATIVE ${staged} LIST_DIRECTORIES false ${staged}/*)
list(REMOVE_ITEM files SHA256SUMS)
list(SORT files)

# Notepad before Windows 10 shows a text with bare line feeds as one line.
foreach(name IN LISTS files)
  if(name MATCHES "\\.txt$")
    file(READ ${staged}/${name} text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${staged}/${name} "${text}")
  endif()
endforeach()

set(sums "")
foreach(name IN LISTS files)
  file(SHA256 ${staged}/${name} hash)
  string(APPEND sums "${hash}  ${name}\n")
endforeach()
file(WRITE ${staged}/SHA256SUMS "${sums}")
list(APPEND files SHA256SUMS)

set(zip ${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip)
execute_process(COMMAND ${CPACK_LUMORA_PYTHON} ${CPACK_LUMORA_SOURCE_DIR}/cmake/write_zip.py
                        ${zip} ${epoch} ${staged} ${CPACK_PACKAGE_FILE_NAME}/ ${files}
                RESULT_VARIABLE zip_failed)
if(zip_failed)
  message(FATAL_ERROR "could not write ${zip}")
endif()
set(CPACK_EXTERNAL_BUILT_PACKAGES ${zip})
