#include "tests/support/page_fixture.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lumigrab::testing {
namespace {

// The title as the shop wrote it. 東 (96 7C) and 襖 (D2 5C) have a second
// byte equal to "|" and "\", and the title also holds a plain "|" and "/".
// 東大門同款 棉襖女 2024冬季新款|加厚外套/韩版宽松
constexpr char kTitle[] =
    "\x96|\xB4\xF3\xE9T\xCD\xAC\xBF\xEE \xC3\xDE\xD2\\\xC5\xAE 2024\xB6\xAC"
    "\xBC\xBE\xD0\xC2\xBF\xEE|\xBC\xD3\xBA\xF1\xCD\xE2\xCC\xD7/\xBA\xAB\xB0\xE6"
    "\xBF\xED\xCB\xC9";
// The folder name made of it: the plain "|" and "/" go, the double-byte
// characters stay whole.
// 東大門同款 棉襖女 2024冬季新款加厚外套韩版宽松
constexpr char kTitleFolder[] =
    "\x96|\xB4\xF3\xE9T\xCD\xAC\xBF\xEE \xC3\xDE\xD2\\\xC5\xAE 2024\xB6\xAC"
    "\xBC\xBE\xD0\xC2\xBF\xEE\xBC\xD3\xBA\xF1\xCD\xE2\xCC\xD7\xBA\xAB\xB0\xE6"
    "\xBF\xED\xCB\xC9";
constexpr char kMarketplaceSuffix[] = "-\xD0\xE3\xD2\xC2\xB7\xBB";  // -秀衣坊
constexpr char kItemNumber[] = "K-1024";

constexpr char kImageHost[] = "img.example.test";

// Sentences of a description, of shop texts and of buyers' reviews.
const char* const kDescriptionTexts[] = {
    // 面料：棉麻混纺，柔软透气
    "\xC3\xE6\xC1\xCF\xA3\xBA\xC3\xDE\xC2\xE9\xBB\xEC\xB7\xC4\xA3\xAC\xC8\xE1"
    "\xC8\xED\xCD\xB8\xC6\xF8",
    // 尺码：S M L XL，建议按平时尺码选购
    "\xB3\xDF\xC2\xEB\xA3\xBAS M L XL\xA3\xAC\xBD\xA8\xD2\xE9\xB0\xB4\xC6\xBD"
    "\xCA\xB1\xB3\xDF\xC2\xEB\xD1\xA1\xB9\xBA",
    // 洗涤说明：手洗，不可漂白
    "\xCF\xB4\xB5\xD3\xCB\xB5\xC3\xF7\xA3\xBA\xCA\xD6\xCF\xB4\xA3\xAC\xB2\xBB"
    "\xBF\xC9\xC6\xAF\xB0\xD7",
    // 模特身高168cm，体重50kg，穿M码
    "\xC4\xA3\xCC\xD8\xC9\xED\xB8\xDF"
    "168cm\xA3\xAC\xCC\xE5\xD6\xD8"
    "50kg\xA3\xAC\xB4\xA9M\xC2\xEB",
    // 实物拍摄，颜色以实物为准
    "\xCA\xB5\xCE\xEF\xC5\xC4\xC9\xE3\xA3\xAC\xD1\xD5\xC9\xAB\xD2\xD4\xCA\xB5"
    "\xCE\xEF\xCE\xAA\xD7\xBC",
    // 温馨提示：因显示器不同，图片可能存在色差
    "\xCE\xC2\xDC\xB0\xCC\xE1\xCA\xBE\xA3\xBA\xD2\xF2\xCF\xD4\xCA\xBE\xC6\xF7"
    "\xB2\xBB\xCD\xAC\xA3\xAC\xCD\xBC\xC6\xAC\xBF\xC9\xC4\xDC\xB4\xE6\xD4\xDA"
    "\xC9\xAB\xB2\xEE",
};
const char* const kReviewTexts[] = {
    // 质量很好，和描述的一样
    "\xD6\xCA\xC1\xBF\xBA\xDC\xBA\xC3\xA3\xAC\xBA\xCD\xC3\xE8\xCA\xF6\xB5\xC4"
    "\xD2\xBB\xD1\xF9",
    // 面料舒服，做工不错，物流很快
    "\xC3\xE6\xC1\xCF\xCA\xE6\xB7\xFE\xA3\xAC\xD7\xF6\xB9\xA4\xB2\xBB\xB4\xED"
    "\xA3\xAC\xCE\xEF\xC1\xF7\xBA\xDC\xBF\xEC",
    // 颜色很正，好评！
    "\xD1\xD5\xC9\xAB\xBA\xDC\xD5\xFD\xA3\xAC\xBA\xC3\xC6\xC0\xA3\xA1",
    // 尺码偏小，建议拍大一码
    "\xB3\xDF\xC2\xEB\xC6\xAB\xD0\xA1\xA3\xAC\xBD\xA8\xD2\xE9\xC5\xC4\xB4\xF3"
    "\xD2\xBB\xC2\xEB",
    // 衣服收到了，版型很正，穿上很显瘦
    "\xD2\xC2\xB7\xFE\xCA\xD5\xB5\xBD\xC1\xCB\xA3\xAC\xB0\xE6\xD0\xCD\xBA\xDC"
    "\xD5\xFD\xA3\xAC\xB4\xA9\xC9\xCF\xBA\xDC\xCF\xD4\xCA\xDD",
    // 已经是第二次购买了
    "\xD2\xD1\xBE\xAD\xCA\xC7\xB5\xDA\xB6\xFE\xB4\xCE\xB9\xBA\xC2\xF2\xC1\xCB",
    // 看了详情页的尺码表选的，很合身
    "\xBF\xB4\xC1\xCB\xCF\xEA\xC7\xE9\xD2\xB3\xB5\xC4\xB3\xDF\xC2\xEB\xB1\xED"
    "\xD1\xA1\xB5\xC4\xA3\xAC\xBA\xDC\xBA\xCF\xC9\xED",
};
const char* const kNavTexts[] = {
    "\xCA\xD7\xD2\xB3",                  // 首页
    "\xC5\xAE\xD7\xB0",                  // 女装
    "\xC4\xD0\xD7\xB0",                  // 男装
    "\xCD\xAF\xD7\xB0",                  // 童装
    "\xD0\xAC\xB0\xFC",                  // 鞋包
    "\xB1\xA6\xB1\xB4\xCD\xC6\xBC\xF6",  // 宝贝推荐
    "\xB0\xEF\xD6\xFA\xD6\xD0\xD0\xC4",  // 帮助中心
    "\xB9\xD8\xD3\xDA\xCE\xD2\xC3\xC7",  // 关于我们
};
constexpr char kBuyer[] = "\xC2\xF2\xBC\xD2";                     // 买家
constexpr char kFollowUp[] = "\xD7\xB7\xBC\xD3\xC6\xC0\xC2\xDB";  // 追加评论
// 掌柜回复：感谢亲的支持，欢迎再次光临
constexpr char kShopReply[] =
    "\xD5\xC6\xB9\xF1\xBB\xD8\xB8\xB4\xA3\xBA\xB8\xD0\xD0\xBB\xC7\xD7\xB5\xC4"
    "\xD6\xA7\xB3\xD6\xA3\xAC\xBB\xB6\xD3\xAD\xD4\xD9\xB4\xCE\xB9\xE2\xC1\xD9";
constexpr char kGoodReview[] = "\xBA\xC3\xC6\xC0";              // 好评
constexpr char kItemNumberLabel[] = "\xBB\xF5\xBA\xC5";         // 货号
constexpr char kYuan[] = "\xA3\xA4";                            // ￥
constexpr char kPromoPrice[] = "\xB4\xD9\xCF\xFA\xBC\xDB";      // 促销价
constexpr char kColour[] = "\xD1\xD5\xC9\xAB\xB7\xD6\xC0\xE0";  // 颜色分类
constexpr char kBlack[] = "\xBA\xDA\xC9\xAB";                   // 黑色
constexpr char kCamel[] = "\xCD\xD5\xC9\xAB";                   // 驼色
const char* const kSizeNames[] = {"S", "M", "L", "XL"};
constexpr char kSize[] = "\xB3\xDF\xC2\xEB";                     // 尺码
constexpr char kDetails[] = "\xB1\xA6\xB1\xB4\xCF\xEA\xC7\xE9";  // 宝贝详情
constexpr char kRatings[] = "\xC0\xDB\xBC\xC6\xC6\xC0\xBC\xDB";  // 累计评价
constexpr char kMonthlySales[] = "\xD4\xC2\xCF\xFA\xC1\xBF";     // 月销量
constexpr char kCart[] =
    "\xCE\xD2\xB5\xC4\xB9\xBA\xCE\xEF\xB3\xB5";  // 我的购物车
constexpr char kAddToCart[] =
    "\xBC\xD3\xC8\xEB\xB9\xBA\xCE\xEF\xB3\xB5";  // 加入购物车
constexpr char kBuyNow[] = "\xC1\xA2\xBC\xB4\xB9\xBA\xC2\xF2";   // 立即购买
constexpr char kGenuine[] = "\xD5\xFD\xC6\xB7\xB1\xA3\xD6\xA4";  // 正品保证
// 七天无理由退货
constexpr char kReturns[] =
    "\xC6\xDF\xCC\xEC\xCE\xDE\xC0\xED\xD3\xC9\xCD\xCB\xBB\xF5";
constexpr char kService[] = "\xC1\xAA\xCF\xB5\xBF\xCD\xB7\xFE";  // 联系客服
constexpr char kCopyright[] = "\xB0\xE6\xC8\xA8\xCB\xF9\xD3\xD0";  // 版权所有
// 女装,女士外套,东大门同款
constexpr char kKeywords[] =
    "\xC5\xAE\xD7\xB0,\xC5\xAE\xCA\xBF\xCD\xE2\xCC\xD7,\xB6\xAB\xB4\xF3\xC3\xC5"
    "\xCD\xAC\xBF\xEE";

template <typename T, std::size_t N>
constexpr std::size_t CountOf(const T (&)[N]) {
  return N;
}

// A fixed integer hash, so that every page of a shape is the same.
std::uint32_t Mix(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

std::string Hex(std::uint32_t value, int digits) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i) {
    out[static_cast<std::size_t>(i)] = kDigits[value & 15u];
    value >>= 4;
  }
  return out;
}

