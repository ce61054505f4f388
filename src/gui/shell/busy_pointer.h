#pragma once
// The busy pointer for the length of a scope, with pending events processed
// once so that the pointer and the windows paint before a long step.

#include <QApplication>

namespace mirkano {

class BusyPointer {
public:
    BusyPointer()
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QCoreApplication::processEvents();
    }
    ~BusyPointer() { restore(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

    // The normal pointer back before the scope ends (say, for a message).
    void restore()
    {
        if (m_on)
            QApplication::restoreOverrideCursor();
        m_on = false;
    }

private:
    bool m_on = true;
};

}  // namespace mirkano
