# The project version in the forms the build needs, all from project(VERSION), the one
# place it is written:
#   TAVREL_VERSION_DOTTED   four numbers with dots ("1.0.0.1"), missing ones as 0
#   TAVREL_VERSION_COMMAS   the same with commas, as a Windows version record takes them
# and ${CMAKE_BINARY_DIR}/generated/Version.h (TAVREL_VERSION_TEXT, TAVREL_VERSION_NUMBERS),
# which C++ sources and resource scripts include as "generated/Version.h" through the
# interface target tavrel_version.
set(_numbers ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH}
    ${PROJECT_VERSION_TWEAK})
list(LENGTH _numbers _count)
while(_count LESS 4)
    list(APPEND _numbers 0)
    math(EXPR _count "${_count} + 1")
endwhile()
list(JOIN _numbers "." TAVREL_VERSION_DOTTED)
list(JOIN _numbers "," TAVREL_VERSION_COMMAS)
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${CMAKE_BINARY_DIR}/generated/Version.h
    @ONLY)

add_library(tavrel_version INTERFACE)
target_include_directories(tavrel_version INTERFACE ${CMAKE_BINARY_DIR})
