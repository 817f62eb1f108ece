#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "settings/ini.h"
#include "settings/ini_file.h"
#include "temp_dir.h"
#include "toolkit/codepage.h"
#include "toolkit/line_breaks.h"

namespace norvel {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// GBK bytes of the names, written out so that the tests do not depend on the codec.
const std::string kSectionGbk = "\xC9\xE8\xD6\xC3";            // 设置
const std::string kMessageGbk = "\xCC\xE1\xCA\xBE\xD3\xEF";    // 提示语
const std::string kHourGbk = "\xD0\xA1\xCA\xB1";               // 小时
const std::string kEveryHourGbk = "\xC3\xBF\xD0\xA1\xCA\xB1";  // 每小时

std::string Read(const std::string& file, std::string_view key) {
  return ReadIniValue(AlarmSettings::kSection, key, file);
}

TEST(SettingsPath, DirectoryAndFileNameAreJoinedAsText) {
  EXPECT_EQ(SettingsFilePath("C:\\Tools\\Norvel"), "C:\\Tools\\Norvel\\option.ini");
  EXPECT_EQ(SettingsFilePath("C:\\"), "C:\\\\option.ini");
}

TEST(SettingsStore, MissingFileSectionOrKeyReadsEmpty) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  EXPECT_EQ(Read(file, AlarmSettings::kMessage), "");
  WriteBytes(file, "[other]\r\n" + kMessageGbk + "=x\r\n");
  EXPECT_EQ(Read(file, AlarmSettings::kMessage), "");
  WriteBytes(file, "[" + kSectionGbk + "]\r\n" + kHourGbk + "=7\r\n" + kMessageGbk + "=\r\n");
  EXPECT_EQ(Read(file, AlarmSettings::kMessage), "");
  EXPECT_EQ(Read(file, AlarmSettings::kMinute), "");
  EXPECT_EQ(Read(file, AlarmSettings::kHour), "7");
}

TEST(SettingsStore, FirstWriteCreatesFileWithGbkSectionAndKey) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  ASSERT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kHour, "每小时", file),
            WriteStatus::kOk);
  EXPECT_EQ(ReadBytes(file), "[" + kSectionGbk + "]\r\n" + kHourGbk + "=" + kEveryHourGbk + "\r\n");
  EXPECT_EQ(Read(file, AlarmSettings::kHour), "每小时");
}

TEST(SettingsStore, AllSixKeysRoundTripAndRewriteReplacesInPlace) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  for (const auto key : AlarmSettings::kKeys) {
    ASSERT_EQ(WriteIniValue(AlarmSettings::kSection, key, std::string(key) + "值", file),
              WriteStatus::kOk);
  }
  const std::string before = ReadBytes(file);
  ASSERT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kMinute, "07", file),
            WriteStatus::kOk);
  for (const auto key : AlarmSettings::kKeys) {
    EXPECT_EQ(Read(file, key), key == AlarmSettings::kMinute ? "07" : std::string(key) + "值");
  }
  // Only the minute's line changed: same line count, same order.
  const std::string after = ReadBytes(file);
  EXPECT_EQ(std::count(before.begin(), before.end(), '\n'),
            std::count(after.begin(), after.end(), '\n'));
  EXPECT_EQ(before.substr(0, before.find("\xB7\xD6\xD6\xD3")),
            after.substr(0, after.find("\xB7\xD6\xD6\xD3")));
}

// Earlier versions of Norvel cut values at 254 bytes; a 255-byte message that the message box
// accepts lost its last byte at the next start.
TEST(SettingsStore, LongValuesReadBackWhole) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  for (const std::size_t chars : {127u, 128u, 300u, 5000u}) {
    std::string message;
    for (std::size_t i = 0; i < chars; ++i) message += i % 2 ? "字" : "a";
    ASSERT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kMessage, message, file),
              WriteStatus::kOk);
    EXPECT_EQ(Read(file, AlarmSettings::kMessage), message) << chars;
  }
}

