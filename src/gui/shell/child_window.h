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

    // The window's contents, inside the scroll area setBody() put them in.
    QWidget* body() const { return m_body; }

    // The help index keyword of this window's page: the window's caption,
    // which names every window in the help index.
    QString helpKeyword() const { return windowTitle(); }

    // The game and the last draw the window's figures come from, as the
    // header of its printouts names them ("ロト6　第2137回まで"); set by the
    // window whenever it computes them.
    QString printSource() const { return m_printSource; }
    void setPrintSource(const QString& source) { m_printSource = source; }

signals:
    void opened();
    void unloaded();

protected:
    // Puts the contents in a frameless scroll area that fills the window:
    // the contents follow the window's size down to their minimum size
    // (their layout's, or the one set on them), and a window made smaller
    // than that (tiled, or dragged small) shows scroll bars instead of
    // hiding controls.
    void setBody(QWidget* body);
    // For contents placed without a layout: their minimum becomes the extent
    // of their controls.
    void fitBodyMinimumToControls();

    void closeEvent(QCloseEvent* e) override;
    // What the window lets go of as it closes, just before `unloaded`.
    virtual void unload() {}

private:
    QWidget* m_body = nullptr;
    QString m_printSource;
    bool m_unloaded = false;
};

}  // namespace mirkano
