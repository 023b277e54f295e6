#include "forms/PropertyBag.h"

#include <algorithm>

namespace forms {

PropertyBag::PropertyBag(std::initializer_list<std::pair<QString, vb::Variant>> entries)
{
    for (const auto& [name, value] : entries)
        writeProperty(name, value);
}

std::vector<std::pair<QString, vb::Variant>>::const_iterator PropertyBag::find(const QString& name) const
{
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const auto& e) { return e.first.compare(name, Qt::CaseInsensitive) == 0; });
}

vb::Variant PropertyBag::readProperty(const QString& name, const vb::Variant& defaultValue) const
{
    const auto found = find(name);
    return found == entries_.end() ? defaultValue : found->second;
}

void PropertyBag::writeProperty(const QString& name, const vb::Variant& value, const vb::Variant& defaultValue)
{
    const auto found = find(name);
    const bool isDefault = !defaultValue.isEmpty() && value == defaultValue;
    if (found != entries_.end()) {
        const auto at = entries_.begin() + (found - entries_.cbegin());
        if (isDefault)
            entries_.erase(at);
        else
            at->second = value;
        return;
    }
    if (!isDefault)
        entries_.emplace_back(name, value);
}

bool PropertyBag::contains(const QString& name) const
{
    return find(name) != entries_.end();
}

} // namespace forms
