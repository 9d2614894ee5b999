// The ANSI, OEM and Macintosh code pages of the locale named by the
// environment. Only the language and territory of the name count; the
// codeset and any @modifier are ignored, and the locale need not be
// installed, so the variables are read directly instead of via setlocale.
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/codepage.h"

namespace {

struct LocaleCodePages {
  UINT ansi;
  UINT oem;
  UINT mac;
};

std::string LocaleName() {
  for (const char *name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char *value = std::getenv(name);
    if (value != nullptr && *value != '\0')
      return value;
  }
  return "";
}

bool IsOneOf(const std::string &language,
             std::initializer_list<const char *> names) {
  for (const char *name : names)
    if (language == name)
      return true;
  return false;
}

LocaleCodePages CodePagesOfLocale() {
  std::string name = LocaleName();
  std::string language = name.substr(0, name.find_first_of("_.@"));
  std::string territory;
  std::size_t underscore = name.find('_');
  if (underscore != std::string::npos && underscore == language.size())
    territory = name.substr(underscore + 1)
                    .substr(0, name.substr(underscore + 1).find_first_of(".@"));

  if (language == "zh") {
    if (IsOneOf(territory, {"TW", "HK", "MO"}))
      return {950, 950, 10002};
    return {936, 936, 10008};
  }
  if (language == "ja")
    return {932, 932, 10001};
  if (language == "ko")
    return {949, 949, 10003};
  if (IsOneOf(language, {"de", "fr", "es", "it", "pt", "nl", "sv", "da", "nb",
                         "nn", "fi", "is", "ca"}))
    return {1252, 850, 10000};
  if (IsOneOf(language, {"cs", "pl", "hu"}))
    return {1250, 852, 10029};
  if (IsOneOf(language, {"sk", "sl", "hr", "ro"}))
    return {1250, 852, 10000};
  if (IsOneOf(language, {"ru", "uk", "bg"}))
    return {1251, 866, 10007};
  if (IsOneOf(language, {"be", "sr", "mk"}))
    return {1251, 866, 10000};
  if (language == "el")
    return {1253, 737, 10006};
  if (language == "tr")
    return {1254, 857, 10081};
  if (language == "he")
    return {1255, 862, 10000};
  if (IsOneOf(language, {"ar", "fa", "ur"}))
    return {1256, 720, 10000};
  if (IsOneOf(language, {"et", "lv", "lt"}))
    return {1257, 775, 10000};
  if (language == "vi")
    return {1258, 1258, 10000};
  if (language == "th")
    return {874, 874, 10000};
  // C, POSIX, English, unset, and every language not named above.
  return {1252, 437, 10000};
}

} // namespace

UINT GetACP() { return CodePagesOfLocale().ansi; }
UINT GetOEMCP() { return CodePagesOfLocale().oem; }
UINT GetMacCP() { return CodePagesOfLocale().mac; }
