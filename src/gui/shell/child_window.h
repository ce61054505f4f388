#pragma once
// A child window of the main window. It reports `opened` when it loads (the
// main window then refuses the entry command) and `unloaded` exactly once,
// however it is closed: its own 閉じる, the title bar, or the main window's
// shutdown.

#include <QMdiSubWindow>

namespace mirkano {

class ChildWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit ChildWindow(QWidget* parent = nullptr);

    // The help index keyword of this window's page: the window's caption,
    // which names every window in the help index.
    QString helpKeyword() const { return windowTitle(); }

signals:
    void opened();
    void unloaded();

protected:
    void closeEvent(QCloseEvent* e) override;
    // What the window lets go of as it closes, just before `unloaded`.
    virtual void unload() {}

private:
    bool m_unloaded = false;
};

}  // namespace mirkano
