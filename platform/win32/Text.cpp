#include "win32/Win32.h"

#include "forms/Surface.h"
#include "vb/Codepage.h"

#include <QPainter>

namespace win32 {

int DrawTextExA(HDC dc, const char* text, int length, RECT* rect, unsigned format, void*)
{
    forms::Surface* s = forms::surfaceFromDC(dc);
    if (!s || !rect || !text)
        return 0;
    const QString t = vb::fromAnsi(QByteArray(text, length < 0 ? static_cast<int>(qstrlen(text)) : length));
    QFont font = s->font();
    // The drawing calls set pixels; text is no exception.
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics fm(font);
    if (s->image().isNull())
        return fm.height();
    const QRect r(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    if (r.width() <= 0 || r.height() <= 0)
        return fm.height();
    int flags = Qt::AlignLeft;
    if (format & DT_SINGLELINE)
        flags |= Qt::TextSingleLine;
    flags |= (format & DT_VCENTER) && (format & DT_SINGLELINE) ? Qt::AlignVCenter : Qt::AlignTop;
    // An ampersand marks the next character; "&&" is one ampersand.
    flags |= (format & DT_NOPREFIX) ? 0 : Qt::TextShowMnemonic;
    QPainter p(&s->image());
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(font);
    p.setPen(s->textColour());
    p.setClipRect(r);
    p.drawText(r, flags, t);
    return fm.height();
}

} // namespace win32
