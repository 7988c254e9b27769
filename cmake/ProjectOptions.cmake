# Compiler settings shared by every target, and the helper that registers a test executable.

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
if(NOT CMAKE_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE RelWithDebInfo)
endif()

option(GLOAMERY_SANITIZE "Build the native core and its tests with ASan and UBSan" OFF)
option(GLOAMERY_BENCHMARKS "Build the benchmarks" OFF)

add_compile_options(-Wall -Wextra)

if(WIN32)
    add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX)
    # Tests and tools run through Wine, each build tree in its own private prefix, with the
    # loader that tools/wine-host.sh picks for this tree's architecture.
    # (Cached, so that scripts outside CMake can read it from the tree's CMakeCache.txt.)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(GLOAMERY_WINE_ARCH win64 CACHE INTERNAL "Wine architecture of this tree")
    else()
        set(GLOAMERY_WINE_ARCH win32 CACHE INTERNAL "Wine architecture of this tree")
    endif()
    set(GLOAMERY_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${CMAKE_SOURCE_DIR}/tools/wine-exec.sh ${GLOAMERY_WINE_ARCH} ${GLOAMERY_WINEPREFIX})
elseif(GLOAMERY_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# gloamery_add_test(NAME SOURCES files... LIBS libs... [REGISTRY] [DISPLAY])
#   Builds a GoogleTest executable and registers it with CTest. In the Windows builds the test
#   runs under Wine after the prefix fixture; REGISTRY serialises tests that write the user's
#   registry hive or desktop settings of that shared prefix.
function(gloamery_add_test name)
    cmake_parse_arguments(arg "REGISTRY" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gtest_main GTest::gmock)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    if(WIN32)
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wineprefix TIMEOUT 600)
        if(arg_REGISTRY)
            set_tests_properties(${name} PROPERTIES RESOURCE_LOCK user_profile)
        endif()
    else()
        set_tests_properties(${name} PROPERTIES TIMEOUT 300)
    endif()
endfunction()
