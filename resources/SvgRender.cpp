// Renders SVG pictures at their own size, at build time, to the format of
// the output's suffix: drawing them at every start would cost tens of
// milliseconds.
//   svgrender IN.svg OUT.png|OUT.bmp [IN.svg OUT ...]
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
        // The format follows the suffix; a BMP is stored without alpha.
        const QString out = QString::fromLocal8Bit(argv[i + 1]);
        if (out.endsWith(QLatin1String(".bmp")))
            image = image.convertToFormat(QImage::Format_RGB32);
        if (!image.save(out)) {
            std::fprintf(stderr, "svgrender: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
