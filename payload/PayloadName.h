// The payload's resource name; installation copies the resource into the
// target folder under this name plus ".zip", so no root entry may bear that.
#pragma once

constexpr wchar_t PayloadResourceName[] = L"Programa";
constexpr wchar_t PayloadArchiveName[] = L"Programa.zip";
