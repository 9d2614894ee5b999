#include "convert/system_error.h"

#include <cstdio>

#include "platform/codepage.h"

void PrintSystemError(std::uint32_t code) {
  char *text = nullptr;
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                 nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                 reinterpret_cast<char *>(&text), 0, nullptr);
  std::printf("Error #%d. %s", static_cast<std::int32_t>(code),
              text != nullptr ? text : "");
  LocalFree(text);
}
