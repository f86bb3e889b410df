// A version.dll left beside a copy of the program, as a web page may leave one in a download
// folder. Each function passes through to the system's version.dll; called from the program's
// own module, it first leaves the file "version-called" beside this DLL.
#include <windows.h>

static HMODULE self;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
    }
    return TRUE;
}

typedef void (*Function)(void);

static Function Pass(const char* name, void* caller) {
    char path[MAX_PATH];
    HMODULE module = NULL;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       (LPCSTR)caller, &module);
    if (module == GetModuleHandleA(NULL)) {
        lstrcpyA(path + GetModuleFileNameA(self, path, MAX_PATH) - 11, "version-called");
        CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    }
    lstrcpyA(path + GetSystemDirectoryA(path, MAX_PATH), "\\version.dll");
    return (Function)GetProcAddress(LoadLibraryA(path), name);
}

#define PASS(result, name, params, args)                                                        \
    __declspec(dllexport) result WINAPI name params {                                           \
        return ((result(WINAPI*) params)Pass(#name, __builtin_return_address(0)))args;          \
    }

PASS(DWORD, GetFileVersionInfoSizeA, (LPCSTR file, LPDWORD handle), (file, handle))
PASS(DWORD, GetFileVersionInfoSizeW, (LPCWSTR file, LPDWORD handle), (file, handle))
PASS(BOOL, GetFileVersionInfoA, (LPCSTR file, DWORD handle, DWORD size, LPVOID data),
     (file, handle, size, data))
PASS(BOOL, GetFileVersionInfoW, (LPCWSTR file, DWORD handle, DWORD size, LPVOID data),
     (file, handle, size, data))
PASS(BOOL, VerQueryValueA, (LPCVOID block, LPCSTR key, LPVOID* value, PUINT size),
     (block, key, value, size))
PASS(BOOL, VerQueryValueW, (LPCVOID block, LPCWSTR key, LPVOID* value, PUINT size),
     (block, key, value, size))