// Earlier versions of Norvel wrote line breaks raw: orphan lines piled up in the section and the
// message came back cut at its first line break.
TEST(SettingsStore, MessageWithLineBreaksStaysOnOneLineAndRoundTrips) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  const std::string message = "第一行\r\n第二行 C:\\temp\\n\r\n\\\\end\n";
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kMessage, message, file),
              WriteStatus::kOk);
  }
  EXPECT_EQ(Read(file, AlarmSettings::kMessage), message);
  const std::string bytes = ReadBytes(file);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 2) << bytes;
  // Other keys are not escaped: a picture path keeps its backslashes as they are.
  ASSERT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kPicture, "C:\\new\\r.bmp", file),
            WriteStatus::kOk);
  EXPECT_NE(ReadBytes(file).find("=C:\\new\\r.bmp\r\n"), std::string::npos);
  // A line break in a value that is not escaped would break the file: refused.
  EXPECT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kPicture, "a\r\nb", file),
            WriteStatus::kUnrepresentable);
}

TEST(SettingsStore, OlderFilesWithPlainMessagesReadAsBefore) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  WriteBytes(file, "[" + kSectionGbk + "]\r\n" + kMessageGbk + "=D:\\pics\\a.txt 100%\r\n");
  EXPECT_EQ(Read(file, AlarmSettings::kMessage), "D:\\pics\\a.txt 100%");
}

TEST(SettingsStore, BlanksAndQuotesAroundValuesRoundTrip) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  for (const std::string value :
       {"  padded  ", "\"quoted\"", "'single'", "\"", "\"\"", " ", "a\"b"}) {
    ASSERT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kMessage, value, file),
              WriteStatus::kOk);
    EXPECT_EQ(Read(file, AlarmSettings::kMessage), value);
  }
}

TEST(SettingsStore, TextOutsideCodePage936IsRefusedAndFileKept) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  ASSERT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kHour, "7", file),
            WriteStatus::kOk);
  const std::string before = ReadBytes(file);
  EXPECT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kPicture, "C:\\😀.png", file),
            WriteStatus::kUnrepresentable);
  EXPECT_EQ(ReadBytes(file), before);
}

TEST(SettingsStore, ReadOnlyFileIsReportedAndKept) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  ASSERT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kHour, "7", file),
            WriteStatus::kOk);
  const std::string before = ReadBytes(file);
  std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);
  EXPECT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kHour, "8", file),
            WriteStatus::kReadOnly);
  EXPECT_EQ(ReadBytes(file), before);
  EXPECT_EQ(Read(file, AlarmSettings::kHour), "7");
}

TEST(SettingsStore, DirectoryNamedLikeTheFileReadsEmptyAndRefusesWrites) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  std::filesystem::create_directory(file);
  EXPECT_EQ(Read(file, AlarmSettings::kHour), "");
  EXPECT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kHour, "7", file),
            WriteStatus::kIoError);
  EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST(SettingsStore, MissingFolderIsReported) {
  TempDir dir;
  EXPECT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kHour, "7",
                          dir.File("no-such-folder/option.ini")),
            WriteStatus::kIoError);
}

// ---- The file form, on bytes in memory ----

std::string SetOnce(const std::string& bytes, std::string_view section, std::string_view key,
                    std::string_view value) {
  IniFile ini(bytes, Cp936());
  EXPECT_TRUE(ini.Set(section, key, value));
  return ini.Bytes();
}

TEST(IniFile, NamesMatchWithoutCaseAndBlanks) {
  const IniFile ini("[Main]\r\n  KeyOne  =  value one  \r\nkeytwo='q'\r\n", Cp936());
  EXPECT_EQ(ini.Get("main", "keyone"), "value one");
  EXPECT_EQ(ini.Get(" MAIN", "KEYTWO"), std::nullopt);  // the caller's blanks are not trimmed
  EXPECT_EQ(ini.Get("MAIN", "KEYTWO"), "q");
  EXPECT_EQ(ini.Get("main", "key"), std::nullopt);
}

TEST(IniFile, FirstSectionAndFirstKeyWin) {
  const IniFile ini("[s]\r\nk=1\r\nk=2\r\n[t]\r\nk=3\r\n[s]\r\nk=4\r\nj=5\r\n", Cp936());
  EXPECT_EQ(ini.Get("s", "k"), "1");
  EXPECT_EQ(ini.Get("t", "k"), "3");
  EXPECT_EQ(ini.Get("s", "j"), std::nullopt);
}

