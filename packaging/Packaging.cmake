# Packages: a .deb and a .tar.gz of the Linux programs, a .zip of the Windows
# ones. Made by `cpack --preset <preset>`. Two builds of the same commit give
# the same bytes: every time stamp in a package is SOURCE_DATE_EPOCH, taken
# from the last commit when the environment gives none (see cpack-config.cmake).
set(CPACK_PACKAGE_NAME obliczenia)
set(CPACK_PACKAGE_VENDOR "${PROJECT_VENDOR}")
set(CPACK_PACKAGE_CONTACT "obliczenia maintainers <maintainers@obliczenia.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "exact console programs: a rectangle-rule integral, a function value")
set(CPACK_PACKAGE_DESCRIPTION [=[
Two small console programs for numerical calculation, which print Polish
text (ASCII, no diacritics) and wait for the user before they exit:
 * calka approximates the integral of (sqrt(x) + 3.5)^2 over [0, 100] by
   right-endpoint rectangle sums, halving the step until two successive sums
   agree to one part in a thousand, and prints every sum and the final one;
 * wartosc prints the value of 3 sin x + 2 cos^2 x at x = 2.5.
Their output is the same, byte for byte, on every machine with IEEE 754
double arithmetic.]=])
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
# Directories as Debian wants them whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Read by cpack when it runs, not when CMake configures: the time of the
# commit being packed, and the package architecture of a cross build.
configure_file(${CMAKE_CURRENT_LIST_DIR}/cpack-config.cmake.in
    ${PROJECT_BINARY_DIR}/cpack-config.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/cpack-config.cmake)

set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/normalize-packages.cmake)

if(WIN32)
    # obliczenia-<version>-win32.zip, which opens to one folder of that name.
    set(CPACK_GENERATOR ZIP)
    set(CPACK_SYSTEM_NAME win32)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
    set(CPACK_GENERATOR DEB TGZ)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION math)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # Depends comes from the programs themselves (dpkg-shlibdeps).
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # Packages named by the Debian architecture they are for.
    if(PROJECT_DEB_ARCH)
        # A cross build (cmake/toolchains/debian-cross.cmake): the package is
        # for the target, and dpkg-shlibdeps finds the target's C library
        # where Debian's cross packages put it, with their shlibs files.
        set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${PROJECT_DEB_ARCH})
        set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS /usr/${PROJECT_CROSS_TRIPLE}/lib)
        set(CPACK_SYSTEM_NAME Linux-${PROJECT_DEB_ARCH})
    else()
        find_program(DPKG_PROGRAM dpkg)
        if(DPKG_PROGRAM)
            execute_process(COMMAND ${DPKG_PROGRAM} --print-architecture
                OUTPUT_VARIABLE native_arch OUTPUT_STRIP_TRAILING_WHITESPACE)
        else()
            set(native_arch ${CMAKE_SYSTEM_PROCESSOR})
        endif()
        set(CPACK_SYSTEM_NAME Linux-${native_arch})
    endif()

    # What Debian asks of every package's documentation folder: the licence as
    # a machine-readable copyright file, and the changelog of a native package.
    # The tarball carries the same tree.
    include(${PROJECT_SOURCE_DIR}/cmake/GzipFile.cmake)
    file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/debian/changelog changelog_head LIMIT_COUNT 1)
    if(NOT changelog_head MATCHES "^${CPACK_PACKAGE_NAME} \\(${PROJECT_VERSION}\\) ")
        message(FATAL_ERROR "packaging/debian/changelog begins with '${changelog_head}', "
            "not with version ${PROJECT_VERSION} of the project")
    endif()
    gzip_file(changelog-gz ${CMAKE_CURRENT_LIST_DIR}/debian/changelog
        ${PROJECT_BINARY_DIR}/changelog.gz)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${PROJECT_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

include(CPack)
