# SPDX-License-Identifier: GPL-3.0-or-later
# The order in which the engine's libraries are opened (engine/MpvLibrary.cpp), written into
# the generated engine/EngineLibraryOrder.h.
#
# ldd lists what a library brings in the loader's own order, breadth first from its direct
# dependencies; reversed, the libraries deepest in the tree come first. Only names the loader
# finds by itself, in the engine library's own folder, are kept: one found through another
# library's search path (the sound server's private library) comes with that library.
function(korvel_write_engine_library_order soname libdir header)
    set(library "${libdir}/${soname}")
    execute_process(COMMAND ldd "${library}" OUTPUT_VARIABLE listing RESULT_VARIABLE status
                    ERROR_VARIABLE error)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "ldd could not list what ${library} needs: ${error}")
    endif()
    file(REAL_PATH "${library}" real_library)
    get_filename_component(home "${real_library}" DIRECTORY)
    string(REPLACE "\n" ";" lines "${listing}")
    set(order "")
    foreach(line IN LISTS lines)
        if(NOT line MATCHES "^[ \t]*([^ \t]+) => (/[^ \t]+) \\(")
            continue()
        endif()
        set(name "${CMAKE_MATCH_1}")
        file(REAL_PATH "${CMAKE_MATCH_2}" real_path)
        get_filename_component(folder "${real_path}" DIRECTORY)
        if(folder STREQUAL home)
            list(PREPEND order "\"${name}\"")
        endif()
    endforeach()
    list(LENGTH order count)
    if(count EQUAL 0)
        message(FATAL_ERROR "ldd listed nothing that ${library} needs:\n${listing}")
    endif()
    list(JOIN order ",\n    " KORVEL_ENGINE_LIBRARY_ORDER)
    set(KORVEL_ENGINE_LIBRARY "${soname}")
    set(KORVEL_ENGINE_LIBRARY_COUNT ${count})
    configure_file(${PROJECT_SOURCE_DIR}/cmake/EngineLibraryOrder.h.in "${header}" @ONLY)
endfunction()
