# Build-time settings of the installer: the string table of the product and
# its edition, and the folder of the product to embed. A vendor sets these on
# the cmake command line (-DKETROVA_PRODUCT_NAME=...) without touching code.
set(KETROVA_PRODUCT_NAME "Ketrova" CACHE STRING "Entry 1: product name, first component of the product's sub-folder")
set(KETROVA_VERSION_YEAR "2023" CACHE STRING "Entry 2: version year of the product's sub-folder")
set(KETROVA_RELEASE "1" CACHE STRING "Entry 3: release number of the product's sub-folder")
set(KETROVA_EXE_NAME "Ketrova.exe" CACHE STRING "Entry 8: file name of the product's executable")
set(KETROVA_PUBLISHER "" CACHE STRING "Entry 9: publisher in the system's list of installed programs; empty for the product name")
set(KETROVA_PLUGIN_PARCIAL "Nao" CACHE STRING "Entry 100: Sim for the partial add-on edition, Nao otherwise")
set(KETROVA_PLUGIN_FULL "Nao" CACHE STRING "Entry 101: Sim for the full add-on edition, Nao otherwise")
set(KETROVA_PRODUCT_DIR "" CACHE PATH "Folder of the product to embed; empty for the sample product built here")
# The 32-bit installer's image, payload included, must fit the free run of
# addresses above 2 GB: an installer of 1,995,620,352 bytes installs, natively
# and under qemu-i386, and one of 2.15 GB cannot even be linked there. The
# default keeps 5 % below the largest measured.
set(KETROVA_MAX_PAYLOAD_BYTES 1900000000 CACHE STRING "Largest payload archive the 32-bit installer is built with")
# A 64-bit image declares its size in 32 bits too: below 4 GiB, program
# included. An installer of 3,896,299,520 bytes installs under Wine.
set(KETROVA_MAX_PAYLOAD_BYTES_64 3900000000 CACHE STRING "Largest payload archive the 64-bit installer is built with")
# The time of the sources, as configured (scripts/build takes the last
# commit's): no file of the payload carries a later time.
set(KETROVA_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")

foreach(limit KETROVA_MAX_PAYLOAD_BYTES KETROVA_MAX_PAYLOAD_BYTES_64)
    if(NOT ${limit} MATCHES "^[0-9]+$")
        message(FATAL_ERROR "${limit} must be a number of bytes, not \"${${limit}}\".")
    endif()
endforeach()
if(KETROVA_PRODUCT_NAME STREQUAL "")
    message(FATAL_ERROR "KETROVA_PRODUCT_NAME is empty: the installer needs the product's name.")
endif()
if(KETROVA_PUBLISHER STREQUAL "")
    set(KETROVA_PUBLISHER_TEXT "${KETROVA_PRODUCT_NAME}")
else()
    set(KETROVA_PUBLISHER_TEXT "${KETROVA_PUBLISHER}")
endif()
if(KETROVA_EXE_NAME STREQUAL "" OR KETROVA_EXE_NAME MATCHES "[\\\\/:]")
    message(FATAL_ERROR "KETROVA_EXE_NAME must be a plain file name, not \"${KETROVA_EXE_NAME}\".")
endif()
foreach(switch KETROVA_PLUGIN_PARCIAL KETROVA_PLUGIN_FULL)
    if(NOT ${switch} STREQUAL "Sim" AND NOT ${switch} STREQUAL "Nao")
        message(FATAL_ERROR "${switch} must be Sim or Nao, not \"${${switch}}\".")
    endif()
endforeach()
foreach(entry KETROVA_PRODUCT_NAME KETROVA_VERSION_YEAR KETROVA_RELEASE KETROVA_EXE_NAME KETROVA_PUBLISHER)
    string(LENGTH "${${entry}}" length)
    if(length GREATER 255)
        message(FATAL_ERROR "${entry} is longer than the 255 characters that the installer reads.")
    endif()
endforeach()
if(NOT KETROVA_PRODUCT_DIR STREQUAL "")
    if(NOT IS_DIRECTORY "${KETROVA_PRODUCT_DIR}")
        message(FATAL_ERROR "KETROVA_PRODUCT_DIR \"${KETROVA_PRODUCT_DIR}\" is not a folder.")
    endif()
    if(NOT EXISTS "${KETROVA_PRODUCT_DIR}/${KETROVA_EXE_NAME}" OR IS_DIRECTORY "${KETROVA_PRODUCT_DIR}/${KETROVA_EXE_NAME}")
        message(FATAL_ERROR "The product folder \"${KETROVA_PRODUCT_DIR}\" does not hold ${KETROVA_EXE_NAME} (KETROVA_EXE_NAME).")
    endif()
endif()
# The winget manifest that the build writes beside the installer.
set(KETROVA_WINGET_ID "" CACHE STRING "winget package identifier; empty for <publisher>.<product name>")
set(KETROVA_WINGET_INSTALLER_URL "https://example.com/Instalador.exe" CACHE STRING
    "Address from which winget downloads the installer; a placeholder until the vendor sets it")
set(KETROVA_WINGET_LOCALE "pt-BR" CACHE STRING "Locale of the manifest's texts")
set(KETROVA_WINGET_PACKAGE_NAME "" CACHE STRING "Package name that winget shows; empty for the product name")
set(KETROVA_WINGET_SHORT_DESCRIPTION "" CACHE STRING "One-line description; empty for \"<product name> para Windows\"")
set(KETROVA_WINGET_LICENSE "" CACHE STRING "The license; empty for \"Licença de uso do <product name>\"")
