#include "settings/alarms.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "settings/ini_file.h"
#include "temp_dir.h"
#include "toolkit/codepage.h"

namespace norvel {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string Gbk(std::string_view utf8) {
  return Cp936().Encode(utf8).value();
}

AlarmSettings Texts(std::string message, std::string hour = "") {
  AlarmSettings texts;
  texts.message = std::move(message);
  texts.hour = std::move(hour);
  return texts;
}

// An alarm's section as the file holds it: the seven keys in order, then the switch.
std::string Section(std::string_view name, std::string_view message, std::string_view hour,
                    bool off = false) {
  std::string text = "[" + std::string(name) + "]\r\n";
  for (const auto key : AlarmSettings::kKeys) {
    const std::string_view value = key == AlarmSettings::kMessage ? message
                                   : key == AlarmSettings::kHour  ? hour
                                                                  : "";
    text += std::string(key) + "=" + std::string(value) + "\r\n";
  }
  return off ? text + "启用=0\r\n" : text;
}

TEST(AlarmNames, SectionsAndPutOffKeysByNumber) {
  EXPECT_EQ(AlarmSectionName(1), "设置");
  EXPECT_EQ(AlarmSectionName(12), "闹钟12");
  EXPECT_EQ(PutOffKey(1), "稍后提醒");
  EXPECT_EQ(PutOffKey(3), "稍后提醒3");
  EXPECT_EQ(AlarmNumberOfSection("闹钟2"), 2);
  EXPECT_EQ(AlarmNumberOfSection("闹钟31"), 31);
  for (const std::string_view name :
       {"闹钟1", "闹钟0", "闹钟01", "闹钟x", "闹钟", "闹钟2x", "闹钟-2", "闹钟+2", "闹钟 2",
        "闹钟99999999999", "设置", "其他"}) {
    EXPECT_EQ(AlarmNumberOfSection(name), std::nullopt) << name;
  }
}

TEST(Alarms, ThreeAlarmsRoundTripInTheirSections) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  WriteBytes(file, Gbk("; 我的\r\n"));
  const std::vector<StoredAlarm> alarms = {
      {1, true, Texts("喝水")}, {2, false, Texts("第一行\n第二行", "8")}, {4, true, Texts("")}};
  ASSERT_EQ(WriteAlarms(alarms, {}, 3, file).status, WriteStatus::kOk);
  EXPECT_EQ(ReadBytes(file), Gbk("; 我的\r\n" + Section("设置", "喝水", "") +
                                 Section("闹钟2", "第一行\\n第二行", "8", true) +
                                 Section("闹钟4", "", "") + "[状态]\r\n最大闹钟号=4\r\n"));
  StoredAlarms back = ReadAlarms(file);
  EXPECT_EQ(back.alarms, alarms);
  EXPECT_EQ(back.max_number, 4);
  EXPECT_FALSE(back.truncated);
  EXPECT_EQ(ReadIniValue("闹钟2", AlarmSettings::kMessage, file), "第一行\n第二行");

  // Switching over: the switch moves from one section to the other.
  back.alarms[0].enabled = false;
  back.alarms[1].enabled = true;
  ASSERT_EQ(WriteAlarms(back.alarms, {}, back.max_number, file).status, WriteStatus::kOk);
  EXPECT_EQ(ReadAlarms(file).alarms, back.alarms);
  EXPECT_EQ(ReadIniValue("设置", AlarmFileNames::kEnabled, file), "0");
  EXPECT_EQ(ReadIniValue("闹钟2", AlarmFileNames::kEnabled, file), "");
  ASSERT_EQ(WriteIniValue("闹钟4", AlarmSettings::kMessage, "a\r\nb", file), WriteStatus::kOk);
  EXPECT_EQ(ReadAlarms(file).alarms[2].texts.message, "a\r\nb");
}

