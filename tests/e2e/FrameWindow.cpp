// A test window carrying the frame, set up as the frame sets itself up on
// a window: khaki, linear title, sizable, movable. The end-to-end drag test
// drives it under Xvfb.
#include "frame/SkinFrame.h"

#include "forms/Form.h"
#include "forms/Runtime.h"

#include <QApplication>
#include <QPixmap>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    forms::Form form;
    form.setCaption(QStringLiteral("框架测试窗口"));
    QPixmap icon(16, 16);
    icon.fill(QColor(200, 30, 40));
    form.setIcon(QIcon(icon));
    form.setBorderStyle(0);
    form.setClientSize(400 * 15, 300 * 15);
    auto* skin = new frame::SkinFrame(form, nullptr, QStringLiteral("SkinFrame1"));
    skin->move(0, 0, form.scaleWidth(), form.scaleHeight());
    skin->setAlign(1);
    // Read as the window loads: khaki, linear; the rest at the defaults.
    skin->storedProperties() = {{QStringLiteral("themecolor"), 3}, {QStringLiteral("style"), 3}};
    form.show();
    return app.exec();
}
