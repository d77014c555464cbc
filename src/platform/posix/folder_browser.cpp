// The folder browser and its item lists. The browser runs its own loop on
// the calling thread: it tells its callback when it is ready and each time
// the selection changes, takes BFFM_SETSELECTIONA and BFFM_ENABLEOK from
// it, accepts OK only while OK is enabled, and hands a typed name that does
// not resolve to the callback, which may keep the browser open.
#include <string.h>
#include <sys/stat.h>

#include <set>
#include <string>

#include "layer.h"

// An item list names one item of the shell: a folder, or an item without a
// file-system path.
struct _ITEMIDLIST {
  bool isVirtual;
  std::string path;
};

namespace {

std::set<const ITEMIDLIST *> &LiveItems() {
  static std::set<const ITEMIDLIST *> items;
  return items;
}

LPITEMIDLIST NewItem(bool isVirtual, const std::string &path) {
  LPITEMIDLIST item = new ITEMIDLIST{isVirtual, path};
  LiveItems().insert(item);
  return item;
}

void FreeItem(LPITEMIDLIST item) {
  if (LiveItems().erase(item)) delete item;
}

bool IsFolder(const std::string &path) {
  struct stat st;
  return !path.empty() && stat(layer::HostPath(path.c_str()).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A folder's path as the shell gives it: no trailing separator but at a root.
std::string Normalized(std::string path) {
  while (path.size() > 1 && (path.back() == '/' || path.back() == '\\') && path[path.size() - 2] != ':')
    path.pop_back();
  return path;
}

std::string DisplayName(const std::string &path) {
  size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos || slash + 1 == path.size()) return path;
  return path.substr(slash + 1);
}

struct Browser {
  HWND window;
  HWND edit;
  BFFCALLBACK callback;
  LPARAM data;
  std::string title;
  bool hasSelection;
  bool selectionVirtual;
  std::string selection;
  bool okEnabled;
};

Browser *g_Open = nullptr;

layer::BrowserView ViewOf(const Browser &b) {
  return {b.title, b.selectionVirtual ? std::string() : b.selection, layer::WindowText(b.edit), b.okEnabled};
}

// A new selection: the edit field shows its name, then the callback hears
// of it with an item list that lives only for the call.
void Select(Browser &b, bool isVirtual, const std::string &path) {
  b.hasSelection = true;
  b.selectionVirtual = isVirtual;
  b.selection = isVirtual ? std::string() : Normalized(path);
  if (b.edit) SetWindowTextA(b.edit, isVirtual ? "" : DisplayName(b.selection).c_str());
  if (!b.callback) return;
  LPITEMIDLIST item = NewItem(isVirtual, b.selection);
  b.callback(b.window, BFFM_SELCHANGED, reinterpret_cast<LPARAM>(item), b.data);
  FreeItem(item);
}

LRESULT CALLBACK BrowserProcedure(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_Open) return 0;
  if (message == BFFM_ENABLEOK) g_Open->okEnabled = lParam != 0;
  // A path that names no folder leaves the selection as it was.
  if (message == BFFM_SETSELECTIONA && wParam && lParam) {
    std::string path = reinterpret_cast<const char *>(lParam);
    if (IsFolder(path)) Select(*g_Open, false, path);
  }
  return 0;
}

// What OK chooses: the selection while the edit field still shows its
// name, else the folder the typed name resolves to, absolute or inside the
// selection; false when it resolves to none.
bool Resolve(const Browser &b, std::string *chosen, bool *isVirtual) {
  std::string typed = layer::WindowText(b.edit);
  *isVirtual = false;
  if (!b.edit || typed.empty() ||
      (b.hasSelection && typed == DisplayName(b.selection) && !b.selectionVirtual)) {
    if (!b.hasSelection) return false;
    *isVirtual = b.selectionVirtual;
    *chosen = b.selection;
    return true;
  }
  bool absolute = typed[0] == '/' || typed[0] == '\\' || (typed.size() > 1 && typed[1] == ':');
  std::string path = absolute ? typed : b.selection + "/" + typed;
  if (!IsFolder(path)) return false;
  *chosen = Normalized(path);
  return true;
}

// Tells the callback of a typed name that does not resolve. False when the
// browser is to close: the callback's nonzero answer keeps it open.
bool Validate(const Browser &b, const BROWSEINFOA *info) {
  if (!(info->ulFlags & BIF_VALIDATE) || !b.callback) return true;
  std::string typed = layer::WindowText(b.edit);
  return b.callback(b.window, BFFM_VALIDATEFAILEDA, reinterpret_cast<LPARAM>(typed.c_str()), b.data) != 0;
}

}  // namespace

