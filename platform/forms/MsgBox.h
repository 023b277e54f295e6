#pragma once

#include <QString>
#include <functional>

namespace forms {

// Buttons and answers of the system message box.
constexpr int vbOKOnly = 0;
constexpr int vbYesNo = 4;
constexpr int vbOK = 1;
constexpr int vbYes = 6;
constexpr int vbNo = 7;

struct MsgBoxRequest {
    QString prompt;
    int buttons;
    QString title;
};

// Every message box goes through one responder; tests install one that
// records the request and answers at once. nullptr restores the real box.
using MsgBoxResponder = std::function<int(const MsgBoxRequest&)>;
void setMsgBoxResponder(MsgBoxResponder responder);

// The program's title, used for boxes given no title of their own.
void setAppTitle(const QString& title);
const QString& appTitle();

// Modal: returns when the learner has answered.
int msgBox(const QString& prompt, int buttons = vbOKOnly, const QString& title = QString());

} // namespace forms
