#pragma once

#include <QImage>
#include <QWidget>

namespace velmora {

// A picture drawn at its own size from the top-left corner and cut to the box.
// On a screen of more than one device pixel to the point it draws its detailed
// version, a JPEG resource made at twice the size, scaled smoothly to the
// screen's ratio; that one is decoded only when such a screen first asks.
class PictureBox : public QWidget {
public:
    PictureBox(QImage picture, QString twiceAsDetailed, QWidget* parent);

    const QImage& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    QString detailedName_;
    QImage detailed_;
};

// Decodes a JPEG of the program's resources with libjpeg; throws on failure.
QImage LoadJpegResource(const QString& name);

} // namespace velmora
