// The usage screen, shown when the command line is not a conversion.
#pragma once

#include "platform/codepage.h"

// Number of code pages listed so far; decides where the list breaks lines.
extern int codePageListCount;

void PrintUsage();

// Lists one code page, 13 to a line.
BOOL ListCodePageProc(char *codePageText);
