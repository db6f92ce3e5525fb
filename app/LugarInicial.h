#pragma once
// The window's first place on screen, when it remembers none: the place and size it was designed
// with, made to fit the screen it opens on. Designed for a larger screen, the window ran off a
// 1000-pixel-high one, its status bar out of reach.
#include <QRect>
#include <QSize>

// `ventana`: the frame's top-left corner as designed, with the client area's size (as move() and
// resize() take them). `pantalla`: the screen's free room. `marco`: what the window manager's
// frame adds to the client area. The result is smaller only where the screen is, and moved in
// only as far as it must.
QRect LugarInicial(QRect ventana, const QRect& pantalla, QSize marco);

// What a window manager's title bar and borders usually take; the true frame is known only once
// the window is on screen.
inline constexpr QSize MARCO_SUPUESTO(16, 40);
