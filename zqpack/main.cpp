// zqpack: builds a ready installer from the program image, the unzip library
// and one folder or ZIP archive per component, or lists an installer's payload.
#include <cstring>
#include <iostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "checks/findings.h"
#include "component_files.h"
#include "container.h"
#include "installer_version.h"
#include "new_product.h"
#include "option_parser.h"
#include "pack_progress.h"
#include "signing.h"
#include "winget_manifest.h"

namespace {

const char kUsage[] =
    "usage: zqpack new --name NAME [--maker MAKER] [--version V] FILES_FOLDER OUTPUT_FOLDER\n"
    "       zqpack --image zqsetup.exe --library UnzLib.dll --output setup.exe [--version V]\n"
    "              [--no-check | --strict]\n"
    "              [--sign CERT.p12 [--sign-password-file FILE] [--timestamp URL]]\n"
    "              [--winget DIR --winget-id PUBLISHER.PACKAGE --winget-url URL --winget-license LICENSE\n"
    "               [--winget-description TEXT] [--winget-name NAME]] COMPONENT...\n"
    "       zqpack check [--strict] COMPONENT...\n"
    "       zqpack --list setup.exe\n"
    "new writes a product that builds as it is into the empty or new OUTPUT_FOLDER: the base\n"
    "component uninst/ (install.ini with NAME, MAKER as registry root and publisher, a program\n"
    "group with a shortcut to each .exe at the top of FILES_FOLDER) and the component program/\n"
    "with the files, versioned as the first .exe (else V, else 1.0.0.0).\n"
    "Each COMPONENT is a folder (zipped with itself as the top folder) or a ready .zip file.\n"
    "check reads every ver.ini and install.ini as the installer will and reports each mistake\n"
    "as \"file:section:key: error|warning: message (line N)\"; a build runs the same checks\n"
    "first and stops at an error, unless --no-check is given; --strict stops at a warning too,\n"
    "for release builds.\n"
    "The installer's version resource names the product: its version (V, else the first\n"
    "component's ver.ini version, else the image's), name, maker and \"NAME Setup\"; the installer\n"
    "shows and registers that version.\n"
    "--sign signs the installer with osslsigncode; the signature covers the whole file.\n"
    "--winget writes the package manager's manifest (schema 1.6.0) of the finished installer into\n"
    "DIR: its SHA-256, its version and the uninstall entry the installer writes, whose publisher is\n"
    "install.ini's Publisher, else its RegRoot; the description is the entry's title unless given.\n"
    "zqpack --help shows a worked example.\n";

const char kExample[] =
    "\nA start: zqpack new --name Quotaline --maker Zelo files product  writes product/uninst and\n"
    "product/program from the folder files, ready to build.\n"
    "\nA worked example: two component folders.\n"
    "  product/uninst/install.ini   [install]\n"
    "                               name=Quotaline\n"
    "                               defaultDir=%programsdir%Quotaline\\\n"
    "                               RegRoot=Zelo\n"
    "                               [base]\n"
    "                               name=viewer\n"
    "  product/uninst/ver.ini       [component]\n"
    "                               name=uninst\n"
    "                               [copy]\n"
    "                               %thisDir%install.ini=%installDir%uninst\\install.ini\n"
    "  product/viewer/ver.ini       [component]\n"
    "                               name=viewer\n"
    "                               [copy]\n"
    "                               %thisDir%app.exe=%installDir%viewer\\app.exe\n"
    "  product/viewer/app.exe\n"
    "\n"
    "Build:      zqpack --image zqsetup.exe --library UnzLib.dll --output setup.exe \\\n"
    "                   product/uninst product/viewer\n"
    "Manifest:   the same with --winget winget --winget-id Zelo.Quotaline \\\n"
    "                   --winget-url https://zelo.example/setup.exe --winget-license Proprietary\n"
    "Check:      zqpack check product/uninst product/viewer   (a build checks them too)\n"
    "List:       zqpack --list setup.exe\n"
    "Install:    setup.exe -hide          exit code 0, or 3010 when a restart completes it\n"
    "Uninstall:  %windir%\\zquninst\\Quotaline\\zquninst.exe -uninstall:\"C:\\Program "
    "Files\\Quotaline\\uninst\\uninst.ini\" -hide\n"
    "            (the command of the uninstall entry's QuietUninstallString); exit code 0\n"
    "The installer's exit codes: 0 done, 3010 done but a restart completes it, N the failure -N\n"
    "of its log, 1602 closed by the user, 1618 another installer runs.\n"
    "\n"
    "zqpack's exit codes: 0 done, 1 errors in the components, 2 usage, 3 input or output failure.\n";

// zqpack's exit codes.
enum ExitCode { kExitDone = 0, kExitCheckErrors = 1, kExitUsage = 2, kExitInputOutput = 3 };

struct Arguments {
  bool Check = false, NoCheck = false, Strict = false;
  std::string Image, Library, Output, List, Version;
  SigningOptions Signing;
  WingetOptions Winget;
  std::vector<std::string> Components;
};

const std::vector<std::string> kBuildOptions = {"--image",      "--library",        "--output",
                                                "--list",       "--no-check",       "--strict",
                                                "--version",    "--sign",           "--sign-password-file",
                                                "--timestamp",  "--winget",         "--winget-id",
                                                "--winget-url", "--winget-license", "--winget-description",
                                                "--winget-name"};

// The arguments of "check": component folders, and --strict.
std::string ParseCheck(int argc, char** argv, Arguments& arguments) {
  arguments.Check = true;
  for (int i = 2; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--strict")
      arguments.Strict = true;
    else if (argument.compare(0, 2, "--") == 0)
      return "check takes component folders and --strict only, not " + argument;
    else
      arguments.Components.push_back(argument);
  }
  return arguments.Components.empty() ? "check needs at least one COMPONENT" : std::string();
}

// What the options given ask of each other.
std::string CheckCombination(const Arguments& arguments) {
  const SigningOptions& signing = arguments.Signing;
  if (signing.Pkcs12.empty() && !signing.PasswordFile.empty()) return "--sign-password-file goes with --sign";
  if (signing.Pkcs12.empty() && !signing.TimestampUrl.empty()) return "--timestamp goes with --sign";
  if (!arguments.List.empty()) {
    const bool alone = !arguments.NoCheck && !arguments.Strict && arguments.Image.empty() &&
                       arguments.Version.empty() && arguments.Library.empty() && arguments.Output.empty() &&
                       arguments.Components.empty() && signing.Pkcs12.empty() && arguments.Winget.Folder.empty();
    return alone ? std::string() : "--list takes the installer only";
  }
  for (const auto& [value, name] :
       {std::make_pair(&arguments.Image, "--image"), std::make_pair(&arguments.Library, "--library"),
        std::make_pair(&arguments.Output, "--output")})
    if (value->empty()) return std::string(name) + " is missing";
  if (arguments.Components.empty()) return "no COMPONENT given";
  return arguments.Winget.Missing();
}

// The message for a command line that is none of the forms of the usage.
std::string Parse(int argc, char** argv, Arguments& arguments) {
  if (argc > 1 && std::strcmp(argv[1], "check") == 0) return ParseCheck(argc, argv, arguments);
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    bool* flag = argument == "--no-check" ? &arguments.NoCheck : argument == "--strict" ? &arguments.Strict : nullptr;
    if (flag) {
      *flag = true;
      continue;
    }
    std::string* option = argument == "--image"                ? &arguments.Image
                          : argument == "--library"            ? &arguments.Library
                          : argument == "--output"             ? &arguments.Output
                          : argument == "--version"            ? &arguments.Version
                          : argument == "--list"               ? &arguments.List
                          : argument == "--sign"               ? &arguments.Signing.Pkcs12
                          : argument == "--sign-password-file" ? &arguments.Signing.PasswordFile
                          : argument == "--timestamp"          ? &arguments.Signing.TimestampUrl
                                                               : arguments.Winget.Option(argument);
    std::string mistake;
    if (option)
      mistake = TakeOptionValue(argc, argv, i, *option);
    else if (argument.compare(0, 2, "--") == 0)
      mistake = UnknownOption(argument, kBuildOptions);
    else
      arguments.Components.push_back(argument);
    if (!mistake.empty()) return mistake;
  }
  if (arguments.NoCheck && arguments.Strict) return "--strict and --no-check exclude each other";
  return CheckCombination(arguments);
}

