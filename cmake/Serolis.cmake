# Build helpers shared by every folder of the project.

function(serolis_set_compile_options)
  add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
                      -Wcast-align -Woverloaded-virtual -Wformat=2)
  if(SEROLIS_WERROR)
    add_compile_options(-Werror)
  endif()
  if(SEROLIS_SANITIZE)
    add_compile_options(-fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined,float-cast-overflow)
    add_link_options(-fsanitize=address,undefined)
  endif()
  if(SEROLIS_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  endif()
endfunction()

# serolis_library(<name> [DEPS <targets>...])
# One library per source folder: every .cpp and .h directly in the calling folder.
# A folder without sources yet gives an interface library, so that dependants link already.
function(serolis_library name)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(sources)
    add_library(${name} STATIC ${sources} ${headers})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${A_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${A_DEPS})
  endif()
endfunction()

# serolis_resources(<target> <folder under resources/>)
# Embeds every file of resources/<folder> under the resource path :/<folder>/.
function(serolis_resources target folder)
  file(GLOB files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/${folder}/*)
  if(files)
    qt_add_resources(${target} "${target}_${folder}_pictures"
                     PREFIX "/${folder}" BASE ${PROJECT_SOURCE_DIR}/resources/${folder} FILES ${files})
  endif()
endfunction()

# serolis_add_test(<name> SOURCES <files>... [LIBS <targets>...] [XVFB] [TIMEOUT <s>])
# A QtTest executable registered with ctest. Headless by default (offscreen platform); XVFB runs it
# on the xcb platform under a private Xvfb server started by script/xvfb-exec.
function(serolis_add_test name)
  cmake_parse_arguments(A "XVFB" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${A_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  if(A_XVFB)
    add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/script/xvfb-exec $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb" LABELS "xvfb")
  else()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT})
endfunction()

# serolis_add_fuzzer(<name> SOURCES <files>... [LIBS <targets>...])
# A libFuzzer target (fuzz builds only) with two ctest entries: <name>_replay runs the committed
# corpus in fuzz/<folder>/corpus once; <name>_explore searches for SEROLIS_FUZZ_SECONDS seconds,
# starting from a copy of that corpus in the build folder.
function(serolis_add_fuzzer name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  if(TARGET fuzzers)
    add_dependencies(fuzzers ${name})
  endif()
  set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/corpus)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
  add_test(NAME ${name}_replay COMMAND ${name} -runs=0 ${corpus})
  add_test(NAME ${name}_explore COMMAND ${CMAKE_COMMAND} -E env
           ${PROJECT_SOURCE_DIR}/script/fuzz-explore $<TARGET_FILE:${name}> ${corpus} ${work}
           ${SEROLIS_FUZZ_SECONDS})
  set_tests_properties(${name}_replay ${name}_explore PROPERTIES
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 900)
  set_tests_properties(${name}_explore PROPERTIES DEPENDS ${name}_replay)
endfunction()

# serolis_add_bench(<name> SOURCES <files>... [LIBS <targets>...])
# A benchmark executable (Google Benchmark); built with the project, never run as a test.
function(serolis_add_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE benchmark::benchmark ${A_LIBS})
endfunction()

# Adds every sub-folder of the calling folder (at any depth) that holds a CMakeLists.txt.
# Folders found this way must not add sub-folders themselves.
function(serolis_add_all_subfolders)
  file(GLOB_RECURSE lists CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  list(SORT lists)
  foreach(list ${lists})
    get_filename_component(dir ${list} DIRECTORY)
    file(RELATIVE_PATH rel ${CMAKE_CURRENT_SOURCE_DIR} ${dir})
    if(NOT rel MATCHES "(^|/)corpus(/|$)")
      add_subdirectory(${dir} ${CMAKE_CURRENT_BINARY_DIR}/${rel})
    endif()
  endforeach()
endfunction()
