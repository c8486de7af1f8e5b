# DLLs named like the system's that a user's downloads folder might hold
# beside the installer: those the installer itself could load at run time
# (its own and the ones its libraries load on demand) and comctl32, which the
# manifest binds side by side. Not uxtheme, shcore and version: Wine's own
# comctl32 and shell32 import them, so they load before the program's first
# line, outside its reach. Built into <tree>/planted for the tree's bitness.
set(KETROVA_PLANTED_DLLS msimg32 dwmapi userenv iphlpapi dnsapi comctl32 actxprxy
    propsys profapi cryptbase wtsapi32 winmm)
foreach(name IN LISTS KETROVA_PLANTED_DLLS)
    add_library(planted-${name} SHARED ${CMAKE_SOURCE_DIR}/tests/e2e/planted.c)
    set_target_properties(planted-${name} PROPERTIES OUTPUT_NAME ${name} PREFIX ""
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted)
    target_link_options(planted-${name} PRIVATE -static)
endforeach()
list(JOIN KETROVA_PLANTED_DLLS "," KETROVA_PLANTED_NAMES)
