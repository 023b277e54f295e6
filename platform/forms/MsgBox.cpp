#include "forms/MsgBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QMessageBox>

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
