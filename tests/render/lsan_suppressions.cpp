// Mesa's software rasteriser and SDL's D-Bus connection keep allocations that
// are only released at driver unload or SDL_Quit, after the leak check runs.
// Our own allocations stay checked.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:swrast_dri.so\n"
           "leak:libdbus-1.so\n";
}
