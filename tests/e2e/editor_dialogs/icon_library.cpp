// A library of many icons for the icon chooser's tests: its resources are all there is to it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, char*, int) {
    return 0;
}
