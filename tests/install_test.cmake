# Installs the build into a fresh temporary prefix, then runs the installed
# programs through the process harness and checks their exact output.
#   -DBUILD_DIR= -DPREFIX= -DPYTHON= -DHARNESS= -DSUFFIX=
#   -DHARNESS_ARGS=a|b -DLAUNCHER=a|b   ('|' separates the words of a list)
string(REPLACE "|" ";" HARNESS_ARGS "${HARNESS_ARGS}")
string(REPLACE "|" ";" LAUNCHER "${LAUNCHER}")
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
    COMMAND_ERROR_IS_FATAL ANY)
foreach(program calka wartosc)
    set(installed "${PREFIX}/bin/${program}${SUFFIX}")
    if(NOT EXISTS "${installed}")
        message(FATAL_ERROR "not installed: ${installed}")
    endif()
    execute_process(
        COMMAND ${PYTHON} ${HARNESS} --program ${program} --case exact_output
            ${HARNESS_ARGS} -- ${LAUNCHER} "${installed}"
        RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "the installed ${program} does not run as built")
    endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
