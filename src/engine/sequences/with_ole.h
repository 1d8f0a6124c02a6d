// The registrations run inside one OLE initialisation of the thread.
#pragma once

#include <functional>

class TInstallObject;

// Runs work inside one OLE initialisation of the thread; false, logged, when
// OLE cannot be initialised.
bool WithOle(TInstallObject& object, const std::function<void()>& work);
