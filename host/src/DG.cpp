// Dialogs of the host, run by the scripted user and written into the transcript as text.
#include "DG.h"
#include "HostState.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <sys/stat.h>

namespace DG {

struct ItemState {
    cadhost::DialogItemResource resource;
    std::string text;
    bool enabled = true;
    bool checked = false;
    std::vector<ButtonItemObserver*> buttonObservers;
    std::vector<CheckItemObserver*> checkObservers;
};

struct DialogState {
    GSResID id = 0;
    cadhost::DialogResource resource;
    std::map<short, ItemState> items;
    std::map<short, Item*> objects;
    std::vector<PanelObserver*> observers;
    int32_t width = 0;
    int32_t height = 0;
    bool closeRequested = false;
    ModalDialog::ModalResponse response = ModalDialog::Cancel;
    std::string events;
};

namespace {

ItemState* itemOf(const Panel& panel, short id)
{
    auto found = panel.State().items.find(id);
    return found == panel.State().items.end() ? nullptr : &found->second;
}

template <typename T>
void removeFrom(std::vector<T*>& list, T* observer)
{
    list.erase(std::remove(list.begin(), list.end(), observer), list.end());
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// The dialog as a person sees it: every item with its kind, state, text and whether it is enabled.
std::string render(const DialogState& state)
{
    char line[64];
    std::string out;
    std::snprintf(line, sizeof line, "Dialog %d ", static_cast<int>(state.id));
    out += line + quoted(state.resource.title);
    std::snprintf(line, sizeof line, " (%d x %d)\n", state.width, state.height);
    out += line;
    out += state.events;
    for (const auto& entry : state.items) {
        const ItemState& item = entry.second;
        std::snprintf(line, sizeof line, "  %3d %-9s ", static_cast<int>(entry.first), item.resource.kind.c_str());
        std::string row = line;
        if (item.resource.kind == "checkbox") {
            row += item.checked ? "[x] " : "[ ] ";
        }
        if (item.resource.kind == "icon") {
            row += std::to_string(item.resource.icon);
        } else if (item.resource.kind != "separator") {
            row += quoted(item.text);
        }
        if (!item.enabled) {
            row += "  (disabled)";
        }
        while (!row.empty() && row.back() == ' ') {
            row.pop_back();
        }
        out += row + "\n";
    }
    return out;
}

void click(ModalDialog& dialog, short id, const char* how)
{
    DialogState& state = dialog.State();
    ItemState* item = itemOf(dialog, id);
    std::string note = std::string("  ") + how + " " + std::to_string(id);
    if (item == nullptr) {
        state.events += note + ": no such item\n";
        return;
    }
    if (!item->enabled) {
        state.events += note + ": disabled, nothing happens\n";
        return;
    }
    state.events += note + "\n";
    Item* object = state.objects.count(id) != 0 ? state.objects[id] : nullptr;
    if (item->resource.kind == "button") {
        const std::vector<ButtonItemObserver*> observers = item->buttonObservers;
        for (ButtonItemObserver* observer : observers) {
            observer->ButtonClicked(ButtonClickEvent(object));
        }
    } else if (item->resource.kind == "checkbox") {
        item->checked = !item->checked;
        const std::vector<CheckItemObserver*> observers = item->checkObservers;
        for (CheckItemObserver* observer : observers) {
            observer->CheckItemChanged(CheckItemChangeEvent(object));
        }
    }
}

}  // namespace

PanelObserver::~PanelObserver() = default;
void PanelObserver::PanelOpened(const PanelOpenEvent&) {}
ButtonItemObserver::~ButtonItemObserver() = default;
void ButtonItemObserver::ButtonClicked(const ButtonClickEvent&) {}
CheckItemObserver::~CheckItemObserver() = default;
void CheckItemObserver::CheckItemChanged(const CheckItemChangeEvent&) {}

Item::Item(Panel& panel, short itemId) : mPanel(panel), mId(itemId)
{
    panel.State().objects[itemId] = this;
}

Item::~Item()
{
    auto& objects = mPanel.State().objects;
    auto found = objects.find(mId);
    if (found != objects.end() && found->second == this) {
        objects.erase(found);
    }
}

void Item::Enable()
{
    if (ItemState* item = itemOf(mPanel, mId)) {
        item->enabled = true;
    }
}

void Item::Disable()
{
    if (ItemState* item = itemOf(mPanel, mId)) {
        item->enabled = false;
    }
}

bool Item::IsEnabled() const
{
    const ItemState* item = itemOf(mPanel, mId);
    return item != nullptr && item->enabled;
}

void Item::SetText(const GS::UniString& text)
{
    if (ItemState* item = itemOf(mPanel, mId)) {
        item->text = text.ToCStr();
    }
}

GS::UniString Item::GetText() const
{
    const ItemState* item = itemOf(mPanel, mId);
    return item != nullptr ? GS::UniString(item->text.c_str()) : GS::UniString();
}

void Button::Attach(ButtonItemObserver& observer)
{
    if (ItemState* item = itemOf(GetPanel(), GetId())) {
        item->buttonObservers.push_back(&observer);
    }
}

void Button::Detach(ButtonItemObserver& observer)
{
    if (ItemState* item = itemOf(GetPanel(), GetId())) {
        removeFrom(item->buttonObservers, &observer);
    }
}

void CheckBox::SetState(bool checked)
{
    if (ItemState* item = itemOf(GetPanel(), GetId())) {
        item->checked = checked;
    }
}

bool CheckBox::IsChecked() const
{
    const ItemState* item = itemOf(GetPanel(), GetId());
    return item != nullptr && item->checked;
}

void CheckBox::Attach(CheckItemObserver& observer)
{
    if (ItemState* item = itemOf(GetPanel(), GetId())) {
        item->checkObservers.push_back(&observer);
    }
}

void CheckBox::Detach(CheckItemObserver& observer)
{
    if (ItemState* item = itemOf(GetPanel(), GetId())) {
        removeFrom(item->checkObservers, &observer);
    }
}

Panel::Panel(GSResModule module, GSResID resId) : mState(new DialogState)
{
    const cadhost::ResourceSet* set = cadhost::resourcesOf(module);
    if (set == nullptr) {
        return;
    }
    const auto found = set->dialogs.find(resId);
    if (found == set->dialogs.end()) {
        return;
    }
    mState->id = resId;
    mState->resource = found->second;
    mState->width = found->second.width;
    mState->height = found->second.height;
    for (const cadhost::DialogItemResource& resource : found->second.items) {
        ItemState item;
        item.resource = resource;
        item.text = resource.text;
        mState->items[static_cast<short>(resource.id)] = item;
    }
}

Panel::~Panel() = default;

short Panel::GetId() const { return static_cast<short>(mState->id); }
void Panel::Attach(PanelObserver& observer) { mState->observers.push_back(&observer); }
void Panel::Detach(PanelObserver& observer) { removeFrom(mState->observers, &observer); }
int32_t Panel::GetOriginalClientWidth() const { return mState->resource.width; }
int32_t Panel::GetOriginalClientHeight() const { return mState->resource.height; }
int32_t Panel::GetClientWidth() const { return mState->width; }
int32_t Panel::GetClientHeight() const { return mState->height; }

void Panel::SetClientSize(int32_t width, int32_t height)
{
    mState->width = width;
    mState->height = height;
}

GS::UniString Panel::GetTitle() const { return GS::UniString(mState->resource.title.c_str()); }

bool ModalDialog::Invoke()
{
    DialogState& state = State();
    if (state.id == 0) {
        return false;
    }
    state.closeRequested = false;
    state.response = Cancel;
    state.events.clear();
    // A window that opens at the size it had last time; the dialog's observer may set it back.
    state.width = state.resource.width + 40;
    state.height = state.resource.height + 30;
    const std::vector<PanelObserver*> observers = state.observers;
    for (PanelObserver* observer : observers) {
        observer->PanelOpened(PanelOpenEvent(this));
    }
    int item = 0;
    while (!state.closeRequested && cadhost::takeDialogClick(&item)) {
        click(*this, static_cast<short>(item), "click");
    }
    std::string shown = render(state);
    if (!state.closeRequested) {
        state.events.clear();
        click(*this, 1, "Enter presses");
        shown += state.events;
    }
    if (!state.closeRequested) {
        state.response = Cancel;
        shown += "  the dialog stays open; the user closes its window\n";
    }
    shown += state.response == Accept ? "  closed: accepted\n" : "  closed: cancelled\n";
    cadhost::appendTranscript(shown);
    return state.response == Accept;
}

void ModalDialog::PostCloseRequest(ModalResponse response)
{
    State().closeRequested = true;
    State().response = response;
}

FileDialog::FileDialog(Type type) : mType(type) {}

bool FileDialog::AddFilter(FTM::TypeID type)
{
    if (FTM::FileTypeManager::GetType(type) == nullptr) {
        return false;
    }
    mFilters.push_back(type);
    return true;
}

bool FileDialog::Invoke()
{
    std::string note = mType == OpenFile ? "File dialog (open)" : "File dialog (save)";
    for (FTM::TypeID id : mFilters) {
        const FTM::FileType* type = FTM::FileTypeManager::GetType(id);
        note += " [" + type->description + " (*." + type->extension + ")]";
    }
    std::string path;
    if (!cadhost::takeFileChoice(&path)) {
        cadhost::appendTranscript(note + ": cancelled\n");
        return false;
    }
    IO::Location chosen(path.c_str());
    struct stat info;
    if (chosen.IsEmpty() || (mType == OpenFile && (::stat(chosen.HostPath().c_str(), &info) != 0 ||
                                                   !S_ISREG(info.st_mode)))) {
        cadhost::appendTranscript(note + ": no file \"" + path + "\" to choose; cancelled\n");
        return false;
    }
    if (!mFilters.empty()) {
        IO::Name name;
        chosen.GetLastLocalName(&name);
        std::string extension = name.ToString();
        const std::size_t dot = extension.rfind('.');
        extension = dot == std::string::npos ? std::string() : extension.substr(dot + 1);
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        bool offered = false;
        for (FTM::TypeID id : mFilters) {
            offered = offered || FTM::FileTypeManager::GetType(id)->extension == extension;
        }
        if (!offered) {
            cadhost::appendTranscript(note + ": \"" + path + "\" is not offered; cancelled\n");
            return false;
        }
    }
    mSelected = chosen;
    cadhost::appendTranscript(note + ": chose \"" + chosen.HostPath() + "\"\n");
    return true;
}

}  // namespace DG

short DGResAlert(GSResModule module, GSResID resId)
{
    const cadhost::ResourceSet* set = cadhost::resourcesOf(module);
    const auto found = set != nullptr ? set->alerts.find(resId) : std::map<int, cadhost::AlertResource>::const_iterator();
    if (set == nullptr || found == set->alerts.end()) {
        cadhost::appendTranscript("Alert " + std::to_string(resId) + ": no such alert resource\n");
        return 0;
    }
    const cadhost::AlertResource& alert = found->second;
    std::string text = "Alert " + std::to_string(resId) + "\n  " + alert.title + "\n  " + alert.text + "\n";
    if (!alert.detail.empty()) {
        text += "  " + alert.detail + "\n";
    }
    text += " ";
    for (const std::string& button : alert.buttons) {
        text += " [" + button + "]";
    }
    text += "\n  pressed: " + (alert.buttons.empty() ? std::string("(none)") : alert.buttons[0]) + "\n";
    cadhost::appendTranscript(text);
    return 1;
}
