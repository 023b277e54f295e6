#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace study {

// What differs between the three programs; fixed when each is built.
struct Deliverable {
    QString name;                                 // "Penmaro"
    QString bankLiteral;                          // "\in.dll;jet oledb:database password=..."
    std::vector<std::pair<int, int>> paperQuotas; // part 1: chapter, quota, in drawing order
    int chapterBoxes;                             // boxes the select button reads
    long questionCaptionColour;                   // caption colour of the question frame
    float secondTabLeft;                          // Left of the second tab's hot spot, in twips
    QString background;                           // resource of the main window's background picture
};

const Deliverable& quenvik();
const Deliverable& lodrasse();
const Deliverable& penmaro();

} // namespace study
