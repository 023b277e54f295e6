#include "FormMain.h"

namespace study {

void FormMain::ExamEntry(bool) {}
void FormMain::StartExam(bool) {}
void FormMain::Timer1_Timer() {}
void FormMain::imgCommit_Click() {}
void FormMain::ShowMessage(const QString&, const QString&) {}

} // namespace study
