#include <gtest/gtest.h>

#include <map>

#include "settings/ini.h"
#include "app/startup.h"
#include "toolkit/text_limit.h"

namespace norvel {
namespace {

StartupTexts From(const std::map<std::string_view, std::string>& stored) {
  return DecideStartupTexts([&](std::string_view key) {
    const auto it = stored.find(key);
    return it == stored.end() ? std::string() : it->second;
  });
}

TEST(StartupTexts, MissingSettingsGiveDefaultMessageAndEmptyFields) {
  const StartupTexts t = From({});
  EXPECT_EQ(t.text1, "时间到,请休息!");
  EXPECT_EQ(t.combo1, "");
  EXPECT_EQ(t.combo2, "");
  EXPECT_EQ(t.combo3, "");
  EXPECT_EQ(t.combo4, "");
  EXPECT_EQ(t.text2, "");
}

TEST(StartupTexts, StoredValuesShownUnchanged) {
  const StartupTexts t = From({{AlarmSettings::kMessage, "喝水"},
                               {AlarmSettings::kHour, "每小时"},
                               {AlarmSettings::kMinute, "07"},
                               {AlarmSettings::kSecond, " 5"},
                               {AlarmSettings::kAction, "关机吧"},
                               {AlarmSettings::kPicture, "Cancel Was Pressed"}});
  EXPECT_EQ(t.text1, "喝水");
  EXPECT_EQ(t.combo1, "每小时");
  EXPECT_EQ(t.combo2, "07");
  EXPECT_EQ(t.combo3, " 5");
  EXPECT_EQ(t.combo4, "关机吧");
  EXPECT_EQ(t.text2, "Cancel Was Pressed");
}

TEST(MessageLimit, CountsCodePage936Bytes) {
  EXPECT_EQ(Cp936ByteLength("abc"), 3u);
  EXPECT_EQ(Cp936ByteLength("时间到,请休息!"), 14u);
  EXPECT_EQ(Cp936ByteLength("a\r\n字"), 5u);
  EXPECT_EQ(Cp936ByteLength("😀"), 1u);  // becomes one '?' in the code page
}

TEST(MessageLimit, TypingBeyondTheLimitIsRefused) {
  const std::string full(255, 'a');
  EXPECT_EQ(FitEditToLimit(full.substr(1), full, 255), std::nullopt);  // the 255th byte fits
  const auto refused = FitEditToLimit(full, full + "b", 255);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->text, full);
  // 127 Chinese characters take 254 bytes: a 128th does not fit, a Latin letter does.
  std::string chinese;
  for (int i = 0; i < 127; ++i) chinese += "字";
  EXPECT_EQ(FitEditToLimit(chinese, chinese + "字", 255)->text, chinese);
  EXPECT_EQ(FitEditToLimit(chinese, chinese + "a", 255), std::nullopt);
  // Typed in the middle: the caret stays where the refused character would have gone.
  const auto middle = FitEditToLimit(full, "aa字" + full.substr(2), 255);
  ASSERT_TRUE(middle);
  EXPECT_EQ(middle->text, full);
  EXPECT_EQ(middle->caret, 2u);
}

TEST(MessageLimit, PasteKeepsWhatFitsWithoutSplittingCharactersOrLineBreaks) {
  const std::string before(250, 'x');
  const auto pasted = FitEditToLimit(before, before + "ab字\r\n末尾", 255);
  ASSERT_TRUE(pasted);
  EXPECT_EQ(pasted->text, before + "ab字");  // 254 bytes; CR LF would make 256
  EXPECT_EQ(pasted->caret, pasted->text.size());
  // Replacing a selection: the replaced text frees its bytes.
  const auto replaced = FitEditToLimit(std::string(255, 'y'),
                                       "yyy" + std::string(10, 'z') + std::string(250, 'y'), 255);
  ASSERT_TRUE(replaced);
  EXPECT_EQ(replaced->text.size(), 255u);
  // Deleting from a text that was already too long (a longer message from the file) is fine.
  EXPECT_EQ(FitEditToLimit(std::string(300, 'q'), std::string(299, 'q'), 255), std::nullopt);
}

}  // namespace
}  // namespace norvel
