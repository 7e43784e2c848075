# gzip_file(TARGET INPUT OUTPUT): a target that compresses INPUT into OUTPUT
# with gzip -9n, storing neither the file's name nor its time, so that the
# same input always gives the same bytes (as Debian wants for manual pages
# and changelogs).
find_program(GZIP_PROGRAM gzip REQUIRED)

# OUTPUT must end in .gz; the uncompressed copy beside it is replaced by it.
function(gzip_file target input output)
    string(REGEX REPLACE "\\.gz$" "" plain ${output})
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E copy ${input} ${plain}
        COMMAND ${GZIP_PROGRAM} -9 -n -f ${plain}
        DEPENDS ${input}
        COMMENT "Compressing ${input}"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS ${output})
endfunction()
