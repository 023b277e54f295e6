#pragma once

#include "forms/Window.h"

#include <QIcon>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace forms {

class Control;

// Modal windows go through a replaceable responder too: tests install one
// that looks at the shown window and closes it, so nothing blocks.
using ModalResponder = std::function<void(class Form&)>;
void setModalResponder(ModalResponder responder);

// A window: caption, icon, geometry in twips, the load and query-unload
// events, and its controls in creation order. It owns its controls.
class Form : public Window {
public:
    Form();
    ~Form() override;

    QWidget* window() const;
    QWidget* widget() const override { return window(); }
    QWidget* client() const;

    QString caption() const;
    void setCaption(const QString& caption);
    void setIcon(const QIcon& icon);
    // The window's icon; a null icon when it has none.
    const QIcon& icon() const { return icon_; }
    const QString& tag() const { return tag_; }
    void setTag(const QString& tag) { tag_ = tag; }

    // Outer geometry in twips.
    float left() const;
    float top() const;
    float width() const;
    float height() const;
    void move(float left, float top, float width, float height);
    // Moves and sizes the window over the largest area of its pixels whose
    // device pixels lie inside the given area (twips): on a scaled screen
    // its pixels may not meet the area's edges.
    void moveWithin(float left, float top, float width, float height);
    void setWidth(float width) { move(left(), top(), width, height()); }
    void setHeight(float height) { move(left(), top(), width(), height); }
    // Paints the window now.
    void repaint();
    // Where the window system places the windows itself (Wayland): its own
    // maximised state, asked for and left. From the request to maximise
    // until the compositor has confirmed that the window left that state,
    // the window keeps the size the compositor gave it (any other size is a
    // protocol error that ends the connection): a size set meanwhile is
    // held and applied once the window is normal again.
    void setCompositorMaximized(bool on);
    bool compositorMaximized() const { return wantMaximized_ || reportedMaximized_; }
    // Kept above every other window.
    bool topmost() const;
    void setTopmost(bool on);
    // The inner area in twips.
    float scaleWidth() const;
    float scaleHeight() const;
    void setClientSize(float width, float height);

    // 0 none: no system frame; anything else: the system's frame.
    int borderStyle() const { return borderStyle_; }
    void setBorderStyle(int style);
    // A movable window can be dragged by its title.
    bool moveable() const { return moveable_; }
    void setMoveable(bool on) { moveable_ = on; }
    // Kept with the window's design; the desktop's taskbar is the window
    // system's, so these change nothing on screen.
    bool showInTaskbar() const { return showInTaskbar_; }
    void setShowInTaskbar(bool on) { showInTaskbar_ = on; }
    bool maxButton() const { return maxButton_; }
    void setMaxButton(bool on) { maxButton_ = on; }
    bool minButton() const { return minButton_; }
    void setMinButton(bool on) { minButton_ = on; }

    // 0 normal, 1 minimised, 2 maximised.
    int windowState() const;
    void setWindowState(int state);

    // Shows the window, loading it first (the load event) when it is not
    // loaded; a show that loads it puts it at its start-up position.
    void show();
    // 1 centred on its owner (the active window, else the one shown last
    // that is still up), 2 centred on the screen.
    void setStartUpPosition(int position) { startUpPosition_ = position; }
    // Shows it modally: returns when it has been unloaded.
    void showModal();
    // Runs the query-unload event (mode 1, from code) and closes the window
    // unless cancelled.
    void unload();
    bool isLoaded() const { return loaded_; }

    std::function<void()> onLoad;
    // cancel: set non-zero to keep the window; mode 0 the learner closed
    // it, 1 the program did.
    std::function<void(int& cancel, int mode)> onQueryUnload;

    // The window's design: what builds its controls. A window that has one
    // builds them at each load, at its designed size, and destroys them at
    // each unload, the frame included; the window object's own members
    // stay. Without one, the controls are made by whoever made the window
    // and live as long as it does.
    void setDesign(std::function<void()> build);

    const std::vector<Control*>& controls() const { return controls_; }
    // Called by every control as it is made and as it goes.
    void registerControl(Control* c);
    void unregisterControl(Control* c);
    // Deletes a control of this window once no message or event is inside
    // it or inside the window (unloading an array element from its own
    // click must not free it under itself).
    void destroyControl(Control* c);
    // Adds a control by its class name ("vb.PictureBox"), placed on the
    // window itself; fails (711) for a class the runtime does not offer.
    Control& addControl(const QString& className, const QString& name);

    // The move of a window dragged by its title: the window system's own
    // where it offers one, else a loop of the runtime's that follows the
    // pointer until the button is released. Returns when the drag is over.
    void dragMove();

    // For the window: a close asked for by the learner or by unload().
    bool queryClose(int mode);

    qintptr defaultProcedure(unsigned msg, quintptr wParam, qintptr lParam) override;

    // The host's run-mode flag: true while the window runs, false while a
    // designer holds it.
    bool userMode() const { return userMode_; }
    void setUserMode(bool on) { userMode_ = on; }
    // The designer's changed-setting notice, with the control and the
    // setting's name.
    std::function<void(Control&, const QString&)> onPropertyChanged;

    // Docked controls follow the window's size: a control aligned to the
    // top spans the window's width.
    void alignControls();

private:
    void load();
    void focusFirstControl();
    void retireControls();
    void placeAtStartUp(const QWidget* owner);
    void resizeInner(QSize size);
    void compositorReported(bool maximized);
    class Widget;
    std::unique_ptr<Widget> window_;
    QString tag_;
    QIcon icon_;
    bool loaded_ = false;
    int startUpPosition_ = 2;
    bool closing_ = false;
    bool userMode_ = true;
    int borderStyle_ = 2;
    bool moveable_ = true;
    bool showInTaskbar_ = true;
    bool maxButton_ = true;
    bool minButton_ = true;
    std::vector<Control*> controls_;
    std::function<void()> design_;
    QSize designSize_;
    // The compositor's maximised state: asked for, and as last reported.
    bool wantMaximized_ = false;
    bool reportedMaximized_ = false;
    QSize heldSize_;
    // The press whose drag has had its move, from pressCount().
    unsigned long dragPress_ = static_cast<unsigned long>(-1);
};

} // namespace forms
