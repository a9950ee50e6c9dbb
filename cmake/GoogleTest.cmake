# GoogleTest: Debian's prebuilt libraries natively; for Windows, built from
# Debian's googletest sources with the cross compiler.
if(WIN32)
  set(LUMORA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  # Its CMake defines the GTest::gtest and GTest::gtest_main aliases itself.
  add_subdirectory(${LUMORA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()
