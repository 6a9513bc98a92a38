// The registry store as a hand edit may leave it.

#include "startup/modMain.h"
#include "support/StandIns.h"

#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace {

class Win32Store : public testing_support::OutsideWorldTest {};

// A value of another kind than text where the program expects text, as a hand edit may leave
// it: the routine's own report, and the value is kept as it was.
TEST_F(Win32Store, AValueOfAnotherKindIsReportedAndKept) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Quillon\\Moondial", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD three = 3;
    RegSetValueExW(key, L"Screen Saver Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&three),
                   sizeof three);
    EXPECT_EQ(modMain::GetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey,
                                 "Screen Saver Type", "1"),
              "");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("   Routine Name : Public Sub GetRegKey\r\n"),
              std::string::npos);
    DWORD type = 0, value = 0, size = sizeof value;
    RegQueryValueExW(key, L"Screen Saver Type", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                     &size);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 3u);
    RegCloseKey(key);
}

// A key that cannot be opened for writing: the write's own report, and nothing changes.
TEST_F(Win32Store, AKeyThatCannotBeWrittenIsReportedAndKept) {
    modMain::SetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey, "Screen Saver Type", "2");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Quillon\\Moondial", 0,
                            READ_CONTROL | WRITE_DAC, &key),
              ERROR_SUCCESS);
    // Read only, for everyone.
    SECURITY_DESCRIPTOR descriptor{};
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    alignas(ACL) BYTE aclBytes[256] = {};
    auto* acl = reinterpret_cast<ACL*>(aclBytes);
    InitializeAcl(acl, sizeof aclBytes, ACL_REVISION);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | WRITE_DAC | READ_CONTROL, everyone);
    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    const LONG secured = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
    FreeSid(everyone);
    RegCloseKey(key);
    HKEY probe = nullptr;
    const LONG writable =
        RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Quillon\\Moondial", 0, KEY_SET_VALUE, &probe);
    if (probe)
        RegCloseKey(probe);
    if (secured != ERROR_SUCCESS || writable == ERROR_SUCCESS)
        GTEST_SKIP() << "this system does not keep a key from being written";
    modMain::SetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey, "Screen Saver Type", "4");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("   Routine Name : Public Sub SetRegKey\r\n"),
              std::string::npos);
    EXPECT_EQ(testing_support::Stored("Screen Saver Type"), "2");
    // Open to all again, so the store can be cleared for the next test.
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Quillon\\Moondial", 0, WRITE_DAC, &key) ==
        ERROR_SUCCESS) {
        SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
        RegCloseKey(key);
    }
}

} // namespace
