// The game's texts. The sources are UTF-8 and the compiler stores every
// narrow literal in code page 932, which is what Windows shows.
#include "product_profile.h"

namespace {

const char *const kUpdateFiles[] = {"patch.pac", "data.pac", ""};

const ProductProfile *current = &GameProfile;

}  // namespace

const ProductProfile GameProfile = {
    "ミルフェネア 更新プログラム",
    "ミルフェネアのフォルダーを選択して下さい。",
    kUpdateFiles,
    "BELVORANT",
    "lumireth",
    "更新処理",
    "更新処理が終了しました。",
    "既に更新処理が行われています。\r\n上書き処理を行いますか？",
    "下記のインストール先に更新処理を行います。",
};

const ProductProfile &Profile() {
  return *current;
}

void UseProfile(const ProductProfile *profile) {
  current = profile ? profile : &GameProfile;
}
