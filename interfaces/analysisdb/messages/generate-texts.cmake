# Turns messages/strings.txt (lines "<id><TAB><text>", '#' comments) into a C++ source with the
# table KelMsg::catalogueText reads, so the std-only library carries the resource library's
# texts. Run as: cmake -DINPUT=<strings.txt> -DOUTPUT=<file.cpp> -P generate-texts.cmake
file(STRINGS ${INPUT} lines ENCODING UTF-8)
set(entries "")
foreach(line IN LISTS lines)
    if(line STREQUAL "" OR line MATCHES "^#")
        continue()
    endif()
    if(NOT line MATCHES "^([0-9]+)\t(.*)$")
        message(FATAL_ERROR "${INPUT}: expected \"<id><TAB><text>\", found \"${line}\"")
    endif()
    set(id ${CMAKE_MATCH_1})
    set(text "${CMAKE_MATCH_2}")
    # The file's escapes (\n, \t, \\) are C++ escapes as well; only quotes need one.
    string(REPLACE "\"" "\\\"" text "${text}")
    string(APPEND entries "    {${id}ul, \"${text}\"},\n")
endforeach()
set(content "// Generated from ${INPUT} by generate-texts.cmake; do not edit.
#include \"KelMsgTexts.h\"

const KelMsgText *kelMsgTexts(std::size_t &count)
{
    static const KelMsgText texts[] = {
${entries}    };
    count = sizeof texts / sizeof texts[0];
    return texts;
}
")
file(WRITE ${OUTPUT}.tmp "${content}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
