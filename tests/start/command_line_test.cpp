#include "start/command_line.h"

#include <gtest/gtest.h>

namespace {

RunOptions Parse(const std::string& ownPath, std::vector<std::string> arguments) {
  return ParseRunOptions(ownPath, arguments);
}

const char kSetup[] = "C:\\Temp\\zqsetup.exe";

TEST(CommandLine, ProgramNameChoosesInstallOrNothing) {
  EXPECT_EQ(Parse(kSetup, {}).RunMode, rmInstall);
  EXPECT_EQ(Parse("C:\\WINDOWS\\zquninst.exe", {}).RunMode, rmNone);
  EXPECT_EQ(Parse("d:\\Any\\Folder\\ZQUnInst.EXE", {}).RunMode, rmNone);
  EXPECT_EQ(Parse("zquninst.exe", {"-unknown", "x"}).RunMode, rmNone);
  // Only the file name counts, not a folder of that name.
  EXPECT_EQ(Parse("C:\\zquninst.exe\\setup.exe", {}).RunMode, rmInstall);

  const RunOptions preset = Parse("C:\\WINDOWS\\zquninst.exe", {"-path:c:\\x"});
  EXPECT_EQ(preset.RunMode, rmInstall);
  EXPECT_EQ(preset.PathArg, "c:\\x");
}

TEST(CommandLine, FlagsAreCaseInsensitiveAndOnlyEverSet) {
  RunOptions hidden = Parse(kSetup, {"-HIDE"});
  EXPECT_EQ(hidden.RunMode, rmInstall);
  EXPECT_EQ(hidden.AutoRun, 1);
  EXPECT_EQ(hidden.Invisible, 1);
  EXPECT_EQ(hidden.Forced, 0);
  EXPECT_EQ(Parse("x\\zquninst.exe", {"-hide"}).RunMode, rmNone);

  RunOptions flags = Parse(kSetup, {"-AutoRun", "-Force"});
  EXPECT_EQ(flags.AutoRun, 1);
  EXPECT_EQ(flags.Invisible, 0);
  EXPECT_EQ(flags.Forced, 1);

  // The flag switches must be the whole argument.
  RunOptions partial = Parse(kSetup, {"-autorunx", "x-force", "-hidden"});
  EXPECT_EQ(partial.AutoRun, 0);
  EXPECT_EQ(partial.Forced, 0);
  EXPECT_EQ(partial.Invisible, 0);
}

// The folder to install into keeps its case; the records' paths are lower-cased.
TEST(CommandLine, ValuesAreTakenAfterTheFirstColon) {
  EXPECT_EQ(Parse(kSetup, {"-path:D:\\Apps\\Meine Programme\\Q"}).PathArg, "D:\\Apps\\Meine Programme\\Q");
  EXPECT_EQ(Parse(kSetup, {"-PATH:C:\\\xC4RGER"}).PathArg, "C:\\\xC4RGER");
  EXPECT_EQ(Parse("c:\\zquninst.exe", {"-uninstall:C:\\Q\\Uninst.INI"}).ModeArg, "c:\\q\\uninst.ini");
  // The switch may stand anywhere in the argument.
  RunOptions embedded = Parse("c:\\zquninst.exe", {"x-path:Y"});
  EXPECT_EQ(embedded.RunMode, rmInstall);
  EXPECT_EQ(embedded.PathArg, "Y");
  // "-xpath:y" does not hold "-path:" and sets nothing.
  RunOptions xpath = Parse("c:\\zquninst.exe", {"-xpath:y"});
  EXPECT_EQ(xpath.RunMode, rmNone);
  EXPECT_EQ(xpath.PathArg, "");
}

TEST(CommandLine, ClearupTakesAnOptionalRecordPath) {
  RunOptions bare = Parse(kSetup, {"-clearup"});
  EXPECT_EQ(bare.RunMode, rmClearup);
  EXPECT_EQ(bare.ModeArg, "");
  RunOptions withPath = Parse(kSetup, {"-clearup:c:\\p\\uninst.ini"});
  EXPECT_EQ(withPath.RunMode, rmClearup);
  EXPECT_EQ(withPath.ModeArg, "c:\\p\\uninst.ini");
  EXPECT_EQ(withPath.AutoRun, 0);
}

TEST(CommandLine, LastModeSwitchWinsAndFlagsStay) {
  RunOptions options = Parse(kSetup, {"-autoinstall:c:\\p\\uninst\\error_inst.ini", "-uninstall:c:\\q\\uninst.ini"});
  EXPECT_EQ(options.RunMode, rmUninstall);
  EXPECT_EQ(options.ModeArg, "c:\\q\\uninst.ini");
  EXPECT_EQ(options.AutoRun, 1);
  EXPECT_EQ(options.Invisible, 1);

  RunOptions automatic = Parse(kSetup, {"-AUTOINSTALL:C:\\P\\error_inst.ini"});
  EXPECT_EQ(automatic.RunMode, rmAutoInstall);
  EXPECT_EQ(automatic.ModeArg, "c:\\p\\error_inst.ini");
}

TEST(CommandLine, LaterTestsSeeTheShortenedText) {
  // "-path:" removes up to the first colon; the rest still holds "-uninstall:".
  RunOptions options = Parse(kSetup, {"-path:-uninstall:c:\\u.ini"});
  EXPECT_EQ(options.RunMode, rmUninstall);
  EXPECT_EQ(options.PathArg, "-uninstall:c:\\u.ini");
  EXPECT_EQ(options.ModeArg, "c:\\u.ini");

  // "-clearup" takes its value without shortening the text, so "-uninstall:"
  // then cuts at the same first colon.
  RunOptions clearup = Parse(kSetup, {"-clearup:-uninstall:c:\\v.ini"});
  EXPECT_EQ(clearup.RunMode, rmUninstall);
  EXPECT_EQ(clearup.ModeArg, "-uninstall:c:\\v.ini");
}

TEST(CommandLine, SplittingDropsQuotesAndKeepsQuotedBlanks) {
  EXPECT_EQ(SplitCommandLine(""), std::vector<std::string>{});
  EXPECT_EQ(SplitCommandLine("  \t "), std::vector<std::string>{});
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\q\\setup.exe\" -hide  -force"),
            (std::vector<std::string>{"C:\\Program Files\\q\\setup.exe", "-hide", "-force"}));
  EXPECT_EQ(SplitCommandLine("zquninst.exe -uninstall:\"C:\\Program Files\\Q\\uninst\\uninst.ini\""),
            (std::vector<std::string>{"zquninst.exe", "-uninstall:C:\\Program Files\\Q\\uninst\\uninst.ini"}));
  // A backslash before a quote is an ordinary character, as in folder paths.
  EXPECT_EQ(SplitCommandLine("a \"-path:C:\\Q\\\" b"), (std::vector<std::string>{"a", "-path:C:\\Q\\", "b"}));
  EXPECT_EQ(SplitCommandLine("a \"\" b"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitCommandLine("a \"unterminated b"), (std::vector<std::string>{"a", "unterminated b"}));
}

}  // namespace
