#include <gtest/gtest.h>

#include <string>

#include "hooks.h"
#include "sandbox.h"
#include "tray.h"

static const std::string settingsPath =
    "System\\CurrentControlSet\\Services\\Class\\DISPLAY\\QEL\\Settings";
static const std::string schemesPath =
    "System\\CurrentControlSet\\Services\\Class\\DISPLAY\\QEL\\ColorCorrection";

/* A value below the sandboxed driver key as stored, with its type. */
static std::string Stored(const std::string &path, const char *name, DWORD *type = NULL)
{
    HKEY key;
    std::string data(4096, '\0');
    DWORD size = 0, kind = REG_NONE;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        size = data.size();
        if (RegQueryValueExA(key, name, NULL, &kind, reinterpret_cast<BYTE *>(&data[0]), &size)
            != ERROR_SUCCESS)
            size = 0;
        RegCloseKey(key);
    }
    if (type)
        *type = kind;
    return data.substr(0, size);
}

static std::string Scheme(size_t size, char fill)
{
    std::string scheme(size, fill);
    for (size_t i = 16; i < size && i < 784; ++i)
        scheme[i] = static_cast<char>(i * 7);
    return scheme;
}

static std::string Sz(const char *text) { return std::string(text, lstrlenA(text) + 1); }

class ApplyChoice : public testing::Test {
protected:
    void SetUp() override
    {
        RegCloseKey(m_registry.CreateKey("System\\CurrentControlSet\\Services\\Class\\DISPLAY"));
        WriteProfileStringA("windows", "load", "");
    }
    void SetScheme(const char *name, DWORD type, const std::string &data)
    {
        m_registry.SetValue(schemesPath, name, type, data.data(), data.size());
    }

    RegistrySandbox m_registry;
    DisplayConfigHooks m_display;
};

/* Index of each value below: the unnamed one is listed first, then by name. */
TEST_F(ApplyChoice, SchemeIsAppliedAndCopiedWithItsTypeAndSize)
{
    m_registry.SetString(schemesPath, "", "Old");
    SetScheme("Cool", REG_NONE, Scheme(784, 'c'));
    SetScheme("Warm", REG_BINARY, Scheme(1000, 'w'));
    SetScheme(DEFAULT_SCHEME_NAME, REG_BINARY, Scheme(820, 'd'));

    ApplyColorScheme(2);
    DWORD type;
    EXPECT_EQ(m_display.Bytes("LastRamp"), Scheme(1000, 'w').substr(16, 768));
    EXPECT_EQ(Stored(schemesPath, DEFAULT_SCHEME_NAME, &type), Scheme(1000, 'w'));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(Stored(schemesPath, ""), Sz("Warm"));

    ApplyColorScheme(1);
    EXPECT_EQ(m_display.Bytes("LastRamp"), Scheme(784, 'c').substr(16, 768));
    EXPECT_EQ(Stored(schemesPath, DEFAULT_SCHEME_NAME, &type), Scheme(784, 'c'));
    EXPECT_EQ(type, static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(Stored(schemesPath, ""), Sz("Cool"));
    EXPECT_EQ(m_display.Dword("SetGammaCalls"), 2u);
}

TEST_F(ApplyChoice, Command1100AppliesTheSchemeAtIndexZero)
{
    /* Without an unnamed value the first scheme by name has index 0. */
    SetScheme("Cool", REG_BINARY, Scheme(784, 'c'));
    SetScheme("Warm", REG_BINARY, Scheme(1000, 'w'));
    DispatchCommand(NULL, 1100, 0);
    EXPECT_EQ(m_display.Bytes("LastRamp"), Scheme(784, 'c').substr(16, 768));
    EXPECT_EQ(Stored(schemesPath, DEFAULT_SCHEME_NAME), Scheme(784, 'c'));
    EXPECT_EQ(Stored(schemesPath, ""), Sz("Cool"));
}

TEST_F(ApplyChoice, DefaultEntryRestoresTheBuiltInSchemeWithTheStoredType)
{
    m_registry.SetString(schemesPath, "", "Warm");
    SetScheme(DEFAULT_SCHEME_NAME, REG_NONE, "short");
    ApplyColorScheme(1);

    const char *builtIn = reinterpret_cast<const char *>(&g_defaultScheme);
    DWORD type;
    EXPECT_EQ(m_display.Bytes("LastRamp"), std::string(builtIn + 16, 768));
    EXPECT_EQ(Stored(schemesPath, DEFAULT_SCHEME_NAME, &type), std::string(builtIn, 820));
    EXPECT_EQ(type, static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(Stored(schemesPath, ""), Sz(""));
}

TEST_F(ApplyChoice, SchemeWithoutAWholeRampOrIndexWithoutValueChangesNothing)
{
    m_registry.SetString(schemesPath, "", "Old");
    SetScheme("Empty", REG_BINARY, "");
    SetScheme("Short", REG_BINARY, Scheme(783, 's'));
    SetScheme(DEFAULT_SCHEME_NAME, REG_BINARY, Scheme(820, 'd'));
    for (int index : { 1, 2, 4, 99 })
        ApplyColorScheme(index);
    EXPECT_FALSE(m_display.Has("SetGammaCalls"));
    EXPECT_EQ(Stored(schemesPath, DEFAULT_SCHEME_NAME), Scheme(820, 'd'));
    EXPECT_EQ(Stored(schemesPath, ""), Sz("Old"));
}

TEST_F(ApplyChoice, SettingIsSentToTheHotKeyProgramAndRecorded)
{
    FakeHotKeyProgram program;
    m_registry.SetString(settingsPath, "", "Old");
    DWORD setting[6] = { 800, 600, 16, 60, 0, 0 };
    m_registry.SetValue(settingsPath, "A 24 bytes", REG_BINARY, setting, 24);
    m_registry.SetValue(settingsPath, "B 25 bytes", REG_BINARY, std::string(25, 'x').data(), 25);
    m_registry.SetValue(settingsPath, "C 4 bytes", REG_DWORD, setting, 4);

    ApplyDisplaySetting(2);
    ApplyDisplaySetting(7);
    EXPECT_EQ(program.Received(), "") << "too large, or no value at all";
    EXPECT_EQ(Stored(settingsPath, ""), Sz("Old"));

    ApplyDisplaySetting(1);
    EXPECT_EQ(Stored(settingsPath, ""), Sz("A 24 bytes"));
    ApplyDisplaySetting(3);
    EXPECT_EQ(program.Received(), "1;3;");
    EXPECT_EQ(Stored(settingsPath, ""), Sz("C 4 bytes"));
    EXPECT_EQ(Stored(settingsPath, "A 24 bytes"), std::string(reinterpret_cast<char *>(setting), 24));
}