namespace layer {

int LiveItemCount() {
  return static_cast<int>(LiveItems().size());
}

}  // namespace layer

extern "C" {

LPITEMIDLIST SHBrowseForFolderA(LPBROWSEINFOA info) {
  if (layer::Enter("SHBrowseForFolderA", info ? info->lpszTitle : nullptr,
                   {info ? reinterpret_cast<uintptr_t>(info->hwndOwner) : 0u, info ? info->ulFlags : 0u}))
    return nullptr;
  if (!info || g_Open) return nullptr;
  Browser b = {};
  b.window = layer::CreateWindowWithProcedure(BrowserProcedure, "#32770", info->hwndOwner, 0, "");
  b.edit = (info->ulFlags & BIF_EDITBOX)
               ? layer::CreateWindowWithProcedure(nullptr, "Edit", b.window, 0x3744, "")
               : nullptr;
  b.callback = info->lpfn;
  b.data = info->lParam;
  b.title = info->lpszTitle ? info->lpszTitle : "";
  b.okEnabled = true;
  g_Open = &b;

  layer::Front &front = layer::CurrentFront();
  front.BrowserOpened(ViewOf(b));
  if (b.callback) b.callback(b.window, BFFM_INITIALIZED, 0, b.data);

  LPITEMIDLIST result = nullptr;
  std::string chosen;
  for (bool open = true; open;) {
    layer::BrowserStep step = front.NextBrowserStep(ViewOf(b));
    switch (step.kind) {
      case layer::BrowserStep::Select:
        if (IsFolder(step.text)) Select(b, false, step.text);
        break;
      case layer::BrowserStep::SelectVirtual:
        Select(b, true, "");
        break;
      case layer::BrowserStep::Type:
        if (b.edit) SetWindowTextA(b.edit, step.text.c_str());
        break;
      case layer::BrowserStep::Cancel:
        open = false;
        break;
      case layer::BrowserStep::Submit:
        if (IsFolder(step.text)) {
          Select(b, false, step.text);
        } else if (b.edit) {
          SetWindowTextA(b.edit, step.text.c_str());
          open = Validate(b, info);
          break;
        }
        [[fallthrough]];
      case layer::BrowserStep::Ok: {
        if (!b.okEnabled) break;
        bool isVirtual = false;
        if (Resolve(b, &chosen, &isVirtual)) {
          result = NewItem(isVirtual, chosen);
          if (info->pszDisplayName) {
            std::string name = isVirtual ? std::string("Network") : DisplayName(chosen);
            name = name.substr(0, MAX_PATH - 1);
            memcpy(info->pszDisplayName, name.c_str(), name.size() + 1);
          }
          open = false;
        } else {
          open = Validate(b, info);
        }
        break;
      }
    }
  }
  g_Open = nullptr;
  layer::DestroyWindowHandle(b.window);
  front.BrowserClosed(result ? chosen : std::string());
  return result;
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST item, LPSTR path) {
  bool failed = layer::Enter("SHGetPathFromIDListA", item ? item->path.c_str() : nullptr);
  if (!path) return FALSE;
  path[0] = '\0';
  if (failed || !item || item->isVirtual || item->path.size() >= MAX_PATH) return FALSE;
  memcpy(path, item->path.c_str(), item->path.size() + 1);
  return TRUE;
}

void CoTaskMemFree(LPVOID memory) {
  layer::Enter("CoTaskMemFree", nullptr, {reinterpret_cast<uintptr_t>(memory)});
  FreeItem(static_cast<LPITEMIDLIST>(memory));
}

}  // extern "C"
