#include "shell/PictureBox.h"

#include "errors/ErrorMessages.h"
#include "messages/Messages.h"
#include "platform/JpegDecoder.h"

#include <QFile>
#include <QPaintEngine>
#include <QPainter>

namespace velmora {

PictureBox::PictureBox(QString picture, QString twiceAsDetailed, QWidget* parent)
    : QWidget(parent), pictureName_(std::move(picture)), detailedName_(std::move(twiceAsDetailed)) {}

const QImage& PictureBox::Picture() const {
    if (picture_.isNull()) {
        picture_ = LoadJpegResource(pictureName_);
    }
    return picture_;
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Enlarged pixel by pixel, a picture turns blocky on a scaled screen.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // The pictures are built into the program: one that cannot be read is a
    // broken build, which the tests catch, and the box stays empty.
    try {
        // The pixels painted into, which are the screen's or those of a picture
        // the window is rendered into.
        const QPaintDevice* target =
            painter.paintEngine() != nullptr ? painter.paintEngine()->paintDevice() : this;
        if (target->devicePixelRatioF() <= 1 || detailedName_.isEmpty()) {
            painter.drawImage(0, 0, Picture());
            return;
        }
        if (detailed_.isNull()) {
            detailed_ = LoadJpegResource(detailedName_);
            detailed_.setDevicePixelRatio(2);
        }
        painter.drawImage(0, 0, detailed_);
    } catch (const Error&) {
        return;
    }
}

QImage LoadJpegResource(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Error(Localized("Resource not found: %s", {name.toStdString()}));
    }
    const QByteArray data = file.readAll();
    const DecodedPicture decoded =
        DecodeJpeg(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
    QImage image(decoded.Width, decoded.Height, QImage::Format_RGB32);
    for (int y = 0; y < decoded.Height; ++y) {
        std::copy_n(decoded.Pixels.begin() + static_cast<std::ptrdiff_t>(y) * decoded.Width, decoded.Width,
                    reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    }
    return image;
}

} // namespace velmora
