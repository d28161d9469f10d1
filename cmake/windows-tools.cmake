# The modders' tools for Windows: the simulated host (kellhud-sim.exe), which loads the
# real KellHud.asi, and the dictionary tool (kellhud-txd.exe), from the same sources as
# the Linux tools. Only the platform parts differ (the *_windows.cpp files beside their
# *_linux.cpp twins). Both are linked statically: nothing to ship beside them.

# The header-only libraries come from the Linux system's packages; only their folders are
# put on the path, not /usr/include as a whole.
set(KELLHUD_TOOLS_INCLUDE ${CMAKE_BINARY_DIR}/third-party-include)
file(MAKE_DIRECTORY ${KELLHUD_TOOLS_INCLUDE})
foreach(library nlohmann stb)
    if(NOT EXISTS /usr/include/${library})
        message(FATAL_ERROR "/usr/include/${library} is missing: run scripts/setup.sh (it installs the headers)")
    endif()
    file(CREATE_LINK /usr/include/${library} ${KELLHUD_TOOLS_INCLUDE}/${library} SYMBOLIC)
endforeach()

# GCC 12 for mingw reports overflows on std::string and std::vector growth that cannot
# happen (GCC bugs 105329 and 106199, seen in the standard headers inlined into ours).
list(APPEND KELLHUD_WARNINGS -Wno-restrict -Wno-stringop-overflow)
set(KELLHUD_TOOLS_DEFINES NOMINMAX WIN32_LEAN_AND_MEAN ${KELLHUD_VERSION_DEFINES})
set(KELLHUD_TOOLS_LINK -static -static-libgcc -static-libstdc++ -s)
# Every tool program: UTF-8 as its code page (the manifest), the console and wildcards.
enable_language(RC)
set(KELLHUD_TOOLS_PROGRAM ${CMAKE_SOURCE_DIR}/cmake/windows-tools.rc ${CMAKE_SOURCE_DIR}/tools/text/windows_program.cpp)

