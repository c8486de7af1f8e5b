cmake_minimum_required(VERSION 3.25)
# cmake -DOBJDUMP=... -DEXECUTABLE=... -P CheckImports.cmake
# Fails when the executable imports a DLL outside the allow-list. Windows
# resolves static imports before the program's first line, from the
# program's own folder first unless the DLL is on the system's known-DLL list:
# every DLL allowed here is. Anything else (comctl32 among them) is loaded at
# run time from the system folder only.
set(allowed advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll user32.dll)
execute_process(COMMAND ${OBJDUMP} -p ${EXECUTABLE} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Cannot read the import table of ${EXECUTABLE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
foreach(import IN LISTS imports)
    string(REGEX REPLACE "DLL Name: " "" dll "${import}")
    string(TOLOWER "${dll}" dll)
    if(NOT dll IN_LIST allowed)
        message(FATAL_ERROR "${EXECUTABLE} imports ${dll}, which is not on the known-DLL allow-list: "
                            "a copy planted beside the installer would be loaded. Load it at run time "
                            "with LoadLibraryExW(..., LOAD_LIBRARY_SEARCH_SYSTEM32) instead.")
    endif()
endforeach()
