# The run-time data files (config.xml, layouts, language and device files) are
# kept in the source tree's bin/. A build into another run-time folder
# (TARNWELL_BIN_DIR) gets a copy of them, so that its program finds them beside
# itself. Binaries and the generated skins are left out: the build makes those
# in the run-time folder itself.
get_filename_component(_bin_real ${TARNWELL_BIN_DIR} REALPATH)
get_filename_component(_source_bin_real ${CMAKE_SOURCE_DIR}/bin REALPATH)
set(_data_outputs)
if(NOT _bin_real STREQUAL _source_bin_real)
    file(GLOB_RECURSE _data_files RELATIVE ${CMAKE_SOURCE_DIR}/bin CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bin/*)
    list(FILTER _data_files EXCLUDE REGEX "\\.(exe|dll|a)$")
    list(FILTER _data_files EXCLUDE REGEX "^skins/")
    foreach(_file ${_data_files})
        add_custom_command(
            OUTPUT ${TARNWELL_BIN_DIR}/${_file}
            COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/bin/${_file} ${TARNWELL_BIN_DIR}/${_file}
            DEPENDS ${CMAKE_SOURCE_DIR}/bin/${_file})
        list(APPEND _data_outputs ${TARNWELL_BIN_DIR}/${_file})
    endforeach()
endif()
add_custom_target(tarnwell_data ALL DEPENDS ${_data_outputs})
