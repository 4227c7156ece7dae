# Target helpers. Every folder holds two kinds of sources:
#   <dir>/*.cpp          - standard C++ only; texts in string literals are Windows-1251 bytes
#   <dir>/qt/*.cpp,
#   <dir>/ui/*.cpp *.ui  - Qt code; string literals stay UTF-8 and are converted at the boundary
# New files are picked up on the next build (CONFIGURE_DEPENDS), no list to edit.

# Narrow string literals of std-only code are compiled to Windows-1251, the program's text encoding.
if(MSVC)
  set(QUORVEX_CP1251 /source-charset:utf-8 /execution-charset:windows-1251)
else()
  set(QUORVEX_CP1251 -fexec-charset=CP1251)
endif()

function(quorvex_std_library name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  list(APPEND srcs ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${QUORVEX_CP1251})
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

function(quorvex_qt_library name dir)
  if(NOT QUORVEX_WITH_QT)
    return()
  endif()
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h ${dir}/*.ui)
  list(APPEND srcs ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  add_library(${name} STATIC ${srcs})
  set_target_properties(${name} PROPERTIES AUTOMOC ON AUTOUIC ON)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# A test executable per folder, registered with CTest.
function(quorvex_std_test name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_compile_options(${name} PRIVATE ${QUORVEX_CP1251})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main GTest::gmock)
  if(CMAKE_CROSSCOMPILING)
    # One CTest test per executable, run through CMAKE_CROSSCOMPILING_EMULATOR: starting the
    # emulator once per case would cost more than the cases themselves.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
  endif()
endfunction()

# Window tests run offscreen with their own main (tests/support/qt/QtTestMain.cpp).
function(quorvex_qt_test name dir)
  if(NOT QUORVEX_WITH_QT)
    return()
  endif()
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${ARGN} quorvex_test_support_qt GTest::gtest GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
