// How long Qt's Wayland platform waits for the compositor's frame callback before it counts a
// window as hidden, for the whole process: set once, by the program's entry point (and by the
// tests' set-up), before the first window is made.
//
// Qt 6.4's Wayland platform tells the compositor a window's new size (xdg_surface
// set_window_geometry, in QWaylandWindow::setGeometry of qtwayland 6.4.2) only while it counts
// the window as exposed, and it stops counting it so whenever a frame callback is more than
// 100 ms late (QT_WAYLAND_FRAME_CALLBACK_TIMEOUT), as on a busy machine. A configure event that
// maximises the window in that time is acknowledged with the old size left standing, and the
// next commit breaks the protocol: weston ends the program ("xdg_surface geometry (487 x 426)
// does not match the configured maximized state (1024 x 768)"). With the timeout switched off
// the window stays exposed while it is shown, and every size is told. The timeout only saves the
// drawing of a window that the compositor has stopped showing, which for widgets is little.
// Workaround for Qt before 6.8 (qtwayland 6.8.2 tells the size whether exposed or not): it goes
// when the oldest Qt built against is 6.8, or with an older Qt on which retire_wayland_exposure,
// which maximises a window with Qt's own timeout, passes.
#pragma once

namespace widgets {

// Overrides any timeout from the environment, since every timeout lets the fault back in.
void keepWaylandWindowsExposed();

} // namespace widgets