std::string Decimal(std::uint32_t value, int digits) {
  std::string out = std::to_string(value);
  if (static_cast<int>(out.size()) < digits) {
    out.insert(0, static_cast<std::size_t>(digits) - out.size(), '0');
  }
  return out;
}

// Host and path of a stored picture, without scheme and extension. Only
// hex digits vary, so no extension mark ever turns up inside a path.
std::string ImagePath(std::uint32_t seed, const char* folder) {
  const std::uint32_t h = Mix(seed);
  const std::string shop = "2200" + Decimal(Mix(h + 1) % 100000000u, 8);
  return std::string(kImageHost) + "/" + folder + "/i" +
         std::to_string(1 + h % 4) + "/" + shop + "/O1CN01" +
         Hex(Mix(h + 2), 8) + Hex(Mix(h + 3), 8) + "_!!" + shop;
}

struct DescriptionImage {
  std::string markup;  // the escaped <img> tag as the page holds it
  Text address;        // what the export takes from it
};

// The i-th picture of the description (from 1), in one of the forms shops
// write them in.
DescriptionImage MakeDescriptionImage(int i) {
  const std::uint32_t seed = static_cast<std::uint32_t>(i) * 2654435761u;
  const std::string path = ImagePath(seed, "imgextra");
  const std::string lt = "&lt;";
  const std::string gt = "&gt;";
  const std::string q = "&quot;";
  switch (i % 7) {
    case 0:
      if (Mix(seed) & 1u) {
        return {lt + "img src=" + q + "https://" + path +
                    ".jpg?spm=a1z10.1-c.0.0&amp;v=2" + q + gt,
                "https://" + path + ".jpg"};
      }
      return {lt + "img src=" + q + "https://" + path + ".jpg" + q + gt,
              "https://" + path + ".jpg"};
    case 1:
      return {lt + "img align=" + q + "absmiddle" + q + " src=" + q +
                  "https://" + path + ".png" + q + " style=" + q +
                  "max-width:750.0px;" + q + gt,
              "https://" + path + ".png"};
    case 2:
      return {lt + "img src=" + q + "https://" + path + ".gif" + q + " /" + gt,
              "https://" + path + ".gif"};
    case 3:  // scheme-relative, with the image server's size suffix
      return {
          lt + "img src=" + q + "//" + path + ".jpg_790x790q90.jpg" + q + gt,
          "//" + path + ".jpg_790x790q90.jpg"};
    case 4:
      return {lt + "img class=" + q + "desc_anchor" + q + " src=" + q +
                  "https://" + path + ".jpeg" + q + " width=" + q + "790" + q +
                  gt,
              "https://" + path + ".jpeg"};
    case 5:  // a scheme that lost its slashes; the export puts them back
      return {lt + "img src=" + q + "https:" + path + ".jpg" + q + gt,
              "https://" + path + ".jpg"};
    default:
      return {lt + "img src=" + q + "http://" + path + ".png" + q +
                  " alt=" + q + q + gt,
              "http://" + path + ".png"};
  }
}

