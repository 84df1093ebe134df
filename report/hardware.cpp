/*
 * The operating-system line, and the display adapter's hardware
 * configuration as the package's hardware-access library reports it.
 */
#include "report.h"
#include "qelhwa.h"

#define LINE_SIZE 128
#define PLATFORM_TEXT_SIZE 64

/* Ids of the platform names in the program's own string table. */
enum {
    IDS_PLATFORM_WIN32S = 50,
    IDS_PLATFORM_WINDOWS = 51,
    IDS_PLATFORM_NT = 52,
    IDS_PLATFORM_UNKNOWN = 53
};

static const char *const configNames[HAL_CONFIG_ITEMS] = {
    "PowerUpMode",     "AT Compatibility",   "ROM Address",     "VGA ROM Config",
    "Mouse Config",    "Coprocessor Bus IO", "VGA Bus IO",      "Memory Aperture",
    "VGA Zero WS ROM", "VGA Zero WS RAM",    "VGA Mem Size",
};

static const struct {
    const char *name;
    LONG HALAdapterInfo::*value;
} infoItems[] = {
    { "Memory Size", &HALAdapterInfo::MemorySize },
    { "VGA Boundary", &HALAdapterInfo::VgaBoundary },
    { "VGA Type", &HALAdapterInfo::VgaType },
    { "DAC Type", &HALAdapterInfo::DacType },
    { "Memory Type", &HALAdapterInfo::MemoryType },
    { "Bus Type", &HALAdapterInfo::BusType },
    { "Asic Revision", &HALAdapterInfo::AsicRevision },
    { "ROM Version", &HALAdapterInfo::RomVersion },
    { "Board Type", &HALAdapterInfo::BoardType },
    { "Aperture Type", &HALAdapterInfo::ApertureType },
    { "IO Base Address", &HALAdapterInfo::IoBaseAddress },
    { "Deep Color Support", &HALAdapterInfo::DeepColorSupport },
    { "Foundary ID", &HALAdapterInfo::FoundaryId },
};

static UINT PlatformStringId(DWORD platformId)
{
    switch (platformId) {
    case VER_PLATFORM_WIN32s: return IDS_PLATFORM_WIN32S;
    case VER_PLATFORM_WIN32_WINDOWS: return IDS_PLATFORM_WINDOWS;
    case VER_PLATFORM_WIN32_NT: return IDS_PLATFORM_NT;
    default: return IDS_PLATFORM_UNKNOWN;
    }
}

void WriteOsVersionLine(HANDLE report)
{
    static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA as GetVersionExA knows it");
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof(version));
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExA(&version);

    char platform[PLATFORM_TEXT_SIZE] = "";
    LoadStringA(GetModuleHandleA(NULL), PlatformStringId(version.dwPlatformId), platform,
                sizeof(platform));
    /* Windows 95 keeps its version numbers in the build number's high word. */
    char line[LINE_SIZE];
    wsprintfA(line, "%s -- %ld.%ld.%d\r\n", platform, version.dwMajorVersion,
              version.dwMinorVersion, static_cast<int>(version.dwBuildNumber & 0xFFFF));
    WriteReportPlain(report, line);
}

static void WriteValueLine(HANDLE report, const char *name, LONG value)
{
    char line[LINE_SIZE];
    wsprintfA(line, "%-25s = %ld\r\n", name, value);
    WriteReportText(report, line, 0);
}

/* Writes the configuration items the library reports present; 0 when the
 * request failed and nothing was written. */
static int WriteAdapterConfig(HANDLE report)
{
    HALConfigRequest request = { sizeof(HALAdapterConfig) };
    HALAdapterConfig config;
    for (HALConfigItem &item : config.Items)
        item.Present = 1;
    if (HALEsc(HALESC_ADAPTER_CONFIG, &request, &config) != sizeof(config))
        return 0;

    WriteReportText(report, NULL, 0);
    for (int i = 0; i < HAL_CONFIG_ITEMS; ++i) {
        if (config.Items[i].Present)
            WriteValueLine(report, configNames[i], config.Items[i].Value);
    }
    return 1;
}

static void WriteAdapterInfo(HANDLE report)
{
    HALInfoRequest request = { sizeof(HALAdapterInfo) };
    HALAdapterInfo info;
    if (HALEsc(HALESC_ADAPTER_INFO, &request, &info) != sizeof(info))
        return;

    WriteReportText(report, NULL, 0);
    for (const auto &item : infoItems)
        WriteValueLine(report, item.name, info.*item.value);

    /* Up to 8 values of 11 characters: longer than a report line, so the
     * report writer cuts it. */
    const LONG *device = info.ExternalDevice;
    char line[LINE_SIZE];
    wsprintfA(line, "%-25s = %ld %ld %ld %ld %ld %ld %ld %ld\r\n", "External Device",
              device[0], device[1], device[2], device[3], device[4], device[5], device[6],
              device[7]);
    WriteReportText(report, line, 0);
}

void WriteAdapterHardwareInfo(HANDLE report)
{
    LONG ready = HALInitialize();
    if (ready != 0 && ready != 1)
        return;
    if (WriteAdapterConfig(report))
        WriteAdapterInfo(report);
    HALClose();
}
