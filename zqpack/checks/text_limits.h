// How many characters of a text in install.ini and the ver.ini files the
// installer keeps: the checks report longer texts, and zqpack new refuses
// names that would make them. Platform-free.
#pragma once

#include <cstddef>

constexpr size_t kComponentNameLimit = 127, kExeNameLimit = 127, kComponentPathLimit = 260, kVersionLimit = 22;
constexpr size_t kTitleLimit = 63, kProgramLimit = 386;
// "HKEY_CURRENT_USER\Software\" + RegRoot + "\" + name.
constexpr size_t kUserKeyLimit = 254;
