// A minimal extension until the site page is built: it claims pages for every node and adds none.
#include "PropSheetExtension.h"

#include <Common/SnapinInterfaces.h>
#include <Framework/ComObject.h>

namespace Orvane::Quillon {

namespace {

class CPropSheetExtension final : public Framework::ComObject<CPropSheetExtension, IExtendPropertySheet> {
public:
    static const Framework::InterfaceEntry* InterfaceTable() noexcept
    {
        static const Framework::InterfaceEntry table[] = {
            Framework::InterfaceOf<CPropSheetExtension, IExtendPropertySheet>(IID_IExtendPropertySheet),
            {nullptr, nullptr},
        };
        return table;
    }
    HRESULT STDMETHODCALLTYPE CreatePropertyPages(IPropertySheetCallback*, LONG_PTR, IDataObject*) override
    {
        return E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE QueryPagesFor(IDataObject*) override { return S_OK; }
};

}

HRESULT CreatePropSheetExtension(REFIID iid, void** out) noexcept
{
    return Framework::CreateComObject<CPropSheetExtension>(iid, out);
}

}
