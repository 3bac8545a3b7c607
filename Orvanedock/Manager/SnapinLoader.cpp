#include "SnapinLoader.h"

#include "DataObject.h"
#include "SiteTreeNode.h"

#include <Framework/Handles.h>
#include <Framework/Format.h>

namespace Orvane::Util {

SnapinLoaderException::SnapinLoaderException(std::wstring message) : message_(std::move(message))
{
    if (message_.size() > kMessageMax)
        message_.resize(kMessageMax);
}

}

namespace Orvane::Manager {

namespace {

void LoadOne(const CLSID& clsid, CDataObjectImpl& data, IPropertySheetCallback* callback)
{
    Framework::ComPtr<IExtendPropertySheet> extension;
    HRESULT result = ::CoCreateInstance(clsid, nullptr, Framework::kAnyServerContext, IID_IExtendPropertySheet,
                                        extension.ReceiveVoid());
    if (FAILED(result) || !extension)
        throw Util::SnapinLoaderException(Framework::FormatText(
            L"LoadSnapins : CoCreateInstance for IExtendPropertySheet failed : %s\n",
            {Framework::HexText(static_cast<unsigned>(result))}));
    if (extension->QueryPagesFor(&data) != S_OK)
        throw Util::SnapinLoaderException(L"LoadSnapins : QueryPagesFor failed or not S_OK was returned.\n");
    if (extension->CreatePropertyPages(callback, 0, &data) != S_OK)
        throw Util::SnapinLoaderException(L"LoadSnapins : CreatePropertyPages failed or not S_OK was returned.\n");
}

}

int LoadSnapins(const Orvanedock::SiteTreeNode& node, const SnapinList& list, IPropertySheetCallback* callback)
{
    CDataObjectImpl data(&node.Item().metabasePath);
    int loaded = 0;
    for (size_t index = 0; index < list.Count(); ++index) {
        if ((list.MaskAt(index) & node.Item().nodeType) == 0)
            continue;
        try {
            LoadOne(list.ClsidAt(index), data, callback);
            ++loaded;
        } catch (const Util::SnapinLoaderException&) {
            // An extension that cannot serve this node is left out without a word.
        } catch (...) {
        }
    }
    return loaded;
}

}
