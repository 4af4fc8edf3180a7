# Imported targets for the libraries that scripts/deps.sh built for the target.
function(tarnwell_import name file)
    add_library(${name} STATIC IMPORTED GLOBAL)
    set_target_properties(${name} PROPERTIES
        IMPORTED_LOCATION ${TARNWELL_DEPS}/lib/${file}
        INTERFACE_INCLUDE_DIRECTORIES ${TARNWELL_DEPS}/include)
endfunction()

tarnwell_import(dep::sqlite3 libsqlite3.a)
tarnwell_import(dep::hidapi libhidapi.a)
tarnwell_import(dep::zlib libz.a)
tarnwell_import(dep::minizip libminizip.a)
set_property(TARGET dep::minizip PROPERTY INTERFACE_LINK_LIBRARIES dep::zlib)
tarnwell_import(dep::lodepng liblodepng.a)

set(GTest_DIR ${TARNWELL_DEPS}/lib/cmake/GTest)
find_package(GTest CONFIG REQUIRED PATHS ${TARNWELL_DEPS} NO_DEFAULT_PATH)
