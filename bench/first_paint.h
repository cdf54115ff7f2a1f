#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

// Ends the event loop as soon as a top-level window's first paint has been delivered.
class QuitAfterFirstPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!done_ && event->type() == QEvent::Paint) {
      if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow()) {
        done_ = true;
        // Quits once this paint, and the flush that follows it, have run.
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool done_ = false;
};