// A paragraph of plain description text, escaped like the rest.
std::string DescriptionText(int k) {
  const std::string sentence = kDescriptionTexts[static_cast<std::size_t>(k) %
                                                 CountOf(kDescriptionTexts)];
  switch (k % 3) {
    case 0:
      return "&lt;p&gt;&lt;span style=&quot;font-size:14.0px;color:#333333;"
             "&quot;&gt;" +
             sentence + "&lt;/span&gt;&lt;/p&gt;";
    case 1:
      return "&lt;p&gt;&lt;strong&gt;" + sentence +
             "&lt;/strong&gt;&lt;br /&gt;S/M/L &amp; XL&lt;/p&gt;";
    default:
      return "&lt;p style=&quot;text-align:center;&quot;&gt;" + sentence +
             " &amp;nbsp;&lt;/p&gt;";
  }
}

// The escaped description: groups of pictures in paragraphs, centred
// divisions or table cells, with text paragraphs between them. Line breaks
// stand only between blocks: with CR LF line ends a break between two
// pictures would keep them on one line.
std::string DescriptionSection(int images) {
  std::string d = "\n";
  d += DescriptionText(0) + "\n";
  int next = 1;
  for (int group = 0; next <= images; ++group) {
    const int take = std::min(images - next + 1,
                              1 + static_cast<int>(Mix(group * 7u + 3u) % 3u));
    std::string pictures;
    for (int k = 0; k < take; ++k, ++next) {
      if (k > 0 && (Mix(static_cast<std::uint32_t>(next)) & 2u)) {
        pictures += " ";  // "> <" splits as well as "><"
      }
      pictures += MakeDescriptionImage(next).markup;
    }
    switch (group % 4) {
      case 0:
      case 1:
        d += "&lt;p&gt;" + pictures + "&lt;/p&gt;\n";
        break;
      case 2:
        d += "&lt;div style=&quot;text-align:center;&quot;&gt;" + pictures +
             "&lt;/div&gt;\n";
        break;
      default:
        d += "&lt;table width=&quot;750&quot;&gt;&lt;tbody&gt;&lt;tr&gt;"
             "&lt;td&gt;" +
             pictures + "&lt;/td&gt;&lt;/tr&gt;&lt;/tbody&gt;&lt;/table&gt;\n";
        break;
    }
    d += DescriptionText(group + 1) + "\n";
  }
  d += "&lt;p&gt;&amp;nbsp;&lt;/p&gt;\n";
  return d;
}

