# The Debian package: `cmake --build --preset release --target package` makes
# lumora_<version>_amd64.deb of what the build installs (tools/lumora: the
# program, stripped in the package while the build folder keeps its
# symbols, its man pages and bash completion) and what only the package
# adds here: the Wireshark dissector, the copyright file and the changelog.
# Two builds of one commit give the same bytes (scripts/check-reproducible.sh).
if(NOT TARGET lumora_man)
  message(FATAL_ERROR "the Debian package needs help2man for lumora's man pages")
endif()

set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/lumora)
# Where Debian's Wireshark loads global Lua plugins ("Global Lua Plugins" in
# `tshark -G folders`).
install(FILES ${CMAKE_SOURCE_DIR}/tools/wireshark/lumora.lua
        DESTINATION lib/${CMAKE_LIBRARY_ARCHITECTURE}/wireshark/plugins)

# The changelog's newest entry must be the version being packaged.
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/debian/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^lumora \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog starts with \"${changelog_top}\", "
                      "not with an entry for version ${PROJECT_VERSION}")
endif()
set(changelog_gz ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/debian/changelog > ${changelog_gz}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/debian/changelog)
add_custom_target(lumora_changelog ALL DEPENDS ${changelog_gz})

# The copyright file in Debian's machine-readable format, with the licence
# licence text of LICENSE (title, blank line, notice, blank line, text). The
# notice gets the year the project began, as Debian's tools expect one.
file(STRINGS ${CMAKE_SOURCE_DIR}/LICENSE licence_lines)
list(SUBLIST licence_lines 4 -1 licence_lines)
set(copyright "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: lumora

Files: *
Copyright: 2026 Lumora Search contributors
License: Expat
")
foreach(line IN LISTS licence_lines)
  if(line STREQUAL "")
    string(APPEND copyright " .\n")
  else()
    string(APPEND copyright " ${line}\n")
  endif()
endforeach()
file(WRITE ${CMAKE_BINARY_DIR}/packaging/copyright "${copyright}")
install(FILES ${CMAKE_BINARY_DIR}/packaging/copyright ${changelog_gz} DESTINATION ${doc_dir})

# What the package needs built, and nothing else.
add_custom_target(release_programs)
add_dependencies(release_programs lumora lumora_man lumora_changelog)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Lumora Search contributors")
set(CPACK_PACKAGE_CONTACT "Lumora Developer <dev@lumora.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "search for network cameras and set them up")
set(CPACK_PACKAGE_DESCRIPTION "lumora finds the network cameras on the local network, on every network
interface at once (Ethernet, Wi-Fi, VPN), lists them with their settings and
changes a camera's network settings, from a shell or a script. It speaks the
cameras' UDP search and configuration datagrams, as the Lumora Search dialog
does. A Wireshark dissector for those datagrams comes with it.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion, tshark | wireshark")
set(CPACK_STRIP_FILES ON)
# The archives' times are the commit's.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/PackageTime.cmake)
set(CPACK_LUMORA_SOURCE_DIR ${CMAKE_SOURCE_DIR})
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
