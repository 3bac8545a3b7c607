#include "ExtensionRegistration.h"

#include <Framework/GuidText.h>
#include <Framework/Registry.h>
#include <Framework/Paths.h>

namespace OrvanedockTest {

namespace {

const std::wstring kSnapins = L"SOFTWARE\\Microsoft\\MMC\\SnapIns\\";
const std::wstring kNodeTypes = L"SOFTWARE\\Microsoft\\MMC\\NodeTypes\\";

std::wstring PropertySheetKey(int nodeType)
{
    return kNodeTypes + NodeTypeText(nodeType) + L"\\Extensions\\PropertySheet";
}

}

const wchar_t* NodeTypeText(int nodeType)
{
    switch (nodeType) {
    case 4:
        return L"{A841B6C5-7577-11D0-BB1F-00A0C922E79C}";
    case 8:
        return L"{A841B6C7-7577-11D0-BB1F-00A0C922E79C}";
    case 16:
    case 32:
        return L"{A841B6C8-7577-11D0-BB1F-00A0C922E79C}";
    default:
        return L"{A841B6C9-7577-11D0-BB1F-00A0C922E79C}";
    }
}

std::wstring TestExtensionPath()
{
    return Framework::ModuleFolder(nullptr) + L"OrvanedockTestExtension.dll";
}

ExtensionRegistration::ExtensionRegistration(HKEY mmcRoot, const CLSID& clsid, const std::wstring& dll,
                                             const wchar_t* provider, std::initializer_list<int> nodeTypes)
    : mmcRoot_(mmcRoot), classText_(Framework::GuidText(clsid)), nodeTypes_(nodeTypes)
{
    Framework::RegistryKey server;
    succeeded_ &= server.Create(HKEY_CLASSES_ROOT, L"CLSID\\" + classText_ + L"\\InprocServer32") == ERROR_SUCCESS &&
                  server.SetString(nullptr, dll) == ERROR_SUCCESS &&
                  server.SetString(L"ThreadingModel", L"Apartment") == ERROR_SUCCESS;
    Framework::RegistryKey snapin;
    succeeded_ &= snapin.Create(mmcRoot, kSnapins + classText_) == ERROR_SUCCESS &&
                  snapin.SetString(L"NameString", L"Orvanedock test extension") == ERROR_SUCCESS &&
                  (!provider || snapin.SetString(L"Provider", provider) == ERROR_SUCCESS);
    for (int type : nodeTypes) {
        Framework::RegistryKey sheet;
        succeeded_ &= sheet.Create(mmcRoot, PropertySheetKey(type)) == ERROR_SUCCESS &&
                      sheet.SetString(classText_.c_str(), L"Orvanedock test extension") == ERROR_SUCCESS;
    }
}

ExtensionRegistration::~ExtensionRegistration()
{
    Framework::DeleteKeyTree(HKEY_CLASSES_ROOT, L"CLSID\\" + classText_);
    Framework::DeleteKeyTree(mmcRoot_, kSnapins + classText_);
    for (int type : nodeTypes_) {
        Framework::RegistryKey sheet;
        if (sheet.Open(mmcRoot_, PropertySheetKey(type), KEY_ALL_ACCESS) == ERROR_SUCCESS)
            sheet.DeleteValue(classText_.c_str());
        sheet.Close();
        Framework::DeleteKeyTreeIfNoValues(mmcRoot_, PropertySheetKey(type));
    }
}

}
