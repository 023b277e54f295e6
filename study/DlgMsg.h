#pragma once

#include "forms/Controls.h"
#include "forms/Form.h"
#include "frame/SkinFrame.h"

namespace study {

// The program's own modal message window: two centred lines of large red
// text and an OK button. It shows the result of a mock examination.
class DlgMsg : public forms::Form {
public:
    DlgMsg();

    QString str1;
    QString str2;

    frame::SkinFrame* SkinFrame1 = nullptr;
    forms::Frame* Frame1 = nullptr;
    forms::CommandButton* cmd = nullptr;
    forms::Label* lblLabel2 = nullptr;
    forms::Label* lblLabel1 = nullptr;

    void Form_Load();
    // The dialog's design: its controls as each show builds them.
    void buildControls();
    void cmd_Click();
};

} // namespace study
