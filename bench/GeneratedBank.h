#pragma once

#include <QString>

// A bank of `size` made-up questions, spread over chapters 1 to 14 in the
// proportions of a real one, for the benchmarks.
void writeGeneratedBank(const QString& path, int size);
