# orvik_library(<name> DEPENDS <libs...> [EXCLUDE <files...>])
# A static library made of every .cpp in the calling folder (not its subfolders that have a
# CMakeLists.txt of their own). Only the libraries named in DEPENDS are linked, so a folder
# can reach only what lies below it.
function(orvik_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC orvik_options ${ARG_DEPENDS})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE orvik_options ${ARG_DEPENDS})
  endif()
endfunction()

# orvik_test(<name> LABEL <unit|gui|e2e> DEPENDS <libs...> [ENVIRONMENT <VAR=value...>])
# One GoogleTest executable of every *_test.cpp in the calling folder, registered with CTest.
# ENVIRONMENT is set for every test of the executable (QT_QPA_PLATFORM=offscreen for gui).
function(orvik_test name)
  cmake_parse_arguments(ARG "" "LABEL;TIMEOUT" "DEPENDS;ENVIRONMENT" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  if(NOT sources)
    return()
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE orvik_options ${ARG_DEPENDS} GTest::gtest_main)
  if(ARG_ENVIRONMENT)
    gtest_discover_tests(${name}
      PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "${ARG_ENVIRONMENT}"
      DISCOVERY_TIMEOUT 30)
  else()
    gtest_discover_tests(${name}
      PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT}
      DISCOVERY_TIMEOUT 30)
  endif()
endfunction()
