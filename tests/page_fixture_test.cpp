// Whole realistic pages through the parser and the address lists: every
// picture the page holds comes out, in page order, with either line end.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "export/image_addresses.h"
#include "export/product_page.h"
#include "tests/support/page_fixture.h"

namespace lumigrab {
namespace {

using testing::ExpectedAddresses;
using testing::MakeProductPage;
using testing::PageShape;

struct ShapeCase {
  const char* name;
  PageShape shape;
};

void PrintTo(const ShapeCase& shapeCase, std::ostream* os) {
  *os << shapeCase.name;
}

const ShapeCase kShapes[] = {
    {"Typical", {12, 5, 16 * 1024, false, true}},
    {"TypicalCrLf", {12, 5, 16 * 1024, true, true}},
    {"TitleFolder", {7, 3, 4 * 1024, false, false}},
    {"TitleFolderCrLf", {7, 3, 4 * 1024, true, false}},
    {"OnePictureEach", {1, 1, 0, false, true}},
    {"OnePictureEachCrLf", {1, 1, 0, true, false}},
    {"NoPictures", {0, 0, 2 * 1024, false, false}},
    {"NoPicturesCrLf", {0, 0, 2 * 1024, true, true}},
    {"Large", {300, 40, 200 * 1024, false, true}},
    {"LargeCrLf", {300, 40, 200 * 1024, true, false}},
};

class PageFixtureTest : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(PageFixtureTest, ParsesToTheAddressesThePageHolds) {
  const PageShape& shape = GetParam().shape;
  const std::string html = MakeProductPage(shape);
  const testing::PageAddresses expected = ExpectedAddresses(shape);

  const ProductPage page = ParseProductPage(html);
  const ImageAddressLists lists = BuildImageAddressLists(page);

  EXPECT_EQ(page.folderName, expected.folderName);
  EXPECT_EQ(lists.descriptionImages.Items(),
            expected.descriptionImages.Items());
  EXPECT_EQ(lists.mainImages.Items(), expected.mainImages.Items());
}

INSTANTIATE_TEST_SUITE_P(Shapes, PageFixtureTest, ::testing::ValuesIn(kShapes),
                         [](const ::testing::TestParamInfo<ShapeCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace lumigrab
