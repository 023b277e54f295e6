#pragma once

#include "vb/Variant.h"

#include <QString>
#include <utility>
#include <vector>

namespace forms {

// The settings store of a window's design: named, typed values kept with
// the window. Keys match without regard to case; a missing key reads as the
// default the reader gives, and a value equal to the writer's default is
// not written (an earlier value under that key goes).
class PropertyBag {
public:
    PropertyBag() = default;
    PropertyBag(std::initializer_list<std::pair<QString, vb::Variant>> entries);

    vb::Variant readProperty(const QString& name, const vb::Variant& defaultValue = vb::Variant()) const;
    void writeProperty(const QString& name, const vb::Variant& value, const vb::Variant& defaultValue = vb::Variant());

    bool contains(const QString& name) const;
    // The stored entries, in the order they were first written.
    const std::vector<std::pair<QString, vb::Variant>>& entries() const { return entries_; }

private:
    std::vector<std::pair<QString, vb::Variant>>::const_iterator find(const QString& name) const;
    std::vector<std::pair<QString, vb::Variant>> entries_;
};

} // namespace forms
