# Helpers shared by every folder of the tree.

# kestrion_add_tests(NAME name SOURCES files... LIBS libs...)
# One GoogleTest binary per folder; every TEST becomes its own CTest case. Tests run with the project root as
# the working directory, and KESTRION_SOURCE_DIR tells them where fixtures live.

# Every test binary compiles against one precompiled header of GoogleTest and the standard headers the tests share,
# made once by kestrion_test_pch; a test target must match its flags, so both are built the same way (not position
# independent, with OpenMP, with the same definitions).
set(KESTRION_TEST_DEFINITIONS KESTRION_SOURCE_DIR="${PROJECT_SOURCE_DIR}" KESTRION_BINARY_DIR="${PROJECT_BINARY_DIR}")
add_library(kestrion_test_pch OBJECT ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
target_link_libraries(kestrion_test_pch PRIVATE GTest::gtest OpenMP::OpenMP_CXX)
target_compile_definitions(kestrion_test_pch PRIVATE ${KESTRION_TEST_DEFINITIONS})
set_target_properties(kestrion_test_pch PROPERTIES POSITION_INDEPENDENT_CODE OFF)
target_precompile_headers(kestrion_test_pch PRIVATE
  <gtest/gtest.h> <algorithm> <cmath> <filesystem> <fstream> <functional> <map> <memory> <numbers> <set>
  <sstream> <string> <vector>)

function(kestrion_add_tests)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads
                                          OpenMP::OpenMP_CXX)
  target_compile_definitions(${T_NAME} PRIVATE ${KESTRION_TEST_DEFINITIONS})
  set_target_properties(${T_NAME} PROPERTIES POSITION_INDEPENDENT_CODE OFF)
  target_precompile_headers(${T_NAME} REUSE_FROM kestrion_test_pch)
  # Test files are compiled a few to a unit: they share their headers' inline code instead of each compiling it.
  # Which files share a unit follows from their order and count, so any two test files of a folder may meet: no two
  # of them give one file-local name (a helper or constant in an anonymous namespace, a fixture, a static function,
  # a using-declaration, a macro) to two things. A helper that two files need lives in the folder's test header; a
  # file with many helpers of its own may keep them in a namespace named after it.
  set_target_properties(${T_NAME} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 6)
  # A test binary starts once per test case: as a position-dependent executable it needs no million relocations
  # at every start.
  target_link_options(${T_NAME} PRIVATE -no-pie)
  gtest_discover_tests(${T_NAME} WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "KESTRION_REGISTRY=${PROJECT_BINARY_DIR}/test-registry.reg")
endfunction()

# kestrion_host_library(name DEPS libs...)
# A folder of the host layer: every .cpp beside its CMakeLists.txt (tests/ excluded) becomes one static, position
# independent library, later folded whole into libcadhost.so. Its tests/*_test.cpp become the folder's test binary.
function(kestrion_host_library NAME)
  cmake_parse_arguments(L "" "" "DEPS;TESTLIBS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT _src)
    set(_src ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)  # a folder whose first file is still to come
  endif()
  add_library(${NAME} STATIC ${_src})
  target_include_directories(${NAME} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${NAME} PUBLIC ${L_DEPS})
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*_test.cpp)
  if(_tests)
    kestrion_add_tests(NAME ${NAME}_tests SOURCES ${_tests} LIBS ${NAME} ${L_TESTLIBS})
  endif()
endfunction()

# The folder of the build where modules are put and where the host looks for them by default.
set(KESTRION_MODULE_DIR "${PROJECT_BINARY_DIR}/modules")

# kestrion_add_module(name SOURCES files... [LIBS libs...] [OUTPUT_DIRECTORY dir])
# A module the host loads with dlopen: name.so (no "lib" prefix) in the build's module folder (or
# OUTPUT_DIRECTORY), built with hidden visibility so that only its entry point (KESTRION_MODULE_ENTRY in
# host/app/module.h) is exported, and linked to the shared host so that it sees the host's one state.
function(kestrion_add_module NAME)
  cmake_parse_arguments(M "" "OUTPUT_DIRECTORY" "SOURCES;LIBS" ${ARGN})
  if(NOT M_OUTPUT_DIRECTORY)
    set(M_OUTPUT_DIRECTORY ${KESTRION_MODULE_DIR})
  endif()
  add_library(${NAME} MODULE ${M_SOURCES})
  set_target_properties(${NAME} PROPERTIES
    PREFIX ""
    CXX_VISIBILITY_PRESET hidden
    C_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LIBRARY_OUTPUT_DIRECTORY ${M_OUTPUT_DIRECTORY})
  target_link_libraries(${NAME} PRIVATE cadhost_lib ${M_LIBS})
  target_link_options(${NAME} PRIVATE -Wl,--no-undefined)
