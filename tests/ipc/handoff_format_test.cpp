// The hand-off's texts and numbers, both as the sender makes them and as a
// receiver reads them back.
#include <gtest/gtest.h>

#include "ipc/handoff_format.h"
#include "ipc/packing_payload.h"

namespace lumigrab {
namespace {

TEST(DescriptorAddressText, WritesThePointerWidthOfTheBuild) {
  struct Case {
    std::uint64_t address;
    std::size_t pointerSize;
    const char* expected;
  };
  const Case cases[] = {
      {0x00401000, 4, "4198400"},
      {0x7FFFFFFF, 4, "2147483647"},
      // A 32-bit program writes a signed 32-bit number: at 2 GiB and above
      // the text reads negative.
      {0x80000000, 4, "-2147483648"},
      {0xFFFFFFFF, 4, "-1"},
      {0x80000000, 8, "2147483648"},
      {0x000001F2C3D4E5F6, 8, "2142179223030"},
      {0x00007FFFFFFFFFFF, 8, "140737488355327"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DescriptorAddressText(c.address, c.pointerSize), c.expected)
        << c.address << " with " << c.pointerSize << "-byte pointers";
  }
}

TEST(HandOffDescriptorText, JoinsAckLengthAndPayloadAddress) {
  EXPECT_EQ(HandOffDescriptorText(1234567, 22, 7654321, 4), "1234567$22&7654321");
  EXPECT_EQ(HandOffDescriptorText(0x80000010, 5, 0xFFFF0000, 4),
            "-2147483632$5&-65536");
  // An empty payload has no address.
  EXPECT_EQ(HandOffDescriptorText(2000000, 0, 0, 4), "2000000$0&0");
  EXPECT_EQ(HandOffDescriptorText(0x000001F2C3D4E5F6, 0, 0, 8), "2142179223030$0&0");
}

struct WParamCase {
  const char* processId;
  int descriptorLength;
  const char* digits;
  std::int32_t value;
};

const WParamCase kWParamCases[] = {
    {"3412", 18, "4341218", 4341218},
    {"8", 9, "189", 189},
    {"123456", 31, "612345631", 612345631},
    // Ten digits: the 32-bit conversion wraps, as the sender's rule says.
    {"1234567", 22, "7123456722", -1466477870},
};

TEST(HandOffWParam, DigitsAreCountIdAndDescriptorLength) {
  for (const WParamCase& c : kWParamCases) {
    EXPECT_EQ(HandOffWParamDigits(c.processId, c.descriptorLength), c.digits);
    EXPECT_EQ(HandOffWParamValue(c.processId, c.descriptorLength), c.value);
  }
}

TEST(HandOffWParam, ReceiverReadsBackWhatFitsIn31Bits) {
  for (const WParamCase& c : kWParamCases) {
    const auto parsed = ParseHandOffWParam(static_cast<std::uint32_t>(c.value));
    if (c.value <= 0) {
      EXPECT_FALSE(parsed) << c.digits;
      continue;
    }
    ASSERT_TRUE(parsed) << c.digits;
    EXPECT_EQ(parsed->senderProcessId, std::stoul(c.processId));
    EXPECT_EQ(parsed->descriptorLength, c.descriptorLength);
  }
  // A 64-bit wParam carries the number in its low half, whatever the upper
  // half holds (zero- or sign-extended).
  EXPECT_EQ(ParseHandOffWParam(0xFFFFFFFF00423DE2ull), (HandOffWParam{3412, 18}));
}

TEST(HandOffWParam, ReceiverRefusesDigitsThatDoNotSplit) {
  const std::uint64_t values[] = {
      0,           // nothing
      0xFFFFFFFF,  // negative as a 32-bit number
      5123,        // five id digits promised, three there
      41234,       // no digit left for the descriptor length
      4123400,     // a descriptor of length 0
      30000012,    // process id 0
  };
  for (const std::uint64_t value : values) {
    EXPECT_FALSE(ParseHandOffWParam(value)) << value;
  }
}

TEST(ParseHandOffDescriptor, ReadsBackEveryWidth) {
  struct Case {
    std::uint64_t ack;
    std::int32_t length;
    std::uint64_t payload;
    std::size_t pointerSize;
  };
  const Case cases[] = {
      {0x00401000, 20, 0x00402000, 4},
      {0x80000010, 3, 0xFFFF0000, 4},  // negative texts from a 32-bit sender
      {0x7FFE0000, 0, 0, 4},
      {0x000001F2C3D4E5F6, 7, 0x00007FFFFFFF0000, 8},
  };
  for (const Case& c : cases) {
    const Text text = HandOffDescriptorText(c.ack, c.length, c.payload, c.pointerSize);
    EXPECT_EQ(ParseHandOffDescriptor(text),
              (HandOffDescriptor{c.ack, c.length, c.payload}))
        << text;
  }
}

TEST(ParseHandOffDescriptor, RefusesMalformedText) {
  const char* texts[] = {
      "",
      "1$2",                    // no "&"
      "1&2$3",                  // separators swapped
      "a$1&2",
      "1$-1&2",                 // negative length
      "0$0&0",                  // no acknowledgement byte
      "5$3&0",                  // a payload without an address
      "5$2147483648&1",         // length beyond 32 bits
      "5$ 1&2",
      "+5$0&0",
      "5$1&2&3",
      "5$$1&2",
      "99999999999999999999$0&0",  // beyond 64 bits
      "-2147483649$0&0",           // neither a 32- nor a 64-bit address
      "5$0&",
      "$0&0",
  };
  for (const char* text : texts) {
    EXPECT_FALSE(ParseHandOffDescriptor(text)) << '"' << text << '"';
  }
}

TEST(PackingPayload, SplitsAtTheFirstBarCharacter) {
  struct Case {
    const char* payload;
    bool valid;
    const char* folder;
    const char* archive;
  };
  const Case cases[] = {
      {"C:\\app\\Output\\A1|C:\\app\\temp\\A1.zip", true, "C:\\app\\Output\\A1",
       "C:\\app\\temp\\A1.zip"},
      // The empty folder name of an export: both sides still non-empty.
      {"C:\\app\\Output\\|C:\\app\\temp\\.zip", true, "C:\\app\\Output\\",
       "C:\\app\\temp\\.zip"},
      {"a|b|c", true, "a", "b|c"},
      // 0x81 0x7C is one GBK character whose second byte is "|".
      {"C:\\\x81\x7C\xB0\xA1|C:\\t.zip", true, "C:\\\x81\x7C\xB0\xA1", "C:\\t.zip"},
      {"C:\\Output\\A1", false, "", ""},
      {"|C:\\t.zip", false, "", ""},
      {"C:\\Output\\A1|", false, "", ""},
      {"", false, "", ""},
  };
  for (const Case& c : cases) {
    const auto request = SplitPackingPayload(TextToBytes(c.payload));
    ASSERT_EQ(request.has_value(), c.valid) << c.payload;
    if (c.valid) {
      EXPECT_EQ(*request, (PackingRequest{c.folder, c.archive})) << c.payload;
    }
  }
}

TEST(PackingPayload, RefusesAZeroByteAndRoundTrips) {
  Bytes withZero = TextToBytes("C:\\a|C:\\b.zip");
  withZero[3] = 0;
  EXPECT_FALSE(SplitPackingPayload(withZero));

  const Bytes payload = MakePackingPayload("C:\\app\\Output\\A1", "C:\\app\\temp\\A1.zip");
  EXPECT_EQ(BytesToText(payload), "C:\\app\\Output\\A1|C:\\app\\temp\\A1.zip");
  EXPECT_EQ(SplitPackingPayload(payload),
            (PackingRequest{"C:\\app\\Output\\A1", "C:\\app\\temp\\A1.zip"}));
}

}  // namespace
}  // namespace lumigrab
