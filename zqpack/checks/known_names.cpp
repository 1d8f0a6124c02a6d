#include "checks/known_names.h"

#include <algorithm>

#include "checks/quoted.h"
#include "sys/text.h"

namespace {

size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string Suggestion(const std::string& name, const std::vector<std::string>& candidates) {
  const std::string nearest = NearestName(name, candidates);
  return nearest.empty() ? std::string() : " (did you mean " + Quoted(nearest) + "?)";
}

const KnownSection* FindKnown(const std::vector<KnownSection>& known, const std::string& name) {
  for (const KnownSection& section : known)
    if (SameText(section.Name, name)) return &section;
  return nullptr;
}

void CheckKeys(const ProfileSection& section, const KnownSection& known, const std::string& file, Findings& findings) {
  std::vector<std::string> seen;
  for (const ProfileEntry& entry : section.Entries) {
    const Place where{file, section.Name, entry.Key, entry.Line};
    const bool repeated =
        std::any_of(seen.begin(), seen.end(), [&](const std::string& key) { return SameText(key, entry.Key); });
    seen.push_back(entry.Key);
    if (!known.Keys.empty() && std::none_of(known.Keys.begin(), known.Keys.end(),
                                            [&](const std::string& key) { return SameText(key, entry.Key); }))
      findings.Warning(where, "the installer never reads this key" + Suggestion(entry.Key, known.Keys));
    else if (repeated)
      findings.Warning(where,
                       "the key is written twice in its section; the installer reads its first value both times");
  }
}

}  // namespace

std::string NearestName(const std::string& name, const std::vector<std::string>& candidates) {
  std::string nearest;
  size_t best = std::max<size_t>(2, name.size() / 3) + 1;
  for (const std::string& candidate : candidates) {
    const size_t distance = EditDistance(LowerAscii(name), LowerAscii(candidate));
    if (distance < best) {
      best = distance;
      nearest = candidate;
    }
  }
  return nearest;
}

void CheckNames(const ProfileText& profile, const std::string& file, const std::vector<KnownSection>& known,
                Findings& findings) {
  std::vector<std::string> names, seen;
  for (const KnownSection& section : known) names.push_back(section.Name);
  for (const ProfileSection& section : profile.Sections()) {
    if (section.Line == 0) {
      for (const ProfileEntry& entry : section.Entries)
        findings.Warning({file, "", entry.Key, entry.Line},
                         "the line stands before any section; the installer never reads it");
      continue;
    }
    const Place where{file, section.Name, "", section.Line};
    const KnownSection* expected = FindKnown(known, section.Name);
    const bool repeated =
        std::any_of(seen.begin(), seen.end(), [&](const std::string& name) { return SameText(name, section.Name); });
    seen.push_back(section.Name);
    const std::string meant = expected ? std::string() : NearestName(section.Name, names);
    if (!meant.empty() && !profile.Find(meant))
      findings.Error(where, "the installer never reads this section (did you mean " + Quoted(meant) + "?), and [" +
                                meant + "] is missing: the lines meant for it are lost");
    else if (!expected)
      findings.Warning(where, "the installer never reads this section" + Suggestion(section.Name, names));
    else if (repeated)
      findings.Warning(where, "the section is written twice; the installer reads only the first");
    else
      CheckKeys(section, *expected, file, findings);
  }
}