// Names the mistake and where the forms are.
int UsageMistake(const std::string& mistake) {
  std::cerr << "zqpack: " << mistake << "\nzqpack --help shows the forms\n";
  return kExitUsage;
}

std::vector<Component> LoadComponents(const Arguments& arguments, bool showProgress = false) {
  PackProgress progress(std::cerr, showProgress, arguments.Components.size());
  std::vector<Component> components;
  for (const std::string& path : arguments.Components) {
    components.push_back(LoadComponent(path, [&](uint64_t bytes) { progress.Packed(bytes); }));
    progress.ComponentDone();
  }
  return components;
}

std::vector<ComponentFiles> ReadFiles(const std::vector<Component>& components) {
  std::vector<ComponentFiles> files;
  for (const Component& component : components) files.push_back(ReadComponentFiles(component));
  return files;
}

// Prints every finding; false when one of them is an error, or, strict, any.
bool Check(const std::vector<ComponentFiles>& files, bool strict) {
  const Findings findings = CheckProduct(files);
  size_t errors = 0;
  for (const Finding& finding : findings.List()) {
    std::cerr << FormatFinding(finding) << "\n";
    errors += finding.Error ? 1 : 0;
  }
  if (!findings.List().empty())
    std::cerr << "zqpack: " << errors << " error(s), " << findings.List().size() - errors << " warning(s)\n";
  return strict ? findings.List().empty() : errors == 0;
}

