// Texts for the failure codes that the code page services can give.
#include <cstdlib>
#include <cstring>

#include "platform/codepage.h"

namespace {

struct MessageRow {
  DWORD code;
  const char *text;
};

constexpr MessageRow kMessages[] = {
    {ERROR_INVALID_PARAMETER, "The code page or an argument is not valid.\n"},
    {ERROR_INSUFFICIENT_BUFFER,
     "The result does not fit in the space given for it.\n"},
    {ERROR_NO_UNICODE_TRANSLATION,
     "The bytes have no Unicode character in this code page.\n"},
};

} // namespace

DWORD FormatMessageA(DWORD flags, const void * /*source*/, DWORD messageId,
                     DWORD /*languageId*/, char *buffer, DWORD size,
                     void * /*arguments*/) {
  const char *text = nullptr;
  for (const MessageRow &row : kMessages)
    if (row.code == messageId)
      text = row.text;
  if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 || text == nullptr ||
      buffer == nullptr) {
    SetLastError(ERROR_MR_MID_NOT_FOUND);
    return 0;
  }
  std::size_t length = std::strlen(text);
  if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
    char *copy = static_cast<char *>(std::malloc(length + 1));
    if (copy == nullptr)
      return 0;
    std::memcpy(copy, text, length + 1);
    *reinterpret_cast<char **>(buffer) = copy;
  } else {
    if (length + 1 > size) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return 0;
    }
    std::memcpy(buffer, text, length + 1);
  }
  return static_cast<DWORD>(length);
}

void *LocalFree(void *memory) {
  std::free(memory);
  return nullptr;
}
