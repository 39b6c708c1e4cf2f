// A library that records being loaded: DllMain writes kv-planted-loaded.txt
// into the current folder. Planted under an outside library's name where a
// program is started from, it must never load.
#include <windows.h>

#include <cstdio>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        if (FILE* marker = std::fopen("kv-planted-loaded.txt", "w")) {
            std::fputs("loaded\n", marker);
            std::fclose(marker);
        }
    }
    return TRUE;
}