endfunction()

# kestrion_module_part(NAME name TESTPREFIX prefix FOLDERS dirs... [DEPS libs...] [TESTLIBS libs...])
# Code of a module (laser/, nesting/) that its shared object and its unit tests both link: every .cpp of the named
# subfolders becomes one static, position independent library with hidden visibility. Each subfolder's
# tests/*_test.cpp become the test binary <prefix>_<folder>_tests, linked to this library and TESTLIBS.
function(kestrion_module_part)
  cmake_parse_arguments(P "" "NAME;TESTPREFIX" "FOLDERS;DEPS;TESTLIBS" ${ARGN})
  set(_src)
  foreach(_folder ${P_FOLDERS})
    file(GLOB _s CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${_folder}/*.cpp)
    list(APPEND _src ${_s})
  endforeach()
  if(NOT _src)
    set(_src ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${P_NAME} STATIC ${_src})
  set_target_properties(${P_NAME} PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  target_include_directories(${P_NAME} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${P_NAME} PUBLIC ${P_DEPS})
  foreach(_folder ${P_FOLDERS})
    file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${_folder}/tests/*_test.cpp)
    if(_tests)
      string(REPLACE "/" "_" _tname "${P_TESTPREFIX}_${_folder}_tests")
      kestrion_add_tests(NAME ${_tname} SOURCES ${_tests} LIBS ${P_NAME} ${P_TESTLIBS})
    endif()
  endforeach()
endfunction()

# kestrion_add_fuzzer(name SOURCES files... LIBS libs... SEEDS folders... [DICT file] [MAX_LEN bytes])
# A libFuzzer target of one reader, built only with KESTRION_FUZZ (the `fuzz` preset: clang, the whole build
# instrumented with -fsanitize=fuzzer-no-link and the sanitizers). Every target joins the `fuzzers` target, which
# the preset builds alone, and a line of fuzzers.txt in the build folder, which scripts/fuzz reads to run it:
#   name|binary|dictionary|max_len|seed folder;seed folder...
# SEEDS and DICT are relative to the project root; the fixtures of the reader's tests make the best seeds.
if(KESTRION_FUZZ)
  add_custom_target(fuzzers)
  set_property(GLOBAL PROPERTY KESTRION_FUZZERS "")
endif()

function(kestrion_add_fuzzer NAME)
  if(NOT KESTRION_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "DICT;MAX_LEN" "SOURCES;LIBS;SEEDS" ${ARGN})
  if(NOT F_MAX_LEN)
    set(F_MAX_LEN 16384)
  endif()
  foreach(_seed ${F_SEEDS})
    if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${_seed})
      message(FATAL_ERROR "kestrion_add_fuzzer(${NAME}): no seed folder ${_seed}")
    endif()
  endforeach()
  add_executable(${NAME} ${F_SOURCES})
  target_link_libraries(${NAME} PRIVATE ${F_LIBS})
  target_include_directories(${NAME} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${NAME} PRIVATE KESTRION_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  target_link_options(${NAME} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzzers ${NAME})
  string(REPLACE ";" "," _seeds "${F_SEEDS}")
  set_property(GLOBAL APPEND PROPERTY KESTRION_FUZZERS
               "${NAME}|$<TARGET_FILE:${NAME}>|${F_DICT}|${F_MAX_LEN}|${_seeds}")
endfunction()

# Writes fuzzers.txt once every folder has added its targets.
function(_kestrion_write_fuzzer_list)
  get_property(_lines GLOBAL PROPERTY KESTRION_FUZZERS)
  string(REPLACE ";" "\n" _text "${_lines}")
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/fuzzers.txt CONTENT "${_text}\n")
endfunction()
if(KESTRION_FUZZ)
  cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL _kestrion_write_fuzzer_list)
endif()
