// Controls in real containers under Wine: creation, IDs and records, the
// container hook's colour answers and event dispatch for real input, fonts,
// pictures and the shared operations of every control.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/gbk_literals.h"
#include "tests/ui/bmp_builder.h"
#include "tests/ui/ui_test_support.h"
#include "ui/container_hook.h"
#include "ui/controls.h"
#include "ui/gdi_handles.h"
#include "ui/window.h"

namespace lumigrab {
namespace {

using testing::PaintedPixel;
using testing::PumpFor;
using testing::PumpUntil;

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kSilver = 0xC0C0C0;
constexpr COLORREF kBlack = 0x000000;

// What the container's own procedure saw: the messages the hook passed on.
struct Seen {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Seen> g_passedOn;
constexpr LRESULT kPreviousAnswer = 1234;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND || message == WM_CTLCOLORSTATIC || message == WM_CTLCOLOREDIT) {
    g_passedOn.push_back({message, wParam, lParam});
    return kPreviousAnswer;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A plain top-level window with a procedure of its own, shown at a known
// place, to be hooked by the first control made in it.
HWND MakeRecordingContainer() {
  static const bool registered = [] {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = &RecordingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "RecordingContainer";
    return RegisterClassExA(&windowClass) != 0;
  }();
  if (!registered) return nullptr;
  HWND window = CreateWindowExA(0, "RecordingContainer", "container", WS_POPUP | WS_VISIBLE, 100,
                                100, 470, 150, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(window);
  g_passedOn.clear();
  return window;
}

// A left click (or two) at a point of a window, through the system's input.
void ClickAt(HWND window, int x, int y, int clicks = 1) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  SetCursorPos(point.x, point.y);
  std::vector<INPUT> input(static_cast<std::size_t>(2 * clicks));
  for (std::size_t i = 0; i < input.size(); ++i) {
    input[i].type = INPUT_MOUSE;
    input[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

void ClickCentre(HWND control, int clicks = 1) {
  RECT rect{};
  GetClientRect(control, &rect);
  ClickAt(control, rect.right / 2, rect.bottom / 2, clicks);
}

// The colours a container hands a control for painting: the brush's colour,
// and the device context's background and text colours afterwards.
struct ColourAnswer {
  LRESULT result;
  COLORREF brush;
  COLORREF background;
  COLORREF text;
};

ColourAnswer AskColours(HWND container, UINT question, HWND control) {
  WindowDc screen(nullptr);
  UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
  ColourAnswer answer{};
  answer.result = SendMessageA(container, question, reinterpret_cast<WPARAM>(dc.get()),
                               reinterpret_cast<LPARAM>(control));
  LOGBRUSH brush{};
  if (GetObjectA(reinterpret_cast<HGDIOBJ>(answer.result), sizeof brush, &brush) == sizeof brush) {
    answer.brush = brush.lbColor;
  } else {
    answer.brush = CLR_INVALID;
  }
  answer.background = GetBkColor(dc.get());
  answer.text = GetTextColor(dc.get());
  return answer;
}

// The control's place in its parent's client area and its outer size.
RECT PlaceInParent(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool IsLiveGdiObject(HGDIOBJ object) { return GetObjectType(object) != 0; }

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

class ControlsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EndTheMainWindowLoop(); }
};

// The first controls of the program: the five of the main window, made in
// its order, take IDs 1 to 5. Keep this case first.
TEST_F(ControlsTest, TheMainWindowsFiveControlsTakeIdsOneToFiveAndTheirColours) {
  ASSERT_EQ(ControlRecords().Count(), 0) << "must run before any other control is made";
  Window main;
  HWND container = main.Create({.title = Text("Lumigrab"), .left = 200, .top = 200, .width = 470,
                                .height = 150});
  ASSERT_NE(container, nullptr);
  const Text versionText = Text("LUMIGRAB V1.0\r\n") + "credit line";

  Label urlLabel, versionLabel;
  Button exportButton;
  EditBox urlBox;
  PictureBox logo;
  HWND handles[5] = {
      urlLabel.Create(container, {.text = Text("URL:"), .left = 45, .top = 30, .width = 25,
                                  .height = 23, .alignment = 21}),
      nullptr, nullptr, nullptr, nullptr};
  urlLabel.SetColors(kWhite, kBlack);
  handles[1] = versionLabel.Create(container, {.text = versionText, .left = 288, .top = 80,
                                               .width = 160, .height = 40, .alignment = 21});
  versionLabel.SetColors(kWhite, kSilver);
  handles[2] = exportButton.Create(container, {.text = Text("Export"), .left = 377, .top = 25,
                                               .width = 50, .height = 24});
  handles[3] = urlBox.Create(container, {.left = 68, .top = 25, .width = 300, .height = 24,
                                         .kind = 32, .alignmentStyle = 0, .readOnly = false,
                                         .verticalScrollBar = false,
                                         .horizontalScrollBar = false});
  handles[4] = logo.Create(container, {.left = 20, .top = 70, .width = 80, .height = 32});

  struct Expected {
    const char* className;
    RECT place;
  };
  const Expected expected[5] = {{"Static", {45, 30, 70, 53}},
                                {"Static", {288, 80, 448, 120}},
                                {"Button", {377, 25, 427, 49}},
                                {"Edit", {68, 25, 368, 49}},
                                {"Static", {20, 70, 100, 102}}};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i + 1);
    ASSERT_NE(handles[i], nullptr);
    EXPECT_EQ(GetDlgCtrlID(handles[i]), i + 1);
    EXPECT_EQ(ControlRecords()[i + 1].window, handles[i]);
    EXPECT_EQ(ControlRecords()[i + 1].index, i + 1);
    EXPECT_EQ(_stricmp(ClassOf(handles[i]).c_str(), expected[i].className), 0);
    const RECT place = PlaceInParent(handles[i]);
    EXPECT_EQ(place.left, expected[i].place.left);
    EXPECT_EQ(place.top, expected[i].place.top);
    EXPECT_EQ(place.right, expected[i].place.right);
    EXPECT_EQ(place.bottom, expected[i].place.bottom);
  }
  EXPECT_EQ(urlLabel.RecordIndex(), 1);
  EXPECT_EQ(logo.RecordIndex(), 5);

  // Hooked once, with the class's procedure kept as the previous one.
  ASSERT_EQ(HookTable().size(), 1u);
  EXPECT_EQ(HookTable()[0].container, container);
  EXPECT_EQ(GetWindowLongPtrA(container, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ContainerProc));
  EXPECT_EQ(StaticHandles(), (std::vector<HWND>{handles[0], handles[1], handles[4]}));

  EXPECT_EQ(urlLabel.Caption(), "URL:");
  EXPECT_EQ(versionLabel.Caption(), versionText);
  EXPECT_EQ(exportButton.WindowText(), "Export");
  EXPECT_EQ(urlBox.Content(), "");
  EXPECT_EQ(GetWindowLongA(handles[0], GWL_STYLE) & (SS_TYPEMASK | SS_NOTIFY), SS_LEFT | SS_NOTIFY);
  EXPECT_TRUE(GetWindowLongA(handles[3], GWL_STYLE) & ES_AUTOHSCROLL);
  EXPECT_TRUE(GetWindowLongA(handles[3], GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

  // Colour questions, answered by the asking window's handle.
  struct ColourCase {
    const char* name;
    UINT question;
    HWND control;
    COLORREF background;
    COLORREF text;
  };
  const ColourCase colourCases[] = {
      {"URL label", WM_CTLCOLORSTATIC, handles[0], kWhite, kBlack},
      {"version label", WM_CTLCOLORSTATIC, handles[1], kWhite, kSilver},
      {"URL box", WM_CTLCOLOREDIT, handles[3], kWhite, kBlack},
      {"URL box disabled or read-only", WM_CTLCOLORSTATIC, handles[3], kWhite, kBlack},
      {"logo, never coloured", WM_CTLCOLORSTATIC, handles[4], kBlack, kBlack},
  };
  for (const ColourCase& c : colourCases) {
    SCOPED_TRACE(c.name);
    const ColourAnswer answer = AskColours(container, c.question, c.control);
    EXPECT_EQ(answer.brush, c.background);
    EXPECT_EQ(answer.background, c.background);
    EXPECT_EQ(answer.text, c.text);
  }

  // And as painted: the labels on white, the version in silver, the URL box
  // white even when disabled (it then asks as a static control would).
  PumpFor(100);
  EXPECT_EQ(PaintedPixel(handles[0], 24, 21), kWhite);
  EXPECT_EQ(PaintedPixel(handles[1], 158, 38), kWhite);
  urlBox.SetDisabled(true);
  PumpFor(50);
  EXPECT_EQ(PaintedPixel(handles[3], 290, 10), kWhite);
  urlBox.SetDisabled(false);

  std::set<COLORREF> versionColours;
  {
    WindowDc dc(handles[1]);
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 100; ++x) versionColours.insert(GetPixel(dc.get(), x, y));
    }
  }
  EXPECT_TRUE(versionColours.count(kSilver)) << "silver text";
  EXPECT_FALSE(versionColours.count(kBlack));

  if (const char* path = getenv("LUMIGRAB_UI_SCREENSHOT")) testing::SaveScreenshot(path);
  main.Destroy();
}

TEST_F(ControlsTest, ColourQuestionsMakeNoNewBrushes) {
  Window main;
  HWND container = main.Create({.title = Text("brushes"), .style = WS_POPUP});
  Label label;
  EditBox field;
  label.Create(container);
  label.SetColors(0x123456, kBlack);
  field.Create(container);
  // Both colours answered once, so every brush they need exists.
  const LRESULT labelBrush = AskColours(container, WM_CTLCOLORSTATIC, label.Handle()).result;
  const LRESULT fieldBrush = AskColours(container, WM_CTLCOLOREDIT, field.Handle()).result;
  const std::size_t brushes = ColourBrushCount();
  const DWORD gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);

  for (int i = 0; i < 2000; ++i) {
    EXPECT_EQ(AskColours(container, WM_CTLCOLORSTATIC, label.Handle()).result, labelBrush);
    EXPECT_EQ(AskColours(container, WM_CTLCOLOREDIT, field.Handle()).result, fieldBrush);
    if (HasFailure()) break;
  }
  EXPECT_EQ(ColourBrushCount(), brushes);
  // Where the system counts GDI objects (Wine does not: 0), none piled up.
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiObjects);
  EXPECT_TRUE(IsLiveGdiObject(reinterpret_cast<HGDIOBJ>(labelBrush)));
  main.Destroy();
}

class EventsTest : public ControlsTest {
 protected:
  void SetUp() override {
    container_ = MakeRecordingContainer();
    ASSERT_NE(container_, nullptr);
  }
  void TearDown() override { DestroyWindow(container_); }
  HWND container_ = nullptr;
};

TEST_F(EventsTest, ARealClickCallsTheClickHandlerAndTheContainerNeverSeesIt) {
  Button button;
  int clicks = 0;
  HWND handle = button.Create(container_, {.text = Text("Export"), .left = 377, .top = 25,
                                           .width = 50, .height = 24});
  button.SetClickHandler([&] { ++clicks; });
  PumpFor(50);
  ClickCentre(handle);
  ASSERT_TRUE(PumpUntil([&] { return clicks == 1; }));
  EXPECT_TRUE(g_passedOn.empty()) << "the WM_COMMAND stopped at the hook";

  // BM_CLICK goes the same way.
  SendMessageA(handle, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
  EXPECT_TRUE(g_passedOn.empty());
}

TEST_F(EventsTest, CommandsOutsideTheTableReachThePreviousProcedureUnchanged) {
  Button button;
  button.Create(container_);
  const int count = ControlRecords().Count();
  struct Case {
    const char* name;
    WPARAM wParam;
    LPARAM lParam;
  };
  const Case cases[] = {
      {"ID 0, a menu command", MAKEWPARAM(0, 0), 0},
      {"ID past the table", MAKEWPARAM(count + 1, BN_CLICKED), 0x77},
      {"ID far past the table", MAKEWPARAM(0xFFFF, 1), 0},
      {"a code no row has", MAKEWPARAM(button.RecordIndex(), 0x0500),
       reinterpret_cast<LPARAM>(button.Handle())},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_passedOn.clear();
    EXPECT_EQ(SendMessageA(container_, WM_COMMAND, c.wParam, c.lParam), kPreviousAnswer);
    ASSERT_EQ(g_passedOn.size(), 1u);
    EXPECT_EQ(g_passedOn[0].message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(g_passedOn[0].wParam, c.wParam);
    EXPECT_EQ(g_passedOn[0].lParam, c.lParam);
  }

  // A colour question from a window the toolkit did not make, too.
  HWND stranger = CreateWindowExA(0, "Static", "x", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                  container_, nullptr, GetModuleHandleA(nullptr), nullptr);
  g_passedOn.clear();
  EXPECT_EQ(AskColours(container_, WM_CTLCOLORSTATIC, stranger).result, kPreviousAnswer);
  EXPECT_EQ(g_passedOn.size(), 1u);
}

TEST_F(EventsTest, AnIdInTheTableIsDispatchedWhoeverSendsIt) {
  Button button;
  int clicks = 0;
  button.Create(container_);
  // A button without a handler: the click is answered and swallowed.
  EXPECT_EQ(SendMessageA(button.Handle(), BM_CLICK, 0, 0), 0);
  EXPECT_TRUE(g_passedOn.empty());

  button.SetClickHandler([&] { ++clicks; });
  // A menu item with the button's ID: code 0, no control.
  EXPECT_EQ(SendMessageA(container_, WM_COMMAND, MAKEWPARAM(button.RecordIndex(), 0), 0), 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(g_passedOn.empty());
}

TEST_F(EventsTest, TypingCallsTheUpdateHandlerBeforeTheChangeHandler) {
  EditBox field;
  std::vector<std::string> events;
  HWND handle = field.Create(container_, {.left = 68, .top = 25, .width = 300});
  field.SetUpdateHandler([&] { events.push_back("update"); });
  field.SetChangeHandler([&] { events.push_back("change"); });
  field.SetGotFocusHandler([&] { events.push_back("gotFocus"); });
  field.SetLostFocusHandler([&] { events.push_back("lostFocus"); });
  SetFocus(handle);
  PumpFor(20);
  EXPECT_EQ(events, std::vector<std::string>{"gotFocus"});

  events.clear();
  INPUT keys[4] = {};
  for (INPUT& key : keys) key.type = INPUT_KEYBOARD;
  keys[0].ki.wVk = 'A';
  keys[1].ki.wVk = 'A';
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  keys[2].ki.wVk = 'B';
  keys[3].ki.wVk = 'B';
  keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(SendInput(4, keys, sizeof(INPUT)), 4u);
  ASSERT_TRUE(PumpUntil([&] { return events.size() >= 4; }));
  PumpFor(20);
  EXPECT_EQ(events, (std::vector<std::string>{"update", "change", "update", "change"}));
  EXPECT_EQ(field.Content(), "ab");

  events.clear();
  SetFocus(container_);
  EXPECT_EQ(events, std::vector<std::string>{"lostFocus"});
  EXPECT_TRUE(g_passedOn.empty());
}

TEST_F(EventsTest, PictureClicksAndDoubleClicksReachTheirHandlers) {
  PictureBox picture;
  std::vector<std::string> events;
  HWND handle = picture.Create(container_, {.left = 20, .top = 70});
  picture.SetPicture(testing::MakeBmp({.width = 40, .height = 20}));
  picture.SetClickHandler([&] { events.push_back("click"); });
  picture.SetDoubleClickHandler([&] { events.push_back("doubleClick"); });
  PumpFor(50);

  ClickCentre(handle);
  ASSERT_TRUE(PumpUntil([&] { return events.size() == 1; }));
  EXPECT_EQ(events, std::vector<std::string>{"click"});
  PumpFor(GetDoubleClickTime() + 50);  // the next press starts a new click

  events.clear();
  ClickCentre(handle, 2);
  ASSERT_TRUE(PumpUntil([&] { return events.size() == 2; }));
  EXPECT_EQ(events, (std::vector<std::string>{"click", "doubleClick"}));

  // The same from the messages a double click brings.
  events.clear();
  SendMessageA(handle, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(events, std::vector<std::string>{"doubleClick"});
  EXPECT_TRUE(g_passedOn.empty());
}

TEST_F(EventsTest, LabelsReportClicksAndEnableChanges) {
  Label label;
  std::vector<std::string> events;
  HWND handle = label.Create(container_, {.text = Text("click me"), .width = 100});
  // Without handlers the notifications are still swallowed.
  SendMessageA(handle, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_TRUE(g_passedOn.empty());

  label.SetClickHandler([&] { events.push_back("click"); });
  label.SetDisabledHandler([&] { events.push_back("disabled"); });
  label.SetEnabledHandler([&] { events.push_back("enabled"); });
  ClickCentre(handle);
  ASSERT_TRUE(PumpUntil([&] { return !events.empty(); }));
  EXPECT_EQ(label.SetDisabled(true), 1);
  EXPECT_EQ(label.SetDisabled(false), 0);
  EXPECT_EQ(events, (std::vector<std::string>{"click", "disabled", "enabled"}));
}

TEST_F(EventsTest, HandlersMayPumpGrowTheTableAndReplaceThemselvesWhileRunning) {
  Button button;
  button.Create(container_);
  std::vector<std::unique_ptr<Label>> grown;
  std::vector<std::string> events;
  button.SetClickHandler([&] {
    events.push_back("outer start");
    // Many records: the table moves in memory under this running handler.
    for (int i = 0; i < 64; ++i) {
      grown.push_back(std::make_unique<Label>());
      grown.back()->Create(container_, {.width = 1, .height = 1});
    }
    button.SetClickHandler([&] { events.push_back("inner"); });
    SendMessageA(button.Handle(), BM_CLICK, 0, 0);  // the hook entered again
    PumpFor(10);
    events.push_back("outer end");
  });
  SendMessageA(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"outer start", "inner", "outer end"}));
}

TEST_F(EventsTest, ButtonsReportFocusOnlyWithTheNotifyStyle) {
  Button plain, notifying;
  int focusEvents = 0;
  plain.Create(container_, {.top = 0});
  notifying.Create(container_, {.top = 40, .extraStyle = BS_NOTIFY});
  for (Button* button : {&plain, &notifying}) {
    button->SetGotFocusHandler([&] { ++focusEvents; });
    button->SetLostFocusHandler([&] { ++focusEvents; });
  }
  SetFocus(plain.Handle());
  SetFocus(container_);
  EXPECT_EQ(focusEvents, 0);
  SetFocus(notifying.Handle());
  SetFocus(container_);
  EXPECT_EQ(focusEvents, 2);
}

class CreationTest : public EventsTest {};

TEST_F(CreationTest, DefaultsOfEveryControl) {
  Label label;
  Button button;
  EditBox field;
  PictureBox picture;
  label.Create(container_);
  button.Create(container_);
  field.Create(container_);
  picture.Create(container_);

  EXPECT_EQ(label.Caption(), gbk::kDefaultButtonText);
  EXPECT_EQ(GetWindowLongA(label.Handle(), GWL_STYLE) & SS_TYPEMASK, SS_RIGHT);
  EXPECT_EQ(ControlRecords()[label.RecordIndex()].colors.background, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ControlRecords()[label.RecordIndex()].colors.text, kBlack);
  EXPECT_EQ(button.WindowText(), gbk::kDefaultButtonText);
  EXPECT_EQ(GetWindowLongA(button.Handle(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  EXPECT_EQ(field.Content(), "");
  struct Size {
    Control* control;
    int width, height;
  };
  for (const Size& s : {Size{&label, 80, 32}, Size{&button, 80, 32}, Size{&field, 80, 24},
                        Size{&picture, 80, 32}}) {
    EXPECT_EQ(s.control->Width(), s.width);
    EXPECT_EQ(s.control->Height(), s.height);
  }
  EXPECT_EQ(ControlRecords()[field.RecordIndex()].colors.background, kWhite);

  // The font every control with text gets: the Song face in GB2312, 12
  // high, which the test prefix maps to a CJK font that draws Chinese and
  // Latin letters. (A picture's static control takes no font in Wine.)
  for (Control* control : std::initializer_list<Control*>{&label, &button, &field}) {
    SCOPED_TRACE(ClassOf(control->Handle()));
    const auto font = reinterpret_cast<HFONT>(SendMessageA(control->Handle(), WM_GETFONT, 0, 0));
    LOGFONTA description{};
    ASSERT_EQ(GetObjectA(font, sizeof description, &description), static_cast<int>(sizeof description));
    EXPECT_STREQ(description.lfFaceName, gbk::kSongTypeface);
    EXPECT_EQ(description.lfHeight, 12);
    EXPECT_EQ(description.lfCharSet, GB2312_CHARSET);
    EXPECT_EQ(description.lfWeight, 0);
  }
  WindowDc dc(label.Handle());
  SelectedObject selected(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(label.Handle(), WM_GETFONT, 0, 0)));
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc.get(), sizeof face, face);
  EXPECT_STREQ(face, gbk::kSongTypeface);
  EXPECT_EQ(GetTextCharset(dc.get()), GB2312_CHARSET);
}

TEST_F(CreationTest, KindsAndAlignmentsChooseStylesAndUnknownOnesMakeNothing) {
  struct Case {
    const char* name;
    std::function<HWND()> create;
    DWORD styleMask;
    DWORD style;  // under the mask; unused when nothing is made
    bool made;
  };
  Label labels[5];
  Button buttons[2];
  EditBox fields[4];
  const Case cases[] = {
      {"label 20 centred", [&] { return labels[0].Create(container_, {.alignment = 20}); }, SS_TYPEMASK | SS_CENTERIMAGE, SS_CENTER, true},
      {"label 22 right", [&] { return labels[1].Create(container_, {.alignment = 22}); }, SS_TYPEMASK | SS_CENTERIMAGE, SS_RIGHT, true},
      {"label 23 centred both ways", [&] { return labels[2].Create(container_, {.alignment = 23}); }, SS_TYPEMASK | SS_CENTERIMAGE, SS_CENTER | SS_CENTERIMAGE, true},
      {"label 24", [&] { return labels[3].Create(container_, {.alignment = 24}); }, 0, 0, false},
      {"label 19", [&] { return labels[4].Create(container_, {.alignment = 19}); }, 0, 0, false},
      {"button 1 default", [&] { return buttons[0].Create(container_, {.kind = 1}); }, BS_TYPEMASK, BS_DEFPUSHBUTTON, true},
      {"button 2", [&] { return buttons[1].Create(container_, {.kind = 2}); }, 0, 0, false},
      {"edit 33 several lines", [&] { return fields[0].Create(container_, {.kind = 33}); }, ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, true},
      {"edit 34 password", [&] { return fields[1].Create(container_, {.kind = 34}); }, ES_PASSWORD | ES_MULTILINE, ES_PASSWORD, true},
      {"edit read-only with scroll bars", [&] { return fields[2].Create(container_, {.readOnly = true, .verticalScrollBar = true, .horizontalScrollBar = true}); }, ES_READONLY | WS_VSCROLL | WS_HSCROLL, ES_READONLY | WS_VSCROLL | WS_HSCROLL, true},
      {"edit 35", [&] { return fields[3].Create(container_, {.kind = 35}); }, 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::int32_t count = ControlRecords().Count();
    HWND handle = c.create();
    if (!c.made) {
      EXPECT_EQ(handle, nullptr);
      EXPECT_EQ(ControlRecords().Count(), count) << "the table stays as it was";
      continue;
    }
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(handle, GWL_STYLE)) & c.styleMask, c.style);
  }
  // A parent that is no window: nothing made, nothing recorded.
  Button orphan;
  const std::int32_t count = ControlRecords().Count();
  EXPECT_EQ(orphan.Create(reinterpret_cast<HWND>(0x7FFF0)), nullptr);
  EXPECT_EQ(ControlRecords().Count(), count);
  int calls = 0;
  orphan.SetClickHandler([&] { ++calls; });
  EXPECT_FALSE(ControlRecords().Contains(count + 1)) << "the setter wrote nowhere";
}

TEST_F(CreationTest, AControlMadeAgainKeepsItsIdAndHandlers) {
  Button button;
  int clicks = 0;
  HWND first = button.Create(container_);
  EXPECT_EQ(button.Create(container_, {.text = Text("other")}), first) << "no second window";
  const std::int32_t id = button.RecordIndex();
  button.SetClickHandler([&] { ++clicks; });
  DestroyWindow(first);

  HWND second = button.Create(container_);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetDlgCtrlID(second), id);
  SendMessageA(second, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
}

TEST_F(CreationTest, EditFieldsHoldTextTheWayTheirKindSays) {
  EditBox field;
  HWND handle = field.Create(container_);
  EXPECT_EQ(field.Content(Text("abc")), "abc");
  EXPECT_EQ(field.Content(), "abc");
  const Text chinese = gbk::kDefaultWindowTitle;
  field.Content(chinese);
  EXPECT_EQ(field.Content(), chinese);

  // A line far longer than the field scrolls; Enter inserts nothing.
  field.Content(Text());
  for (int i = 0; i < 200; ++i) SendMessageA(handle, WM_CHAR, 'x', 0);
  SendMessageA(handle, WM_CHAR, '\r', 0);
  EXPECT_EQ(field.Content(), Text(200, 'x'));

  field.SetReadOnly(1);
  EXPECT_TRUE(GetWindowLongA(handle, GWL_STYLE) & ES_READONLY);
  field.SetReadOnly(2);
  EXPECT_FALSE(GetWindowLongA(handle, GWL_STYLE) & ES_READONLY) << "only exactly 1 is read-only";
}

TEST_F(CreationTest, LabelColoursDefaultToTheButtonFace) {
  Label label;
  label.Create(container_);
  label.SetColors(kWhite, kSilver);
  label.SetColors(kOmitted, 0x0000FF);
  const ControlColors colors = ControlRecords()[label.RecordIndex()].colors;
  EXPECT_EQ(colors.background, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(colors.text, 0x0000FFu);
}

TEST_F(CreationTest, TheSharedOperationsOfEveryControl) {
  Button button;
  HWND handle = button.Create(container_, {.left = 10, .top = 20, .width = 60, .height = 30});

  EXPECT_EQ(button.Visible(false), 0);
  EXPECT_FALSE(IsWindowVisible(handle));
  EXPECT_EQ(button.Visible(), 0);
  EXPECT_EQ(button.Visible(true), 1);
  EXPECT_EQ(button.Visible(), 1);

  EXPECT_EQ(button.SetDisabled(true), 1);
  EXPECT_FALSE(IsWindowEnabled(handle));
  EXPECT_EQ(button.SetDisabled(false), 0);
  EXPECT_TRUE(IsWindowEnabled(handle));

  EXPECT_EQ(button.WindowText(Text("URL:")), "URL:");
  EXPECT_EQ(button.WindowText(), "URL:");
  button.WindowText(Text());
  EXPECT_EQ(button.WindowText(), "");

  // Resized by other means, then moved by its left edge alone: the stored
  // size comes back with the stored top.
  SetWindowPos(handle, nullptr, 0, 0, 15, 15, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(button.Width(), 15) << "the size now";
  EXPECT_EQ(button.Left(), 10) << "as created";
  SetWindowPos(handle, nullptr, 0, 0, 25, 35, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_NE(button.Move(40), 0);
  const RECT place = PlaceInParent(handle);
  EXPECT_EQ(place.left, 40);
  EXPECT_EQ(place.top, 20);
  EXPECT_EQ(place.right - place.left, 15) << "the size last measured";
  EXPECT_EQ(place.bottom - place.top, 30) << "the height never measured since creation";
  EXPECT_EQ(button.Left(), 40);

  // A copy names the same window; neither object's end ends the window.
  {
    std::unique_ptr<Control> copy = button.Copy();
    EXPECT_EQ(copy->Handle(), handle);
    EXPECT_NE(dynamic_cast<Button*>(copy.get()), nullptr);
  }
  EXPECT_TRUE(IsWindow(handle));
  {
    Button shortLived;
    shortLived.Create(container_);
    handle = shortLived.Handle();
  }
  EXPECT_TRUE(IsWindow(handle));

  Button gone;
  gone.Create(container_);
  DestroyWindow(gone.Handle());
  EXPECT_EQ(gone.Width(), 0);
  EXPECT_EQ(gone.Move(1, 2, 3, 4), 0);
  EXPECT_EQ(gone.Left(), 1) << "stored anyway";
  EXPECT_EQ(gone.WindowText(), "");
}

TEST_F(CreationTest, ControlFontsAreOwnedOnePerControl) {
  Label label;
  HWND handle = label.Create(container_);
  const auto first = reinterpret_cast<HFONT>(SendMessageA(handle, WM_GETFONT, 0, 0));
  SetControlFont(handle, gbk::kSongTypeface, 16, true);
  const auto second = reinterpret_cast<HFONT>(SendMessageA(handle, WM_GETFONT, 0, 0));
  EXPECT_NE(second, first);
  EXPECT_FALSE(IsLiveGdiObject(first)) << "the toolkit's earlier font is deleted";
  LOGFONTA description{};
  GetObjectA(second, sizeof description, &description);
  EXPECT_EQ(description.lfHeight, 16);
  EXPECT_EQ(description.lfWeight, FW_BOLD);

  // A font from elsewhere may be shared: it is left alone.
  UniqueGdiObject<HFONT> foreign(CreateFontA(10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"));
  SendMessageA(handle, WM_SETFONT, reinterpret_cast<WPARAM>(foreign.get()), FALSE);
  SetControlFont(handle, gbk::kSongTypeface);
  EXPECT_TRUE(IsLiveGdiObject(foreign.get()));
}

TEST_F(CreationTest, PicturesOwnExactlyTheBitmapTheyShow) {
  PictureBox picture;
  HWND handle = picture.Create(container_, {.left = 20, .top = 70});
  Bytes thirteen = testing::MakeBmp({.width = 13, .height = 13});
  thirteen.resize(576);
  picture.SetPicture(thirteen);
  HBITMAP first = picture.Bitmap();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageA(handle, STM_GETIMAGE, IMAGE_BITMAP, 0)), first);
  RECT rect{};
  GetWindowRect(handle, &rect);
  EXPECT_EQ(rect.right - rect.left, 13) << "the box takes the bitmap's size";
  EXPECT_EQ(rect.bottom - rect.top, 13);

  picture.SetPicture(testing::MakeBmp({.width = 4, .height = 3}));
  EXPECT_FALSE(IsLiveGdiObject(first)) << "the bitmap replaced is deleted";
  HBITMAP second = picture.Bitmap();
  EXPECT_TRUE(IsLiveGdiObject(second));

  // A copy shares the bitmap; it lives as long as one of them holds it.
  {
    std::unique_ptr<Control> copy = picture.Copy();
    picture.SetBitmap(nullptr);
    EXPECT_TRUE(IsLiveGdiObject(second));
  }
  EXPECT_FALSE(IsLiveGdiObject(second));

  // Bytes that are no BMP leave the box empty.
  picture.SetPicture(testing::MakeBmp({.width = 4, .height = 3}));
  HBITMAP third = picture.Bitmap();
  picture.SetPicture(Bytes{'B', 'M', 0xFF, 0xFF});
  EXPECT_EQ(picture.Bitmap(), nullptr);
  EXPECT_EQ(SendMessageA(handle, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  EXPECT_FALSE(IsLiveGdiObject(third));

  HBITMAP last = nullptr;
  {
    PictureBox shortLived;
    shortLived.Create(container_);
    shortLived.SetPicture(testing::MakeBmp({.width = 2, .height = 2}));
    last = shortLived.Bitmap();
    EXPECT_TRUE(IsLiveGdiObject(last));
  }
  EXPECT_FALSE(IsLiveGdiObject(last)) << "the destructor deletes the bitmap";
}

}  // namespace
}  // namespace lumigrab
