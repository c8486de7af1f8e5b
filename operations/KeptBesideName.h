// The name a user's file takes when the new payload brings a file of its name.
#pragma once

#include <string>
#include <string_view>

// "notas.txt" -> "notas (do usuário).txt", and from the second attempt on
// "notas (do usuário 2).txt"; a folder's name keeps its dots:
// "v1.2" -> "v1.2 (do usuário)". Only the last component of a relative name
// changes.
std::wstring KeptBesideName(std::wstring_view name, bool isFolder, int attempt);
