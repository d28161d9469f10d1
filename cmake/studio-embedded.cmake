# The studio carries its page, the example scenarios and the two docs pages it quotes inside
# itself, so the program runs from any folder with nothing to find beside it. Written at
# configure time; a change to any of the files configures again.
set(KELLHUD_STUDIO_PAGE ${CMAKE_SOURCE_DIR}/sim/studio/page/index.html ${CMAKE_SOURCE_DIR}/sim/studio/page/studio.css
    ${CMAKE_SOURCE_DIR}/sim/studio/page/studio.js)
file(GLOB KELLHUD_STUDIO_SCENARIOS ${CMAKE_SOURCE_DIR}/docs/examples/*.json)
set(KELLHUD_STUDIO_DOCS ${CMAKE_SOURCE_DIR}/docs/layout-files.md ${CMAKE_SOURCE_DIR}/docs/settings.md)

function(kellhud_embedded_array out name)
    set(text "inline constexpr EmbeddedText ${name}[] = {\n")
    foreach(file ${ARGN})
        get_filename_component(base ${file} NAME)
        if(name STREQUAL studioScenarios)
            get_filename_component(base ${file} NAME_WE)
        endif()
        file(READ ${file} content)
        if(content MATCHES "\\)kellhud_text\"")
            message(FATAL_ERROR "${file} holds )kellhud_text\" which ends the raw string it is compiled into")
        endif()
        string(APPEND text "    {\"${base}\", R\"kellhud_text(${content})kellhud_text\"},\n")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
    endforeach()
    set(${out} "${${out}}${text}};\n" PARENT_SCOPE)
endfunction()

set(KELLHUD_STUDIO_EMBEDDED "#pragma once\n// Made by cmake/studio-embedded.cmake.\n#include <string_view>\n"
    "struct EmbeddedText {\n    std::string_view name, text;\n};\n")
kellhud_embedded_array(KELLHUD_STUDIO_EMBEDDED studioPage ${KELLHUD_STUDIO_PAGE})
kellhud_embedded_array(KELLHUD_STUDIO_EMBEDDED studioScenarios ${KELLHUD_STUDIO_SCENARIOS})
kellhud_embedded_array(KELLHUD_STUDIO_EMBEDDED studioDocs ${KELLHUD_STUDIO_DOCS})
file(WRITE ${KELLHUD_GENERATED_DIR}/studio_embedded.h.new "${KELLHUD_STUDIO_EMBEDDED}")
file(COPY_FILE ${KELLHUD_GENERATED_DIR}/studio_embedded.h.new ${KELLHUD_GENERATED_DIR}/studio_embedded.h ONLY_IF_DIFFERENT)
