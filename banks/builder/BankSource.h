#pragma once

#include "banks/format/BankFormat.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace banks {

// A deliverable's bank as its sources describe it: the common folder plus
// the deliverable's own, checked against the rules of a bank.
struct BankSource {
    std::vector<banks::ChapterRow> chapters;
    std::vector<banks::QuestionRow> questions;
    QStringList pictures; // file names the questions use, e.g. "p_stop.png"
};

// Reads and checks every chapters.tsv and *.txt of the folders, in order
// (a later folder's chapter rows replace earlier ones with the same id).
// Each fault found is appended to `errors` as "file:line: message".
BankSource readSources(const QStringList& folders, const QString& pictureFolder, QStringList& errors);

} // namespace banks
