#pragma once

#include <QGuiApplication>

namespace lumo {

// Shows the hourglass while it lives and restores the cursor that was
// current before, on every path out of the scope.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace lumo
