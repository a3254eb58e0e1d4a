# orbivex_library(NAME SOURCES <files...> DEPENDS <targets...> [PRIVATE <targets...>])
# One static library per folder under src/; its users include headers as "folder/Name.h".
function(orbivex_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;PRIVATE" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC orbivex_options ${ARG_DEPENDS} PRIVATE ${ARG_PRIVATE})
endfunction()
