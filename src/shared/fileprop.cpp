#include "shared/fileprop.h"

#include <shlobj.h>

#include "runtime/text.h"

namespace {
std::string TimeText(const FILETIME& ft, bool withTime) {
  SYSTEMTIME st{};
  FileTimeToSystemTime(&ft, &st);
  std::string s = std::to_string(st.wDay) + "/" + std::to_string(st.wMonth) + "/" + std::to_string(st.wYear);
  if (withTime)
    s += " " + std::to_string(st.wHour) + ":" + std::to_string(st.wMinute) + ":" + std::to_string(st.wSecond);
  return s;
}
}  // namespace

bool clsFileProp::FindFileInfo(const std::string& strFileName, bool) {
  if (strFileName.empty()) return false;
  WIN32_FILE_ATTRIBUTE_DATA d{};
  if (rt::HasWildcard(strFileName) || !GetFileAttributesExA(strFileName.c_str(), GetFileExInfoStandard, &d))
    d = WIN32_FILE_ATTRIBUTE_DATA{};
  creation_ = TimeText(d.ftCreationTime, true);
  lastWrite_ = TimeText(d.ftLastWriteTime, true);
  lastAccess_ = TimeText(d.ftLastAccessTime, false);
  attr_ = d.dwFileAttributes;
  filename_ = rt::UCase(strFileName);
  uint64_t size = (static_cast<uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
  byteSize_ = size ? std::to_string(size) : std::string();
  return true;
}

std::string SpecialFolderPath(long folderId) {
  char buf[MAX_PATH] = "";
  HRESULT hr = SHGetFolderPathA(nullptr, static_cast<int>(folderId) | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, buf);
  return hr == S_OK ? std::string(buf) : std::string();
}

std::string ShellFolderPath(HWND owner, int csidl) {
  LPITEMIDLIST pidl = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(owner, csidl, &pidl)) || !pidl) return "";
  char path[MAX_PATH] = "";
  bool ok = SHGetPathFromIDListA(pidl, path);
  CoTaskMemFree(pidl);
  return ok ? std::string(path) : std::string();
}

namespace {
std::function<std::string(const BrowseFolderCall&)>& PickerHandler() {
  static std::function<std::string(const BrowseFolderCall&)> h;
  return h;
}
}  // namespace

void SetBrowseFolderHandler(std::function<std::string(const BrowseFolderCall&)> handler) {
  PickerHandler() = std::move(handler);
}

std::string BrowseFolder(HWND owner, const std::string& title, long& flags, long& rootFolderId) {
  if (flags == 0) flags = BIF_RETURNONLYFSDIRS;
  if (PickerHandler()) return PickerHandler()(BrowseFolderCall{owner, title, flags, rootFolderId});
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  LPITEMIDLIST root = nullptr;
  if (!SpecialFolderPath(rootFolderId).empty() &&
      FAILED(SHGetSpecialFolderLocation(owner, static_cast<int>(rootFolderId), &root)))
    root = nullptr;
  BROWSEINFOA bi{};
  bi.hwndOwner = owner;
  bi.pidlRoot = root;
  bi.lpszTitle = title.c_str();
  bi.ulFlags = static_cast<UINT>(flags);
  LPITEMIDLIST chosen = SHBrowseForFolderA(&bi);
  std::string path;
  if (chosen) {
    char buf[MAX_PATH] = "";
    if (SHGetPathFromIDListA(chosen, buf)) path = buf;
    CoTaskMemFree(chosen);
  }
  if (root) CoTaskMemFree(root);
  if (SUCCEEDED(com)) CoUninitialize();
  return path;
}
