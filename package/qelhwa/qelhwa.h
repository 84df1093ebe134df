/*
 * The adapter hardware-access library QELHWA.DLL of the driver package.
 *
 * Three operations with the Win32 calling convention (__stdcall), exported
 * under their plain names. HALInitialize readies the library (0: opened,
 * 1: already open); every such success is paired with one HALClose. In
 * between, HALEsc answers the escapes below. Records are little-endian
 * and packed, each field right after the previous one.
 */
#ifndef QEL_QELHWA_H
#define QEL_QELHWA_H

#include <windows.h>

#ifdef QELHWA_BUILD
#define QELHWA_API __declspec(dllexport) WINAPI
#else
#define QELHWA_API __declspec(dllimport) WINAPI
#endif

/* Escape codes; on success HALEsc returns the size of the output record. */
#define HALESC_ADAPTER_CONFIG 29444 /* 0x7304 */
#define HALESC_ADAPTER_INFO   29445 /* 0x7305 */

#pragma pack(push, 1)

/* Input of HALESC_ADAPTER_CONFIG: the size of the output record. */
struct HALConfigRequest {
    WORD Size;
};

/* Input of HALESC_ADAPTER_INFO: the size of the output record. */
struct HALInfoRequest {
    DWORD Size;
};

/* One configuration item: the caller sets Present to 1, the library
 * clears it for an item it cannot tell. */
struct HALConfigItem {
    LONG Present;
    LONG Value;
};

/* Output of HALESC_ADAPTER_CONFIG: the items in this order. */
enum HALConfigItemIndex {
    HAL_POWER_UP_MODE,
    HAL_AT_COMPATIBILITY,
    HAL_ROM_ADDRESS,
    HAL_VGA_ROM_CONFIG,
    HAL_MOUSE_CONFIG,
    HAL_COPROCESSOR_BUS_IO,
    HAL_VGA_BUS_IO,
    HAL_MEMORY_APERTURE,
    HAL_VGA_ZERO_WS_ROM,
    HAL_VGA_ZERO_WS_RAM,
    HAL_VGA_MEM_SIZE,
    HAL_CONFIG_ITEMS
};
struct HALAdapterConfig {
    HALConfigItem Items[HAL_CONFIG_ITEMS];
};

/* Output of HALESC_ADAPTER_INFO. */
#define HAL_EXTERNAL_DEVICES 8
struct HALAdapterInfo {
    LONG MemorySize;
    LONG VgaBoundary;
    LONG VgaType;
    LONG DacType;
    LONG MemoryType;
    LONG BusType;
    LONG AsicRevision;
    LONG RomVersion;
    LONG BoardType;
    LONG ApertureType;
    LONG IoBaseAddress;
    LONG DeepColorSupport;
    LONG FoundaryId;
    LONG ExternalDevice[HAL_EXTERNAL_DEVICES];
};

#pragma pack(pop)

static_assert(sizeof(HALConfigRequest) == 2, "config request is one 16-bit field");
static_assert(sizeof(HALInfoRequest) == 4, "info request is one 32-bit field");
static_assert(sizeof(HALAdapterConfig) == 88, "adapter config record is 88 bytes");
static_assert(sizeof(HALAdapterInfo) == 84, "adapter info record is 84 bytes");

#ifdef __cplusplus
extern "C" {
#endif

LONG QELHWA_API HALInitialize(void);
LONG QELHWA_API HALEsc(LONG escape, const void *input, void *output);
LONG QELHWA_API HALClose(void);

#ifdef __cplusplus
}
#endif

#endif
