// The code page pairs and default characters that the conversion fuzzer
// chooses from with the first two bytes of its input.
#pragma once

struct FuzzPair {
  int incp, outcp;
};

inline constexpr FuzzPair kFuzzPairs[] = {
    {936, 950},     {950, 936},     {932, 1252},   {949, 1200},   {1200, 936},
    {1200, 950},    {1252, 437},    {437, 1200},   {1200, 37},    {37, 1252},
    {936, 1200},    {950, 932},     {1252, 949},   {1200, 932},   {949, 950},
    {932, 936},     {0, 1},         {850, 1250},   {1200, 1252},  {936, 949},
    {65001, 936},   {936, 65001},   {65001, 950},  {1200, 65001}, {65001, 1200},
    {54936, 65001}, {65001, 54936}, {1200, 54936}, {54936, 950},  {950, 54936},
};

// Each is a valid character (or none) in every output code page above, so
// that the output always decodes.
inline constexpr const char *kFuzzDefaults[] = {nullptr, "0",  "3F",
                                                "",      "3f", "41"};
