// The section and key names an INI file may use, and warnings for names the
// installer never reads (a likely typo). Platform-free.
#pragma once

#include <string>
#include <vector>

#include "checks/findings.h"
#include "checks/profile_text.h"

struct KnownSection {
  std::string Name;
  std::vector<std::string> Keys;  // empty: a list section, any key is read
};

// Warns about sections and keys outside known (an error when a section's name
// is a near miss of a known section the file lacks), about lines before the first
// section, a section written twice (only the first is read) and a key written
// twice in one section (its first value is read for both).
void CheckNames(const ProfileText& profile, const std::string& file, const std::vector<KnownSection>& known,
                Findings& findings);

// The candidate nearest to name (case ignored) if it is near enough to be
// the one meant, else empty.
std::string NearestName(const std::string& name, const std::vector<std::string>& candidates);