ExitCode Build(const Arguments& arguments) {
  std::vector<uint8_t> image = ReadWholeFile(arguments.Image);
  const std::vector<uint8_t> library = ReadWholeFile(arguments.Library);
  const std::vector<Component> components = LoadComponents(arguments, StandardErrorIsTerminal());
  CheckContainerParts(image, library, components);
  const std::vector<ComponentFiles> files = ReadFiles(components);
  // The installer names the release: its file properties, the uninstall entry and the manifest.
  const InstallerTexts texts = ProductInstallerTexts(arguments.Version, image, files, arguments.Output);
  const bool versioned = WriteInstallerVersion(image, texts);
  if (!arguments.NoCheck && !Check(files, arguments.Strict)) {
    std::cerr << "zqpack: " << arguments.Output << " not written\n";
    return kExitCheckErrors;
  }
  const bool manifest = !arguments.Winget.Folder.empty();
  const WingetPackage package = manifest ? DescribePackage(arguments.Winget, image, components) : WingetPackage();
  WriteContainer(arguments.Output, image, library, components);
  if (!arguments.Signing.Pkcs12.empty()) SignInstaller(arguments.Output, arguments.Signing);
  std::cout << arguments.Output << ": " << components.size() << " component(s), "
            << (versioned ? "version " + VersionText(texts.Version) + " (from " + texts.VersionFrom + ")"
                          : std::string("the image has no version resource"))
            << (arguments.Signing.Pkcs12.empty() ? "" : ", signed") << "\n";
  if (manifest) {
    WriteWingetManifest(package, arguments.Output);
    std::cout << package.Folder << ": winget manifest of " << package.Identifier << " " << package.Version << "\n";
  }
  return kExitDone;
}

// Runs the command; a failure to read or write is reported and ends with kExitInputOutput.
template <typename Command>
int Reported(Command command) {
  try {
    return command();
  } catch (const std::exception& error) {
    std::cerr << "zqpack: " << error.what() << "\n";
    return kExitInputOutput;
  }
}

int New(int argc, char** argv) {
  NewProductOptions options;
  const std::string mistake = ParseNewProduct(argc, argv, options);
  if (!mistake.empty()) return UsageMistake(mistake);
  return Reported([&] {
    std::cout << WriteNewProduct(options);
    return kExitDone;
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::cout << kUsage << kExample;
    return kExitDone;
  }
  if (argc == 1) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  if (std::strcmp(argv[1], "new") == 0) return New(argc, argv);
  Arguments arguments;
  const std::string mistake = Parse(argc, argv, arguments);
  if (!mistake.empty()) return UsageMistake(mistake);
  return Reported([&] {
    if (arguments.Check)
      return Check(ReadFiles(LoadComponents(arguments)), arguments.Strict) ? kExitDone : kExitCheckErrors;
    if (!arguments.List.empty()) {
      ListContainer(arguments.List, std::cout);
      return kExitDone;
    }
    return Build(arguments);
  });
}