// A GBK character may end in the byte of ']' or of a Latin letter; neither may be taken for
// the end of a section name or folded as a letter.
TEST(IniFile, DoubleByteCharactersAreNeverSplit) {
  // "乗" is 0x81 0x5D in code page 936 (its second byte is ']').
  const std::string with_bracket = "\x81\x5D";
  const IniFile ini("[" + with_bracket + "]\r\nk=1\r\n", Cp936());
  EXPECT_EQ(ini.Get(Cp936().Decode(with_bracket), "k"), "1");
  // 0xB0 0x41 and 0xB0 0x61 are two different characters ("癆" and "癮"-like pairs).
  const std::string upper = "\xB0\x41", lower = "\xB0\x61";
  const IniFile cased("[s]\r\n" + upper + "=U\r\n" + lower + "=L\r\n", Cp936());
  EXPECT_EQ(cased.Get("s", Cp936().Decode(lower)), "L");
  EXPECT_EQ(cased.Get("s", Cp936().Decode(upper)), "U");
}

TEST(IniFile, WriteKeepsEveryOtherByte) {
  const std::string original =
      "; comment\n[a]\r\n x = 1 \r\n\r\n[s]\r\nk=old\r\n  odd line\r\n\r\n[b]\ny=2";
  EXPECT_EQ(SetOnce(original, "s", "k", "new"),
            "; comment\n[a]\r\n x = 1 \r\n\r\n[s]\r\nk=new\r\n  odd line\r\n\r\n[b]\ny=2");
  // A new key goes after the section's last line, before the blank line.
  EXPECT_EQ(SetOnce(original, "S", "new", "v"),
            "; comment\n[a]\r\n x = 1 \r\n\r\n[s]\r\nk=old\r\n  odd line\r\nnew=v\r\n\r\n[b]\ny=2");
  // A new section goes at the end, after a line break the last line lacked.
  EXPECT_EQ(SetOnce(original, "c", "z", "3"), original + "\r\n[c]\r\nz=3\r\n");
  // The key keeps its spelling in the file.
  EXPECT_EQ(SetOnce("[s]\r\n  Key = 1\r\n", "s", "KEY", "2"), "[s]\r\nKey=2\r\n");
  EXPECT_EQ(SetOnce("[s]", "s", "k", "v"), "[s]\r\nk=v\r\n");
}

TEST(IniFile, EditorEncodingsAreReadAndWrittenBack) {
  const std::string utf8_body = "[设置]\r\n小时=7\r\n";
  for (const std::string prefix : {"", "\xEF\xBB\xBF"}) {
    IniFile ini(prefix + utf8_body, Cp936());
    EXPECT_EQ(ini.Get("设置", "小时"), "7");
    ASSERT_TRUE(ini.Set("设置", "提示语", "你好"));
    EXPECT_EQ(ini.Bytes(), prefix + utf8_body + "提示语=你好\r\n");
  }
  const std::u16string utf16 = u"[设置]\r\n小时=7\r\n";
  std::string bytes = "\xFF\xFE";
  for (const char16_t u : utf16) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  IniFile ini(bytes, Cp936());
  EXPECT_EQ(ini.encoding(), IniEncoding::kUtf16LeBom);
  EXPECT_EQ(ini.Get("设置", "小时"), "7");
  ASSERT_TRUE(ini.Set("设置", "小时", "每小时"));
  std::string expected = "\xFF\xFE";
  for (const char16_t u : std::u16string(u"[设置]\r\n小时=每小时\r\n")) {
    expected += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  }
  EXPECT_EQ(ini.Bytes(), expected);
}

TEST(IniFile, DamagedInputNeverBreaksReadingOrWriting) {
  // Cut inside a GBK character, cut inside a line, NUL bytes, lone carriage returns.
  const std::vector<std::string> inputs = {
      "[" + kSectionGbk + "]\r\n" + kMessageGbk + "=\xD6",
      "[" + kSectionGbk + "]\r\n" + kMessageGbk.substr(0, 3),
      std::string("[s]\r\nk=a\0b\r\n", 12),
      "[s\rk=1\r",
      "\xFF\xFE\x5B",
  };
  for (const auto& input : inputs) {
    IniFile ini(input, Cp936());
    (void)ini.Get("s", "k");
    (void)ini.Get("设置", "提示语");
    ASSERT_TRUE(ini.Set("设置", "提示语", "x"));
    EXPECT_EQ(IniFile(ini.Bytes(), Cp936()).Get("设置", "提示语"), "x");
  }
  EXPECT_EQ(IniFile(std::string("[s]\r\nk=a\0b\r\n", 12), Cp936()).Get("s", "k"), "a");
}

