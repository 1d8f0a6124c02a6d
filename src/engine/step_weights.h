// Fixed progress weights of the install and uninstall steps. Platform-free.
#pragma once

#include <cstdint>
#include <string>

// The weight of a step, looked up without regard to case in the install or the
// uninstall table; a name in neither (or an empty name) weighs 1.
uint16_t GetStepWeight(const std::string& stepName, bool uninstallTable);
