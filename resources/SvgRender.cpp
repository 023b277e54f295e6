// Renders SVG pictures at their own size, at build time, to the format of
// the output's suffix: drawing them at every start would cost tens of
// milliseconds.
//   svgrender IN.svg OUT.png|OUT.rgb32 [IN.svg OUT ...]
// An .rgb32 picture is the image's own memory: a header of three 32-bit
// numbers, width, height and the QImage format, then the scanlines as the
// machine holds them, which the program shows without decoding a pixel.
// The pixels are those a PNG of the picture would show: opaque as RGB32,
// with transparency as premultiplied ARGB32 after the PNG's rounding.
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: svgrender IN.svg OUT [IN.svg OUT ...]\n");
        return 2;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        QSvgRenderer renderer(QString::fromLocal8Bit(argv[i]));
        if (!renderer.isValid()) {
            std::fprintf(stderr, "svgrender: cannot read %s\n", argv[i]);
            return 1;
        }
        QImage image(renderer.defaultSize(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        // The format follows the suffix; an .rgb32 picture has no alpha.
        const QString out = QString::fromLocal8Bit(argv[i + 1]);
        bool written = false;
        if (out.endsWith(QLatin1String(".rgb32"))) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
            QImage shown = QImage::fromData(png, "PNG");
            shown = shown.hasAlphaChannel() ? shown.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                            : shown.convertToFormat(QImage::Format_RGB32);
            QFile f(out);
            const quint32 header[3] = {static_cast<quint32>(shown.width()), static_cast<quint32>(shown.height()),
                                       static_cast<quint32>(shown.format())};
            written = f.open(QIODevice::WriteOnly)
                && f.write(reinterpret_cast<const char*>(header), sizeof header) == sizeof header;
            for (int y = 0; written && y < shown.height(); ++y)
                written = f.write(reinterpret_cast<const char*>(shown.constScanLine(y)), shown.width() * 4)
                    == shown.width() * 4;
        } else {
            written = image.save(out);
        }
        if (!written) {
            std::fprintf(stderr, "svgrender: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