// The j-th main picture (from 1): the link of a thumbnail entry.
Text MainImageAddress(int j) {
  const std::uint32_t seed = static_cast<std::uint32_t>(j) * 40503u + 977u;
  return "https://" + ImagePath(seed, "bao/uploaded") +
         (j % 4 == 3 ? ".png" : ".jpg");
}

std::string ThumbnailStrip(int thumbnails) {
  std::string s = "<ul id=\"J_UlThumb\" class=\"tb-thumb tb-clearfix\">\n";
  for (int j = 1; j <= thumbnails; ++j) {
    const Text address = MainImageAddress(j);
    s += j == 1 ? "  <li class=\"tb-selected\">" : "  <li>";
    s += "<div class=\"tb-pic tb-s50\"><a href=\"" + address +
         "\" target=\"blank\"><img src=\"" + address +
         "_50x50.jpg\" /></a></div></li>\n";
  }
  s += "</ul>\n";
  return s;
}

// Appends chunks of ordinary markup until about `budget` bytes are added.
void AppendFiller(std::string& out, std::size_t budget,
                  const std::function<std::string(int)>& chunk) {
  const std::size_t target = out.size() + budget;
  for (int k = 0; out.size() < target; ++k) out += chunk(k);
}

std::string HeadChunk(int k) {
  const std::uint32_t h = Mix(static_cast<std::uint32_t>(k) + 101u);
  switch (k % 5) {
    case 0:
      return std::string("<meta name=\"keywords\" content=\"") + kKeywords +
             "\">\n<meta name=\"description\" content=\"" +
             kReviewTexts[h % CountOf(kReviewTexts)] + "\">\n";
    case 1:
      return "<link rel=\"stylesheet\" href=\"https://assets.example.test/css/"
             "item/" +
             Hex(h, 6) + ".css?t=2024" + Decimal(h % 10000u, 4) + "\">\n";
    case 2:
      return "<style>.tb-thumb li{float:left;margin:0 10px 0 0;border:1px "
             "solid "
             "#ddd}.tb-thumb .tb-selected{border-color:#f40}.tb-pic "
             "a{display:table-cell;width:50px;height:50px;text-align:"
             "center}#J_DivItemDesc2{display:none}.item-mb "
             "span{color:#" +
             Hex(h, 6) + "}</style>\n";
    case 3:
      return "<script>window.g_config={appId:" + std::to_string(h % 100) +
             ",itemId:'6" + Decimal(h % 100000000u, 11) + "',shopId:'" +
             Decimal(Mix(h) % 10000000u, 9) +
             "',toggle:{lazy:true,desc:true}};if(window.innerWidth<1190&&"
             "document.body){document.body.className+=' w990';}for(var "
             "i=0;i<3;i++){if(i>1)break;}</script>\n";
    default:
      return "<script src=\"https://assets.example.test/js/mod-" + Hex(h, 8) +
             ".js\" charset=\"gbk\" async></script>\n";
  }
}

