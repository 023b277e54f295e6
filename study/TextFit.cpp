#include "TextFit.h"

#include "forms/Controls.h"
#include "forms/Runtime.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace study {

namespace {
constexpr double Step = 0.75; // a pixel at 96 dpi

int letters(const QString& text)
{
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); }));
}
} // namespace

QFont WrappedLabel::font() const
{
    return forms::font(QStringLiteral("Tahoma"), points);
}

namespace {
// Lays `text` out in `layout` as a label draws its word-wrapped text: line
// separators for the breaks, each line on a whole pixel after the font's
// leading.
Wrap layOut(QTextLayout& layout, const QFont& font, int width, const QString& text)
{
    QString shown = QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
    layout.setText(shown);
    layout.setFont(font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    const int leading = QFontMetrics(font).leading();
    Wrap w;
    qreal y = -leading;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        y = std::ceil(y + leading);
        line.setPosition(QPointF(0, y));
        const QRectF box(0, y, line.naturalTextWidth(), line.height());
        w.lines.push_back(box.toAlignedRect());
        y += line.height();
        w.width = std::max(w.width, static_cast<int>(std::ceil(line.naturalTextWidth())));
    }
    layout.endLayout();
    w.height = static_cast<int>(std::ceil(y));

    // A paragraph's last line holding one letter alone reads badly.
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        const int end = line.textStart() + line.textLength();
        const bool lastOfParagraph = end >= shown.size() || shown.at(end - 1) == QChar::LineSeparator;
        const bool wrapped = i > 0 && shown.at(line.textStart() - 1) != QChar::LineSeparator;
        if (lastOfParagraph && wrapped && letters(shown.mid(line.textStart(), line.textLength())) <= 1)
            w.orphan = true;
    }
    return w;
}
} // namespace

Wrap wrapText(const QFont& font, int width, const QString& text)
{
    QTextLayout layout;
    return layOut(layout, font, width, text);
}

bool fitsIn(const QFont& font, const WrappedLabel& label, const QString& text)
{
    const int width = forms::toPixelsX(label.width);
    QTextLayout layout;
    const Wrap w = layOut(layout, font, width, text);
    if (w.width > width)
        return false;
    const QRect covered(QPoint(forms::toPixelsX(label.coveredLeft), forms::toPixelsY(label.coveredTop)),
                        QPoint(width - 1, std::max(w.height, forms::toPixelsY(label.height)) + 7));
    const int clear = forms::toPixelsY(label.clearHeight);
    // Judged on the letters as drawn: a line's box runs on below its
    // letters (the room for descenders of the tallest font in it), and that
    // empty room may lie under the next control. Only the lines whose boxes
    // reach the covered part or the clear height are drawn, one at a time.
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QRect& box = w.lines[static_cast<std::size_t>(i)];
        if (box.bottom() < clear && (box.width() == 0 || !box.intersects(covered)))
            continue;
        QImage drawn(width, box.height() + 4, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        QPainter p(&drawn);
        p.setPen(Qt::black);
        layout.lineAt(i).draw(&p, QPointF(0, -box.top()));
        p.end();
        for (int y = 0; y < drawn.height(); ++y) {
            const int at = box.top() + y;
            const int from = at >= clear ? 0 : at >= covered.top() ? covered.left() : width;
            const auto* row = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
            if (std::any_of(row + std::min(from, width), row + width, [](QRgb px) { return qAlpha(px) != 0; }))
                return false;
        }
    }
    return true;
}

void fitCaption(forms::Label& label, const WrappedLabel& design)
{
    QFont f = label.font();
    double points = design.points;
    for (;; points -= Step) {
        f.setPointSizeF(points);
        if (points - Step < FloorPoints - 1e-9 || fitsIn(f, design, label.caption()))
            break;
    }
    if (label.font().pointSizeF() != points)
        label.setFont(f);
}

QString optionLines(const std::array<QString, 4>& options)
{
    const char* const heads[] = {"A、", "B、", "C、", "D、"};
    QString lines;
    for (std::size_t i = 0; i < 4; ++i) {
        if (options[i].isEmpty())
            continue;
        lines += QString::fromUtf8(heads[i]) + options[i];
        if (i < 3)
            lines += QStringLiteral("\r\n");
    }
    return lines;
}

} // namespace study
