#include "ImportFileDialog.h"

namespace Orvane::Quillon {

CImportFileDialog::CImportFileDialog()
    : Framework::FileDialog(true, kImportDefaultExtension, kImportFileName, 0,
                            {{kImportFilterDescription, kImportFilterPattern}})
{
}

}
