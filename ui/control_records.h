#pragma once
// The records the container hook keeps about every control: handlers and
// colours, addressed by an index that is also the control's child-window ID.
// Pure bookkeeping, tested natively; the hook itself lives in
// container_hook.h.

#include <cstdint>
#include <functional>
#include <vector>

struct HWND__;  // the system's window handle type, as <windows.h> declares it

namespace lumigrab {

using WindowHandle = HWND__*;

// A control event's handler; an empty one means none.
using EventHandler = std::function<void()>;

// Colours are Win32 colour values 0x00BBGGRR.
struct ControlColors {
  std::uint32_t background = 0;
  std::uint32_t text = 0;
};

struct ControlRecord {
  std::int32_t index = 0;
  WindowHandle window = nullptr;
  EventHandler doubleClickHandler;
  EventHandler gotFocusHandler;
  EventHandler lostFocusHandler;
  EventHandler updateHandler;             // edit text about to be shown
  EventHandler selectionAcceptedHandler;  // no control of the toolkit sets it
  EventHandler selectionChangedHandler;   // no control of the toolkit sets it
  EventHandler disabledHandler;           // static control disabled
  EventHandler enabledHandler;            // static control enabled
  EventHandler closedUpHandler;           // no control of the toolkit sets it
  EventHandler clickHandler;
  EventHandler changeHandler;             // edit text changed
  ControlColors colors;
};

// The handler field of a record.
using RecordHandler = EventHandler ControlRecord::*;

// Records addressed from 1; records are only ever added, so an index stays
// valid for the program's life. Lookups take the first match.
class ControlRecordTable {
 public:
  std::int32_t Count() const { return static_cast<std::int32_t>(records_.size()); }
  bool Contains(std::int32_t index) const { return index >= 1 && index <= Count(); }
  // The index-th record; the caller has checked Contains.
  ControlRecord& operator[](std::int32_t index) { return records_[static_cast<std::size_t>(index - 1)]; }
  const ControlRecord& operator[](std::int32_t index) const {
    return records_[static_cast<std::size_t>(index - 1)];
  }
  // Appends fresh records until the table holds `count`; existing ones stay.
  void GrowTo(std::int32_t count);
  // The index of the first record holding the window, 0 when none does.
  std::int32_t FindRecordIndex(WindowHandle window) const;
  // Writes `handler` into the record's field when the index is in the table;
  // false (and nothing written) otherwise.
  bool SetHandler(std::int32_t index, RecordHandler field, EventHandler handler);

 private:
  std::vector<ControlRecord> records_;
};

// Which handler a WM_COMMAND notification code calls. Static controls (labels
// and pictures) have their own four codes; every other control shares one
// table, whose first matching row wins. nullptr when no row matches: the
// message is then passed on.
RecordHandler NotificationHandler(bool fromStaticControl, std::uint16_t code);

}  // namespace lumigrab
