#include <gtest/gtest.h>

#include "toolkit/codepage.h"
#include "toolkit/utf.h"

namespace norvel {
namespace {

TEST(Cp936Codec, ChineseTextHasItsGbkBytes) {
  EXPECT_EQ(Cp936().Encode("每小时"), "\xC3\xBF\xD0\xA1\xCA\xB1");
  EXPECT_EQ(Cp936().Decode("\xC9\xE8\xD6\xC3"), "设置");
  EXPECT_EQ(Cp936Length("时间到,请休息!"), 14u);
}

TEST(Cp936Codec, UnrepresentableAndMalformedTextIsRefusedNotQuestionMarked) {
  EXPECT_EQ(Cp936().Encode("😀"), std::nullopt);
  EXPECT_EQ(Cp936().Encode("\xC3"), std::nullopt);  // not UTF-8
  EXPECT_EQ(Cp936Length("한국어"), std::nullopt);
}

TEST(Cp936Codec, InvalidBytesDecodeToReplacementCharacters) {
  EXPECT_EQ(Cp936().Decode("a\xD6"), "a\xEF\xBF\xBD");
  EXPECT_EQ(Cp936().Decode("\xC9\xE8\xFF"
                           "b"),
            "设\xEF\xBF\xBD"
            "b");
}

TEST(Utf, StrictConversionsRejectMalformedInput) {
  EXPECT_EQ(Utf8ToUtf16("a\xC0\x80"), std::nullopt);     // overlong
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), std::nullopt);  // surrogate
  EXPECT_EQ(Utf8ToUtf16("\xE6\xAF"), std::nullopt);      // truncated
  EXPECT_EQ(Utf16ToUtf8(u"\xD800"), std::nullopt);
  EXPECT_EQ(Utf16ToUtf8Lossy(u"a\xD800"), "a\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToUtf16("设😀"), u"设😀");
  EXPECT_EQ(Utf16ToUtf8(u"设😀"), "设😀");
}

}  // namespace
}  // namespace norvel
