// The game's texts reach Windows as code page 932 bytes: each is checked
// against iconv's conversion of the same UTF-8 text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/product_profile.h"
#include "support/scratch.h"

TEST(ProductProfile, TextsAreCp932Bytes) {
  const ProductProfile &p = GameProfile;
  struct Case {
    const char *entry;
    const char *actual;
    const char *utf8;
  } cases[] = {
      {"caption", p.Caption, u8"ミルフェネア 更新プログラム"},
      {"browse prompt", p.BrowsePrompt, u8"ミルフェネアのフォルダーを選択して下さい。"},
      {"maker folder", p.MakerFolder, u8"BELVORANT"},
      {"game name", p.GameName, u8"lumireth"},
      {"dialog title", p.DialogTitle, u8"更新処理"},
      {"done message", p.DoneMessage, u8"更新処理が終了しました。"},
      {"overwrite question", p.OverwriteQuestion,
       u8"既に更新処理が行われています。\r\n上書き処理を行いますか？"},
      {"dialog lead text", p.DialogLeadText, u8"下記のインストール先に更新処理を行います。"},
  };
  for (const Case &c : cases) EXPECT_EQ(std::string(c.actual), Cp932(c.utf8)) << c.entry;
}

TEST(ProductProfile, UpdateFilesInOrderThenEndMarker) {
  std::vector<std::string> names;
  const char *const *name = GameProfile.UpdateFiles;
  for (; **name; ++name) names.push_back(*name);
  EXPECT_EQ(names, (std::vector<std::string>{"patch.pac", "data.pac"}));
  EXPECT_STREQ(*name, "");
}

TEST(ProductProfile, TestsCanSwapTheProfile) {
  ProductProfile other = GameProfile;
  other.GameName = "other";
  UseProfile(&other);
  EXPECT_STREQ(Profile().GameName, "other");
  UseProfile(nullptr);
  EXPECT_EQ(&Profile(), &GameProfile);
}
