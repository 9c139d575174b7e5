# SPDX-License-Identifier: GPL-3.0-or-later
# check.sh builds the test programs without debug information and without
# optimizing them, which compiles them in two thirds of the time and runs
# them hardly slower: their time goes to the libraries they test, which keep
# the build's flags.
option(PARAMCURVE_TEST_DEBUG_INFO "Build the test programs with debug information" ON)
option(PARAMCURVE_TEST_OPTIMIZE "Optimize the test programs as the build's flags ask" ON)
set(PARAMCURVE_TEST_FLAGS)
if(NOT PARAMCURVE_TEST_DEBUG_INFO)
    list(APPEND PARAMCURVE_TEST_FLAGS -g0)
endif()
if(NOT PARAMCURVE_TEST_OPTIMIZE)
    # Source fortification needs an optimizing compiler and warns without one.
    list(APPEND PARAMCURVE_TEST_FLAGS -O0 -U_FORTIFY_SOURCE)
endif()

