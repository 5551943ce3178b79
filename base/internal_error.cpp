#include "base/internal_error.h"

#include <new>

#include "base/gbk_literals.h"

namespace lumigrab {

const char* InternalErrorMessage(int number) {
  if (number < 1 || number > 11) return "";
  return gbk::kInternalErrorMessages[number - 1];
}

Text InternalErrorText(int number) {
  return "program internal error number is " + ToText(number) + ". \r\n" +
         InternalErrorMessage(number);
}

void InstallOutOfMemoryStop() {
  std::set_new_handler([] { OutOfMemoryStop(); });
}

}  // namespace lumigrab
