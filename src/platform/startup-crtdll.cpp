// The process entry of the Windows NT 3.x build, in place of mingw's own
// startup code: that code is built for later processors (it uses cmov,
// which a 386, 486 or Pentium lacks) and calls into the C runtime in ways
// crtdll.dll, the runtime of NT 3.x, does not offer. crtdll.dll sets up its
// heap, stdio and environment itself; this only fetches the arguments and
// runs main. Global constructors run from __main, which GCC calls at the
// top of main.

extern "C" {
void __cdecl __GetMainArgs(int *argc, char ***argv, char ***envp, int expandWildcards);
void __cdecl exit(int status) __attribute__((noreturn));
int main(int argc, char **argv);

typedef int(__cdecl *OnExitFunction)(void);
__declspec(dllimport) OnExitFunction __cdecl _onexit(OnExitFunction function);

// mingw's startup code would supply atexit; __main needs it.
int __cdecl atexit(void(__cdecl *function)(void)) {
    return _onexit(reinterpret_cast<OnExitFunction>(reinterpret_cast<void *>(function))) ? 0 : -1;
}

__attribute__((force_align_arg_pointer, noreturn)) void mainCRTStartup(void) {
    int argc = 0;
    char **argv = nullptr;
    char **envp = nullptr;
    __GetMainArgs(&argc, &argv, &envp, 0);
    exit(main(argc, argv));
}
}
