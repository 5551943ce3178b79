// Hand-offs to a real receiver in another process, which reads the
// descriptor and the payload out of this one.
#include <gtest/gtest.h>

#include <windows.h>

#include "ipc/handoff.h"
#include "ipc/process_lookup.h"
#include "tests/ipc/windows_test_support.h"

namespace lumigrab {
namespace {

using testing::ChildProcess;
using testing::Quoted;
using testing::TempFolder;

struct Record {
  Text wparam, sender, descriptor, acked, error, payload;
};

// The receiver's record of its n-th hand-off.
std::optional<Record> ReadRecord(const Text& path) {
  const auto bytes = testing::ReadFileIfPresent(path);
  if (!bytes) return std::nullopt;
  Record record;
  const std::size_t payloadAt = bytes->find("payload=");
  if (payloadAt == Text::npos) return std::nullopt;
  record.payload = bytes->substr(payloadAt + 8);
  for (const Text& line : SplitText(bytes->substr(0, payloadAt), "\n")) {
    const std::size_t eq = line.find('=');
    const Text key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "wparam") record.wparam = value;
    if (key == "sender") record.sender = value;
    if (key == "descriptor") record.descriptor = value;
    if (key == "acked") record.acked = value;
    if (key == "error") record.error = value;
  }
  return record;
}

// A receiver under the key word, and its window once visible.
class Receiver {
 public:
  Receiver(const Text& keyWord, const Text& arguments = "")
      : process_(Quoted(testing::BuildProgram("handoff_receiver.exe")) + " --key=" +
                 keyWord + " --out=" + Quoted(folder_ / "record") + " " + arguments) {
    if (process_.Started()) window_ = testing::WaitForVisibleWindow(process_.Id(), 20000);
  }
  ~Receiver() {
    if (window_ != nullptr) PostMessageA(window_, WM_CLOSE, 0, 0);
    process_.WaitForExit(5000);
  }
  HWND Window() const { return window_; }
  std::optional<Record> RecordOf(int n) const {
    return ReadRecord(folder_ / ("record." + ToText(static_cast<std::int32_t>(n))));
  }

 private:
  TempFolder folder_;
  ChildProcess process_;
  HWND window_ = nullptr;
};

Text OwnId() { return ToText(static_cast<std::int64_t>(GetCurrentProcessId())); }

// The descriptor's three numbers as texts.
TextArray DescriptorNumbers(const Text& descriptor) {
  const TextArray first = SplitText(descriptor, "$");
  if (first.Count() != 2) return {};
  const TextArray second = SplitText(first[2], "&");
  if (second.Count() != 2) return {};
  return {first[1], second[1], second[2]};
}

TEST(HandOffToWindow, StartupNoticeCarriesImgBarAndTheAddress) {
  Receiver receiver("pictdesk");
  ASSERT_NE(receiver.Window(), nullptr);
  // GBK bytes in the address travel as they are.
  const Text address = "https://shop.example/item?id=42&t=\xD6\xD0\xCE\xC4";
  const Bytes payload = TextToBytes("img|" + address);

  EXPECT_TRUE(HandOffToWindow(receiver.Window(), "pictdesk", payload));

  const auto record = receiver.RecordOf(1);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->error, "");
  EXPECT_EQ(record->acked, "1");
  EXPECT_EQ(record->payload, "img|" + address);
  EXPECT_EQ(OwnProcessIdText(), OwnId());
  // wParam: digit count of the id, the id, the descriptor length.
  EXPECT_EQ(record->wparam, ToText(static_cast<std::int32_t>(OwnId().size())) + OwnId() +
                                ToText(static_cast<std::int32_t>(record->descriptor.size())));
  EXPECT_EQ(record->sender, OwnId());
  const TextArray numbers = DescriptorNumbers(record->descriptor);
  ASSERT_EQ(numbers.Count(), 3) << record->descriptor;
  EXPECT_EQ(numbers[2], ToText(static_cast<std::int32_t>(4 + address.size())));
  // The payload address is where this process keeps the bytes.
  EXPECT_EQ(numbers[3], DescriptorAddressText(reinterpret_cast<std::uintptr_t>(payload.data())));
}

TEST(HandOffToWindow, EmptyPayloadEndsTheDescriptorWithZeroAndZero) {
  Receiver receiver("imgzip");
  ASSERT_NE(receiver.Window(), nullptr);
  EXPECT_TRUE(HandOffToWindow(receiver.Window(), "imgzip", Bytes()));
  const auto record = receiver.RecordOf(1);
  ASSERT_TRUE(record);
  EXPECT_TRUE(record->descriptor.ends_with("$0&0")) << record->descriptor;
  EXPECT_EQ(record->payload, "");
  EXPECT_EQ(record->acked, "1");
}

TEST(HandOffToWindow, FalseWhenTheReceiverDoesNotAcknowledge) {
  Receiver receiver("imgzip", "--acks=N");
  ASSERT_NE(receiver.Window(), nullptr);
  EXPECT_FALSE(HandOffToWindow(receiver.Window(), "imgzip", TextToBytes("C:\\a|C:\\b.zip")));
  const auto record = receiver.RecordOf(1);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->payload, "C:\\a|C:\\b.zip") << "the receiver read the payload";
  EXPECT_EQ(record->acked, "0");
}

TEST(HandOffToWindow, EachCallHasItsOwnAcknowledgementByte) {
  // Accepts the first hand-off only: the second must not see the first's 0x02.
  Receiver receiver("imgzip", "--acks=YN");
  ASSERT_NE(receiver.Window(), nullptr);
  EXPECT_TRUE(HandOffToWindow(receiver.Window(), "imgzip", TextToBytes("one")));
  const Text idAfterFirst = OwnProcessIdText();
  EXPECT_FALSE(HandOffToWindow(receiver.Window(), "imgzip", TextToBytes("two")));
  EXPECT_EQ(OwnProcessIdText(), idAfterFirst);
  const auto first = receiver.RecordOf(1), second = receiver.RecordOf(2);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->payload, "one");
  EXPECT_EQ(second->payload, "two");
  EXPECT_EQ(first->sender, second->sender);
}

TEST(HandOffToWindow, NoWindowMeansNothingSent) {
  Receiver receiver("imgzip");
  ASSERT_NE(receiver.Window(), nullptr);
  ReleaseOwnProcessIdText();
  ASSERT_EQ(OwnProcessIdText(), "");

  // A window that no longer exists.
  HWND stale = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(stale, nullptr);
  DestroyWindow(stale);

  for (HWND target : {static_cast<HWND>(nullptr), NoSuchProcessWindow(), stale}) {
    EXPECT_FALSE(HandOffToWindow(target, "imgzip", TextToBytes("x|y")));
  }
  // The id text is made all the same; the receiver got nothing.
  EXPECT_EQ(OwnProcessIdText(), OwnId());
  EXPECT_FALSE(receiver.RecordOf(1));
  // A key word the system cannot register sends nothing either.
  EXPECT_FALSE(HandOffToWindow(receiver.Window(), "", TextToBytes("x|y")));
  EXPECT_FALSE(receiver.RecordOf(1));
}

}  // namespace
}  // namespace lumigrab
