#pragma once
// Quillpen's commands as the tests of other programs send them to a running editor. A test includes
// only its own program's resource header (they share the name "resource.h" and their kinds of
// names), so Quillpen's are named here, and Quillpen's own tests check them against its header.
#include <windows.h>

namespace TestSupport {

// Checks the text and saves it: the Apply command of Quillpen's menu, toolbar and Ctrl+S (ID_APPLY).
constexpr WORD kQuillpenApplyCommand = 40018;

}
