// The test main of the widget layers: a QApplication on the offscreen
// platform, the program's fonts and cursor, and message boxes that answer
// at once.
#include "forms/MsgBox.h"
#include "forms/Picture.h"
#include "forms/Runtime.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef TEST_SCALE_FACTOR
    // A test of a scaled screen, whatever the environment says.
    qputenv("QT_SCALE_FACTOR", TEST_SCALE_FACTOR);
#endif
    QApplication app(argc, argv);
    forms::installFontSubstitutes();
    forms::setAppTitle(QStringLiteral("Torvasen"));
    forms::registerCursorResource(101, QStringLiteral(":/hand.svg"), QPoint(12, 1));
    forms::setMsgBoxResponder([](const forms::MsgBoxRequest&) { return forms::vbOK; });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
