# Tarnwell.exe and vrel.dll pass CString and std::vector by value and delete
# objects the other module allocated, so both must use one C++ runtime. We link
# the compiler's runtime DLLs dynamically and ship them in bin/ rather than link
# them statically into each module, where every module would carry its own
# libstdc++ and libgcc unwinder and an exception or allocation crossing the
# boundary would meet a runtime that does not know it.
get_filename_component(_cxx_dir ${CMAKE_CXX_COMPILER} DIRECTORY)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE _stdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
# The unwinder DLL is named after its exception model: DWARF on 32-bit x86, SEH on x64.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(_libgcc_name libgcc_s_seh-1.dll)
else()
    set(_libgcc_name libgcc_s_dw2-1.dll)
endif()
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_libgcc_name}
    OUTPUT_VARIABLE _libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
    OUTPUT_VARIABLE _pthread OUTPUT_STRIP_TRAILING_WHITESPACE)
set(TARNWELL_RUNTIME_DLLS ${_stdcxx} ${_libgcc} ${_pthread})
foreach(dll ${TARNWELL_RUNTIME_DLLS})
    if(NOT EXISTS ${dll})
        message(FATAL_ERROR "C++ runtime DLL not found: ${dll}")
    endif()
endforeach()

# The toolchain's copies carry their debug information; bin/ gets them
# without it, as it gets the program and the library (cmake/ShipStripped.cmake),
# and with the file alignment our own modules are linked with.
set(_runtime_outputs)
foreach(dll ${TARNWELL_RUNTIME_DLLS})
    get_filename_component(_name ${dll} NAME)
    add_custom_command(OUTPUT ${TARNWELL_BIN_DIR}/${_name}
        COMMAND ${CMAKE_OBJCOPY} --strip-debug --file-alignment ${TARNWELL_FILE_ALIGNMENT} ${dll}
                ${TARNWELL_BIN_DIR}/${_name}
        DEPENDS ${dll} ${CMAKE_CURRENT_LIST_FILE}
        COMMENT "Copying ${_name} to bin/"
        VERBATIM)
    list(APPEND _runtime_outputs ${TARNWELL_BIN_DIR}/${_name})
endforeach()
add_custom_target(tarnwell_runtime ALL DEPENDS ${_runtime_outputs})
