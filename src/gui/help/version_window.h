#pragma once
// The "バージョン情報" window: product name, picture, slogan and version,
// shown beside the main window without blocking it.

#include <QPoint>
#include <QRect>
#include <QWidget>

namespace mirkano {

class VersionWindow : public QWidget {
    Q_OBJECT
public:
    // A top-level window that stays above mainWindow and deletes itself when
    // closed. It places itself each time it is shown.
    explicit VersionWindow(QWidget* mainWindow);

    static constexpr int kTwipsPerPixel = 15;

    // Top-left corner for a main window whose outer frame is mainFrame (screen
    // pixels): top = (main height − main top) / 3 and left = (main width −
    // main left) / 3, reckoned in twips and returned in pixels.
    static QPoint placement(const QRect& mainFrame);

    // The product-name typeface, with installed Japanese serif faces standing
    // in when it is not installed.
    static QFont productFont(int pixelSize);

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    QWidget* mainWindow_;
    QPoint target_;
    bool placePending_ = false;
};

}  // namespace mirkano
