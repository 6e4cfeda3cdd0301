#pragma once

#include <QImage>
#include <QWidget>

namespace lumo {

// Borderless, always-on-top start-up window centred on the desktop showing a
// fixed 359 x 180 picture drawn by the program.
class TSplashFrm : public QWidget {
    Q_OBJECT
public:
    static constexpr int PictureWidth = 359;
    static constexpr int PictureHeight = 180;

    explicit TSplashFrm(QWidget* owner = nullptr);

    const QImage& picture() const { return picture_; }
    // The picture: the program's name over a sky with a balloon and an
    // ozone sounding profile.
    static QImage drawPicture();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace lumo
