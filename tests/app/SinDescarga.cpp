// Preloaded into the viewer by the whole-program test: keeps every shared library mapped until
// the process ends. Mesa unloads its driver when Qt closes the X display at exit; the driver's
// lifelong allocations would then look leaked from an unknown module that no suppression can name.
extern "C" int dlclose(void*) {
    return 0;
}
