#include "ui/control_records.h"

#include <utility>

namespace lumigrab {

void ControlRecordTable::GrowTo(std::int32_t count) {
  while (Count() < count) {
    ControlRecord record;
    record.index = Count() + 1;
    records_.push_back(std::move(record));
  }
}

std::int32_t ControlRecordTable::FindRecordIndex(WindowHandle window) const {
  for (std::int32_t i = 1; i <= Count(); ++i) {
    if ((*this)[i].window == window) return i;
  }
  return 0;
}

bool ControlRecordTable::SetHandler(std::int32_t index, RecordHandler field,
                                    EventHandler handler) {
  if (!Contains(index)) return false;
  (*this)[index].*field = std::move(handler);
  return true;
}

RecordHandler NotificationHandler(bool fromStaticControl, std::uint16_t code) {
  if (fromStaticControl) {
    switch (code) {
      case 0: return &ControlRecord::clickHandler;        // STN_CLICKED
      case 1: return &ControlRecord::doubleClickHandler;  // STN_DBLCLK
      case 2: return &ControlRecord::enabledHandler;      // STN_ENABLE
      case 3: return &ControlRecord::disabledHandler;     // STN_DISABLE
      default: return nullptr;
    }
  }
  // One table for buttons, edit fields and anything else with a toolkit ID,
  // so a code means the same whoever sends it.
  struct Row {
    std::uint16_t code;
    RecordHandler handler;
  };
  static constexpr Row kRows[] = {
      {0x0000, &ControlRecord::clickHandler},              // BN_CLICKED
      {0x0006, &ControlRecord::gotFocusHandler},           // BN_SETFOCUS
      {0x0007, &ControlRecord::lostFocusHandler},          // BN_KILLFOCUS
      {0x0200, &ControlRecord::lostFocusHandler},          // EN_KILLFOCUS
      {0x0100, &ControlRecord::gotFocusHandler},           // EN_SETFOCUS
      {0x0300, &ControlRecord::changeHandler},             // EN_CHANGE
      {0x0400, &ControlRecord::updateHandler},             // EN_UPDATE
      {0x0009, &ControlRecord::selectionAcceptedHandler},
      {0x0003, &ControlRecord::gotFocusHandler},
      {0x0004, &ControlRecord::lostFocusHandler},
      {0x0008, &ControlRecord::closedUpHandler},
      {0x0002, &ControlRecord::doubleClickHandler},
      {0x0001, &ControlRecord::selectionChangedHandler},
      {0x0005, &ControlRecord::lostFocusHandler},
  };
  for (const Row& row : kRows) {
    if (row.code == code) return row.handler;
  }
  return nullptr;
}

}  // namespace lumigrab
