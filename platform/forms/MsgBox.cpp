#include "forms/MsgBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QIcon>
#include <QMessageBox>
#include <QSpacerItem>
#include <QStyle>

namespace forms {

namespace {
MsgBoxResponder& responder()
{
    static MsgBoxResponder r;
    return r;
}
QString& title()
{
    static QString t;
    return t;
}

int systemBox(const MsgBoxRequest& r)
{
    // The program's boxes carry their text, title and buttons, no icon.
    QMessageBox box(QMessageBox::NoIcon, r.title, r.prompt,
                    r.buttons == vbYesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                    QApplication::activeWindow());
    const std::pair<QMessageBox::StandardButton, QString> labels[] = {{QMessageBox::Yes, QStringLiteral("是(&Y)")},
                                                                      {QMessageBox::No, QStringLiteral("否(&N)")},
                                                                      {QMessageBox::Ok, QStringLiteral("确定")}};
    box.setDefaultButton(r.buttons == vbYesNo ? QMessageBox::Yes : QMessageBox::Ok);
    for (const auto& [button, text] : labels)
        if (QAbstractButton* b = box.button(button)) {
            b->setText(text);
            b->setIcon(QIcon()); // some desktop styles give the buttons icons
        }
    // The system's box asks for a close button only, and is at least as
    // wide as its title needs: a window manager would otherwise offer to
    // minimise or maximise it and cut its title short. The title's room is
    // reckoned in the bold face title bars use, with the icon and the
    // buttons beside it.
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int titleRoom = QFontMetrics(titleFont).horizontalAdvance(r.title) + 4 * QFontMetrics(titleFont).height()
        + 2 * box.style()->pixelMetric(QStyle::PM_TitleBarButtonSize);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(titleRoom, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      grid->columnCount());
    const int answer = box.exec();
    return answer == QMessageBox::Yes ? vbYes : answer == QMessageBox::No ? vbNo : vbOK;
}
} // namespace

void setMsgBoxResponder(MsgBoxResponder r)
{
    responder() = std::move(r);
}

void setAppTitle(const QString& t)
{
    title() = t;
}

const QString& appTitle()
{
    return title();
}

int msgBox(const QString& prompt, int buttons, const QString& boxTitle)
{
    const MsgBoxRequest request{prompt, buttons, boxTitle.isEmpty() ? title() : boxTitle};
    return responder() ? responder()(request) : systemBox(request);
}

} // namespace forms
