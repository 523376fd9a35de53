#pragma once

#include <QImage>
#include <QWidget>

namespace velmora {

// A picture drawn at its own size from the top-left corner and cut to the box.
class PictureBox : public QWidget {
public:
    PictureBox(QImage picture, QWidget* parent);

    const QImage& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

// Decodes a JPEG of the program's resources with libjpeg; throws on failure.
QImage LoadJpegResource(const QString& name);

} // namespace velmora
