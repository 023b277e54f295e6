#pragma once

#include "forms/Window.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

class QWidget;
class QCursor;

namespace forms {

class Form;

// What every control has: a name (and index in a control array), a
// container, geometry in twips, visibility, a tag, a tooltip, a mouse
// pointer, a font and colours. The Qt widget is created by the subclass.
// The window owns every control: a control made with `new` is registered
// with it and deleted by it (Form::destroyControl, or with the window).
class Control : public QObject, public Window {
public:
    Control(Form& form, Control* container, QString name, int index, QWidget* widget);
    ~Control() override;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& form() const { return form_; }
    Control* container() const { return container_; }
    QWidget* widget() const override { return widget_.data(); }
    const QString& name() const { return name_; }
    int index() const { return index_; }

    float left() const { return left_; }
    float top() const { return top_; }
    float width() const { return width_; }
    float height() const { return height_; }
    void setLeft(float v) { move(v, top_, width_, height_); }
    void setTop(float v) { move(left_, v, width_, height_); }
    void setWidth(float v) { move(left_, top_, v, height_); }
    void setHeight(float v) { move(left_, top_, width_, v); }
    virtual void move(float left, float top, float width, float height);

    // The control's own visibility, whatever its containers show.
    bool isVisible() const { return visible_; }
    void setVisible(bool visible);
    bool isEnabled() const;
    void setEnabled(bool enabled);

    const QString& tag() const { return tag_; }
    void setTag(const QString& tag) { tag_ = tag; }
    QString toolTipText() const;
    void setToolTipText(const QString& text);

    // 0 default, 7 size N-S, 8 size NW-SE, 9 size W-E, 99 the mouse icon.
    int mousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);
    void setMouseIcon(const QCursor& cursor);

    // 0 none, 1 docked to the top of its window: it spans the window's
    // width whenever the window is sized.
    int align() const { return align_; }
    void setAlign(int align);

    // 0 brings the control to the front of its container, 1 to the back.
    void zOrder(int position = 0);

    QFont font() const;
    virtual void setFont(const QFont& font);
    long backColor() const { return backColor_; }
    virtual void setBackColor(long colour);
    long foreColor() const { return foreColor_; }
    virtual void setForeColor(long colour);

    // The control's events. Mouse events carry the button (1 left, 2 right,
    // 4 middle), the shift state (1 shift, 2 ctrl, 4 alt) and the position
    // in twips.
    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void(int button, int shift, float x, float y)> onMouseDown;
    std::function<void(int button, int shift, float x, float y)> onMouseMove;
    std::function<void(int button, int shift, float x, float y)> onMouseUp;
    std::function<void(int& keyCode, int shift)> onKeyDown;
    std::function<void()> onResize;

    // Runs a handler of this control's events inside it.
    void fireEvent(const std::function<void()>& handler) { enter(handler); }

    qintptr defaultProcedure(unsigned msg, quintptr wParam, qintptr lParam) override;

protected:
    // A loaded array element takes the first element's properties, hidden.
    void copyFrom(const Control& first);
    void applyColours();
    void setGeometryTwips(float left, float top, float width, float height);
    // The widget has its new geometry; the resize event follows.
    virtual void geometryChanged() {}

    long backColor_ = 0xFFFFFF;
    long foreColor_ = 0;
    // Controls whose widget reports clicks itself turn this off.
    bool clickOnRelease_ = true;
    // Controls whose widget handles the pointer or the keys itself (a text
    // box, a list) let it have them after their events.
    bool widgetTakesInput_ = false;
    // Mouse positions in pixels of the control rather than twips (a user
    // control, a picture box with ScaleMode 3).
    bool pixelScale_ = false;
    // The release that follows a double-click is no click.
    bool releaseEndsDblClick_ = false;
    // Whether the widget may take the second press of a double-click (a
    // text box selects a word); a widget that clicks on its own release
    // would click a second time.
    bool widgetTakesDblClick_ = true;

private:
    void applyCursor();

    Form& form_;
    Control* container_;
    QString name_;
    int index_;
    QPointer<QWidget> widget_; // a container's deletion may take it first
    float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true; // for a control without a widget
    QString tag_;
    int mousePointer_ = 0;
    int align_ = 0;
    std::unique_ptr<QCursor> mouseIcon_;
};

} // namespace forms
