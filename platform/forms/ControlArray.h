#pragma once

#include "vb/Failure.h"

#include <QString>
#include <functional>
#include <map>
#include <memory>

namespace forms {

// A control array: elements by index, the events of all of them going to
// one handler with the element's index. Loading an index that exists fails
// (360), reaching one that does not exist fails (340); a loaded element is
// a hidden copy of element 0 (T(const T& first, int index)).
template <class T>
class ControlArray {
public:
    explicit ControlArray(QString name) : name_(std::move(name)) {}

    const QString& name() const { return name_; }

    // A design-time element.
    T& add(std::unique_ptr<T> element)
    {
        const int i = element->index();
        if (elements_.count(i))
            vb::raise(vb::err::AlreadyLoaded);
        T& e = *element;
        wire(e);
        elements_[i] = std::move(element);
        return e;
    }

    bool exists(int index) const { return elements_.count(index) != 0; }

    T& operator()(int index) const
    {
        auto found = elements_.find(index);
        if (found == elements_.end())
            vb::raise(vb::err::NoSuchElement);
        return *found->second;
    }

    T& load(int index)
    {
        if (elements_.count(index))
            vb::raise(vb::err::AlreadyLoaded);
        if (index < 0 || index > 32767)
            vb::raise(vb::err::InvalidCall);
        auto first = elements_.find(0);
        if (first == elements_.end())
            vb::raise(vb::err::NoSuchElement);
        auto element = std::make_unique<T>(*first->second, index);
        T& e = *element;
        wire(e);
        elements_[index] = std::move(element);
        return e;
    }

    void unload(int index)
    {
        auto found = elements_.find(index);
        if (found == elements_.end())
            vb::raise(vb::err::NoSuchElement);
        elements_.erase(found);
    }

    int count() const { return static_cast<int>(elements_.size()); }
    int ubound() const { return elements_.empty() ? -1 : elements_.rbegin()->first; }

    std::function<void(int index)> onClick;

private:
    void wire(T& e)
    {
        const int i = e.index();
        e.onClick = [this, i] {
            if (onClick)
                onClick(i);
        };
    }

    QString name_;
    std::map<int, std::unique_ptr<T>> elements_;
};

} // namespace forms
