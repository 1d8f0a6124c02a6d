#include "new_product.h"

#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "checks/check_context.h"
#include "engine/config/product_files.h"
#include "command_line_text.h"
#include "component.h"
#include "option_parser.h"
#include "file_times.h"
#include "installer_version.h"
#include "pe_version.h"
#include "product_names.h"
#include "product_texts.h"
#include "sys/path_text.h"
#include "sys/text.h"

namespace fs = std::filesystem;

namespace {

const char kDefaultVersion[] = "1.0.0.0";
const char kDescriptor[] = "ver.ini";
// 2000-01-01: the empty record and logs are older than any an installation
// writes, so that an update never copies them over the installation's own.
const std::time_t kEmptyFilesTime = 946684800;

struct ProductFile {
  fs::path Source, Relative;
};

struct Plan {
  NewProduct Product;
  std::vector<ProductFile> Files;  // in the order of Product.Members
  fs::path FirstProgram;           // the source of Product.Programs' first
  std::string VersionFrom;         // where the version comes from, for the user
};

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw std::runtime_error(where + ": " + what);
}

std::string TooLong(size_t length, size_t limit) {
  return "has " + std::to_string(length) + " characters; the installer keeps only the first " + std::to_string(limit);
}

// The files below folder in name order, with their members below prefix;
// empty folders are left out, as the installer does not create them.
void ListFiles(const fs::path& folder, const fs::path& relative, const std::string& prefix, Plan& plan) {
  for (const fs::directory_entry& entry : SortedFolderEntries(folder)) {
    const std::string where = entry.path().u8string();
    const std::string member = prefix + FileNameText(entry.path().filename().u8string(), where);
    if (entry.is_directory()) {
      ListFiles(entry.path(), relative / entry.path().filename(), member + "\\", plan);
      continue;
    }
    if (prefix.empty() && SameText(member, kDescriptor))
      Fail(where, "the program component's own ver.ini has this name");
    if (prefix.empty() && SameText(FileExtension(member), ".exe")) {
      if (member.size() > kExeNameLimit) Fail(where, "the program's name " + TooLong(member.size(), kExeNameLimit));
      if (plan.Product.Programs.empty()) plan.FirstProgram = entry.path();
      plan.Product.Programs.push_back(member);
    }
    plan.Product.Members.push_back(member);
    plan.Files.push_back({entry.path(), relative / entry.path().filename()});
  }
}

// The first program's file version, else --version, else the default.
void ChooseVersion(const NewProductOptions& options, Plan& plan) {
  VersionRecord version;
  if (!plan.Product.Programs.empty() && ReadImageVersion(ReadWholeFile(plan.FirstProgram), version)) {
    plan.Product.Version = VersionText(version);
    plan.VersionFrom = "the version resource of " + plan.Product.Programs.front();
  } else {
    plan.Product.Version = options.Version.empty() ? kDefaultVersion : options.Version;
    plan.VersionFrom = options.Version.empty() ? "the default" : "--version";
  }
}

void CheckOptions(const NewProductOptions& options, Plan& plan) {
  NewProduct& product = plan.Product;
  product.Name = FileNameText(options.Name, "--name");
  if (product.Name.size() > kTitleLimit)
    Fail("--name",
         "the name " + TooLong(product.Name.size(), kTitleLimit) + " of the title in the system's list of programs");
  if (!options.Maker.empty()) product.Maker = MakerText(options.Maker, "--maker");
  if (!options.Version.empty() && !IsVersionText(options.Version))
    Fail("--version", "\"" + options.Version + "\" is no version of up to four numbers between dots (at most " +
                          std::to_string(kVersionLimit) + " characters)");
  const std::string key = ProductKey(ProfileText(SettingsText(product)), "HKEY_CURRENT_USER");
  if (key.size() > kUserKeyLimit) Fail("--maker and --name", "the registry key " + TooLong(key.size(), kUserKeyLimit));
}

void CheckOutputFolder(const std::string& output) {
  std::error_code error;
  if (!fs::exists(output, error)) return;
  if (!fs::is_directory(output, error)) Fail(output, "not a folder");
  if (!fs::is_empty(output, error) || error)
    Fail(output, "not empty; zqpack new writes only into an empty or new folder");
}

Plan MakePlan(const NewProductOptions& options) {
  Plan plan;
  CheckOptions(options, plan);
  std::error_code error;
  if (!fs::is_directory(options.Files, error)) Fail(options.Files, "no such folder");
  CheckOutputFolder(options.Output);
  ListFiles(options.Files, fs::path(), std::string(), plan);
  if (plan.Files.empty()) Fail(options.Files, "no files to install");
  ChooseVersion(options, plan);
  return plan;
}

