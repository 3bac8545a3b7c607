#pragma once
// The modal dialog that lists the lines the syntax check refused. Only OK ends it.
#include "Framework/DialogImpl.h"

#include "resource.h"

#include <string>

namespace Orvane { namespace Quillpen {

class ErrorDialog : public Framework::CDialogImpl<ErrorDialog> {
public:
    enum { IDD = IDD_ERROR };

    explicit ErrorDialog(const std::string& errors) : errors_(errors) {}
    ~ErrorDialog() override = default;

    FW_BEGIN_MSG_MAP(ErrorDialog)
        FW_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        FW_COMMAND_HANDLER(IDOK, 0, OnOk)
    FW_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnOk(WORD, WORD, HWND, bool&);

    std::string errors_;
    HWND text_ = nullptr;
};

}}
