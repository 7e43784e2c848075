# windows_resources(PROGRAM DESCRIPTION): gives PROGRAM.exe a version
# resource and an application manifest, both made from the one template in
# packaging/windows and compiled by windres. Versions come from project().
function(windows_resources program description)
    set(program_description "${description}")
    set(program_manifest ${CMAKE_CURRENT_BINARY_DIR}/${program}.manifest)
    set(templates ${PROJECT_SOURCE_DIR}/packaging/windows)
    configure_file(${templates}/program.manifest.in ${program_manifest} @ONLY)
    configure_file(${templates}/program.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${program}.rc @ONLY)
    target_sources(${program} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${program}.rc)
    # The script names the manifest by its full path; rebuild when it changes.
    set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/${program}.rc APPEND PROPERTY
        OBJECT_DEPENDS ${program_manifest})
endfunction()
