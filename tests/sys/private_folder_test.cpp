// The folders an elevated run makes for itself: the lists of rights handed to
// the system, and the working folder's name and end. Wine keeps no lists of
// rights on files, so the descriptors are inspected as built.
#include "sys/private_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <regex>

#include "support/paths.h"
#include "sys/file_system.h"
#include "sys/folder_rights.h"

namespace {

struct Entry {
  WELL_KNOWN_SID_TYPE Who;
  ACCESS_MASK Rights;
};

// The descriptor's list: protected, and every entry an allowing one that
// files and folders below inherit.
void ExpectList(const FolderSecurity& security, const std::vector<Entry>& expected) {
  ASSERT_NE(security.Descriptor(), nullptr);
  PSID owner = nullptr;
  BOOL ownerDefaulted = FALSE;
  ASSERT_TRUE(GetSecurityDescriptorOwner(security.Descriptor(), &owner, &ownerDefaulted));
  EXPECT_TRUE(owner && IsWellKnownSid(owner, WinBuiltinAdministratorsSid));
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  ASSERT_TRUE(GetSecurityDescriptorControl(security.Descriptor(), &control, &revision));
  EXPECT_TRUE(control & SE_DACL_PROTECTED);
  BOOL present = FALSE, defaulted = FALSE;
  PACL list = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(security.Descriptor(), &present, &list, &defaulted));
  ASSERT_TRUE(present && list);
  ASSERT_EQ(list->AceCount, expected.size());
  for (DWORD i = 0; i < list->AceCount; ++i) {
    void* entry = nullptr;
    ASSERT_TRUE(GetAce(list, i, &entry));
    const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
    EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE) << i;
    EXPECT_EQ(allowed->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE) << i;
    EXPECT_EQ(allowed->Mask, expected[i].Rights) << i;
    EXPECT_TRUE(IsWellKnownSid(const_cast<DWORD*>(&allowed->SidStart), expected[i].Who)) << i;
  }
}

TEST(FolderRights, TheWorkingFolderIsForAdministratorsAndTheSystemAlone) {
  FolderSecurity security(FolderRights::AdministratorsOnly);
  ExpectList(security, {{WinBuiltinAdministratorsSid, FILE_ALL_ACCESS}, {WinLocalSystemSid, FILE_ALL_ACCESS}});
  EXPECT_EQ(security.Attributes()->lpSecurityDescriptor, security.Descriptor());
}

TEST(FolderRights, AnInstallationFolderLetsUsersReadAndRunOnly) {
  ExpectList(FolderSecurity(FolderRights::ProgramFolder),
             {{WinBuiltinAdministratorsSid, FILE_ALL_ACCESS},
              {WinLocalSystemSid, FILE_ALL_ACCESS},
              {WinBuiltinUsersSid, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE}});
}

TEST(PrivateFolder, EachRunMakesANewFolderAndRemovesItWithWhatItHolds) {
  const std::string parent = FreshScratchFolder("PrivateParent") + "Temp\\";  // made when missing
  std::string first;
  {
    PrivateFolder one(parent), two(parent);
    first = one.Path();
    ASSERT_FALSE(first.empty());
    EXPECT_NE(two.Path(), first);
    for (const std::string& path : {one.Path(), two.Path()}) {
      ASSERT_EQ(path.rfind(parent, 0), 0u) << path;
      EXPECT_TRUE(std::regex_match(path.substr(parent.size()), std::regex("~ql[0-9a-f]{16}\\\\"))) << path;
      EXPECT_TRUE(FolderExists(path));
    }
    ASSERT_TRUE(ForceFolders(first + "uninst\\leer"));
    ASSERT_TRUE(WriteTextFile(first + "uninst\\install.ini", "[install]\r\n"));
    SetFileAttributesA((first + "uninst\\install.ini").c_str(), FILE_ATTRIBUTE_READONLY);
  }
  EXPECT_FALSE(FolderExists(first));
  std::vector<std::string> left;
  EXPECT_EQ(ListSubfolders(left, parent, true, true), 0);
}

}  // namespace
