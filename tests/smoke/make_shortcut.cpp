// make_shortcut.exe LINK TARGET: a shortcut made with the shell's own link
// object, as Explorer makes them, for the end-to-end runs to seed.
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <vector>

int main(int argc, char** argv) {
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  if (argc != 3 || FAILED(CoInitialize(nullptr)) ||
      FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return 1;
  std::vector<WCHAR> path(MultiByteToWideChar(CP_ACP, 0, argv[1], -1, nullptr, 0));
  MultiByteToWideChar(CP_ACP, 0, argv[1], -1, path.data(), int(path.size()));
  return SUCCEEDED(link->SetPath(argv[2])) &&
                 SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                 SUCCEEDED(file->Save(path.data(), TRUE))
             ? 0
             : 1;
}
