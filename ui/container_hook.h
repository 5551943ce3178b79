#pragma once
// The hook on a container window that turns its controls' notifications into
// calls of the handlers in their records and answers their colour questions
// from the colours stored there; plus the creation steps every control class
// shares.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"
#include "ui/control_records.h"

namespace lumigrab {

struct HookEntry {
  HWND container;
  WNDPROC previousProc;
};

// The process-wide tables; empty at start, never shrunk.
ControlRecordTable& ControlRecords();
// One entry per hooked container.
const std::vector<HookEntry>& HookTable();
// Every Label and PictureBox window created (buttons and edit fields are not).
const std::vector<HWND>& StaticHandles();

// Puts ContainerProc in front of the window's procedure, once per window; a
// hooked window stays hooked.
void HookContainer(HWND container);

// Answers WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT and WM_CTLCOLORLISTBOX of a
// recorded control with its colours, calls the handler a WM_COMMAND with a
// record's ID names (and swallows the message), and passes everything else
// on to the container's previous procedure.
LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Gives the window a new font (character set GB2312) and deletes the font it
// had, when that one was made here: each control owns one font.
void SetControlFont(HWND window, const Text& face, std::optional<std::int32_t> height = kOmitted,
                    std::optional<bool> bold = kOmitted, std::optional<bool> italic = kOmitted,
                    std::optional<bool> underline = kOmitted,
                    std::optional<bool> strikeOut = kOmitted);

// The solid brushes held for colour answers: one per background colour ever
// answered, kept for the program's life, so repeated questions make no new
// ones.
std::size_t ColourBrushCount();

// Writes the colours into the index-th record when the table has it.
void SetRecordColors(std::int32_t index, std::uint32_t background, std::uint32_t text);

// The creation steps shared by the control classes.
struct ChildWindowRequest {
  const char* className;
  DWORD extendedStyle;
  Text text;
  DWORD style;
  std::int32_t left;
  std::int32_t top;
  std::int32_t width;
  std::int32_t height;
  HWND parent;
};

// Hooks the parent, chooses the control's index (a window created before
// keeps its record) and stores it into `indexField` at once, creates the
// child window with the index as its ID and grows the record table to it.
// nullptr when no window came; the table then stays as it was.
HWND CreateControlWindow(const ChildWindowRequest& request, HWND previousWindow,
                         std::int32_t& indexField);

// The last steps: the record takes the window, the window takes the
// controls' font, and a static control joins StaticHandles.
void FinishControlCreation(std::int32_t index, HWND window, bool isStatic);

}  // namespace lumigrab
