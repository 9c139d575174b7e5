# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the manual page of paramcurve-render: its template with the line
# %OPTIONS% replaced by the option list that the built renderer prints from
# its own option table, the one --help is made from.
#   cmake -DRENDERER=PATH -DTEMPLATE=PATH -DOUTPUT=PATH -P FillOptionList.cmake
set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{ASAN_OPTIONS} detect_leaks=0)
execute_process(COMMAND "${RENDERER}" --man-options
    OUTPUT_VARIABLE options ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT options MATCHES "^\\.TP\n")
    message(FATAL_ERROR "${RENDERER} --man-options gave no option list (exit ${status}): ${errors}")
endif()

file(READ "${TEMPLATE}" page)
string(FIND "${page}" "\n%OPTIONS%\n" marker)
if(marker EQUAL -1)
    message(FATAL_ERROR "${TEMPLATE} has no %OPTIONS% line")
endif()
string(REPLACE "\n%OPTIONS%\n" "\n${options}" page "${page}")
file(WRITE "${OUTPUT}" "${page}")
