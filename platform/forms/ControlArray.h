#pragma once

#include "forms/Form.h"
#include "vb/Failure.h"

#include <QString>
#include <functional>
#include <map>

namespace forms {

// A control array: elements by index, the events of all of them going to
// one handler with the element's index. Loading an index that exists fails
// (360), reaching one that does not exist fails (340); a loaded element is
// a hidden copy of element 0 (T(const T& first, int index)). The window
// owns the elements; the array only refers to them, so it is neither
// copied nor moved.
template <class T>
class ControlArray {
public:
    explicit ControlArray(QString name) : name_(std::move(name)) {}
    ControlArray(const ControlArray&) = delete;
    ControlArray& operator=(const ControlArray&) = delete;

    const QString& name() const { return name_; }

    // A design-time element, made with `new` (its window owns it).
    T& add(T* element)
    {
        const int i = element->index();
        if (elements_.count(i)) {
            element->form().destroyControl(element);
            vb::raise(vb::err::AlreadyLoaded);
        }
        wire(*element);
        elements_[i] = element;
        return *element;
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
        T* element = new T(*first->second, index);
        wire(*element);
        elements_[index] = element;
        return *element;
    }

    void unload(int index)
    {
        auto found = elements_.find(index);
        if (found == elements_.end())
            vb::raise(vb::err::NoSuchElement);
        T* element = found->second;
        elements_.erase(found);
        element->form().destroyControl(element);
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
    std::map<int, T*> elements_;
};

} // namespace forms
