#include "Registration.h"

#include "resource.h"

#include <Common/IisNodeTypes.h>
#include <Framework/GuidText.h>
#include <Framework/Registry.h>
#include <Framework/Resources.h>

#include <olectl.h>

namespace Orvane::Quillon {

const CLSID CLSID_PropSheetExtension = {0x8BC324A4, 0x8A49, 0x4E7A, {0xB2, 0xBF, 0x6E, 0xD3, 0xE5, 0x63, 0x0C, 0x2F}};
const CLSID CLSID_SnapinAbout = {0xEFA41C35, 0xF062, 0x46F7, {0xB1, 0xA6, 0x2A, 0xFA, 0x25, 0x39, 0x00, 0xB3}};

const ExtensionNode ExtensionNodeTable[] = {
    {PropertySheetExtension, IisNodeType::kWebSites,
     {0x8BC324A4, 0x8A49, 0x4E7A, {0xB2, 0xBF, 0x6E, 0xD3, 0xE5, 0x63, 0x0C, 0x2F}},
     L"Quillon3 Extension"},
    {EndOfExtensions, GUID_NULL, GUID_NULL, L""},
};

namespace {

const wchar_t kClassKey[] = L"CLSID\\";
const wchar_t kInprocServer[] = L"\\InprocServer32";
const wchar_t kSnapinKey[] = L"SOFTWARE\\Microsoft\\MMC\\SnapIns\\";
const wchar_t kNodeTypesKey[] = L"SOFTWARE\\Microsoft\\MMC\\NodeTypes\\";
const wchar_t kProvider[] = L"Orvane";

// The sub-key of each extension kind, by kind.
const wchar_t* const kExtensionSubKeys[] = {
    L"\\Extensions\\NameSpace", L"\\Extensions\\ContextMenu", L"\\Extensions\\ToolBar",
    L"\\Extensions\\PropertySheet", L"\\Extensions\\Task", L"\\Dynamic Extensions",
};

// Remembers whether any registry operation of a run failed, so that the run goes on but reports it.
class Outcome {
public:
    void Note(LONG result) noexcept
    {
        if (result != ERROR_SUCCESS)
            failed_ = true;
    }
    HRESULT Result() const noexcept { return failed_ ? SELFREG_E_CLASS : S_OK; }

private:
    bool failed_ = false;
};

void RegisterClass(Outcome& outcome, const CLSID& clsid, const std::wstring& name, const std::wstring& modulePath)
{
    const std::wstring key = kClassKey + Framework::GuidText(clsid);
    outcome.Note(Framework::WriteStringValue(HKEY_CLASSES_ROOT, key, nullptr, name));
    outcome.Note(Framework::WriteStringValue(HKEY_CLASSES_ROOT, key + kInprocServer, nullptr, modulePath));
    outcome.Note(Framework::WriteStringValue(HKEY_CLASSES_ROOT, key + kInprocServer, L"ThreadingModel", L"Apartment"));
}

}

std::wstring ExtensionKeyPath(const ExtensionNode& node)
{
    if (node.kind < 0 || node.kind >= static_cast<int>(sizeof(kExtensionSubKeys) / sizeof(kExtensionSubKeys[0])))
        return std::wstring();
    return kNodeTypesKey + Framework::GuidText(node.nodeType) + kExtensionSubKeys[node.kind];
}

HRESULT RegisterServer(const std::wstring& modulePath, HINSTANCE resources) noexcept
{
    try {
        Outcome outcome;
        RegisterClass(outcome, CLSID_PropSheetExtension, Framework::LoadResourceString(IDS_EXTENSION_CLASS_NAME, resources),
                      modulePath);
        RegisterClass(outcome, CLSID_SnapinAbout, Framework::LoadResourceString(IDS_ABOUT_CLASS_NAME, resources),
                      modulePath);

        const std::wstring snapin = kSnapinKey + Framework::GuidText(CLSID_PropSheetExtension);
        outcome.Note(Framework::WriteStringValue(HKEY_LOCAL_MACHINE, snapin, L"NameString",
                                                 Framework::LoadResourceString(IDS_SNAPIN_NAME, resources)));
        outcome.Note(Framework::WriteStringValue(HKEY_LOCAL_MACHINE, snapin, L"About", Framework::GuidText(CLSID_SnapinAbout)));
        outcome.Note(Framework::WriteStringValue(HKEY_LOCAL_MACHINE, snapin, L"Provider", kProvider));

        for (const ExtensionNode* node = ExtensionNodeTable; node->displayName[0]; ++node) {
            const std::wstring key = ExtensionKeyPath(*node);
            if (key.empty()) {
                outcome.Note(ERROR_INVALID_PARAMETER);
                continue;
            }
            outcome.Note(Framework::WriteStringValue(HKEY_LOCAL_MACHINE, key, Framework::GuidText(node->extension).c_str(),
                                                     node->displayName));
        }
        return outcome.Result();
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

HRESULT UnregisterServer() noexcept
{
    try {
        Outcome outcome;
        outcome.Note(Framework::DeleteKeyTree(HKEY_CLASSES_ROOT, kClassKey + Framework::GuidText(CLSID_PropSheetExtension)));
        outcome.Note(Framework::DeleteKeyTree(HKEY_CLASSES_ROOT, kClassKey + Framework::GuidText(CLSID_SnapinAbout)));
        outcome.Note(Framework::DeleteKeyTree(HKEY_LOCAL_MACHINE, kSnapinKey + Framework::GuidText(CLSID_PropSheetExtension)));
        for (const ExtensionNode* node = ExtensionNodeTable; node->displayName[0]; ++node) {
            const std::wstring key = ExtensionKeyPath(*node);
            if (key.empty())
                continue;
            outcome.Note(Framework::DeleteValueIfPresent(HKEY_LOCAL_MACHINE, key, Framework::GuidText(node->extension).c_str()));
            // Other extensions of the same node type keep their values, and so the key.
            outcome.Note(Framework::DeleteKeyTreeIfNoValues(HKEY_LOCAL_MACHINE, key));
        }
        return outcome.Result();
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

}
