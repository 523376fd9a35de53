#include "shell/PictureBox.h"

#include "cue/Error.h"
#include "platform/JpegDecoder.h"

#include <QFile>
#include <QPainter>

namespace velmora {

PictureBox::PictureBox(QImage picture, QWidget* parent) : QWidget(parent), picture_(std::move(picture)) {}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

QImage LoadJpegResource(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw Error("Ressource introuvable : " + name.toStdString());
    const QByteArray data = file.readAll();
    const DecodedPicture decoded =
        DecodeJpeg(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
    QImage image(decoded.width, decoded.height, QImage::Format_RGB32);
    for (int y = 0; y < decoded.height; ++y)
        std::copy_n(decoded.pixels.begin() + static_cast<std::ptrdiff_t>(y) * decoded.width, decoded.width,
                    reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    return image;
}

} // namespace velmora
