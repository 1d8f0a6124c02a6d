// The running system's conversions of archive member names into its ANSI
// code page.
#pragma once

#include "archive/member_names.h"
#include "archive/zip_directory.h"

// The directory reader's conversion under that setting: OEM names as the
// system converts them (its look-alikes for characters the ANSI code page
// lacks), UTF-8 names with "?" for those, never a look-alike that could be a
// separator or a dot.
NameConversion SystemNameConversion(TCodePage codePage);
