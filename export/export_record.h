#pragma once
// The record file every export leaves beside its images: made by Lumigrab,
// when, and from which address, with the time and address scrambled.

#include <string_view>

#include "base/text.h"

namespace lumigrab {

// The key text of the scrambler; the companion programs use the same.
inline constexpr char kRecordKey[] = "5813927358";

// Line 4's contact note, after the notice in Chinese.
inline constexpr char kRecordContactNote[] =
    "Contact: support@lumigrab.example";

// Two upper-case hexadecimal digits per byte, no separators. The window's
// messages are dispatched after each byte, so a long text does not freeze it.
Text BytesToHex(const Bytes& bytes);

// The scrambled form of a text given the MD5 text of the key: the hex digits
// of every byte with bit 4 flipped, then digits 3 to 11 of the digest in
// upper case (nothing when the digest is empty).
Text ScrambleWithDigest(std::string_view text, std::string_view keyDigest);

// The record's text, lines ended by CR LF, with the scrambled time and
// address put in.
Text BuildExportRecord(std::string_view scrambledDate,
                       std::string_view scrambledLink);

// The MD5 of the bytes as 32 lower-case hex digits (CryptoAPI), or the empty
// text when no provider is available.
Text Md5Hex(const Bytes& bytes);

// ScrambleWithDigest with the MD5 of the key.
Text ScrambleText(std::string_view text, std::string_view key);

// Writes the record of an export from the address into the folder, named by
// the time; a file that cannot be made is skipped silently.
void WriteExportRecord(const Text& folder, const Text& address);

}  // namespace lumigrab
