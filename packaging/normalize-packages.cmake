# Run by cpack after it has made the packages (CPACK_POST_BUILD_SCRIPTS), to
# take out of them what depends on the machine that built them rather than on
# the sources, or that names the target as the build machine sees it.
# cpack's archive writer stores entries in the order the file
# system lists them, and its Installed-Size counts each directory with the
# size the file system gives it (4096 on ext4, 40 on tmpfs). Each package is
# remade from its own contents by the tool made for its format: entries
# sorted by name, every time stamp SOURCE_DATE_EPOCH (in UTC where the format
# keeps local time), owner root.
set(work ${CPACK_TOPLEVEL_DIRECTORY}/normalize)
set(epoch $ENV{SOURCE_DATE_EPOCH})

foreach(package IN LISTS CPACK_PACKAGE_FILES)
    file(REMOVE_RECURSE ${work})
    file(MAKE_DIRECTORY ${work})
    if(package MATCHES "\\.deb$")
        execute_process(COMMAND dpkg-deb --raw-extract ${package} ${work}/root
            COMMAND_ERROR_IS_FATAL ANY)
        # Installed-Size as dpkg-gencontrol reckons it: each file in whole KiB,
        # rounded up, and 1 KiB for each directory.
        file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${work}/root ${work}/root/*)
        set(kib 0)
        foreach(entry IN LISTS entries)
            if(entry MATCHES "^DEBIAN(/|$)")
                continue()
            endif()
            if(IS_DIRECTORY ${work}/root/${entry})
                math(EXPR kib "${kib} + 1")
            else()
                file(SIZE ${work}/root/${entry} bytes)
                math(EXPR kib "${kib} + (${bytes} + 1023) / 1024")
            endif()
        endforeach()
        file(READ ${work}/root/DEBIAN/control control)
        string(REGEX REPLACE "\nInstalled-Size: [0-9]+" "\nInstalled-Size: ${kib}" control "${control}")
        # Debian's cross C libraries name themselves in their shlibs files as
        # seen from the build machine (libc6:arm64); installed on the target,
        # where the package belongs, the dependency is on plain libc6.
        if(CPACK_DEBIAN_PACKAGE_ARCHITECTURE AND control MATCHES "\nDepends: ([^\n]*)")
            set(depends "${CMAKE_MATCH_1}")
            string(REPLACE ":${CPACK_DEBIAN_PACKAGE_ARCHITECTURE}" "" target_depends "${depends}")
            string(REPLACE "\nDepends: ${depends}" "\nDepends: ${target_depends}" control "${control}")
        endif()
        file(WRITE ${work}/root/DEBIAN/control "${control}")
        execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip -z9 --build ${work}/root ${package}
            OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    elseif(package MATCHES "\\.tar\\.gz$")
        execute_process(COMMAND tar -xzf ${package} -C ${work} COMMAND_ERROR_IS_FATAL ANY)
        file(GLOB top RELATIVE ${work} ${work}/*)
        execute_process(
            COMMAND tar --sort=name --mtime=@${epoch} --owner=0 --group=0 --numeric-owner
                --format=gnu -cf - -C ${work} ${top}
            COMMAND gzip -9 -n
            OUTPUT_FILE ${package}
            COMMAND_ERROR_IS_FATAL ANY)
    elseif(package MATCHES "\\.zip$")
        # A zip stores local time: taken in UTC, the same on every machine.
        set(ENV{TZ} UTC)
        execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${package}
            WORKING_DIRECTORY ${work} COMMAND_ERROR_IS_FATAL ANY)
        file(GLOB_RECURSE entries RELATIVE ${work} ${work}/*) # sorted by name
        file(REMOVE ${package})
        execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${package} --format=zip -- ${entries}
            WORKING_DIRECTORY ${work} COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()
file(REMOVE_RECURSE ${work})
