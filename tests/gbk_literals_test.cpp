// The program's Chinese literals are GBK bytes written by hand; each must be
// exactly the GBK encoding of the reading beside it.
#include <gtest/gtest.h>

#include "base/gbk_literals.h"
#include "tests/support/gbk_encoder.h"

namespace lumigrab {
namespace {

struct Literal {
  const char* bytes;
  const char* reading;  // UTF-8
};

const Literal kLiterals[] = {
    {gbk::kTrue, "真"},
    {gbk::kFalse, "假"},
    {gbk::kQuotePlaceholder, "#引号"},
    {gbk::kTitleSuffix, "-秀衣坊"},
    {gbk::kDescriptionImagePrefix, "产品图"},
    {gbk::kMainImagePrefix, "预览图"},
    {gbk::kRecordVersionLine, "@版本：1.0"},
    {gbk::kRecordNoticeLine, "@说明：该文本是由Lumigrab导出，请勿修改，谢谢！"},
    {gbk::kRecordLinkLine, "@link：%link%"},
    {gbk::kOutOfMemory, "内存不足"},
    {gbk::kDefaultButtonText, "按钮"},
    {gbk::kDefaultWindowTitle, "我的窗口"},
    {gbk::kSongTypeface, "宋体"},
    {gbk::kDefaultCreditLine, "店铺图片一键导出"},
    {gbk::kInternalErrorMessages[0], "数组成员引用下标超出定义范围"},
    {gbk::kInternalErrorMessages[1], "未得到所需要的数值型数据"},
    {gbk::kInternalErrorMessages[2], "引用数组成员时维数不为1且不等于该数组目前所具有的维数"},
    {gbk::kInternalErrorMessages[3], "数组成员引用下标必须大于等于1"},
    {gbk::kInternalErrorMessages[4], "数据或数组类型不匹配"},
    {gbk::kInternalErrorMessages[5], "调用DLL命令后发现堆栈错误，通常是DLL参数数目不正确"},
    {gbk::kInternalErrorMessages[6], "子语句参数未返回数据或者返回了非系统基本类型或数组型数据"},
    {gbk::kInternalErrorMessages[7], "被比较数据只能使用等于或不等于命令比较"},
    {gbk::kInternalErrorMessages[8], "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围"},
    {gbk::kInternalErrorMessages[9], "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零"},
    {gbk::kInternalErrorMessages[10], "所提供参数的数据类型不符合要求"},
};

TEST(GbkLiterals, AreTheGbkEncodingOfTheirReading) {
  for (const Literal& literal : kLiterals) {
    const std::string expected = testing::Utf8ToGbk(literal.reading);
    ASSERT_FALSE(expected.empty()) << "no GBK encoder for " << literal.reading;
    EXPECT_EQ(std::string(literal.bytes), expected) << literal.reading;
  }
}

}  // namespace
}  // namespace lumigrab
