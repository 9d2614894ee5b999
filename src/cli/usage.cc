#include "cli/usage.h"

#include <cstdio>

#include "convert/console.h"

int codePageListCount = 0;

namespace {

// The fixed help text, one piece per entry; every piece is followed by a
// line end.
constexpr const char *kHelpPieces[] = {
    "\nODRIM\n",
    "Converts a text file from one code page to another. You must have "
    "installed the",
    "appropriate .NLS file on your system for both the input and output code "
    "pages",
    "(see the LangPack folder on a WINNT 4 CD ROM).\n",
    "Syntax\n",
    "ODRIM infile incp outfile outcp [defchar]\n",
    "    defchar is the hex value (no preceding '0x') for the char that should "
    "be",
    "    used whenever char mapping is impossible. If none is specified, the "
    "default",
    "    defchar for the output code page is used. To skip unmappable chars, "
    "use",
    "    defchar = 0.\n",
    "Example\n",
    "ODRIM infile.txt 936 outfile.txt 950 3F",
    "    --converts infile.txt in CP936 to outfile.txt in CP950, using 0x3F as "
    "the",
    "      default char.\n",
    "The following values have special meaning with regard to code pages.\n",
    "       0  --the current ANSI code page",
    "       1  --the current OEM code page",
    "       2  --the current MAC code page",
    "    1200  --Unicode (always supported on NT)\n",
};

} // namespace

void PrintUsage() {
  for (const char *piece : kHelpPieces) {
    std::fputs(piece, stdout);
    WriteLineEnd();
  }
  std::printf("The current ANSI code page is %d.\n",
              static_cast<int>(GetACP()));
  std::printf("The current OEM code page is %d.\n\n",
              static_cast<int>(GetOEMCP()));
  std::fputs("The following code pages are installed.\n", stdout);
  WriteLineEnd();
  EnumSystemCodePagesA(ListCodePageProc, CP_INSTALLED);
  WriteLineEnd();
}

BOOL ListCodePageProc(char *codePageText) {
  std::printf("%5s", codePageText);
  int taken = codePageListCount++;
  std::fputs(taken % 13 == 12 ? "\n" : " ", stdout);
  return TRUE;
}
