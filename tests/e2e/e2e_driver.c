/* A kernel driver for the converter's import check, built by the cases
 * with the test machine's mingw-w64 tools against their ntoskrnl import
 * library (cases_infconv.py): a real i386 image that imports DbgPrint and
 * KeBugCheck, names every NT 3.5x kernel exports, and with LATER_NAME also
 * MmGetSystemRoutineAddress, which only later kernels export. It is never
 * loaded: only its import table is read. */

typedef long NTSTATUS;

__declspec(dllimport) unsigned long __cdecl DbgPrint(const char *format, ...);
__declspec(dllimport) void __stdcall KeBugCheck(unsigned long code);
#ifdef LATER_NAME
__declspec(dllimport) void *__stdcall MmGetSystemRoutineAddress(void *name);
#endif

NTSTATUS __stdcall DriverEntry(void *driver, void *registryPath) {
    DbgPrint("e2e driver\n");
#ifdef LATER_NAME
    if (!MmGetSystemRoutineAddress(registryPath))
        KeBugCheck(0);
#endif
    return driver ? 0 : 1;
}
