# CLI11 and nlohmann/json: header-only Debian packages under /usr/include
# (libcli11-dev, nlohmann-json3-dev). The native build sees them there
# anyway. The Windows build must not see the rest of /usr/include (glibc's
# headers would shadow mingw's), so it gets a directory of its own that
# links to just those two.
set(LUMORA_HOST_INCLUDE /usr/include CACHE PATH "Where the header-only host packages are")
foreach(dir CLI nlohmann)
  if(NOT EXISTS ${LUMORA_HOST_INCLUDE}/${dir})
    message(FATAL_ERROR "${LUMORA_HOST_INCLUDE}/${dir} is missing: run scripts/install-deps.sh")
  endif()
endforeach()
add_library(lumora_host_headers INTERFACE)
if(CMAKE_CROSSCOMPILING)
  set(LUMORA_HOST_HEADER_LINKS ${CMAKE_BINARY_DIR}/host-headers)
  file(MAKE_DIRECTORY ${LUMORA_HOST_HEADER_LINKS})
  foreach(dir CLI nlohmann)
    file(CREATE_LINK ${LUMORA_HOST_INCLUDE}/${dir} ${LUMORA_HOST_HEADER_LINKS}/${dir} SYMBOLIC)
  endforeach()
  target_include_directories(lumora_host_headers SYSTEM INTERFACE ${LUMORA_HOST_HEADER_LINKS})
endif()