// A sound is kept only when it is not "无": every alarm written before it stays as it was.
TEST(Alarms, ASoundIsKeptOnlyWhenItIsNotNone) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  std::vector<StoredAlarm> alarms = {{1, true, Texts("喝水")}, {2, true, Texts("下班")}};
  alarms[1].texts.sound = "D:\\铃声\\钟.wav";
  ASSERT_EQ(WriteAlarms(alarms, {}, 2, file).status, WriteStatus::kOk);
  EXPECT_EQ(ReadAlarms(file).alarms, alarms);
  EXPECT_NE(ReadBytes(file).find(Gbk("声音=D:\\铃声\\钟.wav\r\n[状态]")), std::string::npos);
  alarms[1].texts.sound = "无";
  ASSERT_EQ(WriteAlarms(alarms, {}, 2, file).status, WriteStatus::kOk);
  EXPECT_EQ(ReadBytes(file).find(Gbk("声音")), std::string::npos);
  EXPECT_EQ(ReadAlarms(file).alarms[1].texts.sound, "");
  alarms[1].texts.sound = "C:\\\xF0\x9F\x94\x94.wav";  // a bell emoji: not in GBK
  const AlarmsSaveResult refused = WriteAlarms(alarms, {}, 2, file);
  EXPECT_EQ(refused.status, WriteStatus::kUnrepresentable);
  EXPECT_EQ(refused.number, 2);
  EXPECT_EQ(refused.key, AlarmSettings::kSound);
}

// Files of versions with a single alarm: they must come out as those versions write them.
TEST(Alarms, OneAlarmFileIsWrittenAsASingleAlarmVersionWritesIt) {
  TempDir dir;
  const std::string single = dir.File("single.ini"), list = dir.File("list.ini");
  for (const std::string& original :
       {std::string(), Gbk("[设置]\r\n提示语=旧\r\n小时=7\r\n"),
        Gbk("; 注释\r\n[状态]\r\n稍后提醒=1\r\n\r\n[设置]\r\n 小时 = 9 \r\n[其他]\r\nk=v")}) {
    std::filesystem::remove(single);
    std::filesystem::remove(list);
    if (!original.empty()) {
      WriteBytes(single, original);
      WriteBytes(list, original);
    }
    StoredAlarms read = ReadAlarms(list);
    ASSERT_EQ(read.alarms.size(), 1u);
    read.alarms[0].texts = Texts("新\r\n的", "每小时");
    ASSERT_EQ(WriteAlarmSettings(read.alarms[0].texts, single).status, WriteStatus::kOk);
    ASSERT_EQ(WriteAlarms(read.alarms, {}, read.max_number, list).status, WriteStatus::kOk);
    EXPECT_EQ(ReadBytes(list), ReadBytes(single)) << original;
  }
}

TEST(Alarms, SectionsReadAscendingAndOtherSectionsAreKept) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  const std::string foreign =
      "[闹钟x]\r\n提示语=x\r\n[闹钟01]\r\n提示语=01\r\n[其他]\r\n提示语=其他\r\n";
  WriteBytes(file, Gbk("[闹钟7]\r\n提示语=七\r\n" + foreign +
                       "[ 闹钟3 ]\r\n启用=0\r\n提示语=三\r\n[设置]\r\n提示语=一\r\n"
                       "[闹钟3]\r\n提示语=后来的三\r\n"));
  StoredAlarms read = ReadAlarms(file);
  ASSERT_EQ(read.alarms.size(), 3u);
  EXPECT_EQ(read.alarms[0], (StoredAlarm{1, true, Texts("一")}));
  EXPECT_EQ(read.alarms[1], (StoredAlarm{3, false, Texts("三")}));
  EXPECT_EQ(read.alarms[2], (StoredAlarm{7, true, Texts("七")}));
  EXPECT_EQ(read.max_number, 7);
  read.alarms[2].texts.message = "改";
  ASSERT_EQ(WriteAlarms(read.alarms, {}, read.max_number, file).status, WriteStatus::kOk);
  EXPECT_NE(ReadBytes(file).find(Gbk(foreign)), std::string::npos);
  EXPECT_EQ(ReadAlarms(file).alarms, read.alarms);
}

