#include "FormMain.h"

namespace study {

void FormMain::ChapterPracticeEntry(bool) {}
void FormMain::RandomPracticeEntry() {}
void FormMain::LoadChapterList(bool) {}
void FormMain::imgSelect_Click() {}
void FormMain::OpenRandomSet(bool) {}
void FormMain::OpenRandomSetPart2(bool) {}
QString FormMain::PickChapterIds(std::int16_t, std::int16_t) { return {}; }
QString FormMain::PickChapterIdsNoMulti(std::int16_t, std::int16_t) { return {}; }
QString FormMain::PickMultiIdsPart2() { return {}; }
QString FormMain::ShuffleIdList(const QString&) { return {}; }
std::vector<QString> FormMain::ShuffleArray(std::vector<QString>&) { return {}; }

} // namespace study
