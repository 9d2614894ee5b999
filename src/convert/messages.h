// The conversion run's own console texts.
#pragma once

inline constexpr char kSameCodePagesText[] =
    "In and out code pages are the same. Conversion aborted.\n";
inline constexpr char kInvalidCodePageHintText[] =
    "(Did you specify an invalid or uninstalled code page?)\n";
inline constexpr char kOrphanedLeadByteFormat[] =
    "Last input byte (0x%2X) is an orphaned lead byte. Treated as unmappable "
    "char.\n";
// Follows "Last input bytes (0x.. 0x..": two or three bytes of a UTF-8 or
// GB18030 character cut off by the end of the input.
inline constexpr char kIncompleteCharText[] =
    ") are an incomplete character. Treated as unmappable char.\n";
inline constexpr char kHalfUtf16CharFormat[] =
    "Last input byte (0x%2X) is half a UTF-16 character. Treated as "
    "unmappable char.\n";
inline constexpr char kCannotOpenInputFormat[] =
    "Cannot open input file %s: %s. Conversion aborted.\n";
inline constexpr char kCannotCreateOutputFormat[] =
    "Cannot create output file %s: %s. Conversion aborted.\n";
inline constexpr char kSameFileText[] =
    "Input and output files are the same file. Conversion aborted.\n";
inline constexpr char kCannotWriteOutputFormat[] =
    "Cannot write output file %s: %s.";
inline constexpr char kCannotReadInputFormat[] =
    "Cannot read input file %s: %s.";
