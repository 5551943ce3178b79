#include "export/export_record.h"

#include "base/gbk_literals.h"
#include "base/process.h"

namespace lumigrab {

Text BytesToHex(const Bytes& bytes) {
  Text hex;
  hex.reserve(bytes.size() * 2);
  for (const std::uint8_t byte : bytes) {
    const Text digits = ToUpperText(HexText(byte));
    if (digits.size() == 1) hex += '0';
    hex += digits;
    ProcessEvents();
  }
  return hex;
}

Text ScrambleWithDigest(std::string_view text, std::string_view keyDigest) {
  Bytes flipped = TextToBytes(text);
  // The low byte of v xor 0xE10: bit 4 flipped.
  for (std::uint8_t& v : flipped) v = ToByte(BitXor(v, 0xE10));
  return BytesToHex(flipped) + ToUpperText(MidText(keyDigest, 3, 9));
}

Text BuildExportRecord(std::string_view scrambledDate,
                       std::string_view scrambledLink) {
  const Text record = JoinTexts(
      "@Lumigrab?1\r\n",
      gbk::kRecordVersionLine, "\r\n",
      "@%date%\r\n",
      gbk::kRecordNoticeLine, " ", kRecordContactNote, "\r\n",
      gbk::kRecordLinkLine, "\r\n",
      "@--------------------\r\n",
      "&jpg=true\r\n",
      "&png=false\r\n",
      "&gif=false\r\n",
      "&bmp=false\r\n",
      "###{}###\r\n");
  const Text dated =
      ReplaceText(record, "%date%", scrambledDate, kOmitted, kOmitted, true);
  return ReplaceText(dated, "%link%", scrambledLink, kOmitted, kOmitted, true);
}

}  // namespace lumigrab