add_library(kellhud_txd STATIC tools/txd/txd.cpp tools/txd/mip_chain.cpp tools/txd/png.cpp tools/txd/dictionary_contents.cpp)
target_include_directories(kellhud_txd PUBLIC ${CMAKE_SOURCE_DIR}/tools PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_include_directories(kellhud_txd SYSTEM PUBLIC ${KELLHUD_TOOLS_INCLUDE})
target_compile_options(kellhud_txd PRIVATE ${KELLHUD_WARNINGS})
target_compile_definitions(kellhud_txd PUBLIC ${KELLHUD_TOOLS_DEFINES})

set(KELLHUD_TEXTURE_NAME_SOURCES src/textures/sprite_tables.cpp src/textures/texture_files.cpp src/data/style_variant.cpp)
add_executable(kellhud-txd tools/txd/main.cpp ${KELLHUD_TEXTURE_NAME_SOURCES} ${KELLHUD_TOOLS_PROGRAM})
target_include_directories(kellhud-txd PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(kellhud-txd PRIVATE kellhud_txd)
target_compile_options(kellhud-txd PRIVATE ${KELLHUD_WARNINGS})
target_link_options(kellhud-txd PRIVATE ${KELLHUD_TOOLS_LINK})

# The simulated host. The host's address range 0x401000-0xD00000 is the program's own
# first section (.hostimg, uninitialised, so it costs no file space), which only a program
# at the host's image base without relocation can hold; its own code starts above it.
file(GLOB KELLHUD_SIM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/sim/*.cpp ${CMAKE_SOURCE_DIR}/sim/substitutes/*.cpp
    ${CMAKE_SOURCE_DIR}/sim/preview/*.cpp)
list(FILTER KELLHUD_SIM_SOURCES EXCLUDE REGEX "_linux\\.cpp$|/sanitizer_options\\.cpp$|/plugin_heap\\.cpp$")
set(KELLHUD_CHECK_SOURCES sim/check/data_check.cpp sim/check/overlaps.cpp src/core/key_value_file.cpp src/core/settings.cpp
    src/data/colours.cpp src/data/layout.cpp src/core/plugin_path.cpp ${KELLHUD_TEXTURE_NAME_SOURCES})
# --check-host runs the plug-in's own start-up check, so the program holds the plug-in's code
# (which the sim's image never calls: only KellHud.asi, loaded as the game loads it, runs).
set(KELLHUD_CHECK_HOST_SOURCES ${KELLHUD_PLUGIN_SOURCES})
foreach(source ${KELLHUD_CHECK_SOURCES})
    list(REMOVE_ITEM KELLHUD_CHECK_HOST_SOURCES ${CMAKE_SOURCE_DIR}/${source})
endforeach()
add_executable(kellhud-sim ${KELLHUD_SIM_SOURCES} ${KELLHUD_CHECK_SOURCES} sim/check/host_report.cpp
    sim/pack/zip_file.cpp sim/pack/release_zip.cpp ${KELLHUD_CHECK_HOST_SOURCES} ${KELLHUD_TOOLS_PROGRAM})
target_include_directories(kellhud-sim PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/sim ${CMAKE_SOURCE_DIR}/src
    ${KELLHUD_GENERATED_DIR})
target_compile_options(kellhud-sim PRIVATE ${KELLHUD_FLOAT_FLAGS} ${KELLHUD_STACK_FLAGS} ${KELLHUD_WARNINGS})
# zlib (for --pack) from Debian's mingw-w64 package, linked in statically like the rest.
target_link_libraries(kellhud-sim PRIVATE kellhud_txd z)
target_link_options(kellhud-sim PRIVATE ${KELLHUD_TOOLS_LINK} -Wl,--image-base=0x400000 -Wl,--disable-dynamicbase
    -Wl,--disable-reloc-section -Wl,--section-start=.hostimg=0x401000 -Wl,--section-start=.text=0xD01000)

# The preview's fonts travel beside the program (the tools zip carries this folder): a
# Windows PC has no /usr/share/fonts. DejaVu's licence is in LICENSES/.
set(KELLHUD_PREVIEW_FONTS DejaVuSerif-Bold.ttf DejaVuSans-Bold.ttf DejaVuSansMono-Bold.ttf)
foreach(font ${KELLHUD_PREVIEW_FONTS})
    if(NOT EXISTS /usr/share/fonts/truetype/dejavu/${font})
        message(FATAL_ERROR "/usr/share/fonts/truetype/dejavu/${font} is missing: run scripts/setup.sh (it installs fonts-dejavu-core)")
    endif()
    add_custom_command(TARGET kellhud-sim POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:kellhud-sim>/fonts
        COMMAND ${CMAKE_COMMAND} -E copy_if_different /usr/share/fonts/truetype/dejavu/${font} $<TARGET_FILE_DIR:kellhud-sim>/fonts/
        VERBATIM)
endforeach()

# The studio (docs/studio.md): serves its page on 127.0.0.1 and draws with kellhud-sim.exe
# beside it. It holds the checker and the outline boxes, not the simulated host.
include(${CMAKE_SOURCE_DIR}/cmake/studio-embedded.cmake)
file(GLOB KELLHUD_STUDIO_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/sim/studio/*.cpp)
list(FILTER KELLHUD_STUDIO_SOURCES EXCLUDE REGEX "_linux\\.cpp$")
add_executable(kellhud-studio ${KELLHUD_STUDIO_SOURCES} ${KELLHUD_CHECK_SOURCES} sim/preview/outline.cpp
    sim/preview/raster.cpp sim/preview/text.cpp sim/preview/font.cpp sim/preview/font_folder_windows.cpp
    ${KELLHUD_TOOLS_PROGRAM})
target_include_directories(kellhud-studio PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/sim ${CMAKE_SOURCE_DIR}/src
    ${KELLHUD_GENERATED_DIR})
target_include_directories(kellhud-studio SYSTEM PRIVATE ${CMAKE_SOURCE_DIR}/third_party/cpp-httplib)
target_compile_options(kellhud-studio PRIVATE ${KELLHUD_FLOAT_FLAGS} ${KELLHUD_WARNINGS})
target_link_libraries(kellhud-studio PRIVATE kellhud_txd ws2_32)
target_link_options(kellhud-studio PRIVATE ${KELLHUD_TOOLS_LINK})
