#pragma once

#include <QLatin1String>
#include <QWidget>
#include <QtGlobal>

// A named child a test cannot go on without: a missing one ends the run
// with its name, not with a null pointer somewhere later.
template<class T> T *child(QWidget &parent, const char *name)
{
    T *widget = parent.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no child %s", name);
    return widget;
}
