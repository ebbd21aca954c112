# Imported targets for the cross-built third-party libraries in DEPS_PREFIX.
function(larkspur_import name lib)
    add_library(${name} STATIC IMPORTED GLOBAL)
    set_target_properties(${name} PROPERTIES
        IMPORTED_LOCATION ${DEPS_PREFIX}/lib/${lib}
        INTERFACE_INCLUDE_DIRECTORIES ${DEPS_PREFIX}/include)
endfunction()

larkspur_import(dep_ogg        libogg.a)
larkspur_import(dep_vorbis     libvorbis.a)
larkspur_import(dep_vorbisenc  libvorbisenc.a)
larkspur_import(dep_vorbisfile libvorbisfile.a)
larkspur_import(dep_speex      libspeex.a)
larkspur_import(dep_id3        libid3.a)
larkspur_import(dep_gtest      libgtest.a)
larkspur_import(dep_gmock      libgmock.a)

# zlib from Debian's mingw package, always the static archive (never libz.dll.a).
add_library(dep_zlib STATIC IMPORTED GLOBAL)
set_target_properties(dep_zlib PROPERTIES IMPORTED_LOCATION /usr/${TOOLCHAIN_PREFIX}/lib/libz.a)

set_property(TARGET dep_vorbis PROPERTY INTERFACE_LINK_LIBRARIES dep_ogg)
set_property(TARGET dep_vorbisenc PROPERTY INTERFACE_LINK_LIBRARIES dep_vorbis)
set_property(TARGET dep_vorbisfile PROPERTY INTERFACE_LINK_LIBRARIES dep_vorbis)
# id3lib's headers stop with #error on WIN32 unless the link option is given.
set_property(TARGET dep_id3 PROPERTY INTERFACE_COMPILE_DEFINITIONS ID3LIB_LINKOPTION=1)
set_property(TARGET dep_id3 PROPERTY INTERFACE_LINK_LIBRARIES dep_zlib)
set_property(TARGET dep_gmock PROPERTY INTERFACE_LINK_LIBRARIES dep_gtest)

# The codec libraries together, as the audio-file library needs them.
add_library(dep_codecs INTERFACE)
target_link_libraries(dep_codecs INTERFACE dep_vorbisenc dep_vorbisfile dep_vorbis dep_speex dep_ogg dep_id3 dep_zlib)
