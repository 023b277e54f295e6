// bankbuild: turns a deliverable's bank sources into its encrypted bank file,
// its testimages/ folder (the pictures rendered to PNG) and a summary of
// the bank's counts.
//
//   bankbuild --out DIR --file NAME --password PW --pictures DIR FOLDER...
#include "BankSource.h"

#include "banks/format/BankFormat.h"
#include "forms/Runtime.h"
#include "vb/Failure.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>
#include <cstdio>
#include <map>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: bankbuild --out DIR --file NAME --password PW --pictures DIR FOLDER...\n");
    return 2;
}

bool render(const QString& svg, const QString& png)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return false;
    QImage image(renderer.defaultSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image.save(png, "PNG");
}

QString summary(const banks::BankSource& bank)
{
    struct Counts {
        int total = 0, tf = 0, single = 0, multi = 0, hard = 0, pictures = 0;
    };
    std::map<long long, Counts> byChapter;
    Counts all;
    int part1 = 0;
    for (const banks::QuestionRow& q : bank.questions) {
        const long long ch = static_cast<long long>(q.zhangjie.toDouble());
        for (Counts* c : {&byChapter[ch], &all}) {
            ++c->total;
            const QString t = q.txbz.toString();
            (t == QLatin1String("1") ? c->tf : t == QLatin1String("2") ? c->multi : c->single)++;
            c->hard += q.ycbz.toString() == QLatin1String("1");
            c->pictures += !q.bmp.isNull();
        }
        part1 += ch <= 7;
    }
    QString out;
    QTextStream s(&out);
    s << "questions " << all.total << "\npart1 " << part1 << "\npart2 " << all.total - part1 << "\n";
    s << "# chapter total tf single multi hard pictures\n";
    for (const auto& [ch, c] : byChapter)
        s << "chapter " << ch << ' ' << c.total << ' ' << c.tf << ' ' << c.single << ' ' << c.multi << ' ' << c.hard
          << ' ' << c.pictures << "\n";
    s << "all " << all.total << ' ' << all.tf << ' ' << all.single << ' ' << all.multi << ' ' << all.hard << ' '
      << all.pictures << "\n";
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    // Pictures with text need fonts, which need a GUI application; no
    // display is needed for that.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The records are measured with the program's own fonts.
    forms::installFontSubstitutes();
    QString out, file, password, pictures;
    QStringList folders;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString& into) {
            if (i + 1 >= args.size())
                return false;
            into = args[++i];
            return true;
        };
        if (a == QLatin1String("--out")            ? !value(out)
                : a == QLatin1String("--file")     ? !value(file)
                : a == QLatin1String("--password") ? !value(password)
                : a == QLatin1String("--pictures") ? !value(pictures)
                                                   : (folders << a, false))
            return usage();
    }
    if (out.isEmpty() || file.isEmpty() || password.isEmpty() || pictures.isEmpty() || folders.isEmpty())
        return usage();

    QStringList errors;
    const banks::BankSource bank = banks::readSources(folders, pictures, errors);
    if (!errors.isEmpty()) {
        for (const QString& e : errors)
            std::fprintf(stderr, "%s\n", e.toUtf8().constData());
        std::fprintf(stderr, "bankbuild: %lld faults, no bank written\n", static_cast<long long>(errors.size()));
        return 1;
    }

    const QDir outDir(out);
    if (!outDir.mkpath(QStringLiteral("testimages"))) {
        std::fprintf(stderr, "bankbuild: cannot make %s\n", out.toUtf8().constData());
        return 1;
    }
    for (const QString& png : bank.pictures) {
        const QString svg = QDir(pictures).filePath(QString(png).replace(QLatin1String(".png"), QLatin1String(".svg")));
        if (!render(svg, outDir.filePath(QStringLiteral("testimages/") + png))) {
            std::fprintf(stderr, "bankbuild: cannot render %s\n", svg.toUtf8().constData());
            return 1;
        }
    }
    try {
        banks::writeBank(outDir.filePath(file), password, bank.chapters, bank.questions);
    } catch (const vb::Failure& f) {
        std::fprintf(stderr, "bankbuild: %s\n", f.what());
        return 1;
    }
    QFile sum(outDir.filePath(file + QStringLiteral(".summary.txt")));
    if (!sum.open(QIODevice::WriteOnly | QIODevice::Truncate) || sum.write(summary(bank).toUtf8()) < 0) {
        std::fprintf(stderr, "bankbuild: cannot write the summary\n");
        return 1;
    }
    std::printf("%s: %zu questions, %lld pictures\n", outDir.filePath(file).toUtf8().constData(), bank.questions.size(),
                static_cast<long long>(bank.pictures.size()));
    return 0;
}
