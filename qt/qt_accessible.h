#pragma once

// What a screen reader is told of the windows beyond what Qt tells of its widgets: a window is
// a frame of its controls (not of its drawn lines), a picture is a graphic, a result box is
// read-only text that can be selected.

#include <QAccessibleInterface>
#include <QObject>
#include <QString>

namespace kalvena::qt {

// For QAccessible::installFactory.
QAccessibleInterface* accessibleFactory(const QString& className, QObject* object);

}  // namespace kalvena::qt
