# tarnwell_delay_import_library(<variable> <dll>)
# Makes an import library whose functions load <dll> on the first call to
# one of them instead of with the program (mingw-w64's delay-load helper),
# and sets <variable> to its path. Link it in place of the plain import
# library: a DLL that only some pages use then costs nothing at start-up.
# The functions are every export of the plain import library.
function(tarnwell_delay_import_library variable dll)
    find_library(_plain_${dll} NAMES ${dll} REQUIRED)
    set(plain ${_plain_${dll}})
    set(folder ${CMAKE_BINARY_DIR}/delayload)
    set(def ${folder}/${dll}.def)
    set(lib ${folder}/lib${dll}_delay.a)
    file(MAKE_DIRECTORY ${folder})
    execute_process(COMMAND ${CMAKE_NM} ${plain} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "[0-9a-fA-F]+ T [^\n]+" entries "${symbols}")
    set(text "LIBRARY ${dll}.dll\nEXPORTS\n")
    foreach(entry IN LISTS entries)
        string(REGEX REPLACE "^[0-9a-fA-F]+ T " "" name "${entry}")
        # 32-bit names carry the C prefix underscore; the .def file does not.
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            string(REGEX REPLACE "^_" "" name "${name}")
        endif()
        string(APPEND text "${name}\n")
    endforeach()
    file(WRITE ${def} "${text}")
    string(REGEX REPLACE "-gcc.*$" "-dlltool" dlltool_name ${CMAKE_C_COMPILER})
    find_program(_dlltool_${dll} NAMES ${dlltool_name} REQUIRED)
    set(kill_at)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(kill_at --kill-at)
    endif()
    execute_process(COMMAND ${_dlltool_${dll}} --input-def ${def} --dllname ${dll}.dll ${kill_at}
                            --output-delaylib ${lib}
                    COMMAND_ERROR_IS_FATAL ANY)
    set(${variable} ${lib} PARENT_SCOPE)
endfunction()
