// Nothing lost: the checks that every completed conversion run must pass.
#pragma once

#include <string>

// Empty when the counters agree with what the last completed run read,
// wrote and reported; otherwise what disagrees. A run that ended on a
// failure passes.
//   inputBytes = bytes read; outputBytes = bytes in the output file;
//   inputChars = outputChars + inputUnmapped;
//   report rows = outputVariant + outputDefault + inputUnmapped.
std::string CheckRunInvariants();
