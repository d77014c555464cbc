// The program's dialog templates, as its resource script gives them, for
// the host that has no resource section to load them from.
#include <string.h>

#include "layer.h"

namespace layer {
namespace {

const DialogTemplate kTemplates[] = {
    {"PATCH",
     "拡張パック確認",
     {
         {1, "BUTTON", "実行"},
         {2, "BUTTON", "終了"},
         {1001, "EDIT", ""},
         {0xFFFF, "BUTTON", "下記のインストール先に拡張処理を行います。"},
     },
     4},
};

}  // namespace

const DialogTemplate *FindDialogTemplate(const char *name) {
  for (const DialogTemplate &t : kTemplates)
    if (name && strcmp(t.name, name) == 0) return &t;
  return nullptr;
}

}  // namespace layer
