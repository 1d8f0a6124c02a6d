// What the descriptor checks read from a component's archive: the names of
// its files and the texts of its ver.ini and install.ini.
#pragma once

#include "checks/product_checks.h"
#include "component.h"

// Raises std::runtime_error when a member cannot be read back.
ComponentFiles ReadComponentFiles(const Component& component);
