#include "forms/Menu.h"

#include "forms/UserControl.h"

#include <QAction>
#include <QMenu>

namespace forms {

namespace {
PopupResponder& responder()
{
    static PopupResponder r;
    return r;
}
} // namespace

void setPopupResponder(PopupResponder r)
{
    responder() = std::move(r);
}

const MenuItem* popupMenu(QWidget* owner, const std::vector<const MenuItem*>& all, const MenuItem* defaultItem,
                          QPoint at)
{
    PopupRequest request{{}, -1, at};
    for (const MenuItem* item : all)
        if (item->isVisible()) {
            if (item == defaultItem)
                request.defaultIndex = static_cast<int>(request.items.size());
            request.items.push_back(item);
        }
    if (responder()) {
        const int chosen = responder()(request);
        if (chosen < 0 || chosen >= static_cast<int>(request.items.size()))
            return nullptr;
        const MenuItem* item = request.items[static_cast<std::size_t>(chosen)];
        return item->isEnabled() && item->caption() != QLatin1String("-") ? item : nullptr;
    }
    QMenu menu(owner);
    std::vector<std::pair<QAction*, const MenuItem*>> actions;
    for (std::size_t i = 0; i < request.items.size(); ++i) {
        const MenuItem* item = request.items[i];
        if (item->caption() == QLatin1String("-")) {
            menu.addSeparator();
            continue;
        }
        QAction* a = menu.addAction(item->caption());
        a->setEnabled(item->isEnabled());
        a->setCheckable(item->checked());
        a->setChecked(item->checked());
        if (static_cast<int>(i) == request.defaultIndex)
            menu.setDefaultAction(a); // shown in bold
        actions.emplace_back(a, item);
    }
    QAction* chosen = menu.exec(at);
    for (const auto& [a, item] : actions)
        if (a == chosen)
            return item;
    return nullptr;
}

} // namespace forms
