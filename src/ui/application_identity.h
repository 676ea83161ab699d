#pragma once

namespace tollwen {

// Tells Qt who the program is on the desktop: its version, the desktop entry it belongs to
// (also its app id under Wayland, by which the desktop finds its launcher and icon), and its
// icon in every size for the title bar, task bars and Alt+Tab. Run once the application object
// exists, before the window is shown.
void SetApplicationIdentity();

}  // namespace tollwen
