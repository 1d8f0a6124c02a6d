#include "winget_manifest.h"

#include <cctype>
#include <filesystem>
#include <stdexcept>

#include "component.h"
#include "engine/result_codes.h"
#include "start/exit_codes.h"
#include "sys/file_digest.h"
#include "sys/text.h"

namespace fs = std::filesystem;

namespace {

const char kManifestVersion[] = "1.6.0";
const char kLocale[] = "de-DE";  // the installer's one language

// The installer's exit codes that the package manager can tell its user
// something about; every other one is a failure the log explains.
struct ReturnCode {
  int Code;
  const char* Response;
};
const ReturnCode kReturnCodes[] = {
    {-rcMemoryError, "insufficientMemory"},
    // Unattended, a folder of -path: that is no local fixed drive's or cannot be made.
    {-rcCreateFolder, "invalidParameter"},
    {-rcProgramStillRunning, "packageInUse"},
    // Administrator rights are needed: the user's rights forbid the installation.
    {-rcNeedAdmin, "blockedByPolicy"},
    {-rcNeedBaseInstall, "missingDependency"},
    {-rcDiskSpace, "diskFull"},
    {-rcTempFile, "diskFull"},  // a full disk fails the copy with this one
    {ecCancelled, "cancelledByUser"},
    {ecAlreadyRunning, "installInProgress"},
    // Installed; the next start of the system completes it.
    {ecRestartNeeded, "rebootRequiredToFinish"},
};

// A YAML double-quoted scalar: the control characters, which YAML does not
// take as they are (also U+007F to U+009F, which Windows-1252 texts can
// hold), escaped.
std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const bool c1 = c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0;
    if (c < ' ' || c == 0x7F || c1) {
      quoted += FormatText("\\x%02X", c1 ? static_cast<unsigned char>(text[++i]) : c);
      continue;
    }
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += static_cast<char>(c);
  }
  return quoted + "\"";
}

// The schema line that editors read, and the package's identity.
std::string Head(const std::string& type, const WingetPackage& package) {
  return "# yaml-language-server: $schema=https://aka.ms/winget-manifest." + LowerAscii(type) + "." + kManifestVersion +
         ".schema.json\n\nPackageIdentifier: " + Quoted(package.Identifier) +
         "\nPackageVersion: " + Quoted(package.Version) + "\n";
}

std::string Tail(const std::string& type) {
  return "ManifestType: " + type + "\nManifestVersion: " + kManifestVersion + "\n";
}

std::string VersionFile(const WingetPackage& package) {
  return Head("version", package) + "DefaultLocale: " + kLocale + "\n" + Tail("version");
}

std::string ReturnCodes() {
  std::string text = "ExpectedReturnCodes:\n";
  for (const ReturnCode& code : kReturnCodes)
    text += "- InstallerReturnCode: " + std::to_string(code.Code) + "\n  ReturnResponse: " + code.Response + "\n";
  return text;
}

std::string InstallerFile(const WingetPackage& package, const std::string& sha256) {
  std::string digest = sha256;
  for (char& c : digest) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return Head("installer", package) + "InstallerLocale: " + kLocale +
         "\nInstallerType: exe\nScope: machine\nInstallModes:\n- interactive\n- silent\n- silentWithProgress\n"
         "InstallerSwitches:\n  Silent: \"-hide\"\n  SilentWithProgress: \"-autorun\"\n"
         // Quoted, so that a folder with blanks stays one argument.
         "  InstallLocation: " +
         Quoted("-path:\"<INSTALLPATH>\"") + "\n" + ReturnCodes() +
         "UpgradeBehavior: install\nElevationRequirement: elevationRequired\nProductCode: " +
         Quoted(package.ProductCode) + "\nAppsAndFeaturesEntries:\n- DisplayName: " + Quoted(package.DisplayName) +
         "\n  Publisher: " + Quoted(package.Publisher) + "\n  DisplayVersion: " + Quoted(package.Version) +
         "\n  ProductCode: " + Quoted(package.ProductCode) +
         "\nInstallers:\n- Architecture: x86\n  InstallerUrl: " + Quoted(package.Url) +
         "\n  InstallerSha256: " + digest + "\n" + Tail("installer");
}

std::string LocaleFile(const WingetPackage& package) {
  return Head("defaultLocale", package) + "PackageLocale: " + kLocale + "\nPublisher: " + Quoted(package.Publisher) +
         "\nPackageName: " + Quoted(package.Name) + "\nLicense: " + Quoted(package.License) +
         "\nShortDescription: " + Quoted(package.Description) + "\n" + Tail("defaultLocale");
}

}  // namespace

void WriteWingetManifest(const WingetPackage& package, const std::string& installer) {
  const std::string sha256 = FileSha256(installer);
  if (sha256.empty()) throw std::runtime_error(installer + ": cannot be read for its SHA-256");
  const fs::path folder = package.Folder;
  fs::create_directories(folder);
  const std::string& name = package.Identifier;
  WriteWholeFile(folder / fs::u8path(name + ".yaml"), VersionFile(package));
  WriteWholeFile(folder / fs::u8path(name + ".installer.yaml"), InstallerFile(package, sha256));
  WriteWholeFile(folder / fs::u8path(name + ".locale." + kLocale + ".yaml"), LocaleFile(package));
}
