// The window's colours, the same on every desktop.
#pragma once

#include <QPalette>

namespace pelmora {

// A complete light palette: dark text, white fields, greyed text that still reads at better than
// 5 : 1 on a disabled field, and a dark selection that white text reads on. The window resolves
// its own designed colours against it, so that no role is left to a dark or high-contrast
// desktop, which would put light text on the window's light colours.
QPalette fixedPalette();

} // namespace pelmora
