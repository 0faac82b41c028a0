// Entry point used until the application's own (app/ui/main.cpp) exists.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
