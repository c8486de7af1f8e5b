// DLL loading confined to the system folder: users start the installer from a
// downloads folder, where anything may lie beside it.
#pragma once

// Call first thing at entry.
void RestrictDllSearchToSystem();
