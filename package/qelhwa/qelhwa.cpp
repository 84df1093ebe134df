/*
 * QELHWA.DLL: the adapter hardware-access library of the driver package.
 *
 * It describes the primary display adapter in the two records of its
 * escapes. What the platform tells (the adapter's bus and revision from its
 * device id, its memory from the video device map or the display modes it
 * lists, whether it offers deep colour) is reported as learned; everything
 * else is a fixed default for a VGA-compatible adapter.
 *
 * In the test build, the test key's area "HardwareAccess" steers the
 * answers and counts the library's calls. The test key lies under
 * HKEY_CURRENT_USER, clear of a test's private HKEY_LOCAL_MACHINE.
 */
#define QELHWA_BUILD
#include "qelhwa.h"
#include "testkey.h"

/* The test build's switches: see package/testkey. */
static const char testArea[] = "HardwareAccess";

/* Bus type codes of HALAdapterInfo.BusType. */
enum { BusIsa = 0, BusPci = 3 };

/* Number of HALInitialize successes not yet closed. */
static LONG openCount;

/* Whether text begins with prefix, ignoring case. */
static BOOL HasPrefix(const char *text, const char *prefix)
{
    const int length = lstrlenA(prefix);
    return lstrlenA(text) >= length &&
           CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, text, length, prefix,
                          length) == CSTR_EQUAL;
}

/* What the library learns of the primary adapter. */
struct Adapter {
    LONG memoryKb;
    LONG busType;
    LONG revision;
    LONG deepColor;
};

/* The device id of the primary display device ("PCI\VEN_...&REV_xx"),
 * where the platform has EnumDisplayDevicesA; empty otherwise. */
static void ReadPrimaryDeviceId(char *id, int size)
{
    typedef BOOL(WINAPI * EnumDevices)(LPCSTR, DWORD, DISPLAY_DEVICEA *, DWORD);
    id[0] = '\0';
    HMODULE user = GetModuleHandleA("USER32.DLL");
    /* Through void *, as a FARPROC cast straight to another function type
     * draws a warning. */
    EnumDevices enumDevices = user ? reinterpret_cast<EnumDevices>(reinterpret_cast<void *>(
                                         GetProcAddress(user, "EnumDisplayDevicesA")))
                                   : NULL;
    if (!enumDevices)
        return;
    DISPLAY_DEVICEA device;
    for (DWORD index = 0;; ++index) {
        ZeroMemory(&device, sizeof(device));
        device.cb = sizeof(device);
        if (!enumDevices(NULL, index, &device, 0))
            return;
        if (device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) {
            lstrcpynA(id, device.DeviceID, size);
            return;
        }
    }
}

/* The hexadecimal revision after "REV_" in a device id; 0 without one. */
static LONG RevisionOfDeviceId(const char *id)
{
    for (const char *p = id; *p; ++p) {
        if (!HasPrefix(p, "REV_"))
            continue;
        LONG revision = 0;
        for (p += 4;; ++p) {
            int digit;
            if (*p >= '0' && *p <= '9')
                digit = *p - '0';
            else if ((*p | 0x20) >= 'a' && (*p | 0x20) <= 'f')
                digit = (*p | 0x20) - 'a' + 10;
            else
                return revision;
            revision = revision * 16 + digit;
        }
    }
    return 0;
}

/* Video memory in KB as the video miniport recorded it (Windows NT):
 * the key named by \Device\Video0 of the video device map holds it. */
static LONG ReadRecordedMemoryKb()
{
    static const char machinePrefix[] = "\\Registry\\Machine\\";
    char path[MAX_PATH];
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\VIDEO", 0, KEY_READ, &key)
        != ERROR_SUCCESS)
        return 0;
    DWORD size = sizeof(path) - 1;
    LONG rc = RegQueryValueExA(key, "\\Device\\Video0", NULL, NULL,
                               reinterpret_cast<BYTE *>(path), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        return 0;
    path[size] = '\0';

    if (!HasPrefix(path, machinePrefix))
        return 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path + sizeof(machinePrefix) - 1, 0, KEY_READ, &key)
        != ERROR_SUCCESS)
        return 0;
    DWORD bytes = 0;
    size = sizeof(bytes);
    rc = RegQueryValueExA(key, "HardwareInformation.MemorySize", NULL, NULL,
                          reinterpret_cast<BYTE *>(&bytes), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && size == sizeof(bytes) ? static_cast<LONG>(bytes / 1024) : 0;
}

/* Looks through the display modes the driver lists: the largest frame
 * buffer, rounded up to a power of two, is the least memory the adapter
 * can have; deep colour is offered when any mode has 24 bits or more. */
static void ScanDisplayModes(Adapter *adapter, LONG *leastMemoryKb)
{
    DWORD largest = 0;
    DEVMODEA mode;
    ZeroMemory(&mode, sizeof(mode));
    mode.dmSize = sizeof(mode);
    for (DWORD index = 0; EnumDisplaySettingsA(NULL, index, &mode); ++index) {
        DWORD kb = mode.dmPelsWidth * mode.dmPelsHeight / 1024 * mode.dmBitsPerPel / 8;
        if (kb > largest)
            largest = kb;
        if (mode.dmBitsPerPel >= 24)
            adapter->deepColor = 1;
    }
    LONG kb = 256;
    while (static_cast<DWORD>(kb) < largest && kb < 0x40000000 / 2)
        kb *= 2;
    *leastMemoryKb = kb;
}

