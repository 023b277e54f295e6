#pragma once

#include <QPoint>
#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace forms {

class MenuItem;

// A popup menu as the learner sees it: the visible items in index order,
// "-" a separator, the default item in bold.
struct PopupRequest {
    std::vector<const MenuItem*> items;
    int defaultIndex; // in `items`, or -1
    QPoint at;        // global pixels
};

// Every popup goes through one responder; tests install one that answers
// at once with the index (in `items`) of the chosen item, or -1.
using PopupResponder = std::function<int(const PopupRequest&)>;
void setPopupResponder(PopupResponder responder);

// Shows the items as a modal popup menu at a global position and returns
// the chosen item, or nullptr when the menu was closed without a choice.
const MenuItem* popupMenu(QWidget* owner, const std::vector<const MenuItem*>& items, const MenuItem* defaultItem,
                          QPoint at);

} // namespace forms
