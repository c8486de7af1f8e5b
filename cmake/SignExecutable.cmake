cmake_minimum_required(VERSION 3.25)
# cmake -DOSSLSIGNCODE=... -DPKCS12=... -DPASSWORD_FILE=... [-DTIMESTAMP_URL=...]
#       -DEXECUTABLE=... -DUNSIGNED=... -P SignExecutable.cmake
# Keeps the linked executable at UNSIGNED and writes it, signed with SHA-256
# Authenticode, back to EXECUTABLE. The password is read from its file by
# osslsigncode, never put on a command line. A failure removes EXECUTABLE, so
# that no unsigned file stands where the signed one belongs and the next build
# links and signs again.
include(${CMAKE_CURRENT_LIST_DIR}/SigningChecks.cmake)
ketrova_check_signing_files("${PKCS12}" "${PASSWORD_FILE}")

get_filename_component(unsigned_dir "${UNSIGNED}" DIRECTORY)
file(MAKE_DIRECTORY "${unsigned_dir}")
file(COPY_FILE "${EXECUTABLE}" "${UNSIGNED}")
set(timestamp)
if(TIMESTAMP_URL)
    set(timestamp -ts "${TIMESTAMP_URL}")
endif()
execute_process(
    COMMAND "${OSSLSIGNCODE}" sign -pkcs12 "${PKCS12}" -readpass "${PASSWORD_FILE}" -h sha256 ${timestamp}
        -in "${UNSIGNED}" -out "${EXECUTABLE}.signing"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    file(REMOVE "${EXECUTABLE}" "${EXECUTABLE}.signing")
    string(STRIP "${output}" output)
    message(FATAL_ERROR "Cannot sign ${EXECUTABLE} with ${PKCS12}: the password in ${PASSWORD_FILE} does not "
                        "open it, it holds no certificate with its key, or the time-stamp server did not answer. "
                        "osslsigncode said:\n${output}")
endif()
file(RENAME "${EXECUTABLE}.signing" "${EXECUTABLE}")
