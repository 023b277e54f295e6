#pragma once

#include <QIcon>
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
// events, and its controls in creation order.
class Form {
public:
    Form();
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    QWidget* window() const;
    QWidget* client() const;

    QString caption() const;
    void setCaption(const QString& caption);
    void setIcon(const QIcon& icon);
    const QString& tag() const { return tag_; }
    void setTag(const QString& tag) { tag_ = tag; }

    // Outer geometry in twips.
    float left() const;
    float top() const;
    float width() const;
    float height() const;
    void move(float left, float top, float width, float height);
    // The inner area in twips.
    float scaleWidth() const;
    float scaleHeight() const;
    void setClientSize(float width, float height);

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

    const std::vector<Control*>& controls() const { return controls_; }
    void registerControl(Control* c);
    void unregisterControl(Control* c);

    // The window's handle, for the Windows API stand-ins.
    quintptr hWnd() const;

    // For the window: a close asked for by the learner or by unload().
    bool queryClose(int mode);

private:
    void load();
    class Window;
    std::unique_ptr<Window> window_;
    QWidget* client_;
    QString tag_;
    bool loaded_ = false;
    int startUpPosition_ = 2;
    bool closing_ = false;
    std::vector<Control*> controls_;
};

} // namespace forms
