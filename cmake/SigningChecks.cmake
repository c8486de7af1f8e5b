# The signing inputs' checks, shared by the configure step and the signing script.
function(ketrova_check_signing_files pkcs12 password_file)
    if(NOT EXISTS "${pkcs12}" OR IS_DIRECTORY "${pkcs12}")
        message(FATAL_ERROR "KETROVA_SIGN_PKCS12: the certificate file \"${pkcs12}\" is missing.")
    endif()
    if(password_file STREQUAL "" OR NOT EXISTS "${password_file}" OR IS_DIRECTORY "${password_file}")
        message(FATAL_ERROR "KETROVA_SIGN_PASSWORD_FILE: the file with the certificate's password "
                            "\"${password_file}\" is missing (the password is never given on a command line).")
    endif()
endfunction()
