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
  marlix_include_root(${name} PRIVATE tests)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES LABELS "${label}"
    ENVIRONMENT "LC_ALL=C;QT_QPA_PLATFORM=offscreen;MARLIX_SOURCE_DIR=${CMAKE_SOURCE_DIR};MARLIX_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()

# marlix_library(NAME dir...): a static library of every .cpp of the folders. Its include root
# holds only its own folders (links in the build tree, at their paths from the source top), so a
# target sees the headers of the libraries it links and no others: an include that reaches into
# a layer the target does not depend on fails to compile.
function(marlix_library name)
  marlix_sources(srcs ${ARGN})
  if(NOT srcs)
    set(srcs ${CMAKE_BINARY_DIR}/marlix_empty.cpp)
    file(WRITE ${srcs} "")
  endif()
  add_library(${name} STATIC ${srcs})
  marlix_public_folders(${name} ${ARGN})
endfunction()

# marlix_public_folders(TARGET dir...): the folders (relative to the current source folder) as the
# target's include root, each at its path from the source top.
function(marlix_public_folders name)
  file(RELATIVE_PATH here ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(paths)
  foreach(dir ${ARGN})
    if(dir STREQUAL ".")
      list(APPEND paths ${here})
    elseif(here STREQUAL "")
      list(APPEND paths ${dir})
    else()
      list(APPEND paths ${here}/${dir})
    endif()
  endforeach()
  get_target_property(type ${name} TYPE)
  set(scope PUBLIC)
  if(type STREQUAL "INTERFACE_LIBRARY")
    set(scope INTERFACE)
  elseif(type STREQUAL "EXECUTABLE")
    set(scope PRIVATE)
  endif()
  marlix_include_root(${name} ${scope} ${paths})
endfunction()

# marlix_include_root(TARGET SCOPE path...): an include root in the build tree holding links to
# the given folders of the source tree, at the same paths.
function(marlix_include_root name scope)
  set(root ${CMAKE_BINARY_DIR}/include/${name})
  foreach(path ${ARGN})
    get_filename_component(parent ${root}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(REMOVE ${root}/${path})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${path} ${root}/${path} SYMBOLIC)
  endforeach()
  target_include_directories(${name} ${scope} ${root})
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
  marlix_include_root(${name} PRIVATE tests)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS "${label}"
    ENVIRONMENT "LC_ALL=C;QT_QPA_PLATFORM=offscreen;MARLIX_SOURCE_DIR=${CMAKE_SOURCE_DIR};MARLIX_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()
