# Target helpers. Every folder holds two kinds of sources:
#   <dir>/*.cpp          - standard C++ only; texts in string literals are Windows-1251 bytes
#   <dir>/qt/*.cpp,
#   <dir>/ui/*.cpp *.ui  - Qt code; string literals stay UTF-8 and are converted at the boundary
# New files are picked up on the next build (CONFIGURE_DEPENDS), no list to edit.

# Narrow string literals of std-only code are compiled to Windows-1251, the program's text encoding.
# GCC does it with -fexec-charset. Clang only produces UTF-8 literals, so a Clang build compiles
# copies made in the build tree whose narrow literals already hold Windows-1251 bytes (Clang keeps
# a literal's bytes as they are); the copies' folder comes first on the include path, so their
# headers are the ones included. Both ways give the same bytes.
if(MSVC)
  set(QUORVEX_CP1251 /source-charset:utf-8 /execution-charset:windows-1251)
else()
  set(QUORVEX_CP1251 -fexec-charset=CP1251)
endif()
set(QUORVEX_CP1251_COPIES OFF)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(QUORVEX_CP1251_COPIES ON)
  set(QUORVEX_CP1251_ROOT ${CMAKE_BINARY_DIR}/cp1251)
  add_executable(quorvex_cp1251_copy ${CMAKE_CURRENT_LIST_DIR}/Cp1251Copy.cpp)
endif()

# The *.cpp and *.h of a std-only folder as they are compiled: the files themselves, or with
# Clang their Windows-1251 copies, each remade when its source changes.
function(quorvex_cp1251_sources out dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(NOT QUORVEX_CP1251_COPIES)
    set(${out} ${srcs} PARENT_SCOPE)
    return()
  endif()
  set(copies)
  foreach(src IN LISTS srcs)
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${src})
    set(copy ${QUORVEX_CP1251_ROOT}/${relative})
    add_custom_command(OUTPUT ${copy}
      COMMAND quorvex_cp1251_copy ${src} ${copy}
      DEPENDS ${src} quorvex_cp1251_copy
      COMMENT "Windows-1251 literals: ${relative}" VERBATIM)
    list(APPEND copies ${copy})
  endforeach()
  set(${out} ${copies} PARENT_SCOPE)
endfunction()

# Compile options of a target built from quorvex_cp1251_sources.
function(quorvex_cp1251_target target)
  if(QUORVEX_CP1251_COPIES)
    target_include_directories(${target} BEFORE PRIVATE ${QUORVEX_CP1251_ROOT})
    target_compile_options(${target} PRIVATE -Wno-invalid-source-encoding)
  else()
    target_compile_options(${target} PRIVATE ${QUORVEX_CP1251})
  endif()
endfunction()

function(quorvex_std_library name dir)
  quorvex_cp1251_sources(srcs ${dir})
  list(APPEND srcs ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  quorvex_cp1251_target(${name})
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

# A test executable per folder, registered with CTest. The tests of the std-only folders carry
# the label "std" and build together as quorvex_std_tests (what a Clang build checks).
add_custom_target(quorvex_std_tests)
function(quorvex_std_test name dir)
  quorvex_cp1251_sources(srcs ${dir})
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  quorvex_cp1251_target(${name})
  target_link_libraries(${name} PRIVATE ${ARGN} quorvex_test_doubles GTest::gtest
                        GTest::gtest_main GTest::gmock)
  if(CMAKE_CROSSCOMPILING)
    # One CTest test per executable, run through CMAKE_CROSSCOMPILING_EMULATOR: starting the
    # emulator once per case would cost more than the cases themselves.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120 LABELS std)
  endif()
  add_dependencies(quorvex_std_tests ${name})
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
  target_link_libraries(${name} PRIVATE ${ARGN} quorvex_test_support_qt quorvex_test_doubles
                        GTest::gtest GTest::gmock)
  if(CMAKE_CROSSCOMPILING)
    # Run by tools/windows-check.sh beside the package's DLLs; listing the cases at build
    # time would need them already.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
      PROPERTIES TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()
