#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "scripted_dialogs.h"
#include "ui/main_window.h"

namespace tollwen::test {

// A main window whose dialogs and message boxes are answered by a script.
class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override;

  // Creates the window (start-up included); an empty `resourceDir` means beside the test
  // executable, where the build puts the asset bitmaps.
  MainWindow& Start(const std::string& resourceDir = {});
  // Start, then show the window and wait until it is exposed.
  MainWindow& StartShown(const std::string& resourceDir = {});

  template <typename T>
  T* Find(const char* name) {
    return form_->findChild<T*>(QString::fromLatin1(name));
  }
  // Triggers the menu item with that object name, as choosing it would.
  void Choose(const char* itemName);
  // A left click in the middle of grid cell (column, row).
  void ClickCell(int column, int row);
  // Releases the left button over palette button `index` after pressing it there.
  void ClickPalette(int index);

  // A resource directory with the asset bitmaps, all but those named in `missing`
  // (separated by spaces). Ends with "/".
  std::string AssetCopy(const std::string& missing);

  ScriptedDialogs dialogs_;
  std::unique_ptr<MainWindow> form_;
  QTemporaryDir scratch_;
};

}  // namespace tollwen::test
