// Dialogs of the CAD host: modal dialogs built from an add-on's dialog resource, their items and
// observers, the file dialog and resource alerts. Nobody sits at this host: a scripted user
// (cadhost::setDialogScript) clicks the items, and every dialog is written as text into the
// host's transcript when it closes.
#ifndef CADHOST_DG_H
#define CADHOST_DG_H

#include "GSRoot.h"
#include "InputOutput.h"

#include <memory>
#include <string>
#include <vector>

namespace DG {

class Panel;
class Item;

// Something a user did to an item.
class GSROOT_API ItemEvent {
public:
    explicit ItemEvent(Item* source) : mSource(source) {}
    Item* GetSource() const { return mSource; }

private:
    Item* mSource;
};

class GSROOT_API ButtonClickEvent : public ItemEvent {
public:
    using ItemEvent::ItemEvent;
};

class GSROOT_API CheckItemChangeEvent : public ItemEvent {
public:
    using ItemEvent::ItemEvent;
};

class GSROOT_API PanelOpenEvent {
public:
    explicit PanelOpenEvent(Panel* source) : mSource(source) {}
    Panel* GetSource() const { return mSource; }

private:
    Panel* mSource;
};

// Observers receive the events of the panels and items they are attached to.
class GSROOT_API PanelObserver {
public:
    virtual ~PanelObserver();
    virtual void PanelOpened(const PanelOpenEvent& ev);
};

class GSROOT_API ButtonItemObserver {
public:
    virtual ~ButtonItemObserver();
    virtual void ButtonClicked(const ButtonClickEvent& ev);
};

class GSROOT_API CheckItemObserver {
public:
    virtual ~CheckItemObserver();
    virtual void CheckItemChanged(const CheckItemChangeEvent& ev);
};

// An item of a dialog, numbered as in the dialog resource.
class GSROOT_API Item {
public:
    Item(Panel& panel, short itemId);
    virtual ~Item();
    Item(const Item&) = delete;
    Item& operator=(const Item&) = delete;

    short GetId() const { return mId; }
    Panel& GetPanel() const { return mPanel; }
    void Enable();
    void Disable();
    void SetStatus(bool enabled) { enabled ? Enable() : Disable(); }
    bool IsEnabled() const;
    void SetText(const GS::UniString& text);
    GS::UniString GetText() const;

private:
    Panel& mPanel;
    short mId;
};

class GSROOT_API Button : public Item {
public:
    using Item::Item;
    void Attach(ButtonItemObserver& observer);
    void Detach(ButtonItemObserver& observer);
};

class GSROOT_API CheckBox : public Item {
public:
    using Item::Item;
    void Check() { SetState(true); }
    void Uncheck() { SetState(false); }
    void SetState(bool checked);
    bool IsChecked() const;
    void Attach(CheckItemObserver& observer);
    void Detach(CheckItemObserver& observer);
};

class GSROOT_API LeftText : public Item {
public:
    using Item::Item;
};

class GSROOT_API Separator : public Item {
public:
    using Item::Item;
};

class GSROOT_API IconItem : public Item {
public:
    using Item::Item;
};

struct DialogState;

// A dialog of the host built from a dialog resource.
class GSROOT_API Panel {
public:
    Panel(GSResModule module, GSResID resId);
    virtual ~Panel();
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // 0 when the dialog resource could not be loaded.
    short GetId() const;
    void Attach(PanelObserver& observer);
    void Detach(PanelObserver& observer);
    int32_t GetOriginalClientWidth() const;
    int32_t GetOriginalClientHeight() const;
    int32_t GetClientWidth() const;
    int32_t GetClientHeight() const;
    void SetClientSize(int32_t width, int32_t height);
    GS::UniString GetTitle() const;

    DialogState& State() const { return *mState; }

private:
    std::unique_ptr<DialogState> mState;
};

// A dialog that runs until one of its observers posts a close request.
class GSROOT_API ModalDialog : public Panel {
public:
    enum ModalResponse { Cancel = 0, Accept = 1 };
    using Panel::Panel;
    // Runs the dialog; true when it closed with Accept.
    bool Invoke();
    void PostCloseRequest(ModalResponse response);
};

// The host's dialog for choosing a file.
class GSROOT_API FileDialog {
public:
    enum Type { OpenFile = 0, Save = 1 };
    explicit FileDialog(Type type);
    // Offers files of a registered type; false when the type is unknown.
    bool AddFilter(FTM::TypeID type);
    // Runs the dialog; true when the user chose a file.
    bool Invoke();
    const IO::Location& GetSelectedFile() const { return mSelected; }

private:
    Type mType;
    std::vector<FTM::TypeID> mFilters;
    IO::Location mSelected;
};

}  // namespace DG

// Shows alert resId of the module; answers the number of the button pressed (1 for the first),
// 0 when the alert resource is missing.
GSROOT_API short DGResAlert(GSResModule module, GSResID resId);

#endif
