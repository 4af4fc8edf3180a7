# tarnwell_ship_stripped(<target>)
# What lands in bin/ is what ships, so it carries no debug information: after
# each link the target's debug sections move to symbols/<file>.debug in the
# build folder, and the module keeps a link to that file for debuggers
# (gdb finds it with `set debug-file-directory <build>/symbols`).
# Debug sections are ordinary sections of a PE module, and the loader reads
# them in with the rest: unstripped, vrel.dll and the C++ runtime are about
# 25 MB each and made every start about 150 ms slower under Wine.
set(TARNWELL_SYMBOLS_DIR ${CMAKE_BINARY_DIR}/symbols)
function(tarnwell_ship_stripped target)
    set(symbols ${TARNWELL_SYMBOLS_DIR}/$<TARGET_FILE_NAME:${target}>.debug)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory ${TARNWELL_SYMBOLS_DIR}
        COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${symbols}
        COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=${symbols} $<TARGET_FILE:${target}>
        VERBATIM)
endfunction()
