#pragma once

namespace tollwen {
// Stands in for the main window until it exists.
void ShowPlaceholderWindow();
}  // namespace tollwen
