#include "game/Main.h"

// The process entry: everything else happens in WinMain.
int main()
{
    return WinMain(nullptr, nullptr, nullptr, 0);
}
