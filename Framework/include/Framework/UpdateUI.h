#pragma once
// Enabled and checked states of commands, applied to popup menus when they open and to
// registered toolbars on request (usually from the idle handler).
#include "Framework/MessageMap.h"

#include <vector>

namespace Framework {

enum UpdateUIKind : WORD {
    UPDUI_MENUPOPUP = 0x0001,
    UPDUI_TOOLBAR = 0x0002,
};

struct UpdateUIEntry {
    WORD id;
    WORD kinds;
};

class CUpdateUIBase {
public:
    // entries: the commands that carry a state; ends at an entry with id 0.
    explicit CUpdateUIBase(const UpdateUIEntry* entries);

    bool UIEnable(WORD id, bool enable);
    bool UISetCheck(WORD id, bool check);
    bool UIIsEnabled(WORD id) const;
    bool UIIsChecked(WORD id) const;
    bool UIAddToolBar(HWND toolbar);
    // Sends the changed states to the registered toolbars.
    void UIUpdateToolBar(bool force = false);

    // Applies the states to a popup menu that is about to open; never marks the message handled.
    FW_BEGIN_MSG_MAP_MIXIN(CUpdateUIBase)
        FW_MESSAGE_HANDLER(WM_INITMENUPOPUP, OnInitMenuPopup)
    FW_END_MSG_MAP()

    void ApplyToMenu(HMENU menu) const;

private:
    struct State {
        UpdateUIEntry entry;
        bool enabled;
        bool checked;
        bool toolbarDirty;
    };
    LRESULT OnInitMenuPopup(UINT, WPARAM wParam, LPARAM, bool& handled);
    State* Find(WORD id);
    const State* Find(WORD id) const;

    std::vector<State> states_;
    std::vector<HWND> toolbars_;
};

// The frame derives from CUpdateUI<T> and gives `static const UpdateUIEntry* GetUpdateUIMap();`.
template <class T>
class CUpdateUI : public CUpdateUIBase {
public:
    CUpdateUI() : CUpdateUIBase(T::GetUpdateUIMap()) {}
};

}
