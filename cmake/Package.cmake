# The release package: `cmake --build --preset windows-release --target
# package` makes LumoraSearch-<version>-win64.zip with the programs (stripped:
# the build folder keeps their symbols), the operator's README, the licence
# and SHA256SUMS. Included after every subdirectory, so that a `lumora`
# target added anywhere is seen.
install(TARGETS LumoraSearch RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/README.txt DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

# What the package needs built, and nothing else: the reproducibility check
# builds this target rather than the whole tree with its tests.
add_custom_target(release_programs)
add_dependencies(release_programs LumoraSearch)
if(TARGET lumora)
  install(TARGETS lumora RUNTIME DESTINATION .)
  add_dependencies(release_programs lumora)
endif()

find_package(Python3 REQUIRED COMPONENTS Interpreter)

# CPack's ZIP generator stores each file's access and change times, so the
# zip is written by our own script behind the External generator.
set(CPACK_GENERATOR External)
set(CPACK_EXTERNAL_ENABLE_STAGING ON)
set(CPACK_STRIP_FILES ON)
# strip writes the time in the PE header: the commit's, as the zip's entries.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/PackageTime.cmake)
set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${CMAKE_SOURCE_DIR}/cmake/PackageZip.cmake)
set(CPACK_PACKAGE_NAME LumoraSearch)
set(CPACK_PACKAGE_VENDOR "Lumora Search contributors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME LumoraSearch-${PROJECT_VERSION}-win64)
set(CPACK_LUMORA_SOURCE_DIR ${CMAKE_SOURCE_DIR})
set(CPACK_LUMORA_PYTHON ${Python3_EXECUTABLE})
include(CPack)
