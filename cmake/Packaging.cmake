# Packages: a .deb and a .tar.gz of the Linux programs, a .zip of the Windows
# ones. Made by `cpack --preset default` and `cpack --preset windows-i686`.
set(CPACK_PACKAGE_NAME obliczenia)
set(CPACK_PACKAGE_VENDOR "obliczenia")
set(CPACK_PACKAGE_CONTACT "obliczenia maintainers <obliczenia@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "calka (a rectangle-rule integral) and wartosc (a function value): exact console programs")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_SYSTEM_NAME win32)
else()
    set(CPACK_GENERATOR DEB TGZ)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION math)
    # The programs need only the C and math libraries (libc6).
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
