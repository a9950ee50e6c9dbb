# What the .rc file takes from the project: the version (written only in
# project()) as a header and inside the manifest. Both are configured into
# the build tree, which lumora_resources puts on the include path that
# windres searches, beside the source root for resource_ids.h.
set(LUMORA_VERSION_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
configure_file(${CMAKE_SOURCE_DIR}/resources/lumora_version.h.in
               ${CMAKE_BINARY_DIR}/generated/resources/lumora_version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/resources/lumora_search.manifest.in
               ${CMAKE_BINARY_DIR}/generated/resources/lumora_search.manifest @ONLY)
add_library(lumora_resources INTERFACE)
target_include_directories(lumora_resources INTERFACE ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)

# CMake follows the .rc's #includes but not the files it embeds.
set(LUMORA_RC_DEPENDS
    ${CMAKE_BINARY_DIR}/generated/resources/lumora_search.manifest
    ${CMAKE_SOURCE_DIR}/resources/lumora.ico)

# Source file properties belong to one directory: each CMakeLists that lists
# the .rc calls this.
function(lumora_rc_source out)
  set(rc ${CMAKE_SOURCE_DIR}/resources/lumora_search.rc)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${LUMORA_RC_DEPENDS}")
  set(${out} ${rc} PARENT_SCOPE)
endfunction()