std::string NavChunk(int k) {
  const std::uint32_t h = Mix(static_cast<std::uint32_t>(k) + 211u);
  switch (k % 3) {
    case 0: {
      std::string s = "<div class=\"site-nav\"><ul class=\"site-nav-bd\">";
      for (std::size_t i = 0; i < CountOf(kNavTexts); ++i) {
        s += "<li class=\"menu\"><a href=\"https://www.example.test/c/" +
             Hex(Mix(h + static_cast<std::uint32_t>(i)), 6) + "\">" +
             kNavTexts[i] + "</a></li>";
      }
      return s + "</ul></div>\n";
    }
    case 1:
      return std::string(
                 "<div class=\"mini-cart\"><a href=\"https://cart."
                 "example.test/\">") +
             kCart + "</a><span class=\"count\">" + std::to_string(h % 20) +
             "</span></div>\n";
    default:
      return "<div class=\"shop-card\"><span class=\"shop-name\">" +
             std::string(kNavTexts[h % CountOf(kNavTexts)]) +
             "</span><span class=\"rate\">4." + std::to_string(h % 10) +
             "</span><a class=\"service\" href=\"https://amos.example.test/?"
             "uid=" +
             Hex(h, 8) + "&amp;site=cn\">" + kService + "</a></div>\n";
  }
}

std::string ReviewChunk(int k) {
  const std::uint32_t h = Mix(static_cast<std::uint32_t>(k) + 307u);
  std::string s = "<div class=\"rate-item\"><div class=\"rate-user\"><span>" +
                  std::string(kBuyer) + "</span> t***" + Hex(h, 2) +
                  "</div><div class=\"rate-content\">" +
                  kReviewTexts[h % CountOf(kReviewTexts)] +
                  "</div><div class=\"rate-sku\"><span>" + kColour + ": " +
                  ((h & 1u) ? kBlack : kCamel) + "</span><span>" + kSize +
                  ": " + kSizeNames[h % CountOf(kSizeNames)] + "</span></div>";
  if (h % 3 == 0) {
    s += std::string("<div class=\"rate-append\">") + kFollowUp + ": " +
         kReviewTexts[(h / 7) % CountOf(kReviewTexts)] + "</div>";
  }
  if (h % 4 == 0) {
    s += std::string("<div class=\"rate-reply\">") + kShopReply + "</div>";
  }
  s += "<div class=\"rate-date\">2024-" + Decimal(1 + h % 12, 2) + "-" +
       Decimal(1 + (h / 12) % 28, 2) + " " + kGoodReview + "</div></div>\n";
  return s;
}

