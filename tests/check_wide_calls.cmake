# Fails when the programs' sources call an ANSI ("...A") Windows function or use an ANSI
# structure: text outside the code page would turn into "?". Run with -DSOURCE_DIR=<project>.
file(GLOB_RECURSE sources
    ${SOURCE_DIR}/editor/*.cpp ${SOURCE_DIR}/editor/*.h
    ${SOURCE_DIR}/engine/*.cpp ${SOURCE_DIR}/engine/*.h
    ${SOURCE_DIR}/platform/*.cpp ${SOURCE_DIR}/platform/*.h
    ${SOURCE_DIR}/menufile/*.cpp ${SOURCE_DIR}/menufile/*.h)
set(report "")
foreach(source ${sources})
    file(STRINGS ${source} lines)
    set(number 0)
    foreach(line IN LISTS lines)
        math(EXPR number "${number} + 1")
        # A call such as ::SendMessageA( or a name bound by its text, "ShellExecuteA".
        if(line MATCHES "::[A-Z][A-Za-z0-9]*[a-z0-9]A[ ]*\\(" OR
           line MATCHES "\"[A-Z][A-Za-z0-9]*[a-z0-9]A\"" OR
           line MATCHES "[^A-Za-z0-9_](OPENFILENAMEA|CHOOSEFONTA|LOGFONTA|TEXTMETRICA|TOOLINFOA|TTTOOLINFOA|TCITEMA|WIN32_FIND_DATAA|SHFILEINFOA|CREATESTRUCTA|WNDCLASSEXA|WNDCLASSA|MONITORINFOEXA|SHELLEXECUTEINFOA|LPSTR|LPCSTR)[^A-Za-z0-9_]")
            string(STRIP "${line}" text)
            string(APPEND report "${source}:${number}: ${text}\n")
        endif()
    endforeach()
endforeach()
if(report)
    message(FATAL_ERROR "ANSI Windows calls (use the ...W functions):\n${report}")
endif()
message(STATUS "no ANSI Windows calls in ${SOURCE_DIR}")
