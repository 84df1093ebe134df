/*
 * OpenDriverKey / CloseDriverKey: creating the driver settings key and its
 * subkeys when missing, and failing, creating nothing, without the display
 * class key.
 */
#include "common.h"
#include "sandbox.h"

#include <gtest/gtest.h>

namespace {

const char kClassKey[] = "System\\CurrentControlSet\\Services\\Class\\DISPLAY";
const char kDriverKey[] = "System\\CurrentControlSet\\Services\\Class\\DISPLAY\\QEL";

bool KeyExists(const std::string &path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string ReadString(const std::string &path, const char *name)
{
    char text[64] = "";
    DWORD size = sizeof(text);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryValueExA(key, name, NULL, NULL, (BYTE *)text, &size);
        RegCloseKey(key);
    }
    return text;
}

struct KindCase {
    DriverKeyKind kind;
    const char *path;
};

const KindCase kKinds[] = {
    {Root, kDriverKey},
    {Settings, "System\\CurrentControlSet\\Services\\Class\\DISPLAY\\QEL\\Settings"},
    {Panning, "System\\CurrentControlSet\\Services\\Class\\DISPLAY\\QEL\\Panning"},
    {ColorCorrection,
     "System\\CurrentControlSet\\Services\\Class\\DISPLAY\\QEL\\ColorCorrection"},
};

} // namespace

TEST(OpenDriverKey, CreatesWhatIsMissingAndHandsOutAWritableKey)
{
    for (const KindCase &c : kKinds) {
        SCOPED_TRACE(c.path);
        RegistrySandbox registry;
        registry.CreateKey(kClassKey);
        ASSERT_FALSE(KeyExists(kDriverKey));

        HKEY key = NULL;
        ASSERT_EQ(OpenDriverKey(c.kind, &key), 1);
        ASSERT_NE(key, nullptr);
        const char text[] = "written";
        EXPECT_EQ(RegSetValueExA(key, "probe", 0, REG_SZ, (const BYTE *)text, sizeof(text)),
                  ERROR_SUCCESS);
        EXPECT_EQ(CloseDriverKey(key), ERROR_SUCCESS);
        EXPECT_EQ(ReadString(c.path, "probe"), "written");
    }
}

TEST(OpenDriverKey, OpensExistingKeysWithTheirValues)
{
    RegistrySandbox registry;
    registry.SetString(std::string(kDriverKey) + "\\Settings", "800x600", "1");
    HKEY key = NULL;
    ASSERT_EQ(OpenDriverKey(Settings, &key), 1);
    char name[32];
    DWORD length = sizeof(name);
    EXPECT_EQ(RegEnumValueA(key, 0, name, &length, NULL, NULL, NULL, NULL), ERROR_SUCCESS);
    EXPECT_STREQ(name, "800x600");
    CloseDriverKey(key);
}

TEST(OpenDriverKey, FailsAndCreatesNothingWithoutTheClassKey)
{
    RegistrySandbox registry;
    registry.CreateKey("System\\CurrentControlSet\\Services\\Class");
    for (const KindCase &c : kKinds) {
        HKEY key = NULL;
        EXPECT_EQ(OpenDriverKey(c.kind, &key), 0) << c.path;
    }
    EXPECT_FALSE(KeyExists(kClassKey));
}

TEST(OpenDriverKey, UnknownKindFailsWithoutTouchingTheRegistry)
{
    RegistrySandbox registry;
    registry.CreateKey(kClassKey);
    HKEY key = NULL;
    EXPECT_EQ(OpenDriverKey(static_cast<DriverKeyKind>(3), &key), 0);
    EXPECT_EQ(OpenDriverKey(static_cast<DriverKeyKind>(-2), &key), 0);
    EXPECT_FALSE(KeyExists(kDriverKey));
}
