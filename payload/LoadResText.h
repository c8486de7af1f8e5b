// Entries of the executable's string table.
#pragma once

#include <string>

// The text of entry id, at most 255 characters; empty when there is no such entry.
std::wstring LoadResText(int id);
