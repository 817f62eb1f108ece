// One table of settings files and operations, run against our store and against the
// platform's profile functions on identical files: the read results and the bytes written
// must be equal, except in the rows that name a deliberate difference.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "settings/ini.h"
#include "toolkit/codepage.h"
#include "win_test_util.h"

namespace norvel {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

std::string Gbk(std::string_view utf8) {
  return Cp936().Encode(utf8).value();
}

struct ContractCase {
  const char* name;
  std::optional<std::string> initial;  // UTF-8 text of the file, stored as GBK; nullopt: no file
  const char* section;
  const char* key;
  std::optional<std::string> write;  // nullopt: a read
  // Where we deliberately differ: what the platform gives (read result, or the file's
  // text after the write, in UTF-8).
  std::optional<std::string> platform_differs = std::nullopt;
};

const std::string kLong300(300, 'x');

const std::vector<ContractCase>& Cases() {
  static const std::vector<ContractCase> cases = {
      // ---- reads ----
      {"read_missing_file", std::nullopt, "设置", "小时", std::nullopt},
      {"read_empty_file", "", "设置", "小时", std::nullopt},
      {"read_plain", "[设置]\r\n小时=7\r\n", "设置", "小时", std::nullopt},
      {"read_empty_value", "[设置]\r\n提示语=\r\n", "设置", "提示语", std::nullopt},
      {"read_chinese_value", "[设置]\r\n小时=每小时\r\n", "设置", "小时", std::nullopt},
      {"read_blanks_around", "[设置]\r\n  小时 \t=  7 8 \t\r\n", "设置", "小时", std::nullopt},
      {"read_double_quotes", "[设置]\r\n图片=\" C:\\a b.bmp \"\r\n", "设置", "图片", std::nullopt},
      {"read_single_quotes", "[设置]\r\n图片='x'\r\n", "设置", "图片", std::nullopt},
      {"read_unbalanced_quote", "[设置]\r\n图片=\"x\r\n", "设置", "图片", std::nullopt},
      {"read_letter_case", "[Main]\r\nPicture=1\r\n", "MAIN", "picture", std::nullopt},
      {"read_first_key_wins", "[设置]\r\n小时=1\r\n小时=2\r\n", "设置", "小时", std::nullopt},
      {"read_other_section", "[其他]\r\n小时=1\r\n[设置]\r\n分钟=2\r\n", "设置", "小时",
       std::nullopt},
      {"read_comment_line", "[设置]\r\n;小时=5\r\n小时=6\r\n", "设置", "小时", std::nullopt},
      {"read_lf_only", "[设置]\n小时=7\n分钟=8", "设置", "分钟", std::nullopt},
      {"read_blank_section_name", "[ 设置 ]\r\n小时=7\r\n", "设置", "小时", std::nullopt},
      {"read_line_without_equals", "[设置]\r\n小时\r\n分钟=3\r\n", "设置", "分钟", std::nullopt},
      {"read_equals_in_value", "[设置]\r\n提示语=a=b\r\n", "设置", "提示语", std::nullopt},
      {"read_254_bytes", "[设置]\r\n提示语=" + std::string(254, 'y') + "\r\n", "设置", "提示语",
       std::nullopt},
      // The platform cuts a value at 254 bytes; we read it whole.
      {"read_300_bytes", "[设置]\r\n提示语=" + kLong300 + "\r\n", "设置", "提示语", std::nullopt,
       std::string(254, 'x')},
      // The message's line breaks are stored escaped; the platform sees the escapes.
      {"read_escaped_message", "[设置]\r\n提示语=一\\r\\n二\r\n", "设置", "提示语", std::nullopt,
       "一\\r\\n二"},

      // ---- writes ----
      {"write_creates_file", std::nullopt, "设置", "小时", "7"},
      {"write_into_empty_file", "", "设置", "小时", "7"},
      {"write_replaces_in_place", "[设置]\r\n提示语=你好\r\n小时=1\r\n分钟=2\r\n", "设置", "小时",
       "每小时"},
      // Wine's writer rewrites the whole file and drops blank lines; we keep every other
      // line as it was.
      {"write_adds_key_to_section", "[设置]\r\n小时=1\r\n\r\n[其他]\r\na=b\r\n", "设置", "分钟",
       "5", "[设置]\r\n小时=1\r\n分钟=5\r\n[其他]\r\na=b\r\n"},
      {"write_adds_section", "[其他]\r\na=b\r\n", "设置", "小时", "7"},
      {"write_no_final_line_break", "[设置]\r\n小时=1", "设置", "分钟", "2"},
      {"write_empty_value", "[设置]\r\n小时=1\r\n", "设置", "小时", ""},
      {"write_key_in_other_case", "[Main]\r\nKEY=1\r\n", "main", "key", "2"},
      {"write_chinese_value", "[设置]\r\n动作=无动作\r\n", "设置", "动作", "关闭计算机"},
      {"write_254_bytes", std::nullopt, "设置", "提示语", std::string(254, 'z')},
      {"write_300_bytes", std::nullopt, "设置", "提示语", kLong300},
  };
  return cases;
}

// Names the case in test output instead of dumping its bytes.
void PrintTo(const ContractCase& c, std::ostream* os) {
  *os << c.name;
}

class IniContract : public ::testing::TestWithParam<ContractCase> {};

TEST_P(IniContract, SameResultAsPlatformProfileFunctions) {
  ASSERT_EQ(GetACP(), 936u) << "run with LANG=zh_CN.UTF-8 so that the ANSI code page is 936";
  const ContractCase& c = GetParam();
  TempFolder folder;
  const std::wstring ours = folder.File(L"ours.ini");
  const std::wstring theirs = folder.File(L"platform.ini");
  if (c.initial) {
    ASSERT_TRUE(WriteFileBytes(ours, Gbk(*c.initial)));
    ASSERT_TRUE(WriteFileBytes(theirs, Gbk(*c.initial)));
  }
  const std::string theirs_ansi = Gbk(NarrowLossy(theirs));
  const std::string section = Gbk(c.section), key = Gbk(c.key);

  if (!c.write) {
    const std::string mine = ReadIniValue(c.section, c.key, NarrowLossy(ours));
    char buffer[255] = {};
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer,
                                             sizeof buffer, theirs_ansi.c_str());
    const std::string platform = Cp936().Decode(std::string(buffer, n));
    EXPECT_EQ(platform, c.platform_differs.value_or(mine)) << "platform read";
    if (c.platform_differs) {
      EXPECT_NE(mine, platform) << "the difference we mend is gone";
    }
    return;
  }

  ASSERT_EQ(WriteIniValue(c.section, c.key, *c.write, NarrowLossy(ours)), WriteStatus::kOk);
  const std::string value = Gbk(*c.write);
  ASSERT_TRUE(
      WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), theirs_ansi.c_str()));
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, theirs_ansi.c_str());  // flush
  const std::string mine_text = Cp936().Decode(ReadFileBytes(ours));
  const std::string platform_text = Cp936().Decode(ReadFileBytes(theirs));
  EXPECT_EQ(platform_text, c.platform_differs.value_or(mine_text));
  // What we wrote reads back through the platform as well, up to its 254-byte limit.
  char buffer[255] = {};
  const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof buffer,
                                           Gbk(NarrowLossy(ours)).c_str());
  EXPECT_EQ(Cp936().Decode(std::string(buffer, n)), c.write->substr(0, 254));
}

std::string CaseName(const ::testing::TestParamInfo<ContractCase>& param_info) {
  return param_info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Table, IniContract, ::testing::ValuesIn(Cases()), CaseName);

}  // namespace
}  // namespace norvel
