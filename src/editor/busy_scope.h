#pragma once

#include "editor/editor.h"

namespace tollwen {

// Marks the editor busy for as long as it lives. Commands nest (Open runs Close, Save runs
// Save As), so the scopes count rather than set a flag.
class Editor::BusyScope {
 public:
  explicit BusyScope(Editor& editor) : editor_(editor) { ++editor_.busy_; }
  ~BusyScope() { --editor_.busy_; }

  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  Editor& editor_;
};

}  // namespace tollwen