TEST(IniFile, RandomBytesAndHugeFilesStayUsable) {
  std::mt19937 rng(42);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(static_cast<std::size_t>(rng() % 512), '\0');
    for (auto& b : bytes) b = static_cast<char>(rng());
    IniFile ini(bytes, Cp936());
    (void)ini.Get("设置", "提示语");
    if (ini.Set("设置", "提示语", "值")) {
      EXPECT_EQ(IniFile(ini.Bytes(), Cp936()).Get("设置", "提示语"), "值");
    }
  }
  // 50 MB of lines in the settings section; the key sits at the very end.
  std::string big = "[" + kSectionGbk + "]\r\n";
  const std::string filler = "filler=0123456789012345678901234567890123456789\r\n";
  big.reserve(50u << 20);
  while (big.size() < (50u << 20)) big += filler;
  big += kHourGbk + "=23\r\n";
  IniFile ini(big, Cp936());
  EXPECT_EQ(ini.Get("设置", "小时"), "23");
  ASSERT_TRUE(ini.Set("设置", "小时", "0"));
  EXPECT_EQ(ini.Bytes().size(), big.size() - 1);
}

AlarmSettings Sample() {
  AlarmSettings s;
  s.message = "喝水\r\n起来走走";
  s.hour = "每小时", s.minute = "07", s.second = "5", s.action = "关闭计算机";
  s.picture = "C:\\图片\\猫.bmp";
  return s;
}

// OK once wrote the keys one by one: a value the file could not hold was reported after the
// others had been written, leaving the file half new, half old.
TEST(SettingsStore, SixSettingsAreSavedTogetherOrNotAtAll) {
  TempDir dir;
  const auto file = dir.File("option.ini");
  const std::string original = "; mine\r\n[" + kSectionGbk + "]\r\n" + kHourGbk + "=7\r\n";
  WriteBytes(file, original);
  for (const auto field :
       {&AlarmSettings::message, &AlarmSettings::picture, &AlarmSettings::action}) {
    AlarmSettings refused = Sample();
    refused.*field = "안녕";
    const SaveResult result = WriteAlarmSettings(refused, file);
    EXPECT_EQ(result.status, WriteStatus::kUnrepresentable);
    EXPECT_EQ(result.key, field == &AlarmSettings::message   ? AlarmSettings::kMessage
                          : field == &AlarmSettings::picture ? AlarmSettings::kPicture
                                                             : AlarmSettings::kAction);
    EXPECT_EQ(ReadBytes(file), original);
  }
  ASSERT_EQ(WriteAlarmSettings(Sample(), file).status, WriteStatus::kOk);
  const AlarmSettings back = ReadAlarmSettings(file);
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(*back.Values()[i], *Sample().Values()[i]) << i;
  EXPECT_EQ(ReadBytes(file).rfind("; mine\r\n", 0), 0u);  // other lines kept
}

TEST(LineBreaks, LoneLfOrCrBecomeCrLfInTheMessageAndSpacesInTheTitle) {
  struct Case {
    std::string_view stored, message, title;
  };
  for (const Case& c : {Case{"a\nb", "a\r\nb", "a b"}, Case{"a\rb", "a\r\nb", "a b"},
                        Case{"a\r\nb", "a\r\nb", "a b"}, Case{"a\n\rb", "a\r\n\r\nb", "a  b"},
                        Case{"\r\r\n", "\r\n\r\n", "  "}, Case{"无", "无", "无"}}) {
    EXPECT_EQ(WithCrLfLineBreaks(c.stored), c.message) << c.stored;
    EXPECT_EQ(LineBreaksAsSpaces(c.stored), c.title) << c.stored;
  }
}

TEST(LineBreakEscapes, RoundTripAndBackslashesOfEarlierVersions) {
  for (const std::string s : {"", "a\\b", "\r\n", "\\n", "x\\\\r\ny", "\n\r\\"}) {
    EXPECT_EQ(UnescapeLineBreaks(EscapeLineBreaks(s)), s);
    EXPECT_EQ(EscapeLineBreaks(s).find_first_of("\r\n"), std::string::npos);
  }
  EXPECT_EQ(UnescapeLineBreaks("a\\tb\\"), "a\\tb\\");
}

}  // namespace
}  // namespace norvel
