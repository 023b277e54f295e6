// Renders SVG pictures to PNG at their own size, at build time: the large
// pictures of the windows would cost tens of milliseconds at every start.
//   svgrender IN.svg OUT.png [IN.svg OUT.png ...]
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
        std::fprintf(stderr, "usage: svgrender IN.svg OUT.png [IN.svg OUT.png ...]\n");
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
        if (!image.save(QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "svgrender: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
