// The archive component's message table. Platform-free.
#pragma once

#include <string>

// The text of a message number, or the fallback that names the missing number.
std::string ZipMessageText(int number);