std::string FooterChunk(int k) {
  const std::uint32_t h = Mix(static_cast<std::uint32_t>(k) + 401u);
  if (k % 2 == 0) {
    return std::string(
               "<div class=\"footer-links\"><a href=\"https://www."
               "example.test/about\">") +
           kNavTexts[7] + "</a> | <a href=\"https://www.example.test/help\">" +
           kNavTexts[6] + "</a> | " + kCopyright + " 2009-2024</div>\n";
  }
  return "<script>(function(d){var s=d.createElement('script');s.src='https:"
         "//log.example.test/t.js?v=" +
         Hex(h, 8) +
         "';if(d.body&&d.readyState!=='loading'){d.body.appendChild(s);}})("
         "document);</script>\n";
}

}  // namespace

std::string MakeProductPage(const PageShape& shape) {
  const std::size_t filler = shape.fillerBytes;
  const std::size_t head = filler * 35 / 100;
  const std::size_t nav = filler * 15 / 100;
  const std::size_t reviews = filler * 40 / 100;
  const std::size_t footer = filler - head - nav - reviews;

  std::string p;
  p += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"gbk\">\n";
  p += std::string("<title>") + kTitle + kMarketplaceSuffix + "</title>\n";
  AppendFiller(p, head, HeadChunk);
  p += "</head>\n<body>\n";
  AppendFiller(p, nav, NavChunk);

  p += "<div id=\"detail\" class=\"tb-detail\">\n";
  p += std::string("<h3 class=\"tb-main-title\">") + kTitle + "</h3>\n";
  // Spans and a list come before the item-number block and the strip, so a
  // search for their right marks must start at the left ones.
  p += std::string(
           "<ul class=\"tb-meta\"><li><span class=\"tb-property-type"
           "\">") +
       kPromoPrice + "</span><em class=\"tb-rmb\">" + kYuan +
       "</em><strong class=\"tb-rmb-num\">199.00</strong></li><li><span>" +
       kMonthlySales + "</span><em>" +
       std::to_string(shape.descriptionImages * 37 + 12) + "</em></li></ul>\n";
  if (shape.withItemNumber) {
    p += std::string("<div class=\"item-mb\">") + kItemNumberLabel +
         ": <span>" + kItemNumber + "</span></div>\n";
  }
  p += std::string("<div class=\"tb-action\"><a class=\"J_LinkBuy\">") +
       kBuyNow + "</a><a class=\"J_LinkAdd\">" + kAddToCart + "</a></div>\n";
  // A lazily loaded section of another kind ahead of the description.
  p += "<textarea class=\"ks-datalazyload invisible\" id=\"J_SideRecommend\">"
       "&lt;div class=&quot;side&quot;&gt;&lt;/div&gt;</textarea>\n";
  p += "<div class=\"tb-gallery\">\n";
  p += ThumbnailStrip(shape.thumbnails);
  p += "</div>\n";
  p += std::string("<ul class=\"tb-serPromise\"><li>") + kGenuine +
       "</li><li>" + kReturns + "</li></ul>\n";
  p += std::string("<div id=\"J_TabBar\"><span>") + kDetails + "</span><span>" +
       kRatings + "</span></div>\n";
  p += "<div id=\"description\" class=\"J_DetailSection\">\n";
  p += "<textarea class=\"ks-datalazyload invisible\" id=\"J_DivItemDesc2\">";
  p += DescriptionSection(shape.descriptionImages);
  p += "</textarea>\n</div>\n";
  p += "<div id=\"reviews\" class=\"J_DetailSection\">\n";
  AppendFiller(p, reviews, ReviewChunk);
  p += "<textarea name=\"content\" class=\"rate-input\"></textarea>\n";
  p += "</div>\n</div>\n";
  AppendFiller(p, footer, FooterChunk);
  p += "</body>\n</html>\n";

  if (!shape.crlf) return p;
  std::string crlf;
  crlf.reserve(p.size() + p.size() / 16);
  for (const char c : p) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return crlf;
}

PageAddresses ExpectedAddresses(const PageShape& shape) {
  PageAddresses expected;
  expected.folderName = shape.withItemNumber ? kItemNumber : kTitleFolder;
  for (int i = 1; i <= shape.descriptionImages; ++i) {
    expected.descriptionImages.Add(MakeDescriptionImage(i).address);
  }
  for (int j = 1; j <= shape.thumbnails; ++j) {
    expected.mainImages.Add(MainImageAddress(j));
  }
  return expected;
}

}  // namespace lumigrab::testing
