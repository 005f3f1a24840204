# The packages users install, made by CPack from the install rules
# (scripts/package builds them).
set(CPACK_PACKAGE_NAME bytewren)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Bytewren developers")
set(CPACK_PACKAGE_CONTACT "Bytewren developers <dev@bytewren.local>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small, fast byte (hex) editor")
# One paragraph, in lines short enough for package tools to show unwrapped.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Bytewren reads one whole file into memory and shows it in one view:"
    "offsets, bytes in hexadecimal and the same bytes as characters. You"
    "select, type over or insert bytes, retype a byte as bits, delete, copy"
    "and paste in several text forms, search for hex, text or UTF-16 text,"
    "jump to an offset, and write the image back without ever leaving the"
    "file half written.")
set(CPACK_STRIP_FILES ON)

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION editors)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # Qt loads its X11 platform plugin at run time, so the libraries found by
    # dpkg-shlibdeps only recommend it; without it no window opens.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
    # The fixed-pitch font the view resolves to on Debian, and Qt's Wayland
    # platform plugin, so that a Wayland session runs the program natively.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, qt6-wayland")
endif()

include(CPack)
