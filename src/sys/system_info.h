// Which Windows runs, whether the user is an administrator, and the restart.
#pragma once

// Whether the operating system belongs to the NT family; a failing query counts as not NT.
bool IsNT();

// Whether the process token passes an access check against the Administrators
// group. Throws std::runtime_error, "<step>: <system error text>", when a step fails.
bool IsAdmin();

// Restarts the machine, closing applications by force (with the shutdown
// privilege on the NT family); true when the restart was started.
bool RestartWindows();