TEST(Alarms, BeyondTheLimitAreNotLoadedButSurviveAWrite) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  std::string text = "[设置]\r\n提示语=1\r\n";
  for (int n = 40; n >= 2; --n) {
    text += "[闹钟" + std::to_string(n) + "]\r\n提示语=" + std::to_string(n) + "\r\n";
  }
  WriteBytes(file, Gbk(text));
  StoredAlarms read = ReadAlarms(file);
  ASSERT_EQ(read.alarms.size(), static_cast<std::size_t>(kMaxAlarms));
  EXPECT_TRUE(read.truncated);
  EXPECT_EQ(read.alarms.back().number, 32);
  EXPECT_EQ(read.max_number, 40);
  read.alarms.erase(read.alarms.begin() + 2);  // alarm 3
  ASSERT_EQ(WriteAlarms(read.alarms, {3}, read.max_number, file).status, WriteStatus::kOk);
  const StoredAlarms again = ReadAlarms(file);
  EXPECT_EQ(again.alarms.back(), (StoredAlarm{33, true, Texts("33")}));
  EXPECT_EQ(again.max_number, 40);
  EXPECT_EQ(ReadIniValue("闹钟40", AlarmSettings::kMessage, file), "40");
}

TEST(Alarms, DeletedAlarmsLoseSectionAndPutOffButNumbersAreNeverGivenAgain) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  const std::string state = "[状态]\r\n稍后提醒=a\r\n稍后提醒2=b\r\n稍后提醒3=c\r\n";
  WriteBytes(file, Gbk("[设置]\r\n提示语=一\r\n" + state +
                       "[闹钟2]\r\n提示语=二\r\n\r\n[闹钟3]\r\n提示语=三\r\n"));
  StoredAlarms read = ReadAlarms(file);
  read.alarms.pop_back();
  read.alarms.pop_back();
  ASSERT_EQ(WriteAlarms(read.alarms, {2, 3, 1}, read.max_number, file).status, WriteStatus::kOk);
  EXPECT_EQ(ReadBytes(file),
            Gbk(Section("设置", "一", "") + "[状态]\r\n稍后提醒=a\r\n最大闹钟号=3\r\n"));
  // A caller that lost track of the highest number cannot lower it.
  ASSERT_EQ(WriteAlarms(read.alarms, {}, 1, file).status, WriteStatus::kOk);
  EXPECT_EQ(ReadAlarms(file).max_number, 3);
}

TEST(Alarms, AFailedSaveLeavesTheFileAsItWas) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  const std::string original = Gbk("[设置]\r\n提示语=一\r\n[闹钟2]\r\n提示语=二\r\n");
  WriteBytes(file, original);
  std::vector<StoredAlarm> alarms = ReadAlarms(file).alarms;
  alarms.push_back({3, true, Texts("三")});
  alarms[2].texts.picture = "안녕.bmp";
  const AlarmsSaveResult refused = WriteAlarms(alarms, {2}, 3, file);
  EXPECT_EQ(refused.status, WriteStatus::kUnrepresentable);
  EXPECT_EQ(refused.number, 3);
  EXPECT_EQ(refused.key, AlarmSettings::kPicture);
  EXPECT_EQ(ReadBytes(file), original);

  const auto folder = dir.File("folder.ini");
  std::filesystem::create_directory(folder);
  EXPECT_EQ(WriteAlarms({}, {}, 1, folder).status, WriteStatus::kIoError);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(ReadAlarms(folder).alarms, std::vector<StoredAlarm>{StoredAlarm{}});
}

std::string Utf16Le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t u : text) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  return bytes;
}

TEST(IniFile, SectionsAreListedAndRemovedWholeInEditorEncodings) {
  const std::u16string before = u"[a]\r\nx=1\r\n[闹钟2]\r\nk=v\r\n\r\n[B]\nk=2\n[ 闹钟2 ]\r\ny=3";
  const std::u16string after = u"[a]\r\nx=1\r\n[B]\nk=2\n";
  IniFile utf16(Utf16Le(before), Cp936());
  EXPECT_EQ(utf16.SectionNames(), (std::vector<std::string>{"a", "闹钟2", "B", "闹钟2"}));
  EXPECT_FALSE(utf16.RemoveSection("c"));
  EXPECT_TRUE(utf16.RemoveSection("闹钟2"));
  EXPECT_EQ(utf16.Bytes(), Utf16Le(after));
  IniFile bom("\xEF\xBB\xBF[a]\r\nx=1\r\n[b]\r\n", Cp936());
  EXPECT_TRUE(bom.RemoveSection("A"));
  EXPECT_EQ(bom.Bytes(), "\xEF\xBB\xBF[b]\r\n");
}

}  // namespace
}  // namespace norvel
