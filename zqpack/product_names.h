// The names zqpack new writes into a product, as the installer can carry
// them: file and folder names go into the archives in code page 850 and into
// the INI files in Windows-1252, the product's name becomes a folder, a
// program group and a registry key, the maker's a registry key. Platform-free.
#pragma once

#include <string>

// The file, folder or product name in Windows-1252. Raises
// std::runtime_error("<where>: ...") for a name the installer cannot carry:
// a character that code page 850 or Windows-1252 lacks, one that Windows
// forbids in file names, "=" or "%" (the installer's lists split and expand
// at them), a control character, or an end Windows drops (a blank or a dot).
std::string FileNameText(const std::string& utf8, const std::string& where);

// The maker's name in Windows-1252, for RegRoot and Publisher: the same
// characters, but no "\" (it would nest the key) and no blank at either end.
std::string MakerText(const std::string& utf8, const std::string& where);
