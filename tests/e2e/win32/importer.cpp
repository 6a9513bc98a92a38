// A program that imports msimg32 and windowscodecs as the saver once did: the loader resolves
// them before it starts, from the program's own folder first. The test's proof that a DLL
// planted there is taken where a program lets it.

#include <wincodec.h>
#include <windows.h>

int main(int argc, char**) {
    // Never true as the test runs it; the calls keep the imports.
    if (argc > 99) {
        AlphaBlend(nullptr, 0, 0, 0, 0, nullptr, 0, 0, 0, 0, BLENDFUNCTION{});
        WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, nullptr, nullptr);
    }
    return 0;
}
