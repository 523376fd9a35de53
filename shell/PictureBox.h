#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

namespace velmora {

// A JPEG of the program's resources drawn at its own size from the top-left
// corner and cut to the box. On a screen of more than one device pixel to the
// point it draws its detailed version, made at twice the size, scaled smoothly
// to the screen's ratio. Each is decoded when first needed, so that a window
// that opens hidden costs nothing at start-up.
class PictureBox : public QWidget {
public:
    PictureBox(QString picture, QString twiceAsDetailed, QWidget* parent);

    // Decodes the picture if it is not yet; throws when it cannot be read.
    const QImage& Picture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString pictureName_;
    QString detailedName_;
    mutable QImage picture_;
    QImage detailed_;
};

// Decodes a JPEG of the program's resources with libjpeg; throws on failure.
QImage LoadJpegResource(const QString& name);

} // namespace velmora
