#pragma once

#include <QSize>

// The size a window opens with: the stored size, at least the given minimum,
// and no larger than the available screen area less the window's decoration,
// so its bottom edge (the status bar) stays on the screen. A minimum height
// that the screen cannot hold gives way to the screen; the minimum width,
// which the window's tool bar needs, does not.
// The decoration is what the window system adds around the window: frame
// and title bar.
QSize boundedWindowSize(const QSize &stored, const QSize &minimum, const QSize &available, const QSize &decoration);
