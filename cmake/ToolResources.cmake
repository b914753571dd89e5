# The two bundled tools: the probe ("sniffer", ffprobe) and the encoder
# ("creator", ffmpeg). The build links them into bin/resources beside the
# programs; an install puts links to them under libexec/tessaly.
find_program(TESSALY_FFPROBE ffprobe)
find_program(TESSALY_FFMPEG ffmpeg)
if(NOT TESSALY_FFPROBE OR NOT TESSALY_FFMPEG)
    message(FATAL_ERROR
        "Tessaly needs FFmpeg's command-line tools ffprobe and ffmpeg, and at least one "
        "was not found (ffprobe: ${TESSALY_FFPROBE}, ffmpeg: ${TESSALY_FFMPEG}). "
        "On Debian: sudo apt-get install ffmpeg")
endif()

set(TESSALY_RESOURCE_DIR ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/resources)
file(MAKE_DIRECTORY ${TESSALY_RESOURCE_DIR})
# On Windows the tools keep their ".exe"; a copy there, where links need rights.
set(TESSALY_TOOL_SUFFIX ${CMAKE_EXECUTABLE_SUFFIX})
if(WIN32)
    file(COPY_FILE ${TESSALY_FFPROBE} ${TESSALY_RESOURCE_DIR}/sniffer${TESSALY_TOOL_SUFFIX})
    file(COPY_FILE ${TESSALY_FFMPEG} ${TESSALY_RESOURCE_DIR}/creator${TESSALY_TOOL_SUFFIX})
else()
    file(CREATE_LINK ${TESSALY_FFPROBE} ${TESSALY_RESOURCE_DIR}/sniffer SYMBOLIC)
    file(CREATE_LINK ${TESSALY_FFMPEG} ${TESSALY_RESOURCE_DIR}/creator SYMBOLIC)
endif()

# Where an installed tessaly finds its tools, relative to its own folder.
set(TESSALY_INSTALL_RESOURCE_DIR ${CMAKE_INSTALL_LIBEXECDIR}/tessaly)
file(RELATIVE_PATH TESSALY_INSTALLED_RESOURCES
    ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
    ${CMAKE_INSTALL_PREFIX}/${TESSALY_INSTALL_RESOURCE_DIR})

install(FILES ${TESSALY_RESOURCE_DIR}/sniffer${TESSALY_TOOL_SUFFIX} ${TESSALY_RESOURCE_DIR}/creator${TESSALY_TOOL_SUFFIX}
        DESTINATION ${TESSALY_INSTALL_RESOURCE_DIR})

# The containers the bundled probe can read, for its format whitelist: Tessaly
# gives the tools every one but those that open other files (media/InputFormats).
execute_process(COMMAND ${TESSALY_FFPROBE} -hide_banner -demuxers
                OUTPUT_VARIABLE tessaly_demuxer_listing RESULT_VARIABLE tessaly_demuxer_result)
string(REGEX MATCHALL "\n D[ .E] +[A-Za-z0-9_,]+" tessaly_demuxer_lines "${tessaly_demuxer_listing}")
set(tessaly_demuxers "")
foreach(line IN LISTS tessaly_demuxer_lines)
    string(REGEX REPLACE "\n D[ .E] +" "" name "${line}")
    list(APPEND tessaly_demuxers ${name})
endforeach()
if(NOT tessaly_demuxer_result EQUAL 0 OR NOT tessaly_demuxers)
    message(FATAL_ERROR "${TESSALY_FFPROBE} -demuxers listed no containers")
endif()
string(JOIN "," tessaly_demuxers ${tessaly_demuxers})
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/ToolDemuxers.h
     CONTENT "#pragma once\n// Made by the build from the bundled probe's -demuxers.\ninline constexpr char toolDemuxers[] = \"${tessaly_demuxers}\";\n")
