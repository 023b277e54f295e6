#include "FormMain.h"

namespace study {

void FormMain::imgAnswer_Click(std::int16_t) {}
void FormMain::imgDone_Click() {}
void FormMain::DrawQuestionNumber(std::int16_t) {}
void FormMain::optNum_Click(std::int16_t) {}
void FormMain::imgPre_Click() {}
void FormMain::imgNext_Click() {}
void FormMain::txtCurrent_KeyPress(std::int16_t&) {}
void FormMain::txtCurrent_Change()
{
    // The display writes the number with SuppressJump set: no jump then.
    if (SuppressJump)
        return;
}

} // namespace study
