// A version.dll left beside a copy of the program, as a web page may leave one in a download
// folder. Each function passes through to the system's version.dll; called from the program's
// own module, it first leaves the file "version-called" beside this DLL.
#include <windows.h>

typedef void (*Function)(void);

static Function Pass(const char* name, void* caller) {
    const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                        GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    HMODULE module = NULL, self = NULL;
    char path[MAX_PATH];
    GetModuleHandleExA(flags, (LPCSTR)caller, &module);
    if (module == GetModuleHandleA(NULL) && GetModuleHandleExA(flags, (LPCSTR)Pass, &self)) {
        lstrcpyA(path + GetModuleFileNameA(self, path, MAX_PATH) - 11, "version-called");
        CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    }
    lstrcpyA(path + GetSystemDirectoryA(path, MAX_PATH), "\\version.dll");
    return (Function)GetProcAddress(LoadLibraryA(path), name);
}

#define PASS(result, name, params, args)                                               \
    __declspec(dllexport) result WINAPI name params {                                  \
        return ((result(WINAPI*) params)Pass(#name, __builtin_return_address(0)))args; \
    }

PASS(DWORD, GetFileVersionInfoSizeA, (LPCSTR file, LPDWORD handle), (file, handle))
PASS(DWORD, GetFileVersionInfoSizeW, (LPCWSTR file, LPDWORD handle), (file, handle))
PASS(BOOL, GetFileVersionInfoA, (LPCSTR file, DWORD h, DWORD size, LPVOID to), (file, h, size, to))
PASS(BOOL, GetFileVersionInfoW, (LPCWSTR file, DWORD h, DWORD size, LPVOID to), (file, h, size, to))
PASS(BOOL, VerQueryValueA, (LPCVOID b, LPCSTR key, LPVOID* to, PUINT size), (b, key, to, size))
PASS(BOOL, VerQueryValueW, (LPCVOID b, LPCWSTR key, LPVOID* to, PUINT size), (b, key, to, size))
