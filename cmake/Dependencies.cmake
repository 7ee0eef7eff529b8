# Third-party pieces, all from Debian packages.
#
# GoogleTest, for a build with tests: the host build uses the installed package; the
# Windows build compiles it from /usr/src/googletest with the cross compiler.
#
# Header-only libraries (CLI11, nlohmann-json) are reached
# through a folder of links in the build tree, so the cross build never sees the host's
# /usr/include.

if(TAVREL_TESTS)
    if(CMAKE_CROSSCOMPILING)
        set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_deps/googletest
            EXCLUDE_FROM_ALL SYSTEM)
        # GoogleTest 1.11 and later declare these names themselves.
        if(NOT TARGET GTest::gtest)
            add_library(GTest::gtest ALIAS gtest)
            add_library(GTest::gtest_main ALIAS gtest_main)
        endif()
    else()
        find_package(GTest REQUIRED)
    endif()
    include(GoogleTest)
endif()

# tavrel_header_only(<target> <include-dir-name> ...): an INTERFACE target whose include
# path holds only links to the named folders of /usr/include.
function(tavrel_header_only target)
    set(dir ${CMAKE_BINARY_DIR}/_deps/include-${target})
    file(MAKE_DIRECTORY ${dir})
    foreach(name IN LISTS ARGN)
        if(NOT EXISTS /usr/include/${name})
            message(FATAL_ERROR "/usr/include/${name} is missing: run tools/dev to install it")
        endif()
        file(CREATE_LINK /usr/include/${name} ${dir}/${name} SYMBOLIC)
    endforeach()
    add_library(${target} INTERFACE)
    target_include_directories(${target} SYSTEM INTERFACE ${dir})
endfunction()

# tavrel_add_gtest(<target>): one ctest entry per test case on the host; one entry per
# executable under Wine, where every process start costs a Wine start.
function(tavrel_add_gtest target)
    target_link_libraries(${target} PRIVATE GTest::gtest_main)
    if(CMAKE_CROSSCOMPILING)
        add_test(NAME ${target} COMMAND ${target})
    else()
        gtest_discover_tests(${target} DISCOVERY_TIMEOUT 30)
    endif()
endfunction()
