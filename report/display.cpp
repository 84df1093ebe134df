/*
 * Display driver and monitor sections: the registry keys of the display
 * adapter's driver instance and of the monitor at the same instance, and
 * where the driver package's files lie, their versions and sizes.
 *
 * The driver instance is found through the devices that the configuration
 * manager has enumerated: the first whose hardware key's "Driver" value
 * lies in the display class names it. The Windows NT family has no such
 * list; there both sections add the keys that the platform itself names
 * for the adapter and its monitor.
 */
#include "report.h"

#include <string.h>

#define NAME_SIZE 16
#define DATA_SIZE 260
#define PATH_SIZE 260
#define TEXT_SIZE 64

static const char classRoot[] = "System\\CurrentControlSet\\Services\\Class";
static const char displayPrefix[] = "DISPLAY\\";
#define DISPLAY_PREFIX_LENGTH 8
/* How the NT family names a key of HKEY_LOCAL_MACHINE. */
static const char machinePrefix[] = "\\Registry\\Machine\\";
#define MACHINE_PREFIX_LENGTH 18

static const char *const packageFiles[] = {
    "QELDISP.DRV", "QELDISP.VXD", "QELSUP5.DLL", "QELSUP4.DLL",
    "QELSUP3.DLL", "QELSUP2.DLL", "QELSUP1.DLL", "QELHELP.HLP",
    "QELDCFG.DLL", "QELHK32.EXE", "QELPR.EXE",
};

/* Reads a value into data (DATA_SIZE bytes) and makes sure it is terminated
 * within the buffer; 0 when it cannot be read so. The type, when asked
 * for, is left to the caller to judge. */
static int ReadStringValue(HKEY key, const char *name, char *data, DWORD *type = NULL)
{
    DWORD size = DATA_SIZE;
    if (RegQueryValueExA(key, name, NULL, type, reinterpret_cast<BYTE *>(data), &size)
        != ERROR_SUCCESS)
        return 0;
    if (size > 0 && data[size - 1] == '\0')
        return 1;
    if (size >= DATA_SIZE)
        return 0;
    data[size] = '\0';
    return 1;
}

/* Reads the "Driver" value of the device's hardware key under Enum of
 * HKEY_LOCAL_MACHINE; 0 when the key or the value cannot be read. */
static int ReadDeviceDriver(const char *hardwareKey, char *driver)
{
    char path[PATH_SIZE];
    if (lstrlenA(hardwareKey) + 5 >= PATH_SIZE)
        return 0;
    wsprintfA(path, "%s%s", "Enum", "\\");
    lstrcatA(path, hardwareKey);

    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, path, &key) != ERROR_SUCCESS)
        return 0;
    int read = ReadStringValue(key, "Driver", driver);
    RegCloseKey(key);
    return read;
}

/* Judges one enumerated device: when its driver lies in the display class
 * and the instance name fits the buffer, copies the name and returns 1.
 * A device without a readable "HardWareKey" is skipped; one whose
 * hardware key cannot be read is judged by its "HardWareKey" alone. */
static int MatchDisplayDevice(HKEY enumKey, const char *name,
                              char instance[DISPLAY_INSTANCE_SIZE])
{
    HKEY device;
    if (RegOpenKeyA(enumKey, name, &device) != ERROR_SUCCESS)
        return 0;
    char hardwareKey[DATA_SIZE];
    int read = ReadStringValue(device, "HardWareKey", hardwareKey);
    RegCloseKey(device);
    if (!read)
        return 0;

    char driver[DATA_SIZE];
    const char *judged = ReadDeviceDriver(hardwareKey, driver) ? driver : hardwareKey;
    if (_strnicmp(judged, displayPrefix, DISPLAY_PREFIX_LENGTH) != 0)
        return 0;
    /* An instance name longer than the buffer holds names no instance we
     * could report; such an entry does not match. */
    const char *rest = judged + DISPLAY_PREFIX_LENGTH;
    if (lstrlenA(rest) >= DISPLAY_INSTANCE_SIZE)
        return 0;
    lstrcpyA(instance, rest);
    return 1;
}

void FindDisplayInstance(char instance[DISPLAY_INSTANCE_SIZE])
{
    instance[0] = '\0';
    HKEY enumKey;
    if (RegOpenKeyA(HKEY_DYN_DATA, "Config Manager\\Enum", &enumKey) != ERROR_SUCCESS)
        return;
    char name[NAME_SIZE];
    for (DWORD index = 0; RegEnumKeyA(enumKey, index, name, NAME_SIZE) == ERROR_SUCCESS;
         ++index) {
        if (MatchDisplayDevice(enumKey, name, instance))
            break;
    }
    RegCloseKey(enumKey);
}

static int IsNtFamily()
{
    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof(version);
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

/* Dumps the key that a "\Registry\Machine\..." name of size bytes names.
 * Anything else is left out: a name without a terminator, one under
 * another root, one that names the root itself (a dump of the machine's
 * whole registry) or one that does not fit the path buffer. */
static void DumpMachineKey(HANDLE report, const char *name, size_t size)
{
    if (!memchr(name, '\0', size) || _strnicmp(name, machinePrefix, MACHINE_PREFIX_LENGTH) != 0)
        return;
    const char *relative = name + MACHINE_PREFIX_LENGTH;
    if (relative[0] == '\0' || relative[0] == '\\' || lstrlenA(relative) + 2 > PATH_SIZE)
        return;
    char path[PATH_SIZE];
    wsprintfA(path, "%s\\", relative);
    DumpRegistryTree(report, path, HKEY_LOCAL_MACHINE);
}

/* The adapter's own key, as the video device map names it. */
static void DumpAdapterKey(HANDLE report)
{
    HKEY map;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\VIDEO", 0, KEY_QUERY_VALUE, &map)
        != ERROR_SUCCESS)
        return;
    char name[DATA_SIZE];
    DWORD type;
    int read = ReadStringValue(map, "\\Device\\Video0", name, &type);
    RegCloseKey(map);
    if (read && type == REG_SZ)
        DumpMachineKey(report, name, sizeof(name));
}

