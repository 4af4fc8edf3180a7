# The run-time data files (config.xml, layouts, language and device files) are
# kept in the source tree's bin/. A build into another run-time folder
# (TARNWELL_BIN_DIR) gets a copy of them, so that its program finds them beside
# itself. Binaries, the generated skins and device pictures are left out: the build makes those
# in the run-time folder itself.
get_filename_component(_bin_real ${TARNWELL_BIN_DIR} REALPATH)
get_filename_component(_source_bin_real ${CMAKE_SOURCE_DIR}/bin REALPATH)
set(_data_outputs)
if(NOT _bin_real STREQUAL _source_bin_real)
    file(GLOB_RECURSE _data_files RELATIVE ${CMAKE_SOURCE_DIR}/bin CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bin/*)
    list(FILTER _data_files EXCLUDE REGEX "\\.(exe|dll|a)$")
    list(FILTER _data_files EXCLUDE REGEX "^skins/")
    # Drawn by the build into each run-time folder (below), not copied.
    list(FILTER _data_files EXCLUDE REGEX "^device/")
    foreach(_file ${_data_files})
        add_custom_command(
            OUTPUT ${TARNWELL_BIN_DIR}/${_file}
            COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/bin/${_file} ${TARNWELL_BIN_DIR}/${_file}
            DEPENDS ${CMAKE_SOURCE_DIR}/bin/${_file})
        list(APPEND _data_outputs ${TARNWELL_BIN_DIR}/${_file})
    endforeach()
endif()
add_custom_target(tarnwell_data ALL DEPENDS ${_data_outputs})

# The device pictures named by config.xml are drawn by the build into the
# run-time folder's device\ folder, like the skin images.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(_data_script ${CMAKE_SOURCE_DIR}/scripts/make_data_files.py)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_data_script})
execute_process(COMMAND ${Python3_EXECUTABLE} ${_data_script} --list-pictures
    OUTPUT_VARIABLE _device_pictures OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE _device_result)
if(NOT _device_result EQUAL 0)
    message(FATAL_ERROR "make_data_files.py --list-pictures failed")
endif()
string(REPLACE "\n" ";" _device_pictures "${_device_pictures}")
list(TRANSFORM _device_pictures PREPEND ${TARNWELL_BIN_DIR}/device/)
add_custom_command(
    OUTPUT ${_device_pictures}
    COMMAND ${Python3_EXECUTABLE} ${_data_script} --pictures ${TARNWELL_BIN_DIR}/device
    DEPENDS ${_data_script} ${CMAKE_SOURCE_DIR}/scripts/keyboard_layouts.py ${CMAKE_SOURCE_DIR}/scripts/pngtools.py
    COMMENT "Drawing the device pictures")
add_custom_target(tarnwell_device_pictures DEPENDS ${_device_pictures})
add_dependencies(tarnwell_data tarnwell_device_pictures)