// What zqpack check will read of the two components. Every name is exact:
// names are taken only where both code pages hold them.
std::vector<ComponentFiles> WrittenComponents(const Plan& plan, const std::string& output) {
  ComponentFiles base, program;
  base.Folder = (fs::path(output) / kBaseComponent).u8string();
  base.Members = {"install.ini", kDescriptor};
  base.Members.insert(base.Members.end(), std::begin(kEmptyBaseFiles), std::end(kEmptyBaseFiles));
  base.Descriptor = BaseDescriptorText();
  base.HasInstallSettings = true;
  base.InstallSettings = SettingsText(plan.Product);
  program.Folder = (fs::path(output) / kProgramComponent).u8string();
  program.Members = plan.Product.Members;
  program.Members.push_back(kDescriptor);
  program.Descriptor = ProgramDescriptorText(plan.Product);
  return {base, program};
}

// The product must pass zqpack check without a finding.
void CheckProductTexts(const Plan& plan, const std::string& output) {
  const Findings findings = CheckProduct(WrittenComponents(plan, output));
  if (findings.List().empty()) return;
  std::string message = "the product would not pass the checks:";
  for (const Finding& finding : findings.List()) message += "\n  " + FormatFinding(finding);
  throw std::runtime_error(message);
}

void WriteProduct(const Plan& plan, const fs::path& output) {
  const fs::path base = output / kBaseComponent, program = output / kProgramComponent;
  fs::create_directories(base);
  WriteWholeFile(base / "install.ini", SettingsText(plan.Product));
  WriteWholeFile(base / kDescriptor, BaseDescriptorText());
  for (const char* name : kEmptyBaseFiles) {
    WriteWholeFile(base / name, std::string());
    if (!SetWriteTime(base / name, kEmptyFilesTime))
      throw std::runtime_error((base / name).u8string() + ": its date cannot be set");
  }
  fs::create_directories(program);
  WriteWholeFile(program / kDescriptor, ProgramDescriptorText(plan.Product));
  // The copies keep their write times, by which the overwrite rule of an update goes.
  for (const ProductFile& file : plan.Files) {
    const fs::path target = program / file.Relative;
    fs::create_directories(target.parent_path());
    fs::copy_file(file.Source, target);
    fs::last_write_time(target, fs::last_write_time(file.Source));
  }
}

std::string Summary(const Plan& plan, const std::string& output) {
  const std::string base = (fs::path(output) / kBaseComponent).u8string();
  const std::string program = (fs::path(output) / kProgramComponent).u8string();
  return base + ": install.ini, ver.ini, the empty uninst.ini, zqinstall.log and zquninstall.log\n" + program +
         ": ver.ini and " + std::to_string(plan.Files.size()) + " file(s), version " + plan.Product.Version + " (" +
         plan.VersionFrom + "), " + std::to_string(plan.Product.Programs.size()) + " shortcut(s)\n" +
         "Build: zqpack --image zqsetup.exe --library UnzLib.dll --output setup.exe " + base + " " + program + "\n";
}

}  // namespace

std::string ParseNewProduct(int argc, char** argv, NewProductOptions& options) {
  std::vector<std::string> folders;
  for (int i = 2; i < argc; ++i) {
    const std::string argument = argv[i];
    std::string* option = argument == "--name"      ? &options.Name
                          : argument == "--maker"   ? &options.Maker
                          : argument == "--version" ? &options.Version
                                                    : nullptr;
    std::string mistake;
    if (option) {
      mistake = TakeOptionValue(argc, argv, i, *option);
      if (mistake.empty()) *option = CommandLineText(option->c_str());
    } else if (argument.compare(0, 2, "--") == 0) {
      mistake = UnknownOption(argument, {"--name", "--maker", "--version"});
    } else {
      folders.push_back(argument);
    }
    if (!mistake.empty()) return mistake;
  }
  if (options.Name.empty()) return "new: --name is missing";
  if (folders.size() != 2)
    return "new takes FILES_FOLDER and OUTPUT_FOLDER, " + std::to_string(folders.size()) + " given";
  options.Files = folders[0];
  options.Output = folders[1];
  return std::string();
}

std::string WriteNewProduct(const NewProductOptions& options) {
  const Plan plan = MakePlan(options);
  CheckProductTexts(plan, options.Output);
  std::error_code error;
  const bool created = !fs::exists(options.Output, error);
  try {
    WriteProduct(plan, options.Output);
  } catch (...) {
    fs::remove_all(fs::path(options.Output) / kBaseComponent, error);
    fs::remove_all(fs::path(options.Output) / kProgramComponent, error);
    if (created) fs::remove(options.Output, error);
    throw;
  }
  return Summary(plan, options.Output);
}
