#include "hooks.h"

#include "common.h"

LONG DeleteKeyTree(HKEY parent, const char *path)
{
    HKEY key;
    LONG rc = RegOpenKeyExA(parent, path, 0, KEY_ALL_ACCESS, &key);
    if (rc != ERROR_SUCCESS)
        return rc;
    char child[512];
    while (RegEnumKeyA(key, 0, child, sizeof(child)) == ERROR_SUCCESS)
        if (DeleteKeyTree(key, child) != ERROR_SUCCESS)
            break;
    RegCloseKey(key);
    return RegDeleteKeyA(parent, path);
}

TestHookKey::TestHookKey(const char *name) : m_path(std::string("Software\\QelTests\\") + name)
{
    DeleteKeyTree(HKEY_CURRENT_USER, m_path.c_str());
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                        &key, NULL) == ERROR_SUCCESS)
        RegCloseKey(key);
}

TestHookKey::~TestHookKey()
{
    DeleteKeyTree(HKEY_CURRENT_USER, m_path.c_str());
}

void TestHookKey::SetBinary(const char *name, const void *data, DWORD size)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_ALL_ACCESS, &key)
        != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE *>(data), size);
    RegCloseKey(key);
}

void TestHookKey::SetDword(const char *name, DWORD value)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_ALL_ACCESS, &key)
        != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value),
                   sizeof(value));
    RegCloseKey(key);
}

void TestHookKey::SetString(const char *name, const std::string &text)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_ALL_ACCESS, &key)
        != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                   text.size() + 1);
    RegCloseKey(key);
}

std::string TestHookKey::Bytes(const char *name) const
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    std::string data(4096, '\0');
    DWORD size = data.size();
    LONG rc = RegQueryValueExA(key, name, NULL, NULL, reinterpret_cast<BYTE *>(&data[0]),
                               &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? data.substr(0, size) : std::string();
}

DWORD TestHookKey::Dword(const char *name) const
{
    std::string data = Bytes(name);
    DWORD value = 0;
    if (data.size() == sizeof(value))
        CopyMemory(&value, data.data(), sizeof(value));
    return value;
}

bool TestHookKey::Has(const char *name) const
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    LONG rc = RegQueryValueExA(key, name, NULL, NULL, NULL, NULL);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

void DisplayConfigHooks::SetMode(LONG width1, LONG height1, LONG format, LONG width2,
                                 LONG height2)
{
    LONG mode[6] = { width1, height1, format, width2, height2, 60 };
    SetBinary("Mode", mode, sizeof(mode));
}

std::string ModuleString(UINT id)
{
    static HINSTANCE module = LoadResourceModule("QELIC");
    char text[300] = "";
    LoadStringA(module, id, text, sizeof(text));
    return text;
}

std::string FakeHotKeyProgram::s_received;

FakeHotKeyProgram::FakeHotKeyProgram()
{
    s_received.clear();
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "QELHkClass";
    RegisterClassA(&wc);
    m_window = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, NULL, NULL,
                               wc.hInstance, NULL);
}

FakeHotKeyProgram::~FakeHotKeyProgram()
{
    DestroyWindow(m_window);
}

std::string FakeHotKeyProgram::Received() const { return s_received; }

LRESULT CALLBACK FakeHotKeyProgram::WndProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam)
{
    if (message == WM_USER + 2) {
        s_received += std::to_string(wParam) + ";";
        return 7;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
