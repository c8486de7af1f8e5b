// The payload's resource name and the names the installer itself uses in the
// target folder while it installs; no root entry of a payload may bear these.
#pragma once

// The payload's copy, extracted from there.
constexpr wchar_t PayloadResourceName[] = L"Programa";
constexpr wchar_t PayloadArchiveName[] = L"Programa.zip";
// What an extraction over existing files will create, and those files kept
// until it is complete.
constexpr wchar_t ReplacementJournalName[] = L"Programa.journal";
constexpr wchar_t ReplacedFilesName[] = L"Programa.anterior";

// What a completed installation leaves beside the product to remove it.
constexpr wchar_t UninstallerName[] = L"Desinstalar.exe";
constexpr wchar_t InstallRecordName[] = L"Programa.instalado";

constexpr const wchar_t* ReservedRootNames[] = {PayloadArchiveName, ReplacementJournalName, ReplacedFilesName,
                                                UninstallerName, InstallRecordName};