void WriteDisplayDriverSection(HANDLE report)
{
    char instance[DISPLAY_INSTANCE_SIZE];
    FindDisplayInstance(instance);
    char path[PATH_SIZE];
    wsprintfA(path, "%s\\%s\\%s\\%s\\", classRoot, "Display", instance, "Default");
    DumpRegistryTree(report, path, HKEY_LOCAL_MACHINE);

    for (const char *fileName : packageFiles)
        WriteFileInfo(report, fileName);
    if (!instance[0] && IsNtFamily())
        DumpAdapterKey(report);
}

/* Writes "Version = a.b.c.d" and a tab from the file's fixed version
 * information; nothing when the file has none or it cannot be read. */
static void WriteFileVersion(HANDLE report, const char *path)
{
    DWORD ignored;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (!size)
        return;
    void *block = HeapAlloc(GetProcessHeap(), 0, size);
    if (!block)
        return;
    VS_FIXEDFILEINFO *fixed;
    UINT fixedSize;
    if (GetFileVersionInfoA(path, 0, size, block) &&
        VerQueryValueA(block, "\\", reinterpret_cast<void **>(&fixed), &fixedSize) &&
        fixedSize >= sizeof(VS_FIXEDFILEINFO)) {
        char text[TEXT_SIZE];
        wsprintfA(text, "Version = %d.%d.%d.%d", HIWORD(fixed->dwFileVersionMS),
                  LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                  LOWORD(fixed->dwFileVersionLS));
        WriteReportText(report, text, 0);
        WriteReportText(report, "\t", 0);
    }
    HeapFree(GetProcessHeap(), 0, block);
}

static void WriteFileSize(HANDLE report, const char *path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    char text[TEXT_SIZE];
    wsprintfA(text, "Size = %ld bytes", static_cast<long>(found.nFileSizeLow));
    WriteReportText(report, text, 0);
    WriteReportText(report, NULL, 0);
    FindClose(search);
}

/* The path that OpenFile's search reports; where OpenFile cannot take a
 * path on its way, the one that the search without its limit finds. */
static BOOL FindPackageFile(const char *fileName, char path[MAX_PATH])
{
    static_assert(sizeof(OFSTRUCT) == 136, "OFSTRUCT as OpenFile knows it");
    OFSTRUCT file;
    file.cBytes = sizeof(file);
    if (OpenFile(fileName, &file, OF_EXIST) == HFILE_ERROR)
        return FindFileWithoutPathLimit(fileName, path);
    lstrcpynA(path, file.szPathName, MAX_PATH);
    return TRUE;
}

/* The version is read from the path the search found, so that it always
 * belongs to the file whose path and size are shown. */
void WriteFileInfo(HANDLE report, const char *fileName)
{
    char path[MAX_PATH];
    if (!FindPackageFile(fileName, path))
        return;
    WriteReportText(report, NULL, 0);
    WriteReportText(report, path, 0);
    WriteReportText(report, NULL, 0);
    WriteFileVersion(report, path);
    WriteFileSize(report, path);
}

/* The device key of the first adapter's first monitor. Windows 95 and
 * NT 4.0 do not have the call that lists them; there this is left out. */
static void DumpMonitorKey(HANDLE report)
{
    typedef BOOL(WINAPI * EnumDisplayDevicesProc)(LPCSTR, DWORD, DISPLAY_DEVICEA *, DWORD);
    /* Through void *, as a FARPROC cast straight to another function type
     * draws a warning. */
    EnumDisplayDevicesProc enumDisplayDevices =
        reinterpret_cast<EnumDisplayDevicesProc>(reinterpret_cast<void *>(
            GetProcAddress(GetModuleHandleA("USER32.DLL"), "EnumDisplayDevicesA")));
    if (!enumDisplayDevices)
        return;
    DISPLAY_DEVICEA adapter;
    adapter.cb = sizeof(adapter);
    if (!enumDisplayDevices(NULL, 0, &adapter, 0) ||
        !memchr(adapter.DeviceName, '\0', sizeof(adapter.DeviceName)))
        return;
    DISPLAY_DEVICEA monitor;
    monitor.cb = sizeof(monitor);
    if (enumDisplayDevices(adapter.DeviceName, 0, &monitor, 0))
        DumpMachineKey(report, monitor.DeviceKey, sizeof(monitor.DeviceKey));
}

void WriteMonitorSection(HANDLE report)
{
    char instance[DISPLAY_INSTANCE_SIZE];
    FindDisplayInstance(instance);
    char path[PATH_SIZE];
    wsprintfA(path, "%s\\%s\\%s\\", classRoot, "Monitor", instance);
    DumpRegistryTree(report, path, HKEY_LOCAL_MACHINE);
    if (!instance[0] && IsNtFamily())
        DumpMonitorKey(report);
}
