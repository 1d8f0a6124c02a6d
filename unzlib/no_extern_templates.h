// Included before every source of the library: the standard string is then
// compiled into the library itself instead of being taken from libstdc++,
// whose copy brings the exception runtime and the thread library along and
// would not fit the library's slot in the installer.
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE 0
