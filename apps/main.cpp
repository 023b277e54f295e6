// One program, built three times: DELIVERABLE names the record of this one.
#include "study/Deliverable.h"
#include "study/FormMain.h"

#include "forms/MsgBox.h"
#include "forms/Picture.h"
#include "forms/Runtime.h"
#include "forms/Screen.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    forms::preferXWayland();
    QApplication app(argc, argv);
    forms::prepareScreenPictures();
    forms::installFontSubstitutes();
    forms::setAppTitle(QStringLiteral("Torvasen"));
    forms::registerCursorResource(101, QStringLiteral(":/hand.svg"), QPoint(12, 1));
    study::FormMain main(study::DELIVERABLE());
    main.show();
    // Once the window is up, while a person looks for the tab to click.
    QTimer::singleShot(0, &app, [&main] { main.PrepareBank(); });
    return app.exec();
}
