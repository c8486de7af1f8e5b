# The winget manifest of the shipped installer. The configure step judges the
# settings as winget would; the build writes the manifest from the final file.
set(KETROVA_EXIT_CODES_HEADER ${CMAKE_SOURCE_DIR}/platform/ExitCodes.h)
set(KETROVA_WINGET_DIR ${CMAKE_BINARY_DIR}/winget)
set(KETROVA_WINGET_WRITER ${CMAKE_SOURCE_DIR}/tools/winget-manifest.py)
set(KETROVA_WINGET_SETTINGS ${CMAKE_BINARY_DIR}/winget-settings.txt)

foreach(setting KETROVA_PRODUCT_NAME KETROVA_VERSION_YEAR KETROVA_RELEASE KETROVA_PUBLISHER KETROVA_WINGET_ID
        KETROVA_WINGET_INSTALLER_URL KETROVA_WINGET_LOCALE KETROVA_WINGET_PACKAGE_NAME
        KETROVA_WINGET_SHORT_DESCRIPTION KETROVA_WINGET_LICENSE)
    if("${${setting}}" MATCHES "\n")
        message(FATAL_ERROR "${setting} must be one line.")
    endif()
endforeach()
# The shipped installer is the i686 one; a tree of the x86_64 twin describes its own file.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(KETROVA_WINGET_ARCHITECTURE x64)
else()
    set(KETROVA_WINGET_ARCHITECTURE x86)
endif()
# Rewritten only when a setting changes, and then the manifest is too.
file(CONFIGURE OUTPUT ${KETROVA_WINGET_SETTINGS} @ONLY CONTENT "name=@KETROVA_PRODUCT_NAME@
year=@KETROVA_VERSION_YEAR@
release=@KETROVA_RELEASE@
publisher=@KETROVA_PUBLISHER_TEXT@
id=@KETROVA_WINGET_ID@
url=@KETROVA_WINGET_INSTALLER_URL@
locale=@KETROVA_WINGET_LOCALE@
package_name=@KETROVA_WINGET_PACKAGE_NAME@
short_description=@KETROVA_WINGET_SHORT_DESCRIPTION@
license=@KETROVA_WINGET_LICENSE@
architecture=@KETROVA_WINGET_ARCHITECTURE@
")
execute_process(COMMAND ${KETROVA_SYSTEM_PYTHON} ${KETROVA_WINGET_WRITER} ${KETROVA_WINGET_SETTINGS} --check
    RESULT_VARIABLE status ERROR_VARIABLE problem)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${problem}")
endif()

# ketrova_add_winget_manifest(TARGET): writes the manifest of the target's file
# after each link and the steps after it (signing), and when a setting changes.
function(ketrova_add_winget_manifest target)
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}-winget.stamp)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${KETROVA_SYSTEM_PYTHON} ${KETROVA_WINGET_WRITER} ${KETROVA_WINGET_SETTINGS}
            ${KETROVA_EXIT_CODES_HEADER} $<TARGET_FILE:${target}> ${KETROVA_WINGET_DIR}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${target} ${KETROVA_WINGET_WRITER} ${KETROVA_WINGET_SETTINGS} ${KETROVA_EXIT_CODES_HEADER}
        COMMENT "Writing the winget manifest of ${target}"
        VERBATIM)
    add_custom_target(${target}_winget ALL DEPENDS ${stamp})
endfunction()
