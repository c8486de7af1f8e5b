# Authenticode signing of the executables after linking, as build settings.
# Unset, nothing is signed. Set, every executable that ships (the installer,
# its editions and the uninstaller it embeds, signed first) is signed; the
# unsigned one stays in an "unsigned" folder beside it.
include(SigningChecks)
set(KETROVA_SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 file with the code-signing certificate and its key; empty: no signing")
set(KETROVA_SIGN_PASSWORD_FILE "" CACHE FILEPATH "File whose content is the PKCS#12 file's password")
set(KETROVA_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamp server; empty: no time stamp")
# The main suite's version: the backports' one takes other options.
set(KETROVA_SIGNER_VERSION 2.5)

if(KETROVA_SIGN_PKCS12)
    ketrova_check_signing_files("${KETROVA_SIGN_PKCS12}" "${KETROVA_SIGN_PASSWORD_FILE}")
    find_program(KETROVA_OSSLSIGNCODE osslsigncode REQUIRED)
    execute_process(COMMAND ${KETROVA_OSSLSIGNCODE} --version OUTPUT_VARIABLE version ERROR_QUIET)
    if(NOT version MATCHES "^osslsigncode ${KETROVA_SIGNER_VERSION}[ ,\n]")
        message(FATAL_ERROR "Signing needs osslsigncode ${KETROVA_SIGNER_VERSION} (scripts/bootstrap installs it); "
                            "${KETROVA_OSSLSIGNCODE} is another version.")
    endif()
endif()

# ketrova_sign(TARGET): signs the target's file after each link.
function(ketrova_sign target)
    if(NOT KETROVA_SIGN_PKCS12)
        return()
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -DOSSLSIGNCODE=${KETROVA_OSSLSIGNCODE} -DPKCS12=${KETROVA_SIGN_PKCS12}
            -DPASSWORD_FILE=${KETROVA_SIGN_PASSWORD_FILE} -DTIMESTAMP_URL=${KETROVA_SIGN_TIMESTAMP_URL}
            -DEXECUTABLE=$<TARGET_FILE:${target}>
            -DUNSIGNED=$<TARGET_FILE_DIR:${target}>/unsigned/$<TARGET_FILE_NAME:${target}>
            -P ${CMAKE_SOURCE_DIR}/cmake/SignExecutable.cmake
        COMMENT "Signing ${target}"
        VERBATIM)
endfunction()
