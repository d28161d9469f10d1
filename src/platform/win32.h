#pragma once

// The Windows functions the plug-in calls. On Windows they come from <windows.h>; in the
// simulated build the simulated host implements the same functions with the same
// signatures, so the plug-in code is the same in both builds.

#ifdef _WIN32
#include <windows.h>
#else
#include <cstddef>
#include <cstdint>

#include "platform/callconv.h"

#define WINAPI KH_STDCALL

typedef int BOOL;
typedef uint32_t DWORD;
typedef DWORD* PDWORD;
typedef void* LPVOID;
typedef void* HWND;
typedef short SHORT;
typedef unsigned int UINT;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef size_t SIZE_T;
typedef struct HINSTANCE__* HMODULE;

#define FALSE 0
#define TRUE 1

#define PAGE_NOACCESS 0x01
#define PAGE_READONLY 0x02
#define PAGE_READWRITE 0x04
#define PAGE_EXECUTE 0x10
#define PAGE_EXECUTE_READ 0x20
#define PAGE_EXECUTE_READWRITE 0x40
#define PAGE_EXECUTE_WRITECOPY 0x80
#define PAGE_WRITECOPY 0x08
#define PAGE_GUARD 0x100

#define MEM_COMMIT 0x1000
#define MEM_RESERVE 0x2000
#define MEM_FREE 0x10000

#define GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT 0x00000002
#define GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS 0x00000004

#define MB_OK 0x00000000

#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFu
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_DEVICE 0x00000040
#define FILE_ATTRIBUTE_NORMAL 0x00000080

typedef struct _MEMORY_BASIC_INFORMATION {
    LPVOID BaseAddress;
    LPVOID AllocationBase;
    DWORD AllocationProtect;
    SIZE_T RegionSize;
    DWORD State;
    DWORD Protect;
    DWORD Type;
} MEMORY_BASIC_INFORMATION;

extern "C" {
SIZE_T WINAPI VirtualQuery(const void* address, MEMORY_BASIC_INFORMATION* info, SIZE_T size);
BOOL WINAPI VirtualProtect(LPVOID address, SIZE_T size, DWORD newProtect, PDWORD oldProtect);
BOOL WINAPI GetModuleHandleExA(DWORD flags, LPCSTR moduleName, HMODULE* module);
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
SHORT WINAPI GetKeyState(int virtualKey);
DWORD WINAPI GetFileAttributesA(LPCSTR fileName);
}
#endif
