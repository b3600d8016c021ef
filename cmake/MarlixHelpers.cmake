# Small helpers so that each folder's CMakeLists stays a few lines long.

# marlix_sources(VAR dir...): the .cpp files of the given folders (not recursive).
function(marlix_sources var)
  set(result)
  foreach(dir ${ARGN})
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND result ${found})
  endforeach()
  set(${var} ${result} PARENT_SCOPE)
endfunction()

# marlix_gtest(NAME LABEL dir... LIBS lib...): one GoogleTest binary from every .cpp of the folders.
function(marlix_gtest name label)
  cmake_parse_arguments(ARG "" "" "DIRS;LIBS" ${ARGN})
  marlix_sources(srcs ${ARG_DIRS})
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES LABELS "${label}"
    ENVIRONMENT "LC_ALL=C;QT_QPA_PLATFORM=offscreen;MARLIX_SOURCE_DIR=${CMAKE_SOURCE_DIR};MARLIX_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()

# marlix_library(NAME dir...): a static library of every .cpp of the folders, public include
# root at the source top. A folder set that has no sources yet gives an empty library.
function(marlix_library name)
  marlix_sources(srcs ${ARGN})
  if(NOT srcs)
    set(srcs ${CMAKE_BINARY_DIR}/marlix_empty.cpp)
    file(WRITE ${srcs} "")
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()

# marlix_program(NAME dir...): an executable of every .cpp of the folders, if there are any.
function(marlix_program name)
  marlix_sources(srcs ${ARGN})
  if(srcs)
    add_executable(${name} ${srcs})
  endif()
endfunction()

# marlix_qtest(NAME LABEL DIRS dir... SOURCES file... LIBS lib...): one QTest program from every
# .cpp of the folders and the given files, run headless; its test classes register themselves.
function(marlix_qtest name label)
  cmake_parse_arguments(ARG "" "" "DIRS;SOURCES;LIBS" ${ARGN})
  marlix_sources(srcs ${ARG_DIRS})
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs} ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/tests/qt_support/qt_test_main.cpp)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS "${label}"
    ENVIRONMENT "LC_ALL=C;QT_QPA_PLATFORM=offscreen;MARLIX_SOURCE_DIR=${CMAKE_SOURCE_DIR};MARLIX_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()
