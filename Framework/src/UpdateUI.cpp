#include "Framework/UpdateUI.h"

#include <commctrl.h>

namespace Framework {

CUpdateUIBase::CUpdateUIBase(const UpdateUIEntry* entries)
{
    for (const UpdateUIEntry* e = entries; e && e->id; ++e)
        states_.push_back(State{*e, true, false, true});
}

CUpdateUIBase::State* CUpdateUIBase::Find(WORD id)
{
    for (State& state : states_) {
        if (state.entry.id == id)
            return &state;
    }
    return nullptr;
}

const CUpdateUIBase::State* CUpdateUIBase::Find(WORD id) const
{
    for (const State& state : states_) {
        if (state.entry.id == id)
            return &state;
    }
    return nullptr;
}

bool CUpdateUIBase::UIEnable(WORD id, bool enable)
{
    State* state = Find(id);
    if (!state)
        return false;
    if (state->enabled != enable) {
        state->enabled = enable;
        state->toolbarDirty = true;
    }
    return true;
}

bool CUpdateUIBase::UISetCheck(WORD id, bool check)
{
    State* state = Find(id);
    if (!state)
        return false;
    if (state->checked != check) {
        state->checked = check;
        state->toolbarDirty = true;
    }
    return true;
}

bool CUpdateUIBase::UIIsEnabled(WORD id) const
{
    const State* state = Find(id);
    return state && state->enabled;
}

bool CUpdateUIBase::UIIsChecked(WORD id) const
{
    const State* state = Find(id);
    return state && state->checked;
}

bool CUpdateUIBase::UIAddToolBar(HWND toolbar)
{
    if (!toolbar)
        return false;
    toolbars_.push_back(toolbar);
    for (State& state : states_)
        state.toolbarDirty = true;
    return true;
}

void CUpdateUIBase::UIUpdateToolBar(bool force)
{
    for (State& state : states_) {
        if (!(state.entry.kinds & UPDUI_TOOLBAR) || (!state.toolbarDirty && !force))
            continue;
        for (HWND toolbar : toolbars_) {
            if (!::IsWindow(toolbar))
                continue;
            ::SendMessageW(toolbar, TB_ENABLEBUTTON, state.entry.id, MAKELPARAM(state.enabled ? TRUE : FALSE, 0));
            ::SendMessageW(toolbar, TB_CHECKBUTTON, state.entry.id, MAKELPARAM(state.checked ? TRUE : FALSE, 0));
        }
        state.toolbarDirty = false;
    }
}

void CUpdateUIBase::ApplyToMenu(HMENU menu) const
{
    for (const State& state : states_) {
        if (!(state.entry.kinds & UPDUI_MENUPOPUP))
            continue;
        ::EnableMenuItem(menu, state.entry.id, MF_BYCOMMAND | (state.enabled ? MF_ENABLED : MF_GRAYED));
        ::CheckMenuItem(menu, state.entry.id, MF_BYCOMMAND | (state.checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

LRESULT CUpdateUIBase::OnInitMenuPopup(UINT, WPARAM wParam, LPARAM, bool& handled)
{
    ApplyToMenu(reinterpret_cast<HMENU>(wParam));
    handled = false;
    return 0;
}

}
