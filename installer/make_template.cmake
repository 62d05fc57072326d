# Writes the template of Explorer's "New" entry: an empty user-defined menu (cmake -P).
#   cmake -DICON=<stock_icon.ico> -DOUT=<template.tvl> -P make_template.cmake
# The menu's picture is the editor's stock icon, byte for byte, as the editor writes a new menu,
# so the editor opens the template without asking to upgrade it.
if(NOT ICON OR NOT OUT)
    message(FATAL_ERROR "usage: cmake -DICON=<icon file> -DOUT=<menu file> -P make_template.cmake")
endif()
get_filename_component(dir "${OUT}" DIRECTORY)
file(MAKE_DIRECTORY "${dir}")
# CR LF whatever the host: file(CONFIGURE) converts the line ends, and cat copies bytes.
file(CONFIGURE OUTPUT "${OUT}.head"
    CONTENT "\n<START TVL>\n\"USERDEF\"\n0,\"MS Sans Serif\",8.25,0,0\n"
    NEWLINE_STYLE CRLF)
execute_process(COMMAND "${CMAKE_COMMAND}" -E cat "${ICON}" "${OUT}.head"
    OUTPUT_FILE "${OUT}.part" RESULT_VARIABLE rc)
file(REMOVE "${OUT}.head")
if(NOT rc EQUAL 0)
    file(REMOVE "${OUT}.part")
    message(FATAL_ERROR "could not write ${OUT}")
endif()
file(RENAME "${OUT}.part" "${OUT}")
