#include "DlgMsg.h"

#include "forms/Picture.h"
#include "forms/Runtime.h"

namespace study {

using forms::font;

DlgMsg::DlgMsg()
{
    setCaption(QStringLiteral("Torvasen") + QString(11, QLatin1Char(' ')));
    setIcon(forms::resourceIcon(QStringLiteral(":/icon.svg"), {128, 64, 48, 32, 16}));
    setClientSize(5400, 2895);
    setStartUpPosition(1);
    window()->setFont(font(QStringLiteral("Tahoma"), 14.25));

    setBorderStyle(0);
    setShowInTaskbar(false);
    onLoad = [this] { Form_Load(); };
    // Each show builds the controls anew and each close destroys them:
    // the frame starts as designed every time, str1 and str2 stay.
    setDesign([this] { buildControls(); });
}

void DlgMsg::buildControls()
{
    SkinFrame1 = new frame::SkinFrame(*this, nullptr, QStringLiteral("SkinFrame1"));
    SkinFrame1->move(0, 0, 5400, 2895);
    SkinFrame1->setAlign(1);
    // The defaults: its colours follow the visual style.
    SkinFrame1->storedProperties() = {{QStringLiteral("closebutton"), true},
                                      {QStringLiteral("custombackcolor"), 0xD8E9EC},
                                      {QStringLiteral("_extentx"), 9525},
                                      {QStringLiteral("_extenty"), 5106}};
    Frame1 = new forms::Frame(*this, SkinFrame1, QStringLiteral("Frame1"));
    Frame1->move(60, 660, 5265, 2055);
    Frame1->setBackColor(0xF0F0F0);
    Frame1->setCaption(QStringLiteral("Frame1"));

    cmd = new forms::CommandButton(*this, Frame1, QStringLiteral("cmd"));
    cmd->move(1950, 1560, 1215, 375);
    cmd->setCaption(QStringLiteral("确定"));
    cmd->setBackColor(0xF0F0F0);
    cmd->setFont(window()->font());

    auto line = [&](const char* name, float top) {
        auto* l = new forms::Label(*this, Frame1, QString::fromLatin1(name));
        l->move(660, top, 1260, 405);
        l->setForeColor(0xFF);
        l->setFont(font(QStringLiteral("宋体"), 20.25));
        l->setAutoSize(true);
        l->setCaption(QStringLiteral("Label1"));
        return l;
    };
    lblLabel2 = line("lblLabel2", 690);
    lblLabel1 = line("lblLabel1", 60);
    for (forms::Control* c : {static_cast<forms::Control*>(lblLabel1), static_cast<forms::Control*>(lblLabel2),
                              static_cast<forms::Control*>(cmd)})
        c->zOrder(0);

    cmd->onClick = [this] { cmd_Click(); };
}

void DlgMsg::Form_Load()
{
    // Each line takes the width of its text and stands centred in the
    // panel; a line wider than the panel starts left of it and is cut.
    lblLabel1->setCaption(str1);
    lblLabel1->setLeft((Frame1->width() - lblLabel1->width()) / 2);
    lblLabel2->setCaption(str2);
    lblLabel2->setLeft((Frame1->width() - lblLabel2->width()) / 2);
}

void DlgMsg::cmd_Click()
{
    unload();
}

} // namespace study
