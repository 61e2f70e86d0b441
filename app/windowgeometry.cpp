#include "app/windowgeometry.h"

#include <QtGlobal>

QSize boundedWindowSize(const QSize &stored, const QSize &minimum, const QSize &available, const QSize &decoration)
{
    const int width = qMax(minimum.width(), qMin(stored.width(), available.width() - decoration.width()));
    // The screen wins over the floor: a status bar below the screen's edge
    // is worse than a window less high than usual.
    const int height = qMin(qMax(stored.height(), minimum.height()), available.height() - decoration.height());
    return { width, qMax(height, 1) };
}
