#include "base/text_marks.h"

#include "base/gbk_literals.h"

namespace lumigrab {

Text TextBetween(std::string_view text, std::string_view left,
                 std::string_view right, std::optional<int> start,
                 std::optional<bool> ignoreCase) {
  // Marks are written with a placeholder where a double quote would need
  // escaping.
  const Text leftMark = ReplaceText(left, gbk::kQuotePlaceholder, "\"", kOmitted, kOmitted, true);
  const Text rightMark = ReplaceText(right, gbk::kQuotePlaceholder, "\"", kOmitted, kOmitted, true);
  const bool fold = ignoreCase.value_or(false);

  int p = FindText(text, leftMark, start.value_or(0), fold);
  if (p == -1) return Text();
  p += TextLength(leftMark);
  const int q = FindText(text, rightMark, p, fold);
  if (q == -1) return Text();
  return MidText(text, p, q - p);
}

Text TextAfterLast(std::string_view text, std::string_view mark,
                   std::optional<int> start, std::optional<bool> ignoreCase) {
  const int L = TextLength(text), n = TextLength(mark);
  const int pos = FindTextReverse(text, mark, start.value_or(L + 1),
                                  ignoreCase.value_or(false));
  if (pos == -1) return Text();
  return RightText(text, L - n - pos + 1);
}

}  // namespace lumigrab