static void LearnAdapter(Adapter *adapter)
{
    char id[128];
    ReadPrimaryDeviceId(id, sizeof(id));
    adapter->busType = HasPrefix(id, "PCI\\") ? BusPci : BusIsa;
    adapter->revision = RevisionOfDeviceId(id);
    adapter->deepColor = 0;
    LONG leastMemoryKb;
    ScanDisplayModes(adapter, &leastMemoryKb);
    adapter->memoryKb = ReadRecordedMemoryKb();
    if (!adapter->memoryKb)
        adapter->memoryKb = leastMemoryKb;
}

static void SetItem(HALConfigItem *item, LONG value, BOOL known)
{
    item->Value = value;
    if (!known)
        item->Present = 0;
}

/* Fills the configuration; flags are only ever cleared, never set. */
static void DescribeConfig(const Adapter &adapter, HALAdapterConfig *config)
{
    const BOOL pci = adapter.busType == BusPci;
    HALConfigItem *items = config->Items;
    SetItem(&items[HAL_POWER_UP_MODE], 0, TRUE);
    SetItem(&items[HAL_AT_COMPATIBILITY], 1, TRUE);
    SetItem(&items[HAL_ROM_ADDRESS], 0xC0000, TRUE);
    SetItem(&items[HAL_VGA_ROM_CONFIG], 1, TRUE);
    SetItem(&items[HAL_MOUSE_CONFIG], 1, TRUE);
    SetItem(&items[HAL_COPROCESSOR_BUS_IO], pci ? 32 : 16, TRUE);
    SetItem(&items[HAL_VGA_BUS_IO], pci ? 32 : 16, TRUE);
    /* Only a PCI adapter is known to map its memory in a linear aperture. */
    SetItem(&items[HAL_MEMORY_APERTURE], adapter.memoryKb / 1024, pci);
    /* Zero-wait-state cycles exist on the ISA bus alone. */
    SetItem(&items[HAL_VGA_ZERO_WS_ROM], 0, !pci);
    SetItem(&items[HAL_VGA_ZERO_WS_RAM], 0, !pci);
    SetItem(&items[HAL_VGA_MEM_SIZE], 256, TRUE);
}

static void DescribeInfo(const Adapter &adapter, HALAdapterInfo *info)
{
    ZeroMemory(info, sizeof(*info));
    info->MemorySize = adapter.memoryKb;
    info->VgaBoundary = 0;
    info->VgaType = 1;
    info->BusType = adapter.busType;
    info->AsicRevision = adapter.revision;
    info->ApertureType = adapter.busType == BusPci;
    info->IoBaseAddress = 0x3C0;
    info->DeepColorSupport = adapter.deepColor;
}

/* A test's configuration record takes the place of what was learned: its
 * values, and the flags that it clears. 0 when no record is given. */
static int GiveTestConfig(HALAdapterConfig *config)
{
    HALAdapterConfig given;
    if (!ReadTestValue(testArea, "AdapterConfig", &given, sizeof(given)))
        return 0;
    for (int i = 0; i < HAL_CONFIG_ITEMS; ++i)
        SetItem(&config->Items[i], given.Items[i].Value, given.Items[i].Present != 0);
    return 1;
}

static LONG AnswerConfig(const HALConfigRequest *request, HALAdapterConfig *config)
{
    CountTestCall(testArea, "ConfigCalls");
    if (request->Size != sizeof(*config))
        return -1;
    if (!GiveTestConfig(config)) {
        Adapter adapter;
        LearnAdapter(&adapter);
        DescribeConfig(adapter, config);
    }
    return ReadTestNumber(testArea, "ConfigResult", sizeof(*config));
}

static LONG AnswerInfo(const HALInfoRequest *request, HALAdapterInfo *info)
{
    CountTestCall(testArea, "InfoCalls");
    if (request->Size != sizeof(*info))
        return -1;
    if (!ReadTestValue(testArea, "AdapterInfo", info, sizeof(*info))) {
        Adapter adapter;
        LearnAdapter(&adapter);
        DescribeInfo(adapter, info);
    }
    return ReadTestNumber(testArea, "InfoResult", sizeof(*info));
}

/* 0 when the library opens, 1 when it was open already; any other result
 * means it is not ready and must not be used or closed. */
extern "C" LONG QELHWA_API HALInitialize(void)
{
    CountTestCall(testArea, "InitializeCalls");
    LONG result = ReadTestNumber(testArea, "InitializeResult", openCount ? 1 : 0);
    if (result == 0 || result == 1)
        ++openCount;
    return result;
}

/* The size of the output record when it was filled, -1 when the library
 * is not open or the request is malformed, 0 for an unknown escape. */
extern "C" LONG QELHWA_API HALEsc(LONG escape, const void *input, void *output)
{
    if (!openCount || !input || !output)
        return -1;
    switch (escape) {
    case HALESC_ADAPTER_CONFIG:
        return AnswerConfig(static_cast<const HALConfigRequest *>(input),
                            static_cast<HALAdapterConfig *>(output));
    case HALESC_ADAPTER_INFO:
        return AnswerInfo(static_cast<const HALInfoRequest *>(input),
                          static_cast<HALAdapterInfo *>(output));
    default:
        return 0;
    }
}

/* 1 when an open was closed, 0 when the library was not open. */
extern "C" LONG QELHWA_API HALClose(void)
{
    CountTestCall(testArea, "CloseCalls");
    if (!openCount)
        return 0;
    --openCount;
    return 1;
}
