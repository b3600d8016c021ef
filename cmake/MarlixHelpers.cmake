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
