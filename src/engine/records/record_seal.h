// The seals of the records the installer writes (uninstall, clear-up and error
// records): each record's SHA-256, kept under a machine key of the
// installer's own. Records lie in folders ordinary users may be able to write;
// that key only administrators can write, and no uninstallation or clear-up
// of a product removes it, so a clear-up record outlives the product's keys.
// A record acts only while its seal matches.
#pragma once

#include <functional>
#include <string>

constexpr char kRecordSealKey[] = "HKEY_LOCAL_MACHINE\\Software\\Quotaline Setup Records";

// Seals the record as it is now; false when its digest cannot be made or kept.
bool SealRecord(const std::string& path);

// Whether the record exists and its digest is the one its seal holds.
bool RecordSealed(const std::string& path);

// Drops the seal of a record that was deleted or is to be written anew.
void ForgetRecordSeal(const std::string& path);

// Whether a file of that name is one of the records (uninst.ini, error_inst.ini).
bool IsRecordName(const std::string& fileName);

// Records are read and written through a copy in the run's working folder
// (workFolder), which an elevated run alone can change, so that nobody
// changes them between the check of the seal and their use.

// A copy of the record there, checked against the record's seal: its path,
// or empty when the record is missing, unsealed or changed. The caller
// drops the copy when it is read.
std::string SealedCopy(const std::string& path, const std::string& workFolder);
void DropCopy(const std::string& copy);

// Writes the record through its own copy: write receives the copy's path,
// which holds the sealed record, or nothing when there is none (merge is
// false then); the result replaces the record and is sealed. With
// sealedOnly, a record without its seal is left as it is. The new record is
// put in place whole, or not at all: a record that cannot be replaced (a
// full disk, a link in its place, a file other names share) stays as it was,
// with its seal. False when nothing was written.
bool WriteThroughCopy(const std::string& path, const std::string& workFolder,
                      const std::function<void(const std::string& copy, bool merge)>& write, bool sealedOnly = false);
