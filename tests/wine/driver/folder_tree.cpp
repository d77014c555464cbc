#include "folder_tree.h"

#include <commctrl.h>

namespace {

const UINT kReplyTimeoutMs = 5000;
const int kTextRoom = 520;

LRESULT Ask(HWND tree, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(tree, message, wParam, lParam, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &result))
    return 0;
  return static_cast<LRESULT>(result);
}

// A block of memory in the tree's process that holds a TVITEMA and the
// room for its text; released on every way out.
class ForeignBlock {
 public:
  explicit ForeignBlock(HWND tree) {
    DWORD processId = 0;
    GetWindowThreadProcessId(tree, &processId);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_)
      block_ = static_cast<char *>(
          VirtualAllocEx(process_, nullptr, sizeof(TVITEMA) + kTextRoom, MEM_COMMIT, PAGE_READWRITE));
  }
  ~ForeignBlock() {
    if (block_) VirtualFreeEx(process_, block_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  ForeignBlock(const ForeignBlock &) = delete;
  ForeignBlock &operator=(const ForeignBlock &) = delete;

  std::string ItemText(HWND tree, HTREEITEM item) {
    if (!block_ || !item) return std::string();
    TVITEMA request = {};
    request.mask = TVIF_TEXT | TVIF_HANDLE;
    request.hItem = item;
    request.pszText = block_ + sizeof(TVITEMA);
    request.cchTextMax = kTextRoom;
    char text[kTextRoom] = {};
    if (!WriteProcessMemory(process_, block_, &request, sizeof request, nullptr) ||
        !WriteProcessMemory(process_, block_ + sizeof(TVITEMA), text, 1, nullptr) ||
        !Ask(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(block_)) ||
        !ReadProcessMemory(process_, block_ + sizeof(TVITEMA), text, sizeof text - 1, nullptr))
      return std::string();
    return std::string(text);
  }

 private:
  HANDLE process_ = nullptr;
  char *block_ = nullptr;
};

HTREEITEM Next(HWND tree, UINT relation, HTREEITEM item) {
  return reinterpret_cast<HTREEITEM>(Ask(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

std::string SelectedItemText(HWND tree) {
  ForeignBlock block(tree);
  return block.ItemText(tree, Next(tree, TVGN_CARET, nullptr));
}

bool SelectChild(HWND tree, const std::string &name) {
  HTREEITEM parent = Next(tree, TVGN_CARET, nullptr);
  if (!parent) return false;
  Ask(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
  ForeignBlock block(tree);
  for (HTREEITEM child = Next(tree, TVGN_CHILD, parent); child; child = Next(tree, TVGN_NEXT, child)) {
    if (lstrcmpiA(block.ItemText(tree, child).c_str(), name.c_str()) == 0)
      return Ask(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child)) != 0;
  }
  return false;
}
